// The "=" road of the main window in every number set and base: the shown
// result, ANS, the history entry, and for errors the message and the
// selected part of the input.
#include "HlavnyTestSupport.h"

#include <QScrollArea>
#include <QScrollBar>

namespace {

using Vars = QList<QPair<QString, QString>>;

// set: 0 real, 1 complex, 2 modulo. Success: the shown result (without the
// field's two spaces), ANS and the history entry. Error (shown == nullptr):
// the code, the message and the selection.
struct RoadCase {
    quint8 set, radix;
    bool fractions;
    const char *input;
    Vars variables;
    const char *shown, *ans, *history;
    quint8 code;
    const char *message;
    int selStart, selLength;
};

RoadCase Ok(quint8 set, quint8 radix, bool fractions, const char *input, const Vars &variables, const char *shown,
            const char *ans, const char *history) {
    return {set, radix, fractions, input, variables, shown, ans, history, 0, nullptr, 0, 0};
}

RoadCase Err(quint8 set, quint8 radix, bool fractions, const char *input, const Vars &variables, quint8 code,
             const char *message, int selStart, int selLength) {
    return {set, radix, fractions, input, variables, nullptr, nullptr, nullptr, code, message, selStart, selLength};
}

const char *const kSetKeys[] = {"sbRealne", "sbKomplexne", "sbModulo"};

const char *BaseKey(quint8 radix) { return radix == 16 ? "sbHex" : radix == 8 ? "sbOct" : radix == 2 ? "sbBin" : "sbDec"; }

} // namespace

class RoadTest : public HlavnyTest {
protected:
    void Run(const RoadCase &c) {
        SCOPED_TRACE(c.input);
        Windows.reset();
        StartProgram();
        // A first result, so that a failed calculation can be seen to leave ANS alone.
        Calculate(QStringLiteral("40+2"));
        ASSERT_EQ(S(W->Ans()), "42");
        Mode(kSetKeys[c.set])->click();
        Mode(BaseKey(c.radix))->click();
        Find<QCheckBox>(*W, "CheckBoxZlomky")->setChecked(c.fractions);
        for (const auto &[name, value] : c.variables)
            SetVariable(name, value);

        Calculate(QString::fromUtf8(c.input));
        if (c.shown) {
            EXPECT_EQ(S(ErrorText()), "");
            EXPECT_EQ(S(Shown()), std::string("  ") + c.shown);
            EXPECT_EQ(S(W->Ans()), c.ans);
            ASSERT_EQ(History().size(), 2);
            EXPECT_EQ(S(History().last()), c.history);
            // The input stays as typed and is selected whole.
            EXPECT_EQ(S(Input()->Text()), c.input);
            EXPECT_EQ(Input()->SelStart(), 0);
            EXPECT_EQ(Input()->SelLength(), Input()->Text().size());
            EXPECT_TRUE(KProgramState::Instance().JustEvaluated);
        } else {
            EXPECT_EQ(W->LastError().Code, c.code);
            EXPECT_EQ(S(ErrorText()), c.message);
            EXPECT_EQ(S(Shown()), "<hidden>");
            EXPECT_EQ(S(W->Ans()), "42");
            EXPECT_EQ(History().size(), 1);
            EXPECT_EQ(Input()->SelStart(), c.selStart);
            EXPECT_EQ(Input()->SelLength(), c.selLength);
        }
    }
};

TEST_F(RoadTest, RealNumbersInBaseTen) {
    const RoadCase cases[] = {
        Ok(0, 10, false, "2+3*sin(30)", {}, "3,5", "3,5", "2+3*sin(30) =  3,5"),
        Ok(0, 10, false, "2^10", {}, "1 024", "1 024", "2^10 =  1 024"),
        Ok(0, 10, false, "2*x+1", {{"x", "3"}}, "7", "7", "2*x+1 =  7 [x=3;]"),
        // Names are looked up without regard to case; the entry names them as typed.
        Ok(0, 10, false, "x*y", {{"X", "2"}, {"Y", "5"}}, "10", "10", "x*y =  10 [x=2;y=5;]"),
        Ok(0, 10, false, "x*2", {{"x", "1/4"}}, "0,5", "0,5", "x*2 =  0,5 [x=1/4;]"),
        Err(0, 10, false, "1/0", {}, 25, "Nepovolená operácia: Delenie nulou.", 0, 3),
        Err(0, 10, false, "2+", {}, 3, "Výraz nemôže končiť operátorom.", 1, 1),
        // The span counts the spaces of the input as typed.
        Err(0, 10, false, " sin +1", {}, 12, "Funkcia \"sin\" nemá zadaný parameter.", 1, 3),
        Err(0, 10, false, "10^5000", {}, 20, "Chyba výpočtu: Príliš vysoké číslo.", 0, 7),
        Err(0, 10, false, "x+1", {{"x", "abc"}}, 31,
         "Nesprávne zadaná hodnota premennej \"x\".", 0, 3),
        Err(0, 10, false, "x+1", {{"x", "3+j4"}}, 17,
         "Hodnota premennej \"x\" nepatrí do zadanej množiny.", 0, 3),
    };
    for (const RoadCase &c : cases)
        Run(c);
}

TEST_F(RoadTest, RealNumbersWithFractions) {
    const RoadCase cases[] = {
        Ok(0, 10, true, "1/3+1/6", {}, "1 / 2", "1 / 2", "1/3+1/6 =  1 / 2"),
        // A function name sends the text to the real evaluator; the result is still shown as a fraction.
        Ok(0, 10, true, "sin(30)", {}, "1 / 2", "1 / 2", "sin(30) =  1 / 2"),
        Ok(0, 10, true, "x+1/3", {{"x", "1/6"}}, "1 / 2", "1 / 2", "x+1/3 =  1 / 2 [x=1/6;]"),
        Ok(0, 16, true, "1/A", {}, "1 / A", "1 / A", "1/A =  1 / A"),
        Err(0, 10, true, "5 div 0", {}, 25, "Nepovolená operácia: Delenie nulou.", 0, 7),
    };
    for (const RoadCase &c : cases)
        Run(c);
}

TEST_F(RoadTest, RealNumbersInOtherBases) {
    const RoadCase cases[] = {
        Ok(0, 16, false, "FF+1", {}, "1 00", "1 00", "FF+1 =  1 00"),
        Ok(0, 16, false, "FFFFF*FFFFF", {}, "FF FF E0 00 01", "FF FF E0 00 01", "FFFFF*FFFFF =  FF FF E0 00 01"),
        Ok(0, 16, false, "x*A", {{"x", "2"}}, "14", "14", "x*A =  14 [x=2;]"),
        Ok(0, 2, false, "1111*11", {}, "10 1101", "10 1101", "1111*11 =  10 1101"),
        Err(0, 2, false, "2+1", {}, 26, "Chyba pri prevádzaní niektorých čísel.", 0, 3),
    };
    for (const RoadCase &c : cases)
        Run(c);
}

TEST_F(RoadTest, ComplexNumbers) {
    const RoadCase cases[] = {
        Ok(1, 10, false, "3+j4", {}, "3+j4", "(3+j4)", "3+j4 =  3+j4"),
        Ok(1, 10, false, "(1+j)*(1-j)", {}, "2", "(2)", "(1+j)*(1-j) =  2"),
        Ok(1, 10, false, "z*2", {{"z", "1+j"}}, "2+j2", "(2+j2)", "z*2 =  2+j2 [z=1+j;]"),
        Ok(1, 16, false, "A+jB", {}, "A+jB", "(A+jB)", "A+jB =  A+jB"),
        Ok(1, 2, false, "j11*j", {}, "-11", "(-11)", "j11*j =  -11"),
        // A failed complex evaluation leaves ANS as it was.
        Err(1, 10, false, "1/0", {}, 25, "Nepovolená operácia: Delenie nulou.", 0, 3),
        Err(1, 10, false, "z+1", {{"z", "abc"}}, 31,
         "Nesprávne zadaná hodnota premennej \"z\".", 0, 3),
        Err(1, 10, false, "sin(j)", {}, 14,
         "Túto funkciu nemožno použiť nad zadanou číselnou množinou.", 0, 3),
    };
    for (const RoadCase &c : cases)
        Run(c);
}

TEST_F(RoadTest, IntegersModuloFive) {
    const RoadCase cases[] = {
        Ok(2, 10, false, "3+4", {}, "2", "2", "3+4 =  2"),
        Ok(2, 10, false, "2/3", {}, "4", "4", "2/3 =  4"),
        // In base 16 the residue is shown in base 16 and ANS keeps the decimal text.
        Ok(2, 16, false, "A+3", {}, "3", "3", "A+3 =  3"),
        Err(2, 10, false, "3^2", {}, 13,
         "Tento operátor nemožno použiť nad zadanou množinou.", 1, 1),
        Err(2, 10, false, "2/5", {}, 25, "Nepovolená operácia: Delenie nulou.", 0, 3),
        // A number beyond the modulo tokens' range escapes the evaluator: the guard
        // gives 29 and selects the whole input.
        Err(2, 10, false, "70000+1", {}, 29, "Pri výpočte sa vyskytla neznáma chyba.", 0, 7),
        Err(2, 10, false, "x+1", {{"x", "1,5"}}, 17,
         "Hodnota premennej \"x\" nepatrí do zadanej množiny.", 0, 3),
    };
    for (const RoadCase &c : cases)
        Run(c);
}

// --- variables ---------------------------------------------------------------

TEST_F(HlavnyTest, MissingVariablesGetEmptyRowsAndBringUpTheVariablesWindow) {
    SetVariable("a", "1");
    Calculate(QStringLiteral("a+b*c+b"));
    EXPECT_EQ(W->LastError().Code, 15);
    EXPECT_EQ(S(ErrorText()), "Nie sú zadané všetky premenné.");
    EXPECT_EQ(Input()->SelLength(), 7);
    EXPECT_FALSE(Premenne()->isHidden());
    const TPremenne &rows = Premenne()->Model();
    ASSERT_GE(rows.IndexOfName("b"), 0);
    ASSERT_GE(rows.IndexOfName("c"), 0);
    EXPECT_LT(rows.IndexOfName("b"), rows.IndexOfName("c"));
    EXPECT_EQ(S(rows.ValueOf("a")), "1"); // existing rows keep their values
    EXPECT_TRUE(rows.ValueOf("b").isEmpty());
    EXPECT_EQ(History().size(), 0);
    EXPECT_EQ(S(W->Ans()), "0");

    // With the values filled in, the same input is evaluated.
    SetVariable("b", "2");
    SetVariable("c", "3");
    Equals();
    EXPECT_EQ(S(Shown()), "  9");
    EXPECT_EQ(S(History().last()), "a+b*c+b =  9 [a=1;b=2;c=3;]");
}

TEST_F(HlavnyTest, ModuloVariableErrorsBringUpTheVariablesWindowOnlyForMissingOrNonIntegerValues) {
    Mode("sbModulo")->click();
    SetVariable("x", "abc");
    Calculate(QStringLiteral("x+1"));
    EXPECT_EQ(W->LastError().Code, 31);
    EXPECT_TRUE(Premenne()->isHidden());
    SetVariable("x", "2,5");
    Equals();
    EXPECT_EQ(W->LastError().Code, 17);
    EXPECT_FALSE(Premenne()->isHidden());
}

TEST_F(HlavnyTest, LogyNeedsAValueForY) {
    Calculate(QStringLiteral("logy(8)"));
    EXPECT_EQ(W->LastError().Code, 15);
    EXPECT_GE(Premenne()->Model().IndexOfName("y"), 0);
}

TEST_F(HlavnyTest, UserConstantsAreCheckedAndSubstituted) {
    Calculate(QStringLiteral("2*$g"));
    EXPECT_EQ(W->LastError().Code, 19);
    Konstanty()->Model().AddOrModify({"$g", "gravity", "9,81", "m/s2"}, nullptr);
    Calculate(QStringLiteral("2*$g"));
    EXPECT_EQ(S(Shown()), "  19,62");
    Calculate(QStringLiteral("1+$h"));
    EXPECT_EQ(W->LastError().Code, 19);
    EXPECT_EQ(S(ErrorText()), "Neznáma konštanta \"$h\".");
    EXPECT_EQ(Input()->SelStart(), 2);
    EXPECT_EQ(Input()->SelLength(), 2);
}

// The pi and e keys write references to the constants that every start
// provides.
TEST_F(HlavnyTest, ThePiAndEKeysWorkOnAFirstStart) {
    ASSERT_FALSE(QFileInfo::exists(Path("const.dat")));
    const struct { const char *key; const char *then; const char *shown; } cases[] = {
        {"BtnPi", "", "  3,141 593"},
        {"BtnEnaX", "1", "  2,718 282"},
    };
    for (const auto &c : cases) {
        Input()->SetText(QString());
        QTest::mouseClick(Btn(c.key), Qt::LeftButton);
        QTest::keyClicks(Input(), c.then);
        Equals();
        EXPECT_EQ(W->LastError().Code, 0) << c.key;
        EXPECT_EQ(S(Shown()), c.shown);
    }
}

TEST_F(HlavnyTest, TheDecimalSeparatorIsTheEngines) {
    Windows.reset();
    Engine().DecimalSeparator = QLatin1Char('.');
    StartProgram();
    EXPECT_EQ(S(Btn("BtnCiarka")->text()), ".");
    Calculate(QStringLiteral("2+3*sin(30)"));
    EXPECT_EQ(S(Shown()), "  3.5");
    Calculate(QStringLiteral("1.25*2"));
    EXPECT_EQ(S(Shown()), "  2.5");
}

TEST_F(HlavnyTest, AngleUnitsTakeEffectAtTheNextEvaluation) {
    Calculate(QStringLiteral("sin(100)"));
    EXPECT_EQ(S(Shown()), "  0,984 808");
    Mode("sbGrad")->click();
    EXPECT_TRUE(Mode("sbGrad")->font().bold());
    EXPECT_FALSE(Mode("sbDeg")->font().bold());
    EXPECT_EQ(S(Shown()), "  0,984 808"); // not before "="
    Equals();
    EXPECT_EQ(S(Shown()), "  1");
    Mode("sbRad")->click();
    EXPECT_EQ(Engine().AngleUnit, 1);
}

TEST_F(HlavnyTest, TheDecimalsFieldSetsTheShownDecimals) {
    auto *upDown = Find<TUpDown>(*W, "UpDownDesM");
    auto *edit = Find<QLineEdit>(*W, "EditDesM");
    EXPECT_EQ(S(edit->text()), "6");
    for (int i = 0; i < 10; ++i)
        upDown->Step(false);
    EXPECT_EQ(upDown->Position(), 2); // the range is 2..30
    EXPECT_EQ(S(edit->text()), "2");
    Calculate(QStringLiteral("2/3"));
    EXPECT_EQ(S(Shown()), "  0,67");
    edit->setText(QStringLiteral("99"));
    emit edit->editingFinished();
    EXPECT_EQ(upDown->Position(), 30);
    Calculate(QStringLiteral("1/8"));
    EXPECT_EQ(S(Shown()), "  0,125");
}

// --- the result field ----------------------------------------------------------

TEST_F(HlavnyTest, AResultIsShownWholeSmallerOrScrollingButNeverCut) {
    struct Case {
        const char *what;
        const char *base;
        bool fractions;
        QString input;
        bool smaller;  // a smaller font than the usual one
        bool scrolls;
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

// --- error display --------------------------------------------------------------

TEST_F(HlavnyTest, AnErrorHidesTheResultAndTheNextResultClearsTheError) {
    Calculate(QStringLiteral("1+1"));
    EXPECT_EQ(S(Shown()), "  2");
    Calculate(QStringLiteral("1+"));
    EXPECT_EQ(S(Shown()), "<hidden>");
    EXPECT_FALSE(ErrorText().isEmpty());
    Calculate(QStringLiteral("2+2"));
    EXPECT_EQ(S(Shown()), "  4");
    EXPECT_EQ(S(ErrorText()), "");
}

TEST_F(HlavnyTest, BoldBracketsAreMadePlainAfterAnEvaluation) {
    Type(QStringLiteral("(1+2)"));
    Input()->Select(0, 1);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::red);
    Input()->textCursor().mergeCharFormat(bold);
    Equals();
    QTextCursor c(Input()->document());
    c.setPosition(1);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::black));
}
