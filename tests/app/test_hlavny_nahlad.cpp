// The main window's expression preview: its picture, its menu item and the
// link the tool windows call.
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
    struct Case {
        const char *road;
        const char *input;
        const char *drawn;
        bool error;
    };
    const Case cases[] = {
        {"menu", "1/2 + x^2", "[[1/2]+[x^2]]", false},
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
        EXPECT_EQ(W->LastError().Failed(), c.error) << c.road;
    }
}
