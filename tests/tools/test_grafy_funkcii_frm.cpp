// The graph window's wiring: function, caption, language, drag, buttons,
// resize, and the tool windows' graph command.
#include "GrafTestSupport.h"

#include "fGrafyFunkcii.h"
#include "uIniFile.h"
#include "uMainWindowLink.h"
#include "uNastroje.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

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
        return {double(g.Width() / 2.0L * g.ScaleX() - g.OffsetX()), double(g.Height() / 2.0L * g.ScaleY() - g.OffsetY())};
    }
};

TEST_F(GrafyFunkciiFrm, SetFunctionResetsTheViewAndShowsTheFunction) {
    TGrafyFunkciiFrm w;
    const struct {
        const char *text;
        bool trig;
    } cases[] = {{"x^2", false}, {"sin(x)*2", true}, {"1/x", false}};
    for (const auto &c : cases) {
        Find<QPushButton>(w, "oddialBtn")->click();
        w.SetFunction(QString::fromLatin1(c.text));
        EXPECT_EQ(S(w.windowTitle()), std::string("Graf funkcie y = ") + c.text);
        EXPECT_EQ(Find<QCheckBox>(w, "goniometrickaChb")->isChecked(), c.trig) << c.text;
        EXPECT_EQ(w.Graph().Trig(), c.trig) << c.text;
        EXPECT_EQ(w.Graph().ScaleX(), 0.025L) << c.text;
        EXPECT_EQ(S(w.Graph().Expression()), c.text);
        EXPECT_FALSE(w.Graph().Points().IsEmpty());
    }
    // the check box switches the pi grid of the function shown
    Find<QCheckBox>(w, "goniometrickaChb")->click();
    EXPECT_TRUE(w.Graph().Trig());
    EXPECT_EQ(w.Graph().GridX(), 0.5L);
}

TEST_F(GrafyFunkciiFrm, LanguageSetsTheCaptionPrefixAndTheGroups) {
    TGrafyFunkciiFrm w;
    w.SetFunction(QStringLiteral("x^2"));
    UseLanguage("[FunctionGraph]\r\nGraphOfFunction=Graph of y =\r\nMove=Move\r\nGrid=Grid\r\n");
    w.ApplyLanguage();
    EXPECT_EQ(S(w.windowTitle()), "Graph of y = x");
    EXPECT_EQ(S(Find<QGroupBox>(w, "PohybGpb")->title()), "Move");
    EXPECT_EQ(S(Find<QGroupBox>(w, "mierkaGpb")->title()), ""); // no key: no caption
    EXPECT_EQ(S(Find<QGroupBox>(w, "MriezkaGpb")->title()), "Grid");
    w.SetFunction(QStringLiteral("1/x"));
    EXPECT_EQ(S(w.windowTitle()), "Graph of y = 1/x");
    // a file without the prefix gives the built-in one, not the old caption
    UseLanguage("[FunctionGraph]\r\nScale=Scale\r\n");
    w.ApplyLanguage();
    EXPECT_EQ(S(w.windowTitle()), "Graf funkcie y = x");
    EXPECT_EQ(S(Find<QGroupBox>(w, "mierkaGpb")->title()), "Scale");
    // the shipped English file names all four
    QDir().mkpath(Path("lang"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/english.txt"), Path("lang/english.txt")));
    ASSERT_TRUE(LoadLanguageFile(QStringLiteral("lang\\english.txt")));
    w.ApplyLanguage();
    EXPECT_EQ(S(w.windowTitle()), "Graph of function y = x");
    for (const char *group : {"PohybGpb", "mierkaGpb", "MriezkaGpb"})
        EXPECT_FALSE(Find<QGroupBox>(w, group)->title().trimmed().isEmpty()) << group;
}

TEST_F(GrafyFunkciiFrm, LeftButtonDragMovesThePictureWithOneRedrawPerMove) {
    TGrafyFunkciiFrm w(nullptr, CountingSamplers(Samples));
    w.SetFunction(QStringLiteral("x^2"));
    QWidget *plot = Find<QWidget>(w, "grafImg");
    const TGrafFunkcie &g = w.Graph();
    const struct {
        Qt::MouseButton button;
        int dx, dy;
        bool moves;
    } drags[] = {{Qt::LeftButton, 40, 30, true}, {Qt::LeftButton, -7, 0, true}, {Qt::RightButton, 40, 30, false}};
    for (const auto &d : drags) {
        const long double ox = g.OffsetX();
        const long double oy = g.OffsetY();
        Mouse(plot, QEvent::MouseButtonPress, {100, 100}, d.button, d.button);
        Samples = 0;
        Mouse(plot, QEvent::MouseMove, QPoint(100 + d.dx, 100 + d.dy), Qt::NoButton, d.button);
        const int once = Samples;
        Mouse(plot, QEvent::MouseButtonRelease, QPoint(100 + d.dx, 100 + d.dy), d.button, Qt::NoButton);
        if (d.moves) {
            EXPECT_NEAR(double(g.OffsetX()), double(ox + d.dx * g.ScaleX()), 1e-15);
            EXPECT_NEAR(double(g.OffsetY()), double(oy - d.dy * g.ScaleY()), 1e-15);
            EXPECT_EQ(once, g.Points().Count()); // sampled once, not twice
        } else {
            EXPECT_EQ(g.OffsetX(), ox);
            EXPECT_EQ(g.OffsetY(), oy);
            EXPECT_EQ(once, 0);
        }
    }
}

TEST_F(GrafyFunkciiFrm, MoveButtonsUseTheStep) {
    TGrafyFunkciiFrm w;
    QSpinBox *step = Find<QSpinBox>(w, "posunUpd");
    QLineEdit *stepText = Find<QLineEdit>(w, "posunEdt");
    EXPECT_EQ(step->value(), 40);
    EXPECT_TRUE(stepText->isReadOnly());
    const struct {
        const char *button;
        int steps; // up-down clicks from 40
        int dx, dy; // pixels the picture moves (right, down)
    } cases[] = {{"vpravoBtn", 8, 80, 0}, {"vlavoBtn", -7, -5, 0}, {"horeBtn", -8, 0, 5}, {"doleBtn", 0, 0, -40}};
    for (const auto &c : cases) {
        w.SetFunction(QStringLiteral("x"));
        step->setValue(40);
        step->stepBy(c.steps);
        EXPECT_EQ(step->value(), std::abs(c.dx + c.dy)) << c.button; // 5 to 80
        EXPECT_EQ(S(stepText->text()), std::to_string(step->value())) << c.button;
        const long double ox = w.Graph().OffsetX();
        const long double oy = w.Graph().OffsetY();
        Find<QPushButton>(w, c.button)->click();
        EXPECT_NEAR(double(w.Graph().OffsetX()), double(ox + c.dx * w.Graph().ScaleX()), 1e-15) << c.button;
        EXPECT_NEAR(double(w.Graph().OffsetY()), double(oy - c.dy * w.Graph().ScaleY()), 1e-15) << c.button;
    }
    Find<QPushButton>(w, "vystredBtn")->click();
    EXPECT_NEAR(Centre(w.Graph()).x(), 0, 1e-15);
    EXPECT_NEAR(Centre(w.Graph()).y(), 0, 1e-15);
}

TEST_F(GrafyFunkciiFrm, ScaleAndGridButtonsReachTheirAxes) {
    const struct {
        const char *button;
        double scaleX, scaleY, gridX, gridY; // factors
    } cases[] = {
        {"priblizBtn", 0.5, 0.5, 1, 1},       {"priblizXBtn", 0.5, 1, 1, 1},        {"priblizYBtn", 1, 0.5, 1, 1},
        {"oddialBtn", 2, 2, 1, 1},            {"oddialXBtn", 2, 1, 1, 1},           {"oddialYBtn", 1, 2, 1, 1},
        {"zvacsiMriezkuBtn", 1, 1, 0.5, 0.5}, {"zvacsiiMriezkuXBtn", 1, 1, 0.5, 1}, {"zcacsiiMriezkuYBtn", 1, 1, 1, 0.5},
        {"zmensiMriezkuBtn", 1, 1, 2, 2},     {"zmensiMriezkuXBtn", 1, 1, 2, 1},    {"zmensiMriezkuYBtn", 1, 1, 1, 2},
    };
    TGrafyFunkciiFrm w;
    for (const auto &c : cases) {
        w.SetFunction(QStringLiteral("x"));
        Find<QPushButton>(w, c.button)->click();
        const TGrafFunkcie &g = w.Graph();
        EXPECT_EQ(double(g.ScaleX() / 0.025L), c.scaleX) << c.button;
        EXPECT_EQ(double(g.ScaleY() / 0.025L), c.scaleY) << c.button;
        EXPECT_EQ(double(g.GridX()), c.gridX) << c.button;
        EXPECT_EQ(double(g.GridY()), c.gridY) << c.button;
    }
}

TEST_F(GrafyFunkciiFrm, ResizeKeepsTheCentreAndPlacesThePanel) {
    TGrafyFunkciiFrm w;
    w.SetFunction(QStringLiteral("x^2"));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget *plot = Find<QWidget>(w, "grafImg");
    EXPECT_EQ(plot->size(), QSize(615, 313));
    Find<QPushButton>(w, "vpravoBtn")->click();
    const QPointF centre = Centre(w.Graph());
    w.resize(w.width() + 101, w.height() + 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plot->width() == 716; }));
    EXPECT_EQ(plot->size(), QSize(716, 373));
    EXPECT_EQ(w.Graph().Width(), 716);
    EXPECT_EQ(w.Graph().Height(), 373);
    EXPECT_NEAR(Centre(w.Graph()).x(), centre.x(), 1e-15);
    EXPECT_NEAR(Centre(w.Graph()).y(), centre.y(), 1e-15);
    EXPECT_EQ(Find<QWidget>(w, "ovladaniePnl")->geometry(), QRect(0, w.height() - 56, w.width(), 56));
    EXPECT_EQ(Find<QWidget>(w, "vodorovnePravitkoImg")->width(), 712);
    EXPECT_EQ(Find<QWidget>(w, "zvislePravitkoImg")->height(), 373);
}

TEST_F(GrafyFunkciiFrm, GraphCommandOpensOneWindowOfTheMainWindow) {
    TFakeMainWindow main;
    TNastroje tools;
    tools.Attach(&main);
    tools.ShowGraph(QStringLiteral("x^2"));
    tools.ShowGraph(QStringLiteral("sin(x)"));
    const QList<TGrafyFunkciiFrm *> windows = main.Frame.findChildren<TGrafyFunkciiFrm *>();
    ASSERT_EQ(windows.size(), 1);
    TGrafyFunkciiFrm *w = windows.first();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(S(w->windowTitle()), "Graf funkcie y = sin(x)");
    UseLanguage("[FunctionGraph]\r\nGraphOfFunction=Graph:\r\n");
    tools.ApplyLanguage();
    EXPECT_EQ(S(w->windowTitle()), "Graph: x");
}

} // namespace
