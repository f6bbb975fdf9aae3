// The shared interface helpers.
#include "AppTestSupport.h"
#include "uSpolocneOkna.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

class HelpersTest : public AppTest {};

TEST_F(HelpersTest, TranslateDigitKeyTable) {
    struct Case {
        char16_t typed;
        bool plusIsOne;
        char16_t expected;
    };
    for (QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
        SetDecSep(sep);
        // The Slovak number row is covered where it is typed into the main window.
        const Case cases[] = {
            {u'+', true, u'1'},           {u'+', false, u'+'},         {u'ř', false, u'5'},
            {u',', false, sep.unicode()}, {u'.', true, sep.unicode()}, {u'Č', false, u'Č'},
        };
        for (const Case &c : cases) {
            QChar key(c.typed);
            TranslateDigitKey(key, c.plusIsOne);
            EXPECT_EQ(key.unicode(), c.expected) << int(c.typed) << " sep " << sep.toLatin1();
        }
    }
}

TEST_F(HelpersTest, NumericFieldTypedThroughTheFilter) {
    SetDecSep(QLatin1Char(','));
    QLineEdit edit;
    InstallNumericKeyFilter(&edit);
    TypeText(&edit, QStringLiteral("-ľ.a,5+- "));
    EXPECT_EQ(S(edit.text()), "-2,51");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(S(edit.text()), "-2,5");
    // A "-" only at the start, where a selection's start counts as the caret.
    edit.setText("55");
    edit.setSelection(2, -2);
    QChar minus('-');
    FilterNumericKeyPress(&edit, minus);
    EXPECT_EQ(minus, QChar('-'));
    edit.setText("-5");
    edit.setCursorPosition(0);
    FilterNumericKeyPress(&edit, minus);
    EXPECT_TRUE(minus.isNull());
}

TEST_F(HelpersTest, ClipboardKeysActOnceAndTestOnlyTheControlBit) {
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setText("ab");
    QLineEdit line;
    InstallEditClipboardKeys(&line);
    QTest::keyClick(&line, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(S(line.text()), "ab");
    QPlainTextEdit plain;
    InstallEditClipboardKeys(&plain);
    clipboard->setText("xy");
    QTest::keyClick(&plain, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(S(plain.toPlainText()), "xy");

    line.setText("copy me");
    line.selectAll();
    EXPECT_TRUE(HandleEditClipboardKeys(&line, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_EQ(S(clipboard->text()), "copy me");
    clipboard->setText("before");
    EXPECT_FALSE(HandleEditClipboardKeys(&line, Qt::Key_C, Qt::ShiftModifier));
    EXPECT_FALSE(HandleEditClipboardKeys(nullptr, Qt::Key_C, Qt::ControlModifier));
    EXPECT_EQ(S(clipboard->text()), "before");
    // A read-only field copies but does not take a paste.
    line.setReadOnly(true);
    EXPECT_TRUE(HandleEditClipboardKeys(&line, Qt::Key_V, Qt::ControlModifier));
    EXPECT_EQ(S(line.text()), "copy me");
}

TEST_F(HelpersTest, IsKeyDownAsksTheKeyboardSeamWithinRange) {
    QList<int> asked;
    AppContext().KeyDown = [&](int vk) { return asked.append(vk), vk == VK_SHIFT; };
    EXPECT_TRUE(IsKeyDown(VK_SHIFT));
    EXPECT_FALSE(IsKeyDown(VK_CONTROL));
    EXPECT_FALSE(IsKeyDown(256));
    EXPECT_FALSE(IsKeyDown(-1));
    EXPECT_EQ(asked, QList<int>({VK_SHIFT, VK_CONTROL}));
}
