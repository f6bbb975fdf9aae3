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

class GrafFunkcie : public GraphTest {
protected:
    QImage Plot{W, H, QImage::Format_RGB32};
    QImage VRuler{26, H, QImage::Format_RGB32};
    QImage HRuler{611, 21, QImage::Format_RGB32};
    std::unique_ptr<TGrafFunkcie> G;

    // A model of the window's plot size showing text, drawn once, its
    // samples counted from here on.
    TGrafFunkcie &Show(const QString &text, int width = W, int height = H) {
        G = std::make_unique<TGrafFunkcie>(&Plot, width, height, &VRuler, &HRuler, CountingSamplers(Samples));
        G->ResetView();
        G->SetExpression(text);
        G->Draw(true);
        Samples = 0;
        Beeps = 0;
        return *G;
    }

    // The world x at the plot's centre column, and y at its centre row.
    long double CentreX() const { return G->Width() / 2.0L * G->ScaleX() - G->OffsetX(); }
    long double CentreY() const { return G->Height() / 2.0L * G->ScaleY() - G->OffsetY(); }

    int MultiplesOn(const TGrafFunkcie &g, long double step) const {
        int n = 0;
        for (const TBod &p : g.Points()) {
            const long double k = p.X / step;
            n += std::fabs(k - std::nearbyint(k)) < 1e-12L;
        }
        return n;
    }
};

TEST_F(GrafFunkcie, NewModelShowsZeroWithTheOriginInTheMiddleAndUnitGrid) {
    TGrafFunkcie g(&Plot, W, H, &VRuler, &HRuler);
    g.Draw(true);
    EXPECT_FALSE(g.Trig());
    EXPECT_LE(std::fabs(g.Column(0) - W / 2.0), 0.5);
    EXPECT_LE(std::fabs(g.RowFromBottom(0) - H / 2.0), 0.5);
    // the curve is the line y = 0 across the whole plot
    const QList<QPolygon> pieces = g.CurvePieces();
    ASSERT_EQ(pieces.size(), 1);
    for (const QPoint &p : pieces.first())
        EXPECT_EQ(p.y(), g.FlipY(g.RowFromBottom(0)));
    // grid lines every unit, 40 pixels apart, labelled ..., -2, -1, 1, 2, ...
    for (const auto &lines : {g.VerticalGridLines(), g.HorizontalGridLines()}) {
        ASSERT_GE(lines.size(), 6);
        EXPECT_LT(lines.first().Pixel, 41);
        for (int i = 1; i < lines.size(); ++i) {
            const long double previous = lines[i - 1].Value;
            const long double value = previous < 0 && previous > -1.5L ? 1 : previous + 1; // 0 is the axis
            EXPECT_NEAR(lines[i].Pixel - lines[i - 1].Pixel, 40 * double(value - previous), 1);
            EXPECT_NEAR(double(lines[i].Value), double(value), 1e-15);
            EXPECT_EQ(S(lines[i].Label), S(QString::number(int(std::lround(double(value))))));
            EXPECT_FALSE(lines[i].Pi);
        }
    }
    EXPECT_GT(g.VerticalGridLines().last().Pixel, W - 41);
    EXPECT_GT(g.HorizontalGridLines().last().Pixel, H - 41);
}

TEST_F(GrafFunkcie, MainPassSamplesEveryFifthColumnToFourPastTheEdge) {
    for (const int width : {W, 100, 7, 1}) {
        const TGrafFunkcie &g = Show(QStringLiteral("x^2"), width);
        const TZoznamBodov &points = g.Points();
        ASSERT_FALSE(points.IsEmpty()) << width;
        EXPECT_EQ(points.Count(), (width + 4 + 4) / 5) << width;
        EXPECT_EQ(g.Column(points.First().X), 1) << width;
        EXPECT_GE(g.Column(points.Last().X), width) << width;
        EXPECT_LE(g.Column(points.Last().X), width + 4) << width;
        for (int i = 1; i < points.Count(); ++i)
            EXPECT_NEAR(double(points.At(i).X - points.At(i - 1).X), double(5 * g.ScaleX()), 1e-15);
        for (const TBod &p : points) {
            EXPECT_TRUE(p.Defined);
            EXPECT_NEAR(double(p.Y), double(p.X * p.X), 1e-15 * double(p.X * p.X) + 1e-17);
        }
        EXPECT_EQ(g.CurvePieces().size(), points.Count() > 0 ? 1 : 0) << width;
    }
}

TEST_F(GrafFunkcie, OneOverXGetsTheIntegersAndBreaksAtTheYAxis) {
    const TGrafFunkcie &g = Show(QStringLiteral("1/x"));
    // every integer whose column lies on the plot, besides the main pass
    int onPlot = 0;
    for (int k = -100; k <= 100; ++k)
        onPlot += g.Column(k) >= 0 && g.Column(k) < W;
    EXPECT_EQ(MultiplesOn(g, 1), onPlot);
    EXPECT_EQ(g.Points().Count(), (W + 8) / 5 + onPlot);
    for (int i = 1; i < g.Points().Count(); ++i)
        EXPECT_LT(g.Points().At(i - 1).X, g.Points().At(i).X);
    for (const TBod &p : g.Points())
        EXPECT_EQ(p.Defined, p.X != 0) << double(p.X);
    const QList<QPolygon> pieces = g.CurvePieces();
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_LT(pieces[0].last().x(), g.Column(0));
    EXPECT_GT(pieces[1].first().x(), g.Column(0));
    // the left piece runs below the x axis, the right one above it
    EXPECT_GT(pieces[0].last().y(), g.FlipY(g.RowFromBottom(0)));
    EXPECT_LT(pieces[1].first().y(), g.FlipY(g.RowFromBottom(0)));
}

TEST_F(GrafFunkcie, TangentSwitchesToPiGridAndBreaksAtItsPoles) {
    Engine().AngleUnit = 1; // radians
    const TGrafFunkcie &g = Show(QStringLiteral("tg(x)"));
    EXPECT_TRUE(g.Trig());
    EXPECT_EQ(g.XGridUnit(), Pi);
    EXPECT_EQ(g.GridX(), 0.5L);
    // x labels 0,5 1 1,5 ... each a factor of pi, lines pi/2 apart
    const QList<TMriezkovaCiara> lines = g.VerticalGridLines();
    ASSERT_GE(lines.size(), 8);
    for (const TMriezkovaCiara &l : lines) {
        EXPECT_TRUE(l.Pi);
        const long double factor = l.Value / Pi;
        EXPECT_NEAR(double(factor * 2), std::round(double(factor * 2)), 1e-15);
        QString want = QString::number(double(factor), 'g', 15);
        want.replace(QLatin1Char('.'), QLatin1Char(','));
        EXPECT_EQ(S(l.Label), S(want));
        EXPECT_EQ(l.Pixel, g.Column(l.Value));
    }
    // the multiples of pi/2 on the plot are sampled; the odd ones are poles
    int poles = 0;
    for (int k = -20; k <= 20; ++k)
        poles += k % 2 != 0 && g.Column(k * Pi / 2) > 0 && g.Column(k * Pi / 2) < W;
    ASSERT_GT(poles, 1);
    EXPECT_EQ(g.CurvePieces().size(), poles + 1);
    // each piece rises from left to right between two poles
    for (const QPolygon &piece : g.CurvePieces())
        for (int i = 1; i < piece.size(); ++i)
            EXPECT_LE(piece[i].y(), piece[i - 1].y());
}

TEST_F(GrafFunkcie, FunctionFailingLeftOfTheAxisDrawsOnlyRightOfIt) {
    for (const char *text : {"sqrt(x)", "ln(x)*x", "x^0,5"}) {
        const TGrafFunkcie &g = Show(QString::fromLatin1(text));
        for (const TBod &p : g.Points())
            EXPECT_EQ(p.Defined, text[0] == 'l' ? p.X > 0 : p.X >= 0) << text << " " << double(p.X);
        const QList<QPolygon> pieces = g.CurvePieces();
        ASSERT_EQ(pieces.size(), 1) << text;
        EXPECT_GE(pieces.first().first().x(), g.Column(0)) << text;
        EXPECT_GE(pieces.first().last().x(), W) << text;
    }
}

TEST_F(GrafFunkcie, InfiniteAndNanSamplesAreGapsNotLinesToTheEdge) {
    // a sampler that overflows to infinity right of 1 and gives nan left of -1
    class TOverflowing final : public TFunctionSampler {
    public:
        quint8 Sample(long double x, long double &y) override {
            y = x > 1 ? std::numeric_limits<long double>::infinity()
                      : (x < -1 ? std::numeric_limits<long double>::quiet_NaN() : x);
            return 0;
        }
    };
    TGrafFunkcie g(&Plot, W, H, &VRuler, &HRuler,
                   [](const QString &) { return std::make_unique<TOverflowing>(); });
    g.Draw(true);
    for (const TBod &p : g.Points())
        EXPECT_EQ(p.Defined, p.X >= -1 && p.X <= 1) << double(p.X);
    const QList<QPolygon> pieces = g.CurvePieces();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_GE(pieces.first().first().x(), g.Column(-1));
    EXPECT_LE(pieces.first().last().x(), g.Column(1));
}

TEST_F(GrafFunkcie, PointsFarOffThePlotBreakTheCurve) {
    // Beyond |x| = 2 the function jumps by 1E9, some 4E10 pixels above the
    // plot: more than a row can hold.
    const TGrafFunkcie &h = Show(QStringLiteral("x+1E9*sign(rnd(x/4))^2"));
    const QList<QPolygon> pieces = h.CurvePieces();
    // only the middle run, where rnd(x/4) is 0, stays on a drawable row
    ASSERT_EQ(pieces.size(), 1);
    for (const QPoint &p : pieces.first())
        EXPECT_LE(std::abs(p.x() - h.Column(0)), 2.0 / 0.025 + 5);
}

TEST_F(GrafFunkcie, PointListKeepsAscendingXAndIgnoresAnXItHolds) {
    const struct {
        std::vector<long double> xs;
        std::vector<long double> want;
    } cases[] = {
        {{3, 1, 2}, {1, 2, 3}},
        {{1, 2, 3}, {1, 2, 3}},
        {{5, -5, 0, 5, -5, 2.5L}, {-5, 0, 2.5L, 5}},
        {{1, 1, 1}, {1}},
    };
    for (const auto &c : cases) {
        TZoznamBodov list;
        for (std::size_t i = 0; i < c.xs.size(); ++i)
            list.Add(c.xs[i], static_cast<long double>(i), true);
        ASSERT_EQ(std::size_t(list.Count()), c.want.size());
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_EQ(list.At(i).X, c.want[std::size_t(i)]);
    }
    // the first point at an x stays
    TZoznamBodov list;
    EXPECT_TRUE(list.Add(1, 10, true));
    EXPECT_FALSE(list.Add(1, 20, false));
    EXPECT_EQ(list.First().Y, 10);
    EXPECT_TRUE(list.First().Defined);
    // a merge follows the same rule
    list.Merge({{0, 0, true}, {1, 30, false}, {2, 0, true}});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(1).Y, 10);
}

TEST_F(GrafFunkcie, ZoomOutStopsAboveOneUnitPerPixel) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    for (int i = 1; i <= 6; ++i) {
        const long double cx = CentreX();
        g.ZoomOut(true, true);
        EXPECT_EQ(g.ScaleX(), 0.025L * (1 << i));
        EXPECT_EQ(g.ScaleY(), 0.025L * (1 << i));
        EXPECT_NEAR(double(CentreX()), double(cx), 1e-12);
        EXPECT_GE(g.GridX() / g.ScaleX(), 20);
    }
    EXPECT_EQ(Beeps, 0);
    const long double offset = g.OffsetX();
    Samples = 0;
    g.ZoomOut(true, true);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(g.ScaleX(), 1.6L);
    EXPECT_EQ(g.OffsetX(), offset);
    EXPECT_EQ(Samples, 0); // nothing redrawn
}

TEST_F(GrafFunkcie, ZoomInPerAxisKeepsTheCentreAndStopsAtItsLimits) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    const long double cx = CentreX();
    const long double cy = CentreY();
    g.ZoomIn(true, false);
    EXPECT_EQ(g.ScaleX(), 0.0125L);
    EXPECT_EQ(g.ScaleY(), 0.025L);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-15);
    EXPECT_NEAR(double(CentreY()), double(cy), 1e-15);
    int steps = 1;
    while (Beeps == 0 && steps < 100) {
        g.ZoomIn(true, true);
        ++steps;
        EXPECT_LE(g.GridX() / g.ScaleX(), 160);
    }
    // x reaches the finest scale one step before y; the last call beeps for x
    EXPECT_EQ(Beeps, 1);
    EXPECT_LE(g.ScaleX(), 1.1920928955e-8L);
    EXPECT_GT(g.ScaleX() * 2, 1.1920928955e-8L);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-12);
    g.ZoomIn(true, true);
    EXPECT_EQ(Beeps, 3); // one beep per refused axis

    // with the origin far away, zooming in would push it past 32767 pixels
    TGrafFunkcie &far = Show(QStringLiteral("x"));
    far.Move(32000, 0);
    ASSERT_EQ(Beeps, 0);
    const long double scale = far.ScaleX();
    far.ZoomIn(true, false);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(far.ScaleX(), scale);
}

TEST_F(GrafFunkcie, MovesShiftTheViewAndOnlyAnXMoveSamplesAgain) {
    const struct {
        int dx, dy;
        bool resampled;
    } cases[] = {{40, 0, true}, {0, 40, false}, {-5, 0, true}, {0, -80, false}, {10, 10, true}};
    for (const auto &c : cases) {
        TGrafFunkcie &g = Show(QStringLiteral("x^2"));
        const long double ox = g.OffsetX();
        const long double oy = g.OffsetY();
        const long double firstX = g.Points().First().X;
        g.Move(c.dx, c.dy);
        // the picture follows the mouse: right and down for positive deltas
        EXPECT_NEAR(double(g.OffsetX()), double(ox + c.dx * g.ScaleX()), 1e-15);
        EXPECT_NEAR(double(g.OffsetY()), double(oy - c.dy * g.ScaleY()), 1e-15);
        EXPECT_EQ(Samples > 0, c.resampled) << c.dx << "," << c.dy;
        EXPECT_EQ(g.Points().First().X != firstX, c.dx != 0);
        EXPECT_EQ(Beeps, 0);
    }
    // an origin 32767 pixels away is refused per axis; both refused beep
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(32000, -32000);
    EXPECT_EQ(Beeps, 0);
    const long double ox = g.OffsetX();
    const long double oy = g.OffsetY();
    g.Move(1000, -1000);
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(g.OffsetX(), ox);
    EXPECT_EQ(g.OffsetY(), oy);
    g.Move(-1000, -1000); // x comes back, y stays refused
    EXPECT_EQ(Beeps, 1);
    EXPECT_LT(g.OffsetX(), ox);
    EXPECT_EQ(g.OffsetY(), oy);
}

TEST_F(GrafFunkcie, ExtraPassWithTheOriginFarAwaySamplesOnlyThePlot) {
    // The integers between the origin and the plot are not evaluated.
    for (const int direction : {1, -1}) {
        TGrafFunkcie &g = Show(QStringLiteral("1/x"));
        g.ZoomOut(true, false);
        g.Move(direction * 30000, 0);
        EXPECT_GT(std::fabs(g.OffsetX() / g.ScaleX()), 29000);
        Samples = 0;
        g.Draw(true);
        int onPlot = 0;
        const long double left = -g.OffsetX();
        for (long long k = std::llround(double(left)) - 2; g.Column(k) < W; ++k)
            onPlot += g.Column(k) >= 0;
        EXPECT_EQ(MultiplesOn(g, 1), onPlot);
        EXPECT_EQ(Samples, (W + 8) / 5 + onPlot);
    }
}

TEST_F(GrafFunkcie, GridStepsHalveDownToTwentyPixelsAndDoubleUpToThePlot) {
    const struct {
        bool doX, doY;
    } axes[] = {{true, false}, {false, true}, {true, true}};
    for (const auto &a : axes) {
        TGrafFunkcie &g = Show(QStringLiteral("x"));
        g.HalveGridStep(a.doX, a.doY); // 40 -> 20 pixels
        EXPECT_EQ(g.GridX(), a.doX ? 0.5L : 1);
        EXPECT_EQ(g.GridY(), a.doY ? 0.5L : 1);
        EXPECT_EQ(Beeps, 0);
        g.HalveGridStep(a.doX, a.doY); // 10 pixels: refused
        EXPECT_EQ(Beeps, 1);
        EXPECT_EQ(g.GridX(), a.doX ? 0.5L : 1);
        int doublings = 0;
        while (Beeps == 1 && doublings < 50) {
            g.DoubleGridStep(a.doX, a.doY);
            ++doublings;
        }
        EXPECT_EQ(Beeps, 2);
        if (a.doX) {
            EXPECT_GT(g.GridX() / g.ScaleX(), W);
            EXPECT_LE(g.GridX() / g.ScaleX(), 2 * W);
        }
        if (a.doY) {
            EXPECT_GT(g.GridY() / g.ScaleY(), H);
            EXPECT_LE(g.GridY() / g.ScaleY(), 2 * H);
        }
    }
}

TEST_F(GrafFunkcie, TrigModeHalvesAndDoublesTheXGridAndLabelsInPi) {
    TGrafFunkcie &g = Show(QStringLiteral("x^2"));
    EXPECT_FALSE(g.Trig());
    g.SetTrigMode(true);
    EXPECT_TRUE(g.Trig());
    EXPECT_EQ(g.GridX(), 0.5L);
    EXPECT_EQ(g.XGridUnit(), Pi);
    EXPECT_TRUE(g.VerticalGridLines().first().Pi);
    EXPECT_GT(Samples, 0);
    Samples = 0;
    g.SetTrigMode(true); // already on: nothing happens
    EXPECT_EQ(Samples, 0);
    g.SetTrigMode(false);
    EXPECT_EQ(g.GridX(), 1);
    EXPECT_EQ(g.XGridUnit(), 1);
    EXPECT_FALSE(g.VerticalGridLines().first().Pi);

    // the texts that choose the mode: "sin", "cos", "tg" anywhere, case kept
    const struct {
        const char *text;
        bool trig;
    } texts[] = {{"sinh(x)", true}, {"arccos(x)", true}, {"cotg(x)", true}, {"x*tg(1)", true},
                 {"SIN(x)", false}, {"tanh(x)", false}, {"x/2", false}};
    for (const auto &t : texts)
        EXPECT_EQ(Show(QString::fromLatin1(t.text)).Trig(), t.trig) << t.text;
}

TEST_F(GrafFunkcie, EmptyTextIsTheFunctionZeroWithAConsistentGrid) {
    TGrafFunkcie &g = Show(QStringLiteral("sin(x)"));
    g.ResetView();
    g.SetExpression(QString());
    g.Draw(true);
    EXPECT_FALSE(g.Trig());
    EXPECT_EQ(g.XGridUnit(), 1);
    for (const TBod &p : g.Points()) {
        EXPECT_TRUE(p.Defined);
        EXPECT_EQ(p.Y, 0);
    }
    // a reset view keeps the pi grid while the mode is on
    TGrafFunkcie &t = Show(QStringLiteral("cos(x)"));
    t.ZoomOut(true, true);
    t.ResetView();
    EXPECT_EQ(t.XGridUnit(), Pi);
    EXPECT_EQ(t.GridX(), 0.5L);
    EXPECT_EQ(t.ScaleX(), 0.025L);
}

TEST_F(GrafFunkcie, ResizeAndCentreKeepTheirPoints) {
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    g.Move(123, -45);
    const long double cx = CentreX();
    const long double cy = CentreY();
    g.Resize(W + 300, H - 100);
    EXPECT_EQ(g.Width(), W + 300);
    EXPECT_EQ(g.Height(), H - 100);
    EXPECT_NEAR(double(CentreX()), double(cx), 1e-15);
    EXPECT_NEAR(double(CentreY()), double(cy), 1e-15);
    EXPECT_GE(g.Column(g.Points().Last().X), W + 300); // sampled for the new width
    g.Centre();
    EXPECT_NEAR(double(CentreX()), 0, 1e-15);
    EXPECT_NEAR(double(CentreY()), 0, 1e-15);
}

TEST_F(GrafFunkcie, LabelsUseTheDecimalSeparator) {
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
        Engine().DecimalSeparator = separator;
        TGrafFunkcie &g = Show(QStringLiteral("x"));
        g.HalveGridStep(true, false);
        QStringList labels;
        for (const TMriezkovaCiara &l : g.VerticalGridLines())
            labels.append(l.Label);
        EXPECT_TRUE(labels.contains(QStringLiteral("0") + separator + QStringLiteral("5"))) << S(labels.join(' '));
        EXPECT_TRUE(labels.contains(QStringLiteral("-1") + separator + QStringLiteral("5"))) << S(labels.join(' '));
        EXPECT_TRUE(labels.contains(QStringLiteral("2")));
    }
    // far from the origin the labels take the exponent form
    TGrafFunkcie &g = Show(QStringLiteral("x"));
    for (int i = 0; i < 21; ++i)
        g.ZoomIn(true, false);
    for (const TMriezkovaCiara &l : g.VerticalGridLines())
        EXPECT_TRUE(l.Label.contains(QLatin1Char('E'))) << S(l.Label);
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
    // every sample of the curve is painted at its pixel
    int checked = 0;
    for (const TBod &p : g.Points()) {
        const int px = g.Column(p.X);
        const int py = g.FlipY(g.RowFromBottom(p.Y));
        if (px >= 0 && px < W && py >= 0 && py < H) {
            EXPECT_EQ(at(px, py), TGrafFunkcie::CurveColor) << px << "," << py;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
    // the background between the lines, and a grid line's dots
    EXPECT_EQ(at(c + 20, r - 20), TGrafFunkcie::BackgroundColor);
    const int gridColumn = g.VerticalGridLines().first().Pixel;
    int grey = 0;
    for (int y = 0; y < 6; ++y)
        grey += at(gridColumn, y) == TGrafFunkcie::GridColor;
    EXPECT_GE(grey, 2);
    // the rulers carry their labels on the ruler colour
    bool inked = false;
    for (int x = 0; x < HRuler.width() && !inked; ++x)
        for (int y = 0; y < HRuler.height() && !inked; ++y)
            inked = (HRuler.pixel(x, y) & 0xFFFFFFu) != g.RulerColor;
    EXPECT_TRUE(inked);
    EXPECT_EQ(VRuler.pixel(VRuler.width() - 1, 0) & 0xFFFFFFu, g.RulerColor);
}

} // namespace
