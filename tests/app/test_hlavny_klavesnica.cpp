// The main window's input line and keypad: typed characters, the
// continuation from ANS, the families of keys, the editing keys, memory, the
// complex form key, history back, the window-size key, the clipboard
// commands and the bracket highlighting.
#include "HlavnyTestSupport.h"
#include "uZvyraznenie.h"

#include <QAction>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QRegularExpression>
#include <QStatusBar>

class KeypadTest : public HlavnyTest {
protected:
    void Click(const char *key) { QTest::mouseClick(Btn(key), Qt::LeftButton); }
    // The input holds text with the caret at caret (and length characters selected).
    void SetInput(const QString &text, int caret, int length = 0) {
        Input()->SetText(text);
        Input()->Select(caret, length);
    }
    void HoldShift(bool held) {
        AppContext().KeyDown = [held](int vk) { return held && vk == VK_SHIFT; };
    }
    bool JustEvaluated() { return KProgramState::Instance().JustEvaluated; }
    QString Memory() { return Find<QLabel>(*W, "LabelPamat")->text(); }
    // The positions of the bold characters of the input, "r" after a red one.
    std::string Marks() {
        std::string marks;
        for (int i = 0; i < Input()->Text().size(); ++i) {
            const QTextCharFormat f = Input()->CharFormatAt(i);
            const bool red = f.foreground().color() == QColor(255, 0, 0);
            if (f.fontWeight() >= QFont::Bold || red)
                marks += std::to_string(i) + (red ? "r " : " ");
        }
        return marks;
    }
};

TEST_F(KeypadTest, TypedCharactersAreRewrittenOrDropped) {
    struct Case {
        char sep;
        const char *typed;
        const char *input;
    };
    const Case cases[] = {
        // The Slovak number row gives its digits; "+" stays "+".
        {',', "+ľščťžýáíé", "+234567890"},
        {',', "úäň§&", "/()!*"},
        {'.', ",5", "0.5"}, // the separator, at the start with its zero
        // Everything outside the characters of expressions is dropped.
        {',', "1#2=3[4]5;6'7\"8ě9ř0öÄ€@_{}|~", "1234567890"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        SetDecSep(QLatin1Char(c.sep));
        Input()->SetText(QString());
        TypeText(Input(), QString::fromUtf8(c.typed));
        EXPECT_EQ(S(Input()->Text()), c.input);
        EXPECT_EQ(Input()->SelStart(), Input()->Text().size());
    }
    // At the caret, over the selection; Backspace is the input's own.
    SetInput(QStringLiteral("1234"), 1, 2);
    TypeText(Input(), QStringLiteral("x"));
    QTest::keyClick(Input(), Qt::Key_Backspace);
    EXPECT_EQ(S(Input()->Text()), "14");
    // A chord with Alt that no menu takes types nothing.
    QTest::keyClick(Input(), 'n', Qt::AltModifier);
    EXPECT_EQ(S(Input()->Text()), "14");
}

// Dead keys, compose and input methods commit their characters instead of
// typing keys: they take the same rules.
TEST_F(KeypadTest, CharactersCommittedByAnInputMethodAreTypedCharacters) {
    auto commit = [this](const QString &text, const QString &composing = QString()) {
        QInputMethodEvent e(composing, {});
        e.setCommitString(text);
        QApplication::sendEvent(Input(), &e);
    };
    SetInput(QStringLiteral("1+2"), 2);
    commit(QString(), QStringLiteral("ˇ")); // still composing: nothing goes in
    for (const char *c : {"ô", "č", "#", "a", "("})
        commit(QString::fromUtf8(c));
    EXPECT_EQ(S(Input()->Text()), "1+4a(2");
    EXPECT_EQ(Input()->SelStart(), 5);
    // An operator right after "=" continues from ANS, Shift or not.
    Calculate(QStringLiteral("2+3"));
    HoldShift(true);
    commit(QStringLiteral("*"));
    EXPECT_EQ(S(Input()->Text()), "5*");
}

TEST_F(KeypadTest, AnOperatorRightAfterEqualsContinuesFromAns) {
    // "key:Name" clicks a key, "type:text" types
    struct Case {
        const char *action;
        bool shift;
        const char *input;
    };
    const Case cases[] = {
        {"key:BtnKrat", false, "1024*"}, // the group spaces of the result stay behind
        {"type:7", false, "7"},          // anything else replaces the input, which "=" left selected
        // Many layouts need Shift for "*" itself: typed on the main keyboard
        // it still continues; with Shift on the numeric keypad or the keys it
        // is plain text.
        {"type:*", true, "1024*"},
        {"numpad:*", true, "*"},
        {"key:BtnKrat", true, "*"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        HoldShift(false);
        Type(QStringLiteral("2^10"));
        QTest::keyClick(Input(), Qt::Key_Return);
        ASSERT_TRUE(JustEvaluated());
        HoldShift(c.shift);
        const QString action = QString::fromUtf8(c.action);
        if (action.startsWith(QLatin1String("key:")))
            Click(action.mid(4).toLatin1().constData());
        else if (action.startsWith(QLatin1String("numpad:")))
            QTest::keyClick(Input(), action.at(7).toLatin1(), Qt::KeypadModifier | Qt::ShiftModifier);
        else
            TypeText(Input(), action.mid(5));
        EXPECT_EQ(S(Input()->Text()), c.input);
        EXPECT_EQ(Input()->SelStart(), Input()->Text().size());
        EXPECT_FALSE(JustEvaluated());
    }
}

// One key of each kind at the caret, over a selection or beside it.
TEST_F(KeypadTest, EachKindOfKeyEditsAtTheCaret) {
    struct Case {
        const char *key, *text;
        int caret, length;
        const char *after;
        int caretAfter;
    };
    const Case cases[] = {
        {"BitBtn43", "12345", 1, 2, "1F45", 2},          // a hexadecimal digit
        {"BitBtn52", "12345", 1, 2, "1e^-j45", 5},       // complex
        {"BtnMod", "12345", 5, 0, "12345 mod ", 10},     // operators
        {"BtnOdmocnina", "12345", 0, 0, "^(1/12345", 4}, // powers
        {"BtnArccotg", "12345", 1, 2, "1arccotg(45", 9}, // functions
        {"BtnCiarka", "12", 0, 0, "0,12", 2},            // the comma at the start gets its zero
        {"BtnCiarka", "12", 1, 0, "1,2", 2},
        {"BtnCE", "3+12*4", 0, 0, "+12*4", 0},
        {"BtnCE", "3+12*4", 3, 0, "3+*4", 2},
        {"BtnCE", "3+12*4", 6, 0, "3+12*", 5},
        {"BtnCE", "3+12*4", 1, 3, "3*4", 1},
        {"BtnJednoZmaz", "3+12*4", 0, 0, "3+12*4", 0},
        {"BtnJednoZmaz", "3+12*4", 2, 3, "312*4", 1}, // a selection does not matter
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.caret));
        const int tag = Btn(c.key)->property("tag").toInt();
        Mode(tag == 60 ? "sbKomplexne" : "sbRealne")->click();
        Mode(tag == 40 ? "sbHex" : "sbDec")->click();
        SetInput(QString::fromLatin1(c.text), c.caret, c.length);
        Click(c.key);
        EXPECT_EQ(S(Input()->Text()), c.after);
        EXPECT_EQ(Input()->SelStart(), c.caretAfter);
        EXPECT_EQ(Input()->SelLength(), 0);
    }
    // The trigonometric keys: "hyp" and a caption from the language file.
    Find<QCheckBox>(*W, "CheckBoxHyp")->setChecked(true);
    Btn("BtnTG")->setText(QStringLiteral("tan"));
    SetInput(QStringLiteral("2*"), 2);
    Click("BtnTG");
    EXPECT_EQ(S(Input()->Text()), "2*tanh(");
}

TEST_F(KeypadTest, TheRandomKeyWritesNumbersFromZeroToOne) {
    const QRegularExpression number(QStringLiteral("^(0(,\\d{1,6})?|1)$"));
    QSet<QString> seen;
    for (int i = 0; i < 5; ++i) {
        Input()->SetText(QString());
        Click("BtnRan");
        EXPECT_TRUE(number.match(Input()->Text()).hasMatch()) << S(Input()->Text());
        seen.insert(Input()->Text());
    }
    EXPECT_GT(seen.size(), 1);
}

TEST_F(KeypadTest, EditingAndFunctionKeysWorkFarIntoALongInput) {
    // Far beyond any 8-bit or 16-bit counter.
    const QString head = QStringLiteral("1+").repeated(35000);
    const int at = int(head.size());
    SetInput(head + QStringLiteral("23"), at + 1);
    Click("BtnJednoZmaz");
    Click("BtnSin");
    EXPECT_EQ(Input()->Text(), head + QStringLiteral("sin(3"));
    EXPECT_EQ(Input()->SelStart(), at + 4);
    Input()->SetCaret(at + 2);
    Click("BtnCE");
    EXPECT_EQ(Input()->Text(), head + QStringLiteral("(3"));
    EXPECT_EQ(Input()->SelStart(), at);
}

TEST_F(KeypadTest, ClearMemoryStoreAndRecall) {
    Click("BtnMS");
    EXPECT_EQ(S(Memory()), "0"); // nothing shown yet
    Calculate(QStringLiteral("6*7"));
    Click("BtnC");
    EXPECT_EQ(S(Input()->Text()), "");
    EXPECT_EQ(S(Shown()), "<hidden>");
    // The hidden field keeps its text: MS still stores the last result.
    Click("BtnMS");
    EXPECT_EQ(S(Memory()), "  42");
    Input()->SetText(QStringLiteral("1+"));
    Click("BtnMR");
    EXPECT_EQ(S(Input()->Text()), "1+  42");
    Equals();
    Find<QAction>(*W, "UlozitDoPamate2")->trigger(); // the result field's popup item
    EXPECT_EQ(S(Memory()), "  43");
}

// The forms are the model's; here only the key.
TEST_F(KeypadTest, TheComplexFormKeyTurnsTheResultOverAndBack) {
    Mode("sbKomplexne")->click();
    Calculate(QStringLiteral("3+j4"));
    Click("BtnAE");
    EXPECT_EQ(S(Shown()), "  5e^j53,130 102");
    Click("BtnAE");
    EXPECT_EQ(S(Shown()), "  3+j4");
}

// After the form key an operator continues from the value, not from the
// rounded modulus and angle shown.
TEST_F(KeypadTest, AnOperatorAfterTheFormKeyContinuesFromTheValue) {
    Mode("sbKomplexne")->click();
    auto *decimals = Find<TUpDown>(*W, "UpDownDesM");
    decimals->SetPosition(2);
    Calculate(QStringLiteral("(3+j4)*(1-j2)"));
    Click("BtnAE");
    EXPECT_EQ(S(Shown()), "  11,18e^-j10,3");
    Click("BtnKrat");
    EXPECT_EQ(S(Input()->Text()), "(11-j2)*");
    QTest::keyClicks(Input(), "1");
    decimals->SetPosition(6);
    Equals();
    EXPECT_EQ(S(Shown()), "  11-j2");
}

// A number typed into the decimals field counts on every road that shows a
// result, also when the field still has the focus.
TEST_F(KeypadTest, TheDecimalsTypedCountBeforeTheFieldIsLeft) {
    struct Case {
        const char *set, *input, *decimals, *key, *shown;
    };
    const Case cases[] = {
        {"sbRealne", "1/3", "12", "BtnRovnaSa", "  0,333 333 333 333"},
        {"sbKomplexne", "3+j4", "3", "BtnAE", "  5e^j53,13"},
        {"sbRealne", "1/3", "2", "sbHex", "  0,55"},
    };
    W->show();
    W->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == W; }, 5000));
    auto *field = Find<QLineEdit>(*W, "EditDesM");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        Mode(c.set)->click();
        Mode("sbDec")->click();
        Find<TUpDown>(*W, "UpDownDesM")->SetPosition(6);
        Calculate(QString::fromLatin1(c.input));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, c.decimals);
        ASSERT_TRUE(field->hasFocus());
        if (QPushButton *key = W->findChild<QPushButton *>(c.key))
            QTest::mouseClick(key, Qt::LeftButton);
        else
            Mode(c.key)->click();
        EXPECT_EQ(S(Shown()), c.shown);
        EXPECT_EQ(S(field->text()), c.decimals);
    }
}

// The order of the walk is the history model's; here only the wiring.
TEST_F(KeypadTest, HistoryBack) {
    Calculate(QStringLiteral("1+1"));
    Calculate(QStringLiteral("2+2"));
    Type(QStringLiteral("9"));
    for (const char *e : {"1+1", "2+2"}) {
        Click("BtnSpat");
        EXPECT_EQ(S(Input()->Text()), e);
    }
}

TEST_F(KeypadTest, TheWindowSizeKeyHidesTheKeypadsLowerPartAndTheStatusBar) {
    auto *bar = Find<QStatusBar>(*W, "StatusBar1");
    W->show();
    const int full = W->height();
    Click("BtnVelkost");
    EXPECT_GT(W->height(), Btn("BtnC")->geometry().bottom()); // the upper keys stay
    EXPECT_LT(W->height(), Btn("BtnDms")->geometry().bottom());
    EXPECT_FALSE(bar->isVisible());
    Click("BtnVelkost");
    EXPECT_EQ(W->height(), full);
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(KeypadTest, DigitsTypedToTheWindowItselfGoToTheInput) {
    Mode("sbBin")->click();
    SetInput(QStringLiteral("1"), 1);
    // The digit keys' handlers run even while the keys are disabled.
    const std::pair<QChar, const char *> cases[] = {{QLatin1Char('8'), "18"},
                                                    {QChar(0x013E), "182"},
                                                    {QLatin1Char('.'), "182,"},
                                                    {QLatin1Char('x'), "182,"},
                                                    {QChar(8), "182"}};
    for (const auto &[typed, input] : cases) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(typed));
        QApplication::sendEvent(W, &press);
        EXPECT_EQ(S(Input()->Text()), input);
    }
}

TEST_F(KeypadTest, PopupMenusAndPastingSeveralLines) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    SetInput(QStringLiteral("1+2"), 1);
    W->PopupMenu1Popup();
    EXPECT_FALSE(Find<QAction>(*W, "kopirovat1")->isEnabled()); // nothing selected
    // Only the first line of a pasted text is kept, without its line end.
    clipboard->setText(QStringLiteral("*4\r\n5-6\r\n"));
    Find<QAction>(*W, "prilepit")->trigger();
    EXPECT_EQ(S(Input()->Text()), "1*4+2");
    // Text put in by any other way keeps its first line too.
    Input()->setPlainText(QStringLiteral("4-5\n6"));
    EXPECT_EQ(S(Input()->Text()), "4-5");

    SetInput(QStringLiteral("12+34"), 1, 3);
    W->PopupMenu1Popup();
    Find<QAction>(*W, "vystrihnut1")->trigger();
    EXPECT_EQ(S(Input()->Text()), "14");
    EXPECT_EQ(S(clipboard->text()), "2+3");
    Find<QAction>(*W, "Vybravetko1")->trigger();
    Find<QAction>(*W, "odstranit1")->trigger();
    EXPECT_EQ(S(Input()->Text()), "");

    // The result field copies what is selected in it.
    Calculate(QStringLiteral("2^10"));
    QTest::keyClick(ResultField(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ResultField(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(S(clipboard->text()), "  1 024");
    // Nothing typed, pasted, cut or deleted changes it.
    clipboard->setText(QStringLiteral("9"));
    QTest::keyClicks(ResultField(), QStringLiteral("7+"));
    for (const int key : {int(Qt::Key_V), int(Qt::Key_X)})
        QTest::keyClick(ResultField(), Qt::Key(key), Qt::ControlModifier);
    QTest::keyClick(ResultField(), Qt::Key_Backspace);
    QTest::keyClick(ResultField(), Qt::Key_Delete);
    EXPECT_EQ(S(ResultField()->text()), "  1 024");
    EXPECT_TRUE(ResultField()->isReadOnly());
}

// ---------------------------------------------------------------------------
// Bracket highlighting

TEST(BracketHighlight, ThePairAroundTheCaretIsBoldAnOpenOneAloneRed) {
    struct Case {
        const char *text;
        int caret;
        TZvyraznenieZatvoriek plan;
    };
    const Case cases[] = {
        {"(1+2)", 1, {0, 4, -1}},     // right after the "(": its pair
        {"(1+2)", 0, {}},             // before the "(": outside
        {"(1+2", 4, {0, -1, 0}},      // no partner: bold and red
        {"1+2)", 1, {}},              // a ")" alone is never marked
        {"(1+(2*3))", 5, {3, 7, -1}}, // the inner pair only
        {"(1+(2*3))", 8, {0, 8, -1}},
        {"(1)+(2)", 3, {}}, // between two complete groups
        {"f(x(y)", 6, {1, -1, 1}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PlanBracketHighlight(QString::fromUtf8(c.text), c.caret), c.plan) << c.text << " " << c.caret;
}

// One row per road by which the caret moves; the plan is the pure function's.
TEST_F(KeypadTest, TheMarksFollowTheCaretByEveryRoad) {
    Input()->SetText(QString());
    TypeText(Input(), QStringLiteral("2*(1+3"));
    EXPECT_EQ(Marks(), "2r ");
    TypeText(Input(), QStringLiteral(")"));
    EXPECT_EQ(Marks(), ""); // the caret is now after the group
    QTest::keyClick(Input(), Qt::Key_Left);
    EXPECT_EQ(Marks(), "2 6 ");
    // A digit typed beside a bold bracket is plain and black.
    TypeText(Input(), QStringLiteral("4"));
    EXPECT_EQ(S(Input()->Text()), "2*(1+34)");
    EXPECT_EQ(Marks(), "2 7 ");
    Input()->SetCaret(3);
    W->vstupRdtMouseUp();
    EXPECT_EQ(Marks(), "2 7 ");
    // Shift with the arrows leaves the marks and the selection alone...
    QTest::keyClick(Input(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Marks(), "2 7 ");
    EXPECT_EQ(Input()->SelStart(), 2);
    EXPECT_EQ(Input()->SelLength(), 1);
    // ... until it is let go.
    QTest::keyRelease(Input(), Qt::Key_Shift);
    Input()->SetCaret(1);
    W->vstupRdtMouseUp();
    EXPECT_EQ(Marks(), "");
    Input()->SetCaret(3);
    Click("BtnJednoZmaz");
    EXPECT_EQ(Marks(), "");
    Input()->SetText(QString());
    Click("BtnLog");
    Click("BtnCos");
    EXPECT_EQ(Marks(), "7r ");
}

TEST_F(KeypadTest, EqualsLeavesTheBracketsPlainAndFormattingNeverEndsTheContinuation) {
    Type(QStringLiteral("(1+2)*3"));
    Input()->SetCaret(1);
    W->vstupRdtMouseUp();
    ASSERT_EQ(Marks(), "0 4 ");
    Equals();
    EXPECT_EQ(Marks(), "");
    ASSERT_TRUE(JustEvaluated());
    // Marks, a click and the arrows change formats and the caret, not the text.
    Input()->SetCaret(2);
    W->vstupRdtMouseUp();
    EXPECT_EQ(Marks(), "0 4 ");
    QTest::keyClick(Input(), Qt::Key_Right);
    Input()->SelectAll();
    Input()->SetSelectionPlain();
    EXPECT_TRUE(JustEvaluated());
    Click("BtnMinus");
    EXPECT_EQ(S(Input()->Text()), "9-");
    // A change of the text ends it, also one made with the input's own Backspace.
    Calculate(QStringLiteral("2+2"));
    QTest::keyClick(Input(), Qt::Key_End);
    QTest::keyClick(Input(), Qt::Key_Backspace);
    EXPECT_FALSE(JustEvaluated());
}
