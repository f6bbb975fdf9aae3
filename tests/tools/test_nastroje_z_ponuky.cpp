// The Tools menu of the main window opens the polynomial, statistics,
// combinatorics and rule-of-three windows; only the polynomial and
// rule-of-three windows take the main window's always-on-top style.
#include "../app/AppTestSupport.h"
#include "fHlavny.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"
#include "uNastroje.h"
#include "uOkna.h"

#include <QAction>

class ToolsMenuTest : public AppTest {};

TEST_F(ToolsMenuTest, OpensEachWindowOnceWithItsFormStyle) {
    TNastroje tools;
    TProgramWindows program({&tools, nullptr});
    ThlavnyFrm &main = program.Main();
    const auto trigger = [&](const char *name) {
        QAction *action = main.findChild<QAction *>(name);
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    };
    trigger("VzdyNavrchuAct");
    ASSERT_TRUE(KProgramSettings::Instance().OnTop);
    for (const char *name : {"MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct", "TrojclenkaAct"})
        trigger(name);
    struct Case {
        QWidget *window;
        bool onTop;
    } cases[] = {{main.findChild<TmnohoclenyFrm *>(), true},
                 {main.findChild<TkombinatorikaFrm *>(), false},
                 {main.findChild<TstatistikaFrm *>(), false},
                 {main.findChild<TtrojclenkaFrm *>(), true}};
    for (const Case &c : cases) {
        ASSERT_NE(c.window, nullptr);
        EXPECT_TRUE(c.window->isVisible()) << S(c.window->objectName());
        EXPECT_EQ(c.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.onTop) << S(c.window->objectName());
    }
    EXPECT_EQ(main.findChildren<TtrojclenkaFrm *>().size(), 1);
}
