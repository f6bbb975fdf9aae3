// The "=" key of the main window: the controls reach the calculation, and
// the result, the history entry or the error with its marked part come
// back; the rules of each number set are the model's.
#include "HlavnyTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QScrollArea>
#include <QScrollBar>

TEST_F(HlavnyTest, EqualsShowsTheResultOrTheErrorInEveryNumberSet) {
    struct Case {
        const char *set;
        bool fractions;
        const char *input, *shown, *history, *error;
        int selStart, selLength;
    };
    // In sequence: an error hides the result, and the next result clears the error.
    const Case cases[] = {
        {"sbRealne", false, "2*x+1", "  7", "2*x+1 =  7 [x=3;]", "", 0, 5},
        {"sbRealne", false, " sin +1", "<hidden>", nullptr, "Funkcia \"sin\" nemá zadaný parameter.", 1, 3},
        {"sbRealne", true, "1/3+1/6", "  1 / 2", "1/3+1/6 =  1 / 2", "", 0, 7},
        {"sbKomplexne", false, "3+j4", "  3+j4", "3+j4 =  3+j4", "", 0, 4},
        {"sbModulo", false, "3+4", "  2", "3+4 =  2", "", 0, 3},
    };
    SetVariable("x", "3");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        Mode(c.set)->click();
        Find<QCheckBox>(*W, "CheckBoxZlomky")->setChecked(c.fractions);
        const QString ans = W->Ans();
        const QStringList history = History();
        Calculate(QString::fromUtf8(c.input));
        EXPECT_EQ(S(Shown()), c.shown);
        EXPECT_EQ(S(ErrorText()), c.error);
        EXPECT_EQ(S(Input()->Text()), c.input);
        EXPECT_EQ(Input()->SelStart(), c.selStart);
        EXPECT_EQ(Input()->SelLength(), c.selLength);
        EXPECT_EQ(KProgramState::Instance().JustEvaluated, c.history != nullptr);
        if (c.history) {
            EXPECT_EQ(S(History().last()), c.history);
        } else {
            EXPECT_EQ(History(), history);
            EXPECT_EQ(W->Ans(), ans);
        }
    }
}

TEST_F(HlavnyTest, MissingVariablesBringUpTheVariablesWindow) {
    Calculate(QStringLiteral("a+b"));
    EXPECT_EQ(S(ErrorText()), "Nie sú zadané všetky premenné.");
    EXPECT_FALSE(Premenne()->isHidden());
    // With the values filled in, the same input is evaluated.
    SetVariable("a", "2");
    SetVariable("b", "3");
    Equals();
    EXPECT_EQ(S(History().last()), "a+b =  5 [a=2;b=3;]");
}

// The pi and e keys write references to the constants that every start
// provides; the angle unit and the decimals take effect at the next "=".
TEST_F(HlavnyTest, ThePiAndEKeysTheAngleUnitAndTheDecimals) {
    QTest::mouseClick(Btn("BtnPi"), Qt::LeftButton);
    QTest::keyClicks(Input(), "*");
    QTest::mouseClick(Btn("BtnEnaX"), Qt::LeftButton);
    QTest::keyClicks(Input(), "1");
    Equals();
    EXPECT_EQ(S(Shown()), "  8,539 734") << S(Input()->Text()) << S(ErrorText());
    Calculate(QStringLiteral("sin(100)"));
    Mode("sbGrad")->click();
    EXPECT_EQ(S(Shown()), "  0,984 808"); // not before "="
    Equals();
    EXPECT_EQ(S(Shown()), "  1");
    auto *upDown = Find<TUpDown>(*W, "UpDownDesM");
    auto *edit = Find<QLineEdit>(*W, "EditDesM");
    for (int i = 0; i < 10; ++i)
        upDown->Step(false);
    EXPECT_EQ(S(edit->text()), "2"); // the range is 2..30
    Calculate(QStringLiteral("2/3"));
    EXPECT_EQ(S(Shown()), "  0,67");
    edit->setText(QStringLiteral("99"));
    emit edit->editingFinished();
    EXPECT_EQ(upDown->Position(), 30);
}

TEST_F(HlavnyTest, TheDecimalSeparatorIsTheEngines) {
    Windows.reset();
    SetDecSep(QLatin1Char('.'));
    StartProgram();
    EXPECT_EQ(S(Btn("BtnCiarka")->text()), ".");
    Type(QStringLiteral("1"));
    QTest::mouseClick(Btn("BtnCiarka"), Qt::LeftButton);
    QTest::keyClicks(Input(), "25*2");
    Equals();
    EXPECT_EQ(S(Shown()), "  2.5");
}

// A number written with the other separator (pasted, a memory or a value
// kept under the other locale) reads as with the program's, on every road.
TEST_F(HlavnyTest, TheOtherSeparatorReadsAsTheProgramsOne) {
    struct Case {
        char sep;
        const char *set, *base;
        bool fractions;
        const char *pasted, *memory, *value, *shown;
    };
    const Case cases[] = {
        {',', "sbRealne", "sbDec", false, "1.5+1", "", "", "  2,5"},
        {'.', "sbRealne", "sbDec", false, "1,5+1", "", "", "  2.5"},
        {',', "sbRealne", "sbDec", true, "1.5+1/4", "", "", "  7 / 4"},
        {',', "sbKomplexne", "sbDec", false, "1.5+j0.5", "", "", "  1,5+j0,5"},
        {',', "sbRealne", "sbHex", false, "A.8+1", "", "", "  B,8"},
        {',', "sbRealne", "sbDec", false, "*4", "  0.25", "", "  1"}, // MR, then the rest pasted
        {'.', "sbRealne", "sbDec", false, "2*x", "", "0,25", "  0.5"},
    };
    QClipboard *clipboard = QGuiApplication::clipboard();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasted);
        SetDecSep(QLatin1Char(c.sep));
        Mode(c.set)->click();
        Mode(c.base)->click();
        Find<QCheckBox>(*W, "CheckBoxZlomky")->setChecked(c.fractions);
        SetVariable("x", QString::fromLatin1(c.value));
        Input()->SetText(QString());
        if (*c.memory) {
            Find<QLabel>(*W, "LabelPamat")->setText(QString::fromLatin1(c.memory));
            QTest::mouseClick(Btn("BtnMR"), Qt::LeftButton);
        }
        clipboard->setText(QString::fromLatin1(c.pasted));
        Find<QAction>(*W, "prilepit")->trigger();
        Equals();
        EXPECT_EQ(S(ErrorText()), "");
        EXPECT_EQ(S(Shown()), c.shown);
    }
}

TEST_F(HlavnyTest, AResultIsShownWholeSmallerOrScrollingButNeverCut) {
    // smaller: a smaller font than the usual one
    struct Case {
        const char *what, *base;
        bool fractions;
        QString input;
        bool smaller, scrolls;
    };
    const Case cases[] = {
        {"short", "sbDec", false, QStringLiteral("1+1"), false, false},
        {"wide fraction", "sbDec", true, QStringLiteral("28284271247461901/20000000000000000"), true, false},
        {"53 binary digits", "sbBin", false, QString(53, QLatin1Char('1')), true, true},
    };
    W->show(); // a hidden scroll area lays out no scroll bar
    for (const Case &c : cases) {
        Mode(c.base)->click();
        Find<QCheckBox>(*W, "CheckBoxZlomky")->setChecked(c.fractions);
        Calculate(c.input);
        QLineEdit *field = ResultField();
        auto *area = Find<QScrollArea>(*W, "vysledokScr");
        ASSERT_FALSE(field->isHidden()) << c.what << ": " << S(ErrorText());
        const QFont font = field->font();
        EXPECT_EQ(font.pixelSize() < ResultFontPixels, c.smaller) << c.what;
        EXPECT_GE(font.pixelSize(), ResultMinFontPixels) << c.what;
        // The field holds the whole text, and the part of it that is shown
        // ends at the right edge of the result and is at most 373 wide.
        EXPECT_GE(field->width(), QFontMetrics(font).horizontalAdvance(field->text())) << c.what;
        EXPECT_EQ(area->geometry().right() + 1, ResultRightEdge) << c.what;
        EXPECT_LE(area->width(), ResultMaxWidth) << c.what;
        EXPECT_EQ(area->horizontalScrollBar()->isVisibleTo(W), c.scrolls) << c.what;
        EXPECT_EQ(field->width() > area->width(), c.scrolls) << c.what;
    }
    EXPECT_EQ(ResultField()->text().count(QLatin1Char('1')), 53);
}

// In English the error message of "nad" is longer than the room beside the
// memory: the label keeps its right edge and wraps; a memory of eighteen
// decimals shows whole, clear of the widest result.
TEST_F(HlavnyTest, TheErrorLabelAndTheMemoryDisplayHoldTheirWholeTexts) {
    WriteBytes(Path("lang/english.txt"), ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/english.txt")));
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\english.txt")));
    W->show();
    auto *memory = Find<QLabel>(*W, "LabelPamat");
    auto *error = Find<QLabel>(*W, "LblChyba");
    auto fits = [](const QLabel *label) {
        const QRect box = label->contentsRect();
        const QRect needed = QFontMetrics(label->font())
                                 .boundingRect(QRect(0, 0, box.width(), 1000),
                                               label->wordWrap() ? int(Qt::TextWordWrap) : 0, label->text());
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    Find<TUpDown>(*W, "UpDownDesM")->SetPosition(18);
    Calculate(QStringLiteral("1/7"));
    ASSERT_EQ(ResultField()->text().count(QLatin1Char('1')), 3);
    Btn("BtnMS")->click();
    EXPECT_EQ(S(memory->text()), S(ResultField()->text()));
    EXPECT_TRUE(fits(memory));
    EXPECT_LE(memory->geometry().right() + 1, ResultRightEdge - ResultMaxWidth);
    Calculate(QStringLiteral("3 nad 5"));
    EXPECT_EQ(S(ErrorText()), "In the operation \"nad\" the first number (n) must not be smaller than the second (k).");
    EXPECT_TRUE(fits(error));
    EXPECT_EQ(error->geometry().right() + 1, ResultRightEdge);
    EXPECT_GT(error->x(), memory->geometry().right());
}
