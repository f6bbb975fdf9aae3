// The graph model: view, samples, pieces, grid and changes of view.
#include "GrafTestSupport.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr int W = 615; // the plot of the window as designed
constexpr int H = 313;
constexpr int MainPass = (W + 8) / 5; // columns 1, 6, ... up to W + 4

class GrafFunkcie : public GraphTest {
protected:
    QImage Plot{W, H, QImage::Format_RGB32};
    QImage VRuler{26, H, QImage::Format_RGB32};
    QImage HRuler{611, 21, QImage::Format_RGB32};
    std::unique_ptr<TGrafFunkcie> G;

    // A model of the window's plot showing text, drawn once; samples and
    // beeps are counted from here on.
    TGrafFunkcie &Show(const QString &text, int width = W) {
        G = std::make_unique<TGrafFunkcie>(&Plot, width, H, &VRuler, &HRuler, CountingSamplers(Samples, Context));
        G->ResetView();
        G->SetExpression(text);
        G->Draw(true);
        Samples = Beeps = 0;
        return *G;
    }
    // The world point at the plot's centre.
    QPointF Centre() const {
        return {double(G->Width() / 2.0L * G->ScaleX() - G->OffsetX()),
                double(G->Height() / 2.0L * G->ScaleY() - G->OffsetY())};
    }
};

TEST_F(GrafFunkcie, DefaultViewHasTheOriginInTheMiddleAndLabelledUnitGrid) {
    TGrafFunkcie &g = Show(QString()); // an empty text is the function 0
    EXPECT_LE(std::fabs(g.Column(0) - W / 2.0), 0.5);
    EXPECT_LE(std::fabs(g.RowFromBottom(0) - H / 2.0), 0.5);
    for (const TBod &p : g.Points())
        EXPECT_TRUE(p.Defined && p.Y == 0);
    // lines every unit, 40 pixels apart across the plot, the axis left out
    for (const auto &[lines, size] : {std::pair{g.VerticalGridLines(), W}, {g.HorizontalGridLines(), H}}) {
        ASSERT_GE(lines.size(), 6);
        EXPECT_TRUE(lines.first().Pixel < 41 && lines.last().Pixel > size - 41);
        for (int i = 1; i < lines.size(); ++i) {
            EXPECT_NEAR(lines[i].Pixel - lines[i - 1].Pixel, lines[i - 1].Label == QStringLiteral("-1") ? 80 : 40, 1);
            EXPECT_EQ(S(lines[i].Label), std::to_string(std::lround(double(lines[i].Value))));
        }
    }
    SetDecSep(QLatin1Char('.'));
    g.HalveGridStep(true, false);
    EXPECT_EQ(S(g.VerticalGridLines().first().Label), "-7.5");
    // labels of a fine grid take the exponent form
    for (int i = 0; i < 21; ++i)
        g.ZoomIn(true, false);
    ASSERT_FALSE(g.VerticalGridLines().isEmpty());
    EXPECT_TRUE(g.VerticalGridLines().first().Label.contains(QLatin1Char('E')));
}

TEST_F(GrafFunkcie, SamplesEveryFifthColumnAndTheMultiplesOnThePlotThatBreakTheCurve) {
    const struct {
        const char *text;
        long double step;
        int move; // pixels the origin is moved away first
    } cases[] = {{"1/x", 1, 0},
                 {"tg(x)", Pi / 2, 0},
                 {"tan(x)", Pi / 2, 0},
                 {"1/(x-750)", 1, -30000},
                 {"cotg(x)", Pi / 2, 20000}};
    Context.AngleUnit = TAngleUnit::Radians;
    for (const auto &c : cases) {
        TGrafFunkcie &g = Show(QString::fromLatin1(c.text));
        g.Move(c.move, 0);
        // the multiples of the step whose column is on the plot, and those
        // of them where the function has a pole
        const auto f = CompileFunction(QString::fromLatin1(c.text), QStringLiteral("x"), Context);
        int onPlot = 0, poles = 0;
        for (long long k = std::llround(double(-g.OffsetX() / c.step)) - 2; g.Column(k * c.step) < W; ++k)
            if (g.Column(k * c.step) >= 0) {
                long double y = 0;
                ++onPlot;
                poles += f->Sample(k * c.step, y) != 0 || std::fabs(y) > 1e6L;
            }
        ASSERT_GT(poles, 0) << c.text;
        Samples = 0;
        g.Draw(true);
        // with the origin far away no multiple between it and the plot is
        // evaluated
        EXPECT_EQ(Samples, MainPass + onPlot) << c.text;
        EXPECT_EQ(g.CurvePieces().size(), poles + 1) << c.text;
    }
    // without "/" and trigonometry only the main pass
    for (const int width : {W, 7, 1}) {
        const TZoznamBodov &points = Show(QStringLiteral("x^2"), width).Points();
        EXPECT_EQ(points.Count(), (width + 8) / 5) << width;
        EXPECT_EQ(G->Column(points.First().X), 1) << width;
        EXPECT_TRUE(G->Column(points.Last().X) >= width && G->Column(points.Last().X) <= width + 4) << width;
        EXPECT_NEAR(double(points.Last().Y), double(points.Last().X * points.Last().X), 1e-12) << width;
    }
}

TEST_F(GrafFunkcie, TrigModeChoosesAPiGridLabelledInFactorsOfPi) {
    // "sin", "cos" or "tg" anywhere in the text, in small letters, or the
    // English name of such a function (the English keypad writes "tan(")
    for (const char *text :
         {"sin(x)", "cotgh(x)", "tan(x)", "2*cotan(x)", "tanh(x)", "arctan(x)", "arccot(x)", "arccoth(x)"})
        EXPECT_TRUE(Show(QString::fromLatin1(text)).Trig()) << text;
    for (const char *text : {"SIN(x)", "TAN(x)", "sqrt(x)+ln(x)"})
        EXPECT_FALSE(Show(QString::fromLatin1(text)).Trig()) << text;
    TGrafFunkcie &g = Show(QStringLiteral("tg(x)"));
    EXPECT_EQ(g.XGridUnit(), Pi);
    for (const TMriezkovaCiara &l : g.VerticalGridLines()) {
        const double factor = double(l.Value / Pi);
        EXPECT_TRUE(l.Pi && std::fabs(factor * 2 - std::round(factor * 2)) < 1e-15) << factor;
        EXPECT_EQ(S(l.Label), S(QString::number(factor, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','))));
    }
    // the check box's switch: off doubles the x grid, on halves it again
    g.SetTrigMode(false);
    EXPECT_TRUE(g.GridX() == 1 && !g.VerticalGridLines().first().Pi);
    g.SetTrigMode(true);
    EXPECT_EQ(g.GridX(), 0.5L);
    // a reset view keeps the pi grid for the labels; an empty text drops it
    g.ZoomOut(true, true);
    g.ResetView();
    EXPECT_TRUE(g.ScaleX() == 0.025L && g.XGridUnit() == Pi && g.GridX() == 0.5L);
    g.SetExpression(QString());
    EXPECT_TRUE(!g.Trig() && g.XGridUnit() == 1);
}

TEST_F(GrafFunkcie, UndefinedSamplesAreGapsWithNoLineIntoThem) {
    // The points defined from left to right only, and one piece between.
    const auto expectOnePiece = [](const TGrafFunkcie &g, long double left, long double right) {
        for (const TBod &p : g.Points())
            EXPECT_EQ(p.Defined, p.X >= left && p.X <= right) << double(p.X);
        const QList<QPolygon> pieces = g.CurvePieces();
        ASSERT_EQ(pieces.size(), 1);
        EXPECT_TRUE(pieces.first().first().x() >= g.Column(left) && pieces.first().last().x() <= g.Column(right));
    };
    expectOnePiece(Show(QStringLiteral("sqrt(x)")), 0, 1E9L);
    // infinity right of 1, nan left of -1: gaps, not lines to the edge
    class TOverflowing final : public TFunctionSampler {
    public:
        quint8 Sample(long double x, long double &y) override {
            y = x > 1 ? std::numeric_limits<long double>::infinity()
                      : (x < -1 ? std::numeric_limits<long double>::quiet_NaN() : x);
            return 0;
        }
    };
    TGrafFunkcie g(&Plot, W, H, &VRuler, &HRuler, [](const QString &) { return std::make_unique<TOverflowing>(); });
    g.Draw(true);
    expectOnePiece(g, -1, 1);
    // Beyond |x| = 2 the function jumps 4E10 pixels up, beyond any row.
    const QList<QPolygon> pieces = Show(QStringLiteral("x+1E9*sign(rnd(x/4))^2")).CurvePieces();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_LE(pieces.first().last().x() - pieces.first().first().x(), 2 * 2 / 0.025 + 10);
}

TEST_F(GrafFunkcie, PointListKeepsAscendingXAndTheFirstPointAtAnX) {
    TZoznamBodov list;
    const long double xs[] = {5, -5, 0, 5, 2.5L, -5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list.Add(xs[i], i, true), i < 3 || i == 4) << i;
    list.Merge({{-6, 0, false}, {0, 9, false}, {3, 0, false}, {9, 0, false}});
    QList<double> held;
    for (const TBod &p : list)
        held.append(double(p.X));
    EXPECT_EQ(held, QList<double>({-6, -5, 0, 2.5, 3, 5, 9}));
    EXPECT_TRUE(list.At(2).Y == 2 && list.At(2).Defined); // the first point at 0 stays
}

TEST_F(GrafFunkcie, ViewChangesKeepTheirWorldPointsAndStopAtTheirLimits) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(0, 30); // a vertical move samples nothing
    EXPECT_EQ(Samples, 0);
    const QPointF centre = Centre();
    while (Beeps == 0) // out, until a pixel would hold more than one unit
        g.ZoomOut(true, false);
    EXPECT_TRUE(g.ScaleX() == 1.6L && g.GridX() / g.ScaleX() >= 20);
    EXPECT_EQ(Samples, 6 * MainPass); // the refusal draws nothing
    while (Beeps == 1)                // in, down to the finest scale
        g.ZoomIn(true, false);
    EXPECT_TRUE(g.ScaleX() <= 1.1920928955e-8L && g.ScaleX() * 2 > 1.1920928955e-8L);
    EXPECT_LE(g.GridX() / g.ScaleX(), 160);
    g.ZoomIn(true, true); // x beeps, y zooms
    EXPECT_TRUE(Beeps == 3 && g.ScaleY() == 0.025L / 2);
    g.Resize(W + 300, H - 100);
    EXPECT_EQ(Centre(), centre);
    EXPECT_GE(g.Column(g.Points().Last().X), W + 300); // sampled anew
    g.Centre();
    EXPECT_EQ(Centre(), QPointF(0, 0));
    Samples = 0;
    g.Move(-5, -80); // the picture follows the mouse
    EXPECT_EQ(Centre(), QPointF(5 * double(g.ScaleX()), -80 * double(g.ScaleY())));
    EXPECT_EQ(Samples, (W + 300 + 8) / 5);

    // The origin may not lie 32767 pixels away: a zoom in that would double
    // 32000 beeps, a move is refused per axis and beeps when both are.
    TGrafFunkcie &far = Show(QStringLiteral("x"));
    far.Move(32000, -32000);
    far.ZoomIn(true, false);
    EXPECT_TRUE(Beeps == 1 && far.ScaleX() == 0.025L);
    const QPointF edge = Centre();
    far.Move(1000, -1000);
    EXPECT_EQ(Beeps, 2);
    far.Move(-1000, -1000);
    EXPECT_EQ(Beeps, 2);
    EXPECT_EQ(Centre() - edge, QPointF(1000 * 0.025, 0));
}

TEST_F(GrafFunkcie, GridHalvesDownToTwentyPixelsAndDoublesUpToThePlot) {
    for (const bool x : {true, false}) {
        TGrafFunkcie &g = Show(QStringLiteral("x"));
        g.HalveGridStep(x, !x); // 40 -> 20 pixels
        g.HalveGridStep(x, !x); // 10 pixels: refused
        EXPECT_TRUE(Beeps == 1 && (x ? g.GridX() : g.GridY()) == 0.5L);
        while (Beeps == 1)
            g.DoubleGridStep(x, !x);
        const long double pixels = x ? g.GridX() / g.ScaleX() : g.GridY() / g.ScaleY();
        EXPECT_TRUE(pixels > (x ? W : H) && pixels <= 2 * (x ? W : H)) << double(pixels);
        EXPECT_EQ(x ? g.GridY() : g.GridX(), 1); // the other axis untouched
    }
}

TEST_F(GrafFunkcie, RenderedPlotHasTheAxesGridAndCurveColours) {
    TGrafFunkcie &g = Show(QStringLiteral("x^2+1"));
    auto at = [this](int x, int y) { return Plot.pixel(x, y) & 0xFFFFFFu; };
    const int c = g.Column(0);
    const int r = g.FlipY(g.RowFromBottom(0));
    for (const QPoint axis : {QPoint(c, r), QPoint(c + 20, r), QPoint(c, r + 20)})
        EXPECT_EQ(at(axis.x(), axis.y()), TGrafFunkcie::AxisColor);
    EXPECT_EQ(at(c + 20, r - 20), TGrafFunkcie::BackgroundColor);
    int checked = 0; // every sample on the plot is painted at its pixel
    for (const TBod &p : g.Points()) {
        const QPoint px(g.Column(p.X), g.FlipY(g.RowFromBottom(p.Y)));
        if (Plot.rect().contains(px)) {
            EXPECT_EQ(at(px.x(), px.y()), TGrafFunkcie::CurveColor) << px.x() << "," << px.y();
            ++checked;
        }
    }
    int grey = 0, inked = 0; // a dotted grid line; labels on the ruler
    for (int y = 0; y < 6; ++y)
        grey += at(g.VerticalGridLines().first().Pixel, y) == TGrafFunkcie::GridColor;
    for (int x = 0; x < HRuler.width(); ++x)
        inked += (HRuler.pixel(x, 10) & 0xFFFFFFu) != g.RulerColor;
    EXPECT_TRUE(checked > 10 && grey >= 2 && grey < 6 && inked > 10) << checked << " " << grey << " " << inked;
}

} // namespace

// Over views of every kind of y label (fine grids, far moves, exponents), a
// ruler of the width the model asks for shows each label whole: the label's
// ink, drawn alone, ends before the ruler's last column, and the painted
// ruler leaves that column blank.
TEST_F(GrafFunkcie, VerticalRulerOfTheWidthAskedShowsEveryLabelWhole) {
    std::mt19937 rng(125);
    const QFont font = TGrafFunkcie::RulerFont();
    auto inkEnd = [&font](const QString &label) { // one past the last inked column
        QImage alone(400, 20, QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter p(&alone);
        p.setFont(font);
        p.drawText(1, 15, label);
        p.end();
        int end = 0;
        for (int x = 0; x < alone.width(); ++x)
            for (int y = 0; y < alone.height(); ++y)
                if ((alone.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
                    end = x + 1;
        return end;
    };
    int widened = 0;
    for (int view = 0; view < 40; ++view) {
        TGrafFunkcie &g = Show(QStringLiteral("x"));
        for (int i = int(rng() % 28); i > 0; --i)
            g.ZoomIn(false, true);
        for (int i = int(rng() % 3); i > 0; --i)
            g.HalveGridStep(false, true);
        g.Move(0, int(rng() % 60001) - 30000);
        const int width = g.VerticalRulerWidth();
        widened += width > 26;
        VRuler = QImage(width, H, QImage::Format_RGB32);
        g.Draw(false);
        for (const TMriezkovaCiara &l : g.HorizontalGridLines())
            EXPECT_LT(inkEnd(l.Label), width) << S(l.Label) << " in " << width;
        for (int y = 0; y < H; ++y)
            ASSERT_EQ(VRuler.pixel(width - 1, y) & 0xFFFFFFu, g.RulerColor) << view << " row " << y;
    }
    EXPECT_GT(widened, 10);
}
