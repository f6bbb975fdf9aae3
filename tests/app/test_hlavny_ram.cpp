// The main window's frame: dragging by the title with the docked companions,
// the title pictures, the status-bar hints and their translation.
#include "HlavnyTestSupport.h"
#include "uMagneticForm.h"

#include <QMouseEvent>
#include <array>
#include <QStatusBar>

namespace {

class FrameTest : public HlavnyTest {
protected:
    void Send(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    void Enter(QWidget *target) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(target->mapToGlobal(QPoint(1, 1))));
        QApplication::sendEvent(target, &e);
    }
    void Leave(QWidget *target) {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(target, &e);
    }
    QString Hint() { return Find<QLabel>(*W, "StatusPanelHint")->text(); }
};

} // namespace

TEST_F(FrameTest, DraggingTheTitleTakesTheDockedCompanionsAlong) {
    W->move(100, 100);
    TMagneticForm *history = Historia();
    TMagneticForm *variables = Premenne();
    history->move(W->x() + W->width(), 150);       // docked at the right edge
    variables->move(W->x() + W->width() + 1, 400); // one pixel away
    QLabel *title = Find<QLabel>(*W, "pohybLbl");
    Send(title, QEvent::MouseButtonPress, QPoint(200, 10), Qt::LeftButton);
    Send(title, QEvent::MouseMove, QPoint(240, 40), Qt::LeftButton);
    EXPECT_EQ(W->pos(), QPoint(140, 130));
    EXPECT_EQ(history->pos(), QPoint(140 + W->width(), 180));
    EXPECT_EQ(variables->pos(), QPoint(100 + W->width() + 1, 400));
    // Without the button nothing moves; the screen's edge holds the window.
    Send(title, QEvent::MouseMove, QPoint(0, 0), Qt::NoButton);
    EXPECT_EQ(W->pos(), QPoint(140, 130));
    Send(title, QEvent::MouseMove, QPoint(200 - 10000, 10 - 10000), Qt::LeftButton);
    EXPECT_EQ(W->pos(), QPoint(20 - W->width(), 0));
}

TEST_F(FrameTest, TheTitlePicturesLightUpSinkWhilePressedAndAct) {
    W->show();
    // The preview picture sinks too, but has no highlighted look.
    const std::array<const char *, 3> cases[] = {{"zavrietImg", "pomZavrietImg", "pomZavrietaAktImg"},
                                                 {"minimalizovatImg", "pomMinimalizovatImg", "pomMinimalizovatAktImg"},
                                                 {"nahladImg", nullptr, nullptr}};
    for (const auto &[name, normal, lit] : cases) {
        auto *picture = Find<TObrazok>(*W, name);
        const QPoint at = picture->pos();
        const QImage look = picture->Image();
        if (normal) {
            ASSERT_NE(Find<TObrazok>(*W, normal)->Image(), Find<TObrazok>(*W, lit)->Image());
            Enter(picture);
            EXPECT_EQ(picture->Image(), Find<TObrazok>(*W, lit)->Image()) << name;
            Leave(picture);
            EXPECT_EQ(picture->Image(), Find<TObrazok>(*W, normal)->Image()) << name;
        } else {
            Enter(picture);
            EXPECT_EQ(picture->Image(), look) << name;
        }
        Send(picture, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        EXPECT_EQ(picture->pos(), at + QPoint(1, 1)) << name;
        Send(picture, QEvent::MouseButtonRelease, QPoint(30, 30), Qt::NoButton); // released outside: no click
        EXPECT_EQ(picture->pos(), at) << name;
    }
    EXPECT_FALSE(W->isMinimized());
    QTest::mouseClick(Find<TObrazok>(*W, "minimalizovatImg"), Qt::LeftButton);
    EXPECT_TRUE(W->isMinimized());
    QTest::mouseClick(Find<TObrazok>(*W, "zavrietImg"), Qt::LeftButton);
    EXPECT_FALSE(W->isVisible());
}

// The whole program goes: the shown companions with the main window, and
// they come back with it; a hidden one stays hidden.
TEST_F(FrameTest, TheMinimisePictureTakesTheShownWindowsAlong) {
    W->show();
    Historia()->show();
    Konstanty()->show();
    QTest::mouseClick(Find<TObrazok>(*W, "minimalizovatImg"), Qt::LeftButton);
    EXPECT_TRUE(W->isMinimized());
    EXPECT_FALSE(Historia()->isVisible());
    EXPECT_FALSE(Konstanty()->isVisible());
    W->showNormal(); // as the desktop restores it
    EXPECT_TRUE(Historia()->isVisible());
    EXPECT_TRUE(Konstanty()->isVisible());
    EXPECT_FALSE(Premenne()->isVisible());
}

TEST_F(FrameTest, TheStatusBarShowsTheHintOfTheControlUnderTheMouse) {
    Enter(Btn("BtnC"));
    EXPECT_EQ(S(Hint()), " Zmazať celý výraz aj výsledok");
    Enter(Input());
    EXPECT_EQ(S(Hint()), " Sem napíšte výraz");
    // Over the window's own background the panel empties.
    const QPoint background(4, 160);
    ASSERT_EQ(W->childAt(background), nullptr);
    Send(W, QEvent::MouseMove, background, Qt::NoButton);
    EXPECT_EQ(S(Hint()), "");
    EXPECT_TRUE(Btn("BtnC")->toolTip().isEmpty()); // no pop-up tips
    const QLabel *help = Find<QLabel>(*W, "StatusPanelHelp");
    EXPECT_EQ(help->width(), 80);
    EXPECT_LE(QFontMetrics(help->font()).horizontalAdvance(help->text()), help->contentsRect().width());
}

TEST_F(FrameTest, ALanguageFileTranslatesTheHintsItNamesOnly) {
    WriteBytes(Path("lang/h.txt"), "[Hints]\r\nhntC=Clear everything\r\nhntBr=A bracket\r\n");
    Enter(Btn("BtnC"));
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\h.txt")));
    // The hints arrive from the worker while the window goes on; the one the
    // status bar shows changes with them, before the mouse moves.
    EXPECT_TRUE(QTest::qWaitFor([this] { return Btn("BitBtn45")->statusTip() == "A bracket"; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return Hint() == " Clear everything"; }, 10000));
    EXPECT_EQ(S(Btn("BtnC")->statusTip()), "Clear everything");
    Enter(Btn("BitBtn44"));
    EXPECT_EQ(S(Hint()), " A bracket");
}

TEST_F(FrameTest, AWindowClosedWhileItsHintsAreTranslatedWaitsForThem) {
    WriteBytes(Path("lang/h.txt"), "[Hints]\r\nhntC=Clear everything\r\n");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\h.txt")));
    Windows.reset(); // must neither crash nor leave a thread writing into it
    W = nullptr;
    QCoreApplication::processEvents();
}
