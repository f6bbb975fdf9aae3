// The graph model: view, samples, pieces, grid and changes of view.
#include "GrafTestSupport.h"

#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <numbers>

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
        G = std::make_unique<TGrafFunkcie>(&Plot, width, H, &VRuler, &HRuler, CountingSamplers(Samples));
        G->ResetView();
        G->SetExpression(text);
        G->Draw(true);
        Samples = Beeps = 0;
        return *G;
    }

    // The world point at the plot's centre.
    long double CentreX() const { return G->Width() / 2.0L * G->ScaleX() - G->OffsetX(); }
    long double CentreY() const { return G->Height() / 2.0L * G->ScaleY() - G->OffsetY(); }

    // How many samples lie on multiples of step.
    int SampledMultiples(long double step) const {
        int n = 0;
        for (const TBod &p : G->Points())
            n += std::fabs(p.X / step - std::nearbyint(p.X / step)) < 1e-12L;
        return n;
    }
};

TEST_F(GrafFunkcie, DefaultViewHasTheOriginInTheMiddleAndLabelledUnitGrid) {
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        Engine().DecimalSeparator = separator;
        TGrafFunkcie &g = Show(QString()); // the line y = 0
        EXPECT_LE(std::fabs(g.Column(0) - W / 2.0), 0.5);
        EXPECT_LE(std::fabs(g.RowFromBottom(0) - H / 2.0), 0.5);
        const QList<QPolygon> pieces = g.CurvePieces();
        ASSERT_EQ(pieces.size(), 1);
        for (const QPoint &p : pieces.first())
            EXPECT_EQ(p.y(), g.FlipY(g.RowFromBottom(0)));
        // lines every unit, 40 pixels apart across the plot, the axis left out
        for (const int size : {W, H}) {
            const QList<TMriezkovaCiara> lines = size == W ? g.VerticalGridLines() : g.HorizontalGridLines();
            ASSERT_GE(lines.size(), 6);
            EXPECT_LT(lines.first().Pixel, 41);
            EXPECT_GT(lines.last().Pixel, size - 41);
            for (int i = 1; i < lines.size(); ++i) {
                const long double step = std::fabs(lines[i - 1].Value + 1) < 1e-9L ? 2 : 1;
                EXPECT_NEAR(double(lines[i].Value - lines[i - 1].Value), double(step), 1e-15);
                EXPECT_NEAR(lines[i].Pixel - lines[i - 1].Pixel, 40 * double(step), 1);
                EXPECT_EQ(S(lines[i].Label), std::to_string(std::lround(double(lines[i].Value))));
            }
        }
        g.HalveGridStep(true, false);
        QStringList labels;
        for (const TMriezkovaCiara &l : g.VerticalGridLines())
            labels.append(l.Label);
        EXPECT_TRUE(labels.contains(QStringLiteral("-1") + separator + QStringLiteral("5"))) << S(labels.join(' '));
    }
    // labels of a fine grid take the exponent form
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    for (int i = 0; i < 21; ++i)
        g.ZoomIn(true, false);
    EXPECT_TRUE(g.VerticalGridLines().first().Label.contains(QLatin1Char('E')));
}

TEST_F(GrafFunkcie, MainPassSamplesEveryFifthColumnToFourPastTheEdge) {
    for (const int width : {W, 7, 1}) {
        const TGrafFunkcie &g = Show(QStringLiteral("x^2"), width);
        const TZoznamBodov &points = g.Points();
        EXPECT_EQ(points.Count(), (width + 8) / 5) << width;
        EXPECT_EQ(g.Column(points.First().X), 1) << width;
        EXPECT_GE(g.Column(points.Last().X), width) << width;
        EXPECT_LE(g.Column(points.Last().X), width + 4) << width;
        for (int i = 1; i < points.Count(); ++i)
            EXPECT_NEAR(double(points.At(i).X - points.At(i - 1).X), double(5 * g.ScaleX()), 1e-15);
        for (const TBod &p : points)
            EXPECT_TRUE(p.Defined && std::fabs(p.Y - p.X * p.X) <= 1e-15L * p.X * p.X);
        EXPECT_EQ(g.CurvePieces().size(), 1);
    }
}

TEST_F(GrafFunkcie, ExtraSamplesOnThePlotBreakTheCurveAtPoles) {
    const struct {
        const char *text;
        quint8 angleUnit;
        long double step;
        int move; // pixels the origin is moved away first
    } cases[] = {
        {"1/x", 0, 1, 0},             {"tg(x)", 1, Pi / 2, 0},       {"1/(x-750)", 0, 1, -30000},
        {"1/(x+750)", 0, 1, 30000}, {"cotg(x)", 1, Pi / 2, 20000},
    };
    for (const auto &c : cases) {
        Engine().AngleUnit = c.angleUnit;
        TGrafFunkcie &g = Show(QString::fromLatin1(c.text));
        g.Move(c.move, 0);
        // the multiples of the step whose column is on the plot, and those
        // of them where the function has a pole
        int onPlot = 0, poles = 0;
        const long double left = -g.OffsetX() / c.step;
        for (long long k = std::llround(double(left)) - 2; g.Column(k * c.step) < W; ++k)
            if (g.Column(k * c.step) >= 0) {
                ++onPlot;
                long double y = 0;
                poles += CompileFunction(QString::fromLatin1(c.text), QStringLiteral("x"))->Sample(k * c.step, y) != 0 ||
                         std::fabs(y) > 1e6L;
            }
        ASSERT_GT(poles, 0) << c.text;
        Samples = 0;
        g.Draw(true);
        // with the origin far away no multiple between it and the plot is
        // evaluated
        EXPECT_EQ(SampledMultiples(c.step), onPlot) << c.text;
        EXPECT_EQ(Samples, MainPass + onPlot) << c.text;
        EXPECT_EQ(g.CurvePieces().size(), poles + 1) << c.text;
        for (int i = 1; i < g.Points().Count(); ++i)
            EXPECT_LT(g.Points().At(i - 1).X, g.Points().At(i).X);
    }
    // without "/" and trigonometry no extra samples
    Show(QStringLiteral("x*2"));
    EXPECT_EQ(G->Points().Count(), MainPass);
}

TEST_F(GrafFunkcie, TrigModeChoosesAPiGridLabelledInFactorsOfPi) {
    const struct {
        const char *text;
        bool trig;
    } texts[] = {{"sin(x)", true}, {"arccos(x)", true}, {"cotgh(x)", true}, {"SIN(x)", false}, {"tanh(x)", false}};
    for (const auto &t : texts)
        EXPECT_EQ(Show(QString::fromLatin1(t.text)).Trig(), t.trig) << t.text;

    TGrafFunkcie &g = Show(QStringLiteral("tg(x)"));
    EXPECT_EQ(g.XGridUnit(), Pi);
    EXPECT_EQ(g.GridX(), 0.5L);
    for (const TMriezkovaCiara &l : g.VerticalGridLines()) {
        EXPECT_TRUE(l.Pi);
        EXPECT_EQ(l.Pixel, g.Column(l.Value));
        const double factor = double(l.Value / Pi);
        EXPECT_NEAR(factor * 2, std::round(factor * 2), 1e-15);
        EXPECT_EQ(S(l.Label), S(QString::number(factor, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','))));
    }
    // the check box's switch: off doubles the x grid, on halves it again
    g.SetTrigMode(false);
    EXPECT_EQ(g.GridX(), 1);
    EXPECT_EQ(g.XGridUnit(), 1);
    EXPECT_FALSE(g.VerticalGridLines().first().Pi);
    g.SetTrigMode(true);
    EXPECT_EQ(g.GridX(), 0.5L);
    Samples = 0;
    g.SetTrigMode(true); // no change: no redraw
    EXPECT_EQ(Samples, 0);
}

TEST_F(GrafFunkcie, UndefinedSamplesAreGapsWithNoLineIntoThem) {
    for (const char *text : {"sqrt(x)", "ln(x)*x", "x^0,5"}) {
        const TGrafFunkcie &g = Show(QString::fromLatin1(text));
        for (const TBod &p : g.Points())
            EXPECT_EQ(p.Defined, text[0] == 'l' ? p.X > 0 : p.X >= 0) << text << " " << double(p.X);
        ASSERT_EQ(g.CurvePieces().size(), 1) << text;
        EXPECT_GE(g.CurvePieces().first().first().x(), g.Column(0)) << text;
    }
    // Beyond |x| = 2 the function jumps 4E10 pixels up, beyond any row.
    const TGrafFunkcie &g = Show(QStringLiteral("x+1E9*sign(rnd(x/4))^2"));
    const QList<QPolygon> pieces = g.CurvePieces();
    ASSERT_EQ(pieces.size(), 1);
    for (const QPoint &p : pieces.first())
        EXPECT_LE(std::abs(p.x() - g.Column(0)), 2 / 0.025 + 5);

    // infinity right of 1, nan left of -1: gaps, not lines to the edge
    class TOverflowing final : public TFunctionSampler {
    public:
        quint8 Sample(long double x, long double &y) override {
            y = x > 1 ? std::numeric_limits<long double>::infinity()
                      : (x < -1 ? std::numeric_limits<long double>::quiet_NaN() : x);
            return 0;
        }
    };
    TGrafFunkcie overflowing(&Plot, W, H, &VRuler, &HRuler,
                             [](const QString &) { return std::make_unique<TOverflowing>(); });
    overflowing.Draw(true);
    for (const TBod &p : overflowing.Points())
        EXPECT_EQ(p.Defined, p.X >= -1 && p.X <= 1) << double(p.X);
    ASSERT_EQ(overflowing.CurvePieces().size(), 1);
    EXPECT_GE(overflowing.CurvePieces().first().first().x(), overflowing.Column(-1));
    EXPECT_LE(overflowing.CurvePieces().first().last().x(), overflowing.Column(1));
}

TEST_F(GrafFunkcie, PointListKeepsAscendingXAndTheFirstPointAtAnX) {
    TZoznamBodov list;
    const long double xs[] = {5, -5, 0, 5, 2.5L, -5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list.Add(xs[i], i, true), i < 3 || i == 4) << i;
    list.Merge({{-6, 0, false}, {0, 9, false}, {3, 0, false}, {9, 0, false}});
    const long double want[] = {-6, -5, 0, 2.5L, 3, 5, 9};
    ASSERT_EQ(list.Count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.At(i).X, want[i]);
    EXPECT_EQ(list.At(2).Y, 2); // the first point at 0 stays
    EXPECT_TRUE(list.At(2).Defined);
}

TEST_F(GrafFunkcie, ZoomKeepsTheCentreAndStopsAtItsLimits) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(0, 30);
    const long double cx = CentreX();
    const long double cy = CentreY();
    // six steps out from 0.025 to 1.6 units per pixel; the seventh beeps
    for (int i = 1; i <= 6; ++i) {
        g.ZoomOut(true, i % 2 == 0);
        EXPECT_EQ(g.ScaleX(), 0.025L * (1 << i));
        EXPECT_GE(g.GridX() / g.ScaleX(), 20);
    }
    EXPECT_EQ(g.ScaleY(), 0.025L * 8);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-12);
    EXPECT_NEAR(double(CentreY()), double(cy), 1e-12);
    EXPECT_EQ(Beeps, 0);
    Samples = 0;
    g.ZoomOut(true, false);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(g.ScaleX(), 1.6L);
    EXPECT_EQ(Samples, 0);
    // in, down to the finest scale; a refused axis beeps, the other zooms
    while (Beeps == 1)
        g.ZoomIn(true, false);
    EXPECT_LE(g.ScaleX(), 1.1920928955e-8L);
    EXPECT_GT(g.ScaleX() * 2, 1.1920928955e-8L);
    EXPECT_LE(g.GridX() / g.ScaleX(), 160);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-12);
    g.ZoomIn(true, true);
    EXPECT_EQ(Beeps, 3);
    EXPECT_EQ(g.ScaleY(), 0.025L * 4);
    // with the origin 32000 pixels away zooming in would double that
    TGrafFunkcie &far = Show(QStringLiteral("x"));
    far.Move(32000, 0);
    far.ZoomIn(true, false);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(far.ScaleX(), 0.025L);
}

TEST_F(GrafFunkcie, MovesFollowTheMouseAndOnlyANewXRangeSamples) {
    const struct {
        int dx, dy;
    } cases[] = {{40, 0}, {0, 40}, {-5, -80}};
    for (const auto &c : cases) {
        TGrafFunkcie &g = Show(QStringLiteral("x^2"));
        const long double ox = g.OffsetX();
        const long double oy = g.OffsetY();
        g.Move(c.dx, c.dy);
        EXPECT_NEAR(double(g.OffsetX()), double(ox + c.dx * g.ScaleX()), 1e-15);
        EXPECT_NEAR(double(g.OffsetY()), double(oy - c.dy * g.ScaleY()), 1e-15);
        EXPECT_EQ(Samples, c.dx != 0 ? MainPass : 0) << c.dx << "," << c.dy;
    }
    // an origin 32767 pixels away is refused per axis; both refused beep
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(32000, -32000);
    const long double ox = g.OffsetX();
    const long double oy = g.OffsetY();
    g.Move(1000, -1000);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(g.OffsetX(), ox);
    g.Move(-1000, -1000);
    EXPECT_EQ(Beeps, 1);
    EXPECT_LT(g.OffsetX(), ox);
    EXPECT_EQ(g.OffsetY(), oy);
}

TEST_F(GrafFunkcie, GridHalvesDownToTwentyPixelsAndDoublesUpToThePlot) {
    const struct {
        bool doX, doY;
    } axes[] = {{true, false}, {false, true}};
    for (const auto &a : axes) {
        TGrafFunkcie &g = Show(QStringLiteral("x"));
        g.HalveGridStep(a.doX, a.doY); // 40 -> 20 pixels
        g.HalveGridStep(a.doX, a.doY); // 10 pixels: refused
        EXPECT_EQ(Beeps, 1);
        EXPECT_EQ(g.GridX(), a.doX ? 0.5L : 1);
        EXPECT_EQ(g.GridY(), a.doY ? 0.5L : 1);
        while (Beeps == 1)
            g.DoubleGridStep(a.doX, a.doY);
        const long double pixels = a.doX ? g.GridX() / g.ScaleX() : g.GridY() / g.ScaleY();
        const int size = a.doX ? W : H;
        EXPECT_GT(pixels, size);
        EXPECT_LE(pixels, 2 * size);
        EXPECT_EQ(a.doX ? g.GridY() : g.GridX(), 1);
    }
}

TEST_F(GrafFunkcie, EmptyTextIsZeroAndAResetViewKeepsThePiGrid) {
    TGrafFunkcie &g = Show(QStringLiteral("cos(x)"));
    g.ZoomOut(true, true);
    g.ResetView();
    EXPECT_EQ(g.ScaleX(), 0.025L);
    EXPECT_EQ(g.XGridUnit(), Pi); // the labels still tell multiples of pi
    EXPECT_EQ(g.GridX(), 0.5L);
    g.SetExpression(QString());
    g.Draw(true);
    EXPECT_FALSE(g.Trig());
    EXPECT_EQ(g.XGridUnit(), 1);
    for (const TBod &p : g.Points())
        EXPECT_TRUE(p.Defined && p.Y == 0);
}

TEST_F(GrafFunkcie, ResizeKeepsTheCentreAndCentreFindsTheOrigin) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(123, -45);
    const long double cx = CentreX();
    const long double cy = CentreY();
    g.Resize(W + 300, H - 100);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-15);
    EXPECT_NEAR(double(CentreY()), double(cy), 1e-15);
    EXPECT_GE(g.Column(g.Points().Last().X), W + 300); // sampled anew
    g.Centre();
    EXPECT_NEAR(double(CentreX()), 0, 1e-15);
    EXPECT_NEAR(double(CentreY()), 0, 1e-15);
}

TEST_F(GrafFunkcie, RenderedPlotHasTheAxesGridAndCurveColours) {
    TGrafFunkcie &g = Show(QStringLiteral("x^2+1"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plot.png"));
    ASSERT_TRUE(Plot.save(file));
    const QImage png(file);
    ASSERT_EQ(png.size(), QSize(W, H));
    auto at = [&png](int x, int y) { return png.pixel(x, y) & 0xFFFFFFu; };
    const int c = g.Column(0);
    const int r = g.FlipY(g.RowFromBottom(0));
    EXPECT_EQ(at(c, r), TGrafFunkcie::AxisColor);
    EXPECT_EQ(at(c + 20, r), TGrafFunkcie::AxisColor);
    EXPECT_EQ(at(c, r + 20), TGrafFunkcie::AxisColor);
    EXPECT_EQ(at(c + 20, r - 20), TGrafFunkcie::BackgroundColor);
    int checked = 0; // every sample on the plot is painted at its pixel
    for (const TBod &p : g.Points()) {
        const QPoint px(g.Column(p.X), g.FlipY(g.RowFromBottom(p.Y)));
        if (png.rect().contains(px)) {
            EXPECT_EQ(at(px.x(), px.y()), TGrafFunkcie::CurveColor) << px.x() << "," << px.y();
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
    int grey = 0; // a grid line is dotted
    for (int y = 0; y < 6; ++y)
        grey += at(g.VerticalGridLines().first().Pixel, y) == TGrafFunkcie::GridColor;
    EXPECT_GE(grey, 2);
    EXPECT_LT(grey, 6);
    // the rulers carry labels on the ruler colour
    EXPECT_EQ(VRuler.pixel(VRuler.width() - 1, 0) & 0xFFFFFFu, g.RulerColor);
    int inked = 0;
    for (int x = 0; x < HRuler.width(); ++x)
        inked += (HRuler.pixel(x, 10) & 0xFFFFFFu) != g.RulerColor;
    EXPECT_GT(inked, 10);
}

} // namespace
