// Number set, base and angle unit keys: which controls they leave usable,
// the modulus selector, and the conversion of the input and the result on a
// base switch.
#include "HlavnyTestSupport.h"
#include "uRezimy.h"

TEST(Modes, EachTagIsUsableInItsNumberSetsAndBases) {
    struct Case {
        quint8 set, radix;
        const char *enabled;
    };
    const Case cases[] = {
        {0, 10, "10 20 30 50 70"}, {0, 16, "10 20 30 40 50 70"}, {0, 8, "10 20 50 70"},
        {0, 2, "10 50 70"},        {1, 10, "10 20 30 60 70"},    {1, 2, "10 60 70"},
        {2, 10, "10 20 30"},       {2, 16, "10 20 30 40"},       {2, 8, "10 20"},
    };
    for (const Case &c : cases) {
        QStringList enabled;
        for (int tag = 0; tag <= 70; tag += 10)
            if (IsEnabledForMode(tag, TNumberSet(c.set), c.radix))
                enabled << QString::number(tag);
        EXPECT_EQ(S(enabled.join(' ')), c.enabled) << int(c.set) << " " << int(c.radix);
    }
}

// The controls follow their tags whichever key is pressed first.
TEST_F(HlavnyTest, TheModeKeysEnableTheControlsByTheirTags) {
    struct Case {
        const char *set, *base;
        bool hexDigit, function, complex, modulus;
    };
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
            EXPECT_TRUE(Mode(c.set)->font().bold() && Mode(c.base)->font().bold()) << where;
        }
    }
}

// Every key of the keypad, and the options, by its class of use: its tag,
// and whether it is usable in each number set and base.
TEST_F(HlavnyTest, EveryKeyCarriesItsTagAndIsUsableByIt) {
    const std::pair<int, const char *> tags[] = {
        {10, "BitBtn1 BitBtn10 BitBtn44 BitBtn45 BtnDeleno BtnKrat BtnMinus BtnPlus BtnPrevratena BtnANS BtnMR "
             "BtnMS BtnC BtnCE BtnJednoZmaz BtnSpat BtnVelkost BtnRovnaSa"},
        {20, "BitBtn2 BitBtn3 BitBtn4 BitBtn5 BitBtn6 BitBtn7"},
        {30, "BitBtn8 BitBtn9"},
        {40, "BitBtn39 BitBtn38 BitBtn40 BitBtn41 BitBtn42 BitBtn43"},
        {50, "BtnPercenta BtnDiv BtnMod BtnFaktorial BtnKombinacne BtnDesatNaX BtnDvaNaX BtnEnaX BtnLog BtnLogy "
             "BtnLn BtnDruhaOdmocnina BtnTretiaOdmocnina BtnOdmocnina BtnDeg BtnDms BtnSin BtnCos BtnTG BtnCotg "
             "BtnArcsin BtnArccos Btnarctg BtnArccotg BtnRan grafBtn derivaciaBtn sumaBtn CheckBoxHyp CheckBoxZlomky"},
        {60, "BitBtn49 BitBtn50 BitBtn51 BitBtn52 BtnAE"},
        {70, "BtnKonstanta BtnPi BtnAbs BtnXna2 BtnXna3 BtnXnaY BtnCiarka EditDesM UpDownDesM"},
    };
    const char *const sets[] = {"sbRealne", "sbKomplexne", "sbModulo"};
    const std::pair<const char *, quint8> bases[] = {{"sbHex", 16}, {"sbDec", 10}, {"sbOct", 8}, {"sbBin", 2}};
    for (int set = 0; set < 3; ++set)
        for (const auto &[base, radix] : bases) {
            Mode(sets[set])->click();
            Mode(base)->click();
            for (const auto &[tag, names] : tags)
                for (const QString &name : QString::fromLatin1(names).split(' ')) {
                    const QWidget *control = Find<QWidget>(*W, name.toLatin1().constData());
                    ASSERT_NE(control, nullptr);
                    EXPECT_EQ(control->property("tag").toInt(), tag) << S(name);
                    EXPECT_EQ(control->isEnabled(), IsEnabledForMode(tag, TNumberSet(set), radix))
                        << S(name) << " " << sets[set] << " " << base;
                }
        }
}

// The stepping rule itself; the selector's wiring is checked below.
TEST(StepModulus, SmallestPrimeNotBelowUpLargestBelowDown) {
    TPrvocisla primes;
    struct Case {
        quint16 position;
        int newValue;
        bool up;
        quint16 expected;
    };
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

// The conversions are the model's; here the key, the hidden result and MS.
TEST_F(HlavnyTest, ABaseSwitchConvertsTheInputTheResultAndAns) {
    Calculate(QStringLiteral("255+1"));
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "FF+1");
    EXPECT_EQ(S(Shown()), "  1 00");
    Input()->SetText(QString());
    Btn("BtnANS")->click();
    EXPECT_EQ(S(Input()->Text()), "100");
    // The converted input evaluates to the same value.
    Mode("sbOct")->click();
    Equals();
    EXPECT_EQ(S(Shown()), "  400");
    // After an error the hidden result is converted and shown again.
    Calculate(QStringLiteral("1+"));
    EXPECT_EQ(S(Shown()), "<hidden>");
    Mode("sbDec")->click();
    EXPECT_EQ(S(Shown()), "  256");
}

// A switch writes the result's value in the new base, so that a switch
// back shows what was shown before: one row per kind of result, and a text
// put there by the history, which is converted as it stands.
TEST_F(HlavnyTest, AResultSwitchedThereAndBackIsShownAsBefore) {
    struct Case {
        const char *set;
        bool fractions, formKey;
        int decimals;
        const char *input, *via, *shown, *inVia;
    };
    const Case cases[] = {
        {"sbRealne", false, false, 10, "-0,7", "sbBin", "  -0,7", "  -0,1011 0011 01"},
        {"sbRealne", false, false, 6, "5E-13", "sbHex", "  5E-13", "  0"},
        {"sbRealne", true, false, 6, "255/7", "sbHex", "  255 / 7", "  FF / 7"},
        {"sbKomplexne", false, false, 3, "0,1+j0,0001", "sbOct", "  0,1+j1E-4", "  0,063"},
        {"sbKomplexne", false, true, 4, "3+j4", "sbBin", "  5e^j53,130 1", "  101e^j11 0101,001"},
        {"sbModulo", false, false, 6, "7*8", "sbBin", "  1", "  1"},
        {"sbRealne", false, false, 6, nullptr, "sbBin", "  1,5", "  1,1"}, // a text of the history
    };
    auto *decimals = Find<TUpDown>(*W, "UpDownDesM");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        Mode(c.set)->click();
        Find<QCheckBox>(*W, "CheckBoxZlomky")->setChecked(c.fractions);
        decimals->SetPosition(c.decimals);
        if (c.input)
            Calculate(QString::fromUtf8(c.input));
        else
            W->ShowResult(QStringLiteral("1,5"));
        if (c.formKey)
            Btn("BtnAE")->click();
        EXPECT_EQ(S(Shown()), c.shown);
        Mode(c.via)->click();
        EXPECT_EQ(S(Shown()), c.inVia);
        Mode("sbDec")->click();
        EXPECT_EQ(S(Shown()), c.shown);
    }
}

// A base switch that cannot write the result in the new base drops it: a
// later switch must not read its old text in the wrong base and show a
// value that was never calculated.
TEST_F(HlavnyTest, AResultThatFailedToConvertIsNotShownAgainByTheNextSwitch) {
    Calculate(QStringLiteral("2^70"));
    Mode("sbHex")->click();
    EXPECT_EQ(S(ErrorText()), "Chyba pri prevádzaní niektorých čísel.");
    EXPECT_EQ(S(Input()->Text()), "2^46");
    EXPECT_TRUE(Btn("BitBtn39")->isEnabled()); // base 16 all the same
    EXPECT_EQ(S(Shown()), "<hidden>");
    Mode("sbBin")->click();
    EXPECT_EQ(S(Shown()), "<hidden>");
    EXPECT_TRUE(ResultField()->text().isEmpty());
    // MS now stores nothing of the lost result.
    Btn("BtnMS")->click();
    EXPECT_EQ(S(Find<QLabel>(*W, "LabelPamat")->text()), "0");
}

// An input that cannot be written in the new base keeps the old one in
// force: left in its digits under the new base it would be read otherwise
// ("a" as a hex digit, "30^2" as 48 squared).
TEST_F(HlavnyTest, AnInputTheNewBaseCannotHoldKeepsTheOldBase) {
    SetVariable(QStringLiteral("a"), QStringLiteral("1"));
    Calculate(QStringLiteral("a+30^2"));
    EXPECT_EQ(S(Shown()), "  901");
    Mode("sbHex")->click();
    EXPECT_EQ(S(ErrorText()), "Chyba pri prevádzaní niektorých čísel.");
    EXPECT_EQ(S(Input()->Text()), "a+30^2");
    EXPECT_TRUE(Mode("sbDec")->isChecked());
    EXPECT_FALSE(Mode("sbHex")->isChecked());
    EXPECT_FALSE(Btn("BitBtn39")->isEnabled()); // the hex digits stay off
    Equals();
    EXPECT_EQ(S(Shown()), "  901");
}
