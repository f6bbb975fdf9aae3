// Every window the program opens belongs to the main window: a dialog or a
// tool window whose owner (its transient parent) is the main window or a
// window that belongs to it, so that the window manager keeps it above the
// main window and minimises it with it.
#include "HlavnyTestSupport.h"
#include "uSpolocneOkna.h"

#include <QMessageBox>
#include <QWindow>

class OwnedWindowsTest : public HlavnyTest {};

TEST_F(OwnedWindowsTest, EachCompanionAndMessageBoxIsADialogOrToolWindowOfItsOwner) {
    W->show();
    TCompanionWindows &c = Windows->Companions();
    QWidget *constants = c.Window(TCompanion::Constants);
    QMessageBox withoutParent;
    QMessageBox ofConstants(constants);
    struct Row {
        const char *Name;
        QWidget *Window;
        Qt::WindowType Type;
        QWidget *Owner;
    };
    const Row rows[] = {
        {"preview", c.Window(TCompanion::Preview), Qt::Tool, W},
        {"language", c.Window(TCompanion::Language), Qt::Dialog, W},
        {"variables", c.Window(TCompanion::Variables), Qt::Tool, W},
        {"history", c.Window(TCompanion::History), Qt::Tool, W},
        {"constants", constants, Qt::Tool, W},
        // Modal over the constants window, and so kept above it.
        {"constant editor", c.Window(TCompanion::ConstantEditor), Qt::Dialog, constants},
        {"about", c.Window(TCompanion::About), Qt::Dialog, W},
        {"box without a parent", &withoutParent, Qt::Dialog, W},
        {"box of the constants", &ofConstants, Qt::Dialog, constants},
    };
    for (const Row &row : rows) {
        ASSERT_NE(row.Window, nullptr) << row.Name;
        row.Window->show();
        EXPECT_EQ(row.Window->windowType(), row.Type) << row.Name;
        ASSERT_NE(row.Window->windowHandle(), nullptr) << row.Name;
        EXPECT_EQ(row.Window->windowHandle()->transientParent(), row.Owner->windowHandle()) << row.Name;
    }
    // Shown again, a window still belongs to the main window.
    c.Window(TCompanion::History)->hide();
    c.Window(TCompanion::History)->show();
    EXPECT_EQ(c.Window(TCompanion::History)->windowHandle()->transientParent(), W->windowHandle());
}

TEST_F(OwnedWindowsTest, TheLanguageChooserHasNoMaximiseButtonAndTheAboutBoxOnlyItsSystemMenu) {
    struct Row {
        TCompanion Kind;
        bool Minimise;
        bool FixedSize;
    };
    for (const Row &row : {Row{TCompanion::Language, true, false}, Row{TCompanion::About, false, true}}) {
        QWidget *window = Windows->Companions().Window(row.Kind);
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlags(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint))
            << S(window->objectName());
        EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), row.Minimise) << S(window->objectName());
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << S(window->objectName());
        // A window manager offers no maximising of a window that cannot
        // be resized.
        EXPECT_EQ(window->minimumSize() == window->maximumSize(), row.FixedSize) << S(window->objectName());
    }
}

TEST(KeepOnScreenTest, AFrameMovesTheLeastIntoTheAvailableAreaTitleBarFirst) {
    const QRect available(0, 30, 800, 570); // a panel over the top 30 pixels
    struct Row {
        QRect Frame;
        QPoint TopLeft;
    };
    const Row rows[] = {
        {{100, 100, 200, 100}, {100, 100}}, // inside: stays
        {{100, 10, 200, 100}, {100, 30}},   // title bar under the panel
        {{700, 100, 200, 100}, {600, 100}}, // past the right edge
        {{-40, 550, 200, 100}, {0, 500}},   // past the left and bottom edges
        {{100, -50, 200, 700}, {100, 30}},  // taller than the area: the top stays on it
        {{50, 100, 900, 100}, {0, 100}},    // wider than the area: the left edge stays on it
    };
    for (const Row &row : rows)
        EXPECT_EQ(FrameTopLeftOnScreen(row.Frame, available), row.TopLeft) << row.Frame.x() << "," << row.Frame.y();
    // Any frame that fits ends wholly on the area, moved only where it
    // stood off it.
    for (int x = -900; x <= 1700; x += 97)
        for (int y = -700; y <= 1300; y += 89) {
            const QRect frame(x, y, 300, 200);
            const QRect placed(FrameTopLeftOnScreen(frame, available), frame.size());
            EXPECT_TRUE(available.contains(placed)) << x << "," << y;
            if (available.contains(frame)) {
                EXPECT_EQ(placed, frame);
            }
        }
}
