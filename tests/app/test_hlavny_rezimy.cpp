// Number set, base and angle unit keys: which controls they leave usable,
// the modulus selector, and the conversion of the input and the result on a
// base switch.
#include "HlavnyTestSupport.h"
#include "uRezimy.h"

TEST(Modes, EachTagIsUsableInItsNumberSetsAndBases) {
    struct Case { quint8 set, radix; const char *enabled; };
    const Case cases[] = {
        {0, 10, "10 20 30 50 70"}, {0, 16, "10 20 30 40 50 70"}, {0, 8, "10 20 50 70"}, {0, 2, "10 50 70"},
        {1, 10, "10 20 30 60 70"}, {1, 2, "10 60 70"},           {2, 10, "10 20 30"},   {2, 16, "10 20 30 40"},
        {2, 8, "10 20"},
    };
    for (const Case &c : cases) {
        QStringList enabled;
        for (int tag = 0; tag <= 70; tag += 10)
            if (IsEnabledForMode(tag, c.set, c.radix))
                enabled << QString::number(tag);
        EXPECT_EQ(S(enabled.join(' ')), c.enabled) << int(c.set) << " " << int(c.radix);
    }
}

// The controls follow their tags whichever key is pressed first.
TEST_F(HlavnyTest, TheModeKeysEnableTheControlsByTheirTags) {
    struct Case { const char *set, *base; bool hexDigit, function, complex, modulus; };
    const Case cases[] = {
        {"sbRealne", "sbHex", true, true, false, false},
        {"sbKomplexne", "sbBin", false, false, true, false},
        {"sbModulo", "sbOct", false, false, false, true},
    };
    for (const Case &c : cases) {
        for (bool setFirst : {true, false}) {
            Mode(setFirst ? c.set : c.base)->click();
            Mode(setFirst ? c.base : c.set)->click();
            const std::string where = std::string(c.set) + "/" + c.base + (setFirst ? " set first" : " base first");
            EXPECT_EQ(Btn("BitBtn43")->isEnabled(), c.hexDigit) << where;
            EXPECT_EQ(Find<QWidget>(*W, "CheckBoxZlomky")->isEnabled(), c.function) << where;
            EXPECT_EQ(Btn("BtnAE")->isEnabled(), c.complex) << where;
            EXPECT_EQ(Find<QWidget>(*W, "UpDownModulo")->isEnabled(), c.modulus) << where;
            EXPECT_EQ(Btn("BtnPi")->isEnabled(), !c.modulus) << where;
            EXPECT_TRUE(ResultField()->isEnabled()) << where;
            EXPECT_FALSE(Find<QWidget>(*W, "pozadieImg")->isEnabled()) << where;
            EXPECT_TRUE(Mode(c.set)->font().bold() && Mode(c.base)->font().bold()) << where;
        }
    }
}

// The stepping rule itself; the selector's wiring is checked below.
TEST(StepModulus, SmallestPrimeNotBelowUpLargestBelowDown) {
    TPrvocisla primes;
    struct Case { quint16 position; int newValue; bool up; quint16 expected; };
    const Case cases[] = {
        {5, 6, true, 7}, {7, 6, false, 5}, {2, 1, false, 2}, {97, 98, true, 97}, {89, 90, true, 97}, {23, 24, true, 29},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StepModulus(primes, c.position, c.newValue, c.up), c.expected)
            << c.position << (c.up ? " up" : " down");
}

TEST_F(HlavnyTest, TheModulusSelectorStepsItsCaptionAndTheNextEvaluation) {
    Mode("sbModulo")->click();
    EXPECT_EQ(S(Mode("sbModulo")->text()), "Z(5)");
    auto *upDown = Find<TUpDown>(*W, "UpDownModulo");
    upDown->Step(true);
    EXPECT_EQ(upDown->Position(), 7);
    EXPECT_EQ(S(Mode("sbModulo")->text()), "Z (7)");
    upDown->SetPosition(97);
    upDown->Step(true); // nothing above 97
    EXPECT_EQ(upDown->Position(), 97);
    Calculate(QStringLiteral("90+10"));
    EXPECT_EQ(S(Shown()), "  3");
}

TEST_F(HlavnyTest, ABaseSwitchConvertsTheInputAndTheResult) {
    Calculate(QStringLiteral("255+1"));
    EXPECT_EQ(S(Shown()), "  256");
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "FF+1");
    EXPECT_EQ(S(Shown()), "  1 00");
    Mode("sbBin")->click();
    EXPECT_EQ(S(Input()->Text()), "11111111+1");
    EXPECT_EQ(S(Shown()), "  1 0000 0000");
    Mode("sbDec")->click();
    EXPECT_EQ(S(Input()->Text()), "255+1");
    EXPECT_EQ(S(Shown()), "  256");
    // The converted input evaluates to the same value.
    Mode("sbOct")->click();
    EXPECT_EQ(S(Input()->Text()), "377+1");
    Equals();
    EXPECT_EQ(S(Shown()), "  400");
}

TEST_F(HlavnyTest, TheComplexSetKeepsTheImaginaryUnitInsideNumbers) {
    Mode("sbKomplexne")->click();
    Calculate(QStringLiteral("j10+12"));
    EXPECT_EQ(S(Shown()), "  12+j10");
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "jA+C");
    EXPECT_EQ(S(Shown()), "  C+jA");
    Equals();
    EXPECT_EQ(S(Shown()), "  C+jA");
}

TEST_F(HlavnyTest, AfterAnErrorTheHiddenResultIsConvertedAndShownAgain) {
    Calculate(QStringLiteral("10+5"));
    Calculate(QStringLiteral("1+"));
    EXPECT_EQ(S(Shown()), "<hidden>");
    Type(QStringLiteral("20"));
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "14");
    EXPECT_EQ(S(Shown()), "  F");
}

// ANS keeps the text of its base; what the ANS key puts in is converted.
TEST_F(HlavnyTest, AnsIsConvertedToTheCurrentBaseWhenInserted) {
    struct Case { const char *set, *calcBase, *input, *insertBase, *inserted; };
    const Case cases[] = {
        {"sbRealne", "sbDec", "15", "sbHex", "F"},
        {"sbKomplexne", "sbDec", "3+j4", "sbBin", "(11+j100)"}, // a complex ANS in brackets
        {"sbModulo", "sbHex", "5A+5", "sbHex", "5F"},           // the residue, stored in base 10
    };
    Find<TUpDown>(*W, "UpDownModulo")->SetPosition(97);
    for (const Case &c : cases) {
        Mode(c.set)->click();
        Mode(c.calcBase)->click();
        Calculate(QString::fromUtf8(c.input));
        Mode(c.insertBase)->click();
        Input()->SetText(QString());
        Btn("BtnANS")->click();
        EXPECT_EQ(S(Input()->Text()), c.inserted) << c.input;
    }
}

// A base switch that cannot write the input or the result in the new base
// drops the result: a later switch must not read its old text in the wrong
// base and show a value that was never calculated.
TEST_F(HlavnyTest, AResultThatFailedToConvertIsNotShownAgainByTheNextSwitch) {
    struct Case { const char *input; const char *firstShown; const char *converted; };
    const Case cases[] = {
        {"2^70", "  1,1805916207174113E21", "2^46"}, // the input converts, the result does not
        {"1e400", "  1E400", "1e400"}, // the input itself cannot be written in base 16: left as it was
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        Mode("sbDec")->click();
        Calculate(QString::fromUtf8(c.input));
        ASSERT_EQ(S(Shown()), c.firstShown);
        Mode("sbHex")->click();
        EXPECT_EQ(CodeNumber(W->LastError().Code), 26);
        EXPECT_EQ(S(ErrorText()), "Chyba pri prevádzaní niektorých čísel.");
        EXPECT_EQ(S(Input()->Text()), c.converted);
        EXPECT_TRUE(Btn("BitBtn39")->isEnabled()); // base 16 all the same
        EXPECT_EQ(S(Shown()), "<hidden>");
        Mode("sbBin")->click();
        EXPECT_EQ(S(Shown()), "<hidden>");
        EXPECT_TRUE(ResultField()->text().isEmpty());
        // MS now stores nothing of the lost result.
        Btn("BtnMS")->click();
        EXPECT_EQ(S(Find<QLabel>(*W, "LabelPamat")->text()), "0");
    }
}
