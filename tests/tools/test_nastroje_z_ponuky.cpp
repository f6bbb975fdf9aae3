// The Tools menu and the tool keys of the main window open each tool window
// once; every one of them follows the main window's "always on top"; a
// language switch of the main window reaches all of them.
#include "../app/AppTestSupport.h"
#include "fHlavny.h"
#include "uNastroje.h"
#include "uOkna.h"

#include <QAction>
#include <QPushButton>
#include <QWindow>

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
    for (const char *caption : {"P", "K", "S", "R"}) {
        QWidget *shown = nullptr;
        for (QWidget *w : main.findChildren<QWidget *>())
            if (w->isWindow() && w->windowTitle() == QLatin1String(caption))
                shown = w;
        ASSERT_TRUE(shown && !shown->objectName().isEmpty()) << caption;
        EXPECT_EQ(main.findChildren<QWidget *>(shown->objectName()).size(), 1) << caption;
        EXPECT_TRUE(shown->isVisible()) << caption;
    }
}

// The graph, derivative and sum windows open from the keys; each tool
// window opens in the main window's layer and follows the setting.
TEST_F(ToolsMenuTest, EveryToolWindowFollowsAlwaysOnTop) {
    TNastroje tools;
    TProgramWindows program({&tools, nullptr});
    ThlavnyFrm &main = program.Main();
    main.SetInputText(QStringLiteral("x^2"));
    main.findChild<QAction *>("VzdyNavrchuAct")->trigger();
    for (const char *key : {"grafBtn", "derivaciaBtn", "sumaBtn"})
        main.findChild<QPushButton *>(key)->click();
    for (const char *name : {"MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct"})
        main.findChild<QAction *>(name)->trigger();
    QList<QWidget *> windows;
    for (QWidget *w : main.findChildren<QWidget *>())
        if (w->isWindow() && w->isVisible())
            windows.append(w);
    ASSERT_EQ(windows.size(), 7);
    for (bool onTop : {true, false}) {
        for (QWidget *w : windows) {
            EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop) << S(w->objectName());
            EXPECT_EQ(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), onTop) << S(w->objectName());
            EXPECT_TRUE(w->isVisible()) << S(w->objectName());
        }
        main.findChild<QAction *>("VzdyNavrchuAct")->trigger();
    }
}

// Each tool window is a tool window of the main window, which X11 shows as
// belonging to it, with the buttons it has of its own.
TEST_F(ToolsMenuTest, EveryToolWindowBelongsToTheMainWindow) {
    TNastroje tools;
    TProgramWindows program({&tools, nullptr});
    ThlavnyFrm &main = program.Main();
    main.show();
    main.SetInputText(QStringLiteral("x^2"));
    for (const char *key : {"grafBtn", "derivaciaBtn", "sumaBtn"})
        main.findChild<QPushButton *>(key)->click();
    for (const char *name : {"MnohoclenyAct", "KombinatorikaAct", "statistikaAct", "TrojclenkaAct"})
        main.findChild<QAction *>(name)->trigger();
    struct Row {
        const char *Name;
        bool Minimise;
        bool Maximise;
    };
    const Row rows[] = {{"GrafyFunkciiFrm", true, true},   {"derivacieFrm", true, false},
                        {"sumaFrm", false, false},         {"mnohoclenyFrm", true, true},
                        {"kombinatorikaFrm", true, false}, {"statistikaFrm", true, false},
                        {"trojclenkaFrm", true, false}};
    for (const Row &row : rows) {
        auto *w = main.findChild<QWidget *>(row.Name);
        ASSERT_TRUE(w && w->isVisible()) << row.Name;
        EXPECT_EQ(w->windowType(), Qt::Tool) << row.Name;
        ASSERT_NE(w->windowHandle(), nullptr) << row.Name;
        EXPECT_EQ(w->windowHandle()->transientParent(), main.windowHandle()) << row.Name;
        EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint), row.Minimise) << row.Name;
        EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), row.Maximise) << row.Name;
    }
}
