// The main window's expression preview: its picture, its menu item, the
// link the tool windows call, and the preview window going along with the
// main window's drag.
#include "GrafickyTestSupport.h"
#include "HlavnyTestSupport.h"
#include "fNahladVyrazu.h"

#include <QAction>

class HlavnyNahladTest : public HlavnyTest {
protected:
    TnahladVyrazuFrm *Preview() { return Windows->Companions().Get<TnahladVyrazuFrm>(TCompanion::Preview); }
    QString Drawn() { return Shape(*Preview()->Tree()); }
};

TEST_F(HlavnyNahladTest, EveryRoadShowsThePreviewOfItsText) {
    ASSERT_NE(Preview(), nullptr);
    EXPECT_TRUE(Preview()->isHidden());
    struct Case { const char *road; const char *input; const char *drawn; bool error; };
    const Case cases[] = {
        {"picture", "1/2 + x^2", "[[1/2]+[x^2]]", false},
        {"menu", "", "0", false},
        {"picture", "2(x+1", "???", true},
        {"link", "2x", "[2*x]", false},
    };
    for (const Case &c : cases) {
        Preview()->hide();
        Type(c.input);
        const std::string road = c.road;
        if (road == "picture")
            QTest::mouseClick(Find<QWidget>(*W, "nahladImg"), Qt::LeftButton);
        else if (road == "menu")
            Find<QAction>(*W, "NahladVyrazuAct")->trigger();
        else
            static_cast<TMainWindowLink *>(W)->ShowExpressionPreview(c.input);
        EXPECT_TRUE(Preview()->isVisible()) << c.road;
        EXPECT_EQ(S(Drawn()), c.drawn) << c.road;
        EXPECT_EQ(W->LastError().Code != 0, c.error) << c.road;
    }
}

TEST_F(HlavnyNahladTest, ThePreviewTouchingTheMainWindowGoesAlongWithItsDrag) {
    W->show();
    W->move(400, 300);
    TnahladVyrazuFrm *docked = Preview();
    docked->show();
    docked->MoveBy(W->x() - docked->frameGeometry().width() - docked->x(), 300 - docked->y());
    ASSERT_TRUE(docked->TouchesForm(W));
    QWidget *apart = Windows->Companions().Window(TCompanion::History);
    apart->show();
    apart->move(20, 20);
    const QPoint dockedAt = docked->pos(), apartAt = apart->pos();

    QWidget *handle = Find<QWidget>(*W, "pohybLbl");
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(100, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 25), handle->mapToGlobal(QPointF(130, 25)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(130, 25));

    EXPECT_EQ(W->pos(), QPoint(430, 315));
    EXPECT_EQ(docked->pos(), dockedAt + QPoint(30, 15));
    EXPECT_EQ(apart->pos(), apartAt);
}
