// The Tools menu of the main window opens the polynomial, statistics,
// combinatorics and rule-of-three windows once each; only the polynomial and
// rule-of-three windows take the main window's always-on-top style; a
// language switch of the main window reaches all of them.
#include "../app/AppTestSupport.h"
#include "fHlavny.h"
#include "uNastroje.h"
#include "uOkna.h"

#include <QAction>

class ToolsMenuTest : public AppTest {};

TEST_F(ToolsMenuTest, OpensEachWindowOnceWithItsFormStyleAndLanguage) {
    TNastroje tools;
    TProgramWindows program({&tools, nullptr});
    ThlavnyFrm &main = program.Main();
    for (const char *name : {"VzdyNavrchuAct", "MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct",
                             "MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct"}) {
        QAction *action = main.findChild<QAction *>(name);
        ASSERT_TRUE(action && action->isEnabled()) << name;
        action->trigger();
    }
    ASSERT_TRUE(KProgramSettings::Instance().OnTop);
    WriteBytes(Path("lang/t.txt"), "[Polynomials]\r\nCaption=P\r\n[Combinatorics]\r\nCaption=K\r\n"
                                   "[Statistics]\r\nCaption=S\r\n[RuleOfThree]\r\nCaption=R\r\n");
    ASSERT_TRUE(main.ApplyLanguageToAllForms("lang\\t.txt"));
    // Each window, found by the caption its own section gives it, is the one
    // window of its name.
    for (const auto &[caption, onTop] : {std::pair{"P", true}, {"K", false}, {"S", false}, {"R", true}}) {
        QWidget *shown = nullptr;
        for (QWidget *w : main.findChildren<QWidget *>())
            if (w->isWindow() && w->windowTitle() == QLatin1String(caption))
                shown = w;
        ASSERT_TRUE(shown && !shown->objectName().isEmpty()) << caption;
        EXPECT_EQ(main.findChildren<QWidget *>(shown->objectName()).size(), 1) << caption;
        EXPECT_TRUE(shown->isVisible()) << caption;
        EXPECT_EQ(shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop) << caption;
    }
}
