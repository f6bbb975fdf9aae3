// The graph window's wiring: drag, buttons, resize, and the tool windows'
// graph command with its caption and language.
#include "GrafTestSupport.h"

#include "fGrafyFunkcii.h"
#include "uIniFile.h"
#include "uMainWindowLink.h"
#include "uNastroje.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <array>
#include <cmath>

namespace {

class GrafyFunkciiFrm : public GraphTest {
protected:
    static void UseLanguage(const char *text) {
        AppContext().SetLanguageIni(std::make_shared<const TIniFile>(TIniFile::FromText(QString::fromUtf8(text))));
    }
    static void Mouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    // The world point at the plot's centre.
    static QPointF Centre(const TGrafFunkcie &g) {
        return {double(g.Width() / 2.0L * g.ScaleX() - g.OffsetX()),
                double(g.Height() / 2.0L * g.ScaleY() - g.OffsetY())};
    }
};

TEST_F(GrafyFunkciiFrm, LeftButtonDragMovesThePictureWithOneRedrawPerMove) {
    TGrafyFunkciiFrm w(nullptr, CountingSamplers(Samples, Context));
    w.SetFunction(QStringLiteral("x^2"));
    QWidget *plot = Find<QWidget>(w, "grafImg");
    const TGrafFunkcie &g = w.Graph();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        const bool moves = button == Qt::LeftButton;
        const QPointF before = Centre(g);
        Mouse(plot, QEvent::MouseButtonPress, {100, 100}, button, button);
        Samples = 0;
        Mouse(plot, QEvent::MouseMove, {140, 130}, Qt::NoButton, button);
        EXPECT_EQ(Samples, moves ? g.Points().Count() : 0); // sampled once, not twice
        Mouse(plot, QEvent::MouseButtonRelease, {140, 130}, button, Qt::NoButton);
        EXPECT_EQ(Centre(g) - before, moves ? QPointF(-40 * double(g.ScaleX()), 30 * double(g.ScaleY())) : QPointF());
    }
}

TEST_F(GrafyFunkciiFrm, EachButtonReachesItsOperation) {
    TGrafyFunkciiFrm w;
    QSpinBox *step = Find<QSpinBox>(w, "posunUpd");
    EXPECT_TRUE(Find<QLineEdit>(w, "posunEdt")->isReadOnly());
    const struct {
        const char *button;
        int steps;                           // up-down clicks from 40, by 5 between 5 and 80
        int dx, dy;                          // pixels the picture moves (right, down)
        double scaleX, scaleY, gridX, gridY; // factors
    } cases[] = {
        {"vpravoBtn", 9, 80, 0, 1, 1, 1, 1},
        {"vlavoBtn", -7, -5, 0, 1, 1, 1, 1},
        {"horeBtn", -8, 0, 5, 1, 1, 1, 1},
        {"doleBtn", 0, 0, -40, 1, 1, 1, 1},
        {"priblizBtn", 0, 0, 0, 0.5, 0.5, 1, 1},
        {"priblizXBtn", 0, 0, 0, 0.5, 1, 1, 1},
        {"priblizYBtn", 0, 0, 0, 1, 0.5, 1, 1},
        {"oddialBtn", 0, 0, 0, 2, 2, 1, 1},
        {"oddialXBtn", 0, 0, 0, 2, 1, 1, 1},
        {"oddialYBtn", 0, 0, 0, 1, 2, 1, 1},
        {"zvacsiMriezkuBtn", 0, 0, 0, 1, 1, 0.5, 0.5},
        {"zvacsiiMriezkuXBtn", 0, 0, 0, 1, 1, 0.5, 1},
        {"zcacsiiMriezkuYBtn", 0, 0, 0, 1, 1, 1, 0.5},
        {"zmensiMriezkuBtn", 0, 0, 0, 1, 1, 2, 2},
        {"zmensiMriezkuXBtn", 0, 0, 0, 1, 1, 2, 1},
        {"zmensiMriezkuYBtn", 0, 0, 0, 1, 1, 1, 2},
    };
    for (const auto &c : cases) {
        w.SetFunction(QStringLiteral("x"));
        step->setValue(40);
        step->stepBy(c.steps);
        const QPointF before = Centre(w.Graph());
        Find<QPushButton>(w, c.button)->click();
        const TGrafFunkcie &g = w.Graph();
        EXPECT_EQ(Centre(g) - before, QPointF(double(-c.dx * g.ScaleX()), double(c.dy * g.ScaleY()))) << c.button;
        EXPECT_EQ((std::array{double(g.ScaleX() / 0.025L), double(g.ScaleY() / 0.025L), double(g.GridX()),
                              double(g.GridY())}),
                  (std::array{c.scaleX, c.scaleY, c.gridX, c.gridY}))
            << c.button;
    }
    Find<QPushButton>(w, "vystredBtn")->click();
    EXPECT_EQ(Centre(w.Graph()), QPointF(0, 0));
}

TEST_F(GrafyFunkciiFrm, ResizeGivesThePlotTheRoomAndPlacesThePanel) {
    TGrafyFunkciiFrm w;
    w.SetFunction(QStringLiteral("x^2"));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget *plot = Find<QWidget>(w, "grafImg");
    const QSize grown = plot->size() + QSize(101, 60);
    Find<QPushButton>(w, "vpravoBtn")->click();
    const QPointF centre = Centre(w.Graph());
    w.resize(w.width() + 101, w.height() + 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plot->size() == grown; }));
    EXPECT_EQ(QSize(w.Graph().Width(), w.Graph().Height()), grown);
    EXPECT_EQ(Centre(w.Graph()), centre);
    EXPECT_EQ(Find<QWidget>(w, "ovladaniePnl")->geometry(), QRect(0, w.height() - 56, w.width(), 56));
    EXPECT_EQ(Find<QWidget>(w, "zvislePravitkoImg")->height(), grown.height());
}

// Labels of eighths need a wider ruler than designed: the plot gives up the
// room and takes it back when a new function resets the view.
TEST_F(GrafyFunkciiFrm, VerticalRulerTakesTheWidthOfItsWidestLabel) {
    TGrafyFunkciiFrm w;
    w.SetFunction(QStringLiteral("x"));
    QWidget *ruler = Find<QWidget>(w, "zvislePravitkoImg"), *plot = Find<QWidget>(w, "grafImg"),
            *top = Find<QWidget>(w, "vodorovnePravitkoImg");
    const QPointF centre = Centre(w.Graph());
    for (const char *button : {"priblizYBtn", "priblizYBtn", "priblizYBtn", "zcacsiiMriezkuYBtn", "zcacsiiMriezkuYBtn"})
        Find<QPushButton>(w, button)->click();
    ASSERT_EQ(w.Graph().GridY(), 0.125L);
    for (const bool reset : {false, true}) {
        if (reset)
            w.SetFunction(QStringLiteral("x"));
        EXPECT_EQ(ruler->width(), reset ? 26 : w.Graph().VerticalRulerWidth());
        EXPECT_GT(ruler->width(), reset ? 0 : 26);
        EXPECT_TRUE(plot->x() == ruler->geometry().right() + 1 && top->x() == plot->x() - 4);
        EXPECT_TRUE(plot->width() + ruler->width() == 615 + 26 && top->width() == plot->width() - 4);
        EXPECT_EQ(QSize(w.Graph().Width(), w.Graph().Height()), plot->size());
        EXPECT_EQ(Centre(w.Graph()), centre);
    }
}

TEST_F(GrafyFunkciiFrm, GraphCommandShowsEachFunctionInOneWindowWithTheMainWindowsContext) {
    class TRadiansMain : public TFakeMainWindow {
        TEvaluationContext EvaluationContext() const override {
            TEvaluationContext c(QLatin1Char(','));
            c.AngleUnit = TAngleUnit::Radians;
            return c;
        }
    } main;
    TNastroje tools;
    tools.Attach(&main);
    tools.ShowGraph(QStringLiteral("x"));
    TGrafyFunkciiFrm *w = main.Frame.findChild<TGrafyFunkciiFrm *>();
    ASSERT_NE(w, nullptr);
    auto *trig = Find<QCheckBox>(*w, "goniometrickaChb");
    for (const bool tangent : {false, true}) {
        Find<QPushButton>(*w, "oddialBtn")->click(); // a view for the function to reset
        tools.ShowGraph(tangent ? QStringLiteral("tan(x)*2") : QStringLiteral("1/x"));
        EXPECT_EQ(main.Frame.findChildren<TGrafyFunkciiFrm *>().size(), 1);
        EXPECT_TRUE(w->isVisible() && w->isWindow());
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Graf funkcie y = ") + w->Graph().Expression());
        EXPECT_TRUE(trig->isChecked() == tangent && w->Graph().Trig() == tangent);
        EXPECT_EQ(w->Graph().ScaleX(), 0.025L);
    }
    const TBod &p = w->Graph().Points().First(); // in radians
    EXPECT_NEAR(double(p.Y), double(2 * std::tan(p.X)), 1e-15);
    trig->click(); // the check box switches the pi grid of the function shown
    EXPECT_FALSE(w->Graph().Trig());
    UseLanguage("[FunctionGraph]\r\nGraphOfFunction=Graph:\r\n");
    tools.ApplyLanguage();
    EXPECT_EQ(S(w->windowTitle()), "Graph: x");
}

} // namespace
