// The Tools menu of the main window opens the polynomial, statistics,
// combinatorics and rule-of-three windows once each; only the polynomial and
// rule-of-three windows take the main window's always-on-top style; a
// language switch of the main window reaches all of them.
#include "../app/AppTestSupport.h"
#include "fHlavny.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"
#include "uNastroje.h"
#include "uOkna.h"

#include <QAction>

namespace {

template <class T> QList<QWidget *> WindowsOf(const QWidget &main) {
    QList<QWidget *> windows;
    for (T *w : main.findChildren<T *>())
        windows.append(w);
    return windows;
}

} // namespace

class ToolsMenuTest : public AppTest {};

TEST_F(ToolsMenuTest, OpensEachWindowOnceWithItsFormStyleAndLanguage) {
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
    for (int twice = 0; twice < 2; ++twice)
        for (const char *name : {"MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct"})
            trigger(name);
    WriteBytes(Path("lang/t.txt"), "[Polynomials]\r\nCaption=P\r\n[Combinatorics]\r\nCaption=K\r\n"
                                   "[Statistics]\r\nCaption=S\r\n[RuleOfThree]\r\nCaption=R\r\n");
    ASSERT_TRUE(main.ApplyLanguageToAllForms("lang\\t.txt"));
    const struct {
        QList<QWidget *> windows;
        bool onTop;
        const char *caption;
    } cases[] = {{WindowsOf<TmnohoclenyFrm>(main), true, "P"},
                 {WindowsOf<TkombinatorikaFrm>(main), false, "K"},
                 {WindowsOf<TstatistikaFrm>(main), false, "S"},
                 {WindowsOf<TtrojclenkaFrm>(main), true, "R"}};
    for (const auto &c : cases) {
        ASSERT_EQ(c.windows.size(), 1) << c.caption;
        QWidget *w = c.windows.first();
        EXPECT_TRUE(w->isVisible()) << c.caption;
        EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.onTop) << c.caption;
        EXPECT_EQ(S(w->windowTitle()), c.caption);
    }
}
