// Number set, base and angle unit keys: which controls they leave usable,
// the modulus selector, and the conversion of the input and the result on a
// base switch.
#include "HlavnyTestSupport.h"
#include "uRezimy.h"

namespace {

// Representative controls of each tag.
const char *const kTag10[] = {"BitBtn10", "BitBtn1", "BtnPlus", "BitBtn44", "BtnC", "BtnCE", "BtnRovnaSa",
                              "BtnANS", "BtnMS", "BtnMR", "BtnPrevratena", "vstupRdt", "vysledokEdt",
                              "LblChyba", "sbRealne", "sbHex", "sbDeg", "BtnVelkost", "ActionMainMenuBar1"};
const char *const kTag20[] = {"BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7"};
const char *const kTag30[] = {"BitBtn8", "BitBtn9"};
const char *const kTag40[] = {"BitBtn39", "BitBtn38", "BitBtn40", "BitBtn41", "BitBtn42", "BitBtn43"};
const char *const kTag50[] = {"BtnLog", "BtnLn", "BtnFaktorial", "BtnLogy", "BtnDruhaOdmocnina",
                              "BtnTretiaOdmocnina", "BtnOdmocnina", "BtnEnaX", "BtnDvaNaX", "BtnDesatNaX",
                              "BtnSin", "BtnCos", "BtnTG", "BtnCotg", "BtnArcsin", "BtnArccos", "Btnarctg",
                              "BtnArccotg", "BtnKombinacne", "BtnDms", "BtnDeg", "BtnRan", "BtnPercenta",
                              "BtnDiv", "BtnMod", "CheckBoxHyp", "CheckBoxZlomky", "grafBtn", "derivaciaBtn",
                              "sumaBtn"};
const char *const kTag60[] = {"BitBtn49", "BitBtn50", "BitBtn51", "BitBtn52", "BtnAE"};
const char *const kTag70[] = {"BtnCiarka", "BtnKonstanta", "BtnXna2", "BtnXna3", "BtnXnaY", "BtnPi", "BtnAbs",
                              "EditDesM", "UpDownDesM"};

} // namespace

class ModeTest : public HlavnyTest {
protected:
    void ExpectEnabled(const char *const *names, size_t count, bool enabled, const std::string &where) {
        for (size_t i = 0; i < count; ++i) {
            QWidget *w = W->findChild<QWidget *>(QLatin1String(names[i]));
            ASSERT_NE(w, nullptr) << names[i];
            EXPECT_EQ(w->isEnabled(), enabled) << names[i] << " in " << where;
        }
    }
    template <size_t N> void ExpectEnabled(const char *const (&names)[N], bool enabled, const std::string &where) {
        ExpectEnabled(names, N, enabled, where);
    }
};

TEST_F(ModeTest, KeysAreEnabledByNumberSetAndBase) {
    struct Case { const char *set; const char *base; bool t20, t30, t40, t50, t60, t70, modulus; };
    const Case cases[] = {
        {"sbRealne", "sbDec", true, true, false, true, false, true, false},
        {"sbRealne", "sbHex", true, true, true, true, false, true, false},
        {"sbRealne", "sbOct", true, false, false, true, false, true, false},
        {"sbRealne", "sbBin", false, false, false, true, false, true, false},
        {"sbKomplexne", "sbDec", true, true, false, false, true, true, false},
        {"sbKomplexne", "sbBin", false, false, false, false, true, true, false},
        {"sbModulo", "sbDec", true, true, false, false, false, false, true},
        {"sbModulo", "sbHex", true, true, true, false, false, false, true},
        {"sbModulo", "sbOct", true, false, false, false, false, false, true},
        // Switching the set back after the base keeps the base's digits.
        {"sbRealne", "sbHex", true, true, true, true, false, true, false},
    };
    for (const Case &c : cases) {
        // Both orders of pressing give the same state.
        for (bool setFirst : {true, false}) {
            if (setFirst) {
                Mode(c.set)->click();
                Mode(c.base)->click();
            } else {
                Mode(c.base)->click();
                Mode(c.set)->click();
            }
            const std::string where = std::string(c.set) + "/" + c.base + (setFirst ? " set first" : " base first");
            ExpectEnabled(kTag10, true, where);
            ExpectEnabled(kTag20, c.t20, where);
            ExpectEnabled(kTag30, c.t30, where);
            ExpectEnabled(kTag40, c.t40, where);
            ExpectEnabled(kTag50, c.t50, where);
            ExpectEnabled(kTag60, c.t60, where);
            ExpectEnabled(kTag70, c.t70, where);
            EXPECT_EQ(Find<QWidget>(*W, "UpDownModulo")->isEnabled(), c.modulus) << where;
            EXPECT_FALSE(Find<QWidget>(*W, "pozadieImg")->isEnabled()) << where;
            EXPECT_TRUE(Mode(c.set)->font().bold()) << where;
            EXPECT_TRUE(Mode(c.base)->font().bold()) << where;
        }
    }
}

TEST_F(ModeTest, TheNumberSetKeysSetTheEnginesNumberSetAndKeepTheInput) {
    EXPECT_EQ(W->Radix(), 10);
    EXPECT_EQ(W->Model().NumberSet, 0);
    Type(QStringLiteral("1+2"));
    Mode("sbKomplexne")->click();
    EXPECT_EQ(W->Model().NumberSet, 1);
    Mode("sbModulo")->click();
    EXPECT_EQ(W->Model().NumberSet, 2);
    EXPECT_FALSE(Mode("sbRealne")->font().bold());
    Mode("sbRealne")->click();
    EXPECT_EQ(W->Model().NumberSet, 0);
    EXPECT_EQ(S(Input()->Text()), "1+2");
}

// The stepping rule itself; the selector's wiring is checked below.
TEST(StepModulus, SmallestPrimeNotBelowUpLargestBelowDown) {
    TPrvocisla primes;
    struct Case { quint16 position; int newValue; bool up; quint16 expected; };
    const Case cases[] = {
        {5, 6, true, 7},   {7, 6, false, 5},   {2, 3, true, 3},     {3, 2, false, 2}, {2, 1, false, 2},
        {97, 98, true, 97}, {89, 90, true, 97}, {97, 96, false, 89}, {23, 24, true, 29},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StepModulus(primes, c.position, c.newValue, c.up), c.expected)
            << c.position << (c.up ? " up" : " down");
}

TEST_F(ModeTest, TheModulusSelectorStepsItsCaptionAndTheNextEvaluation) {
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

// --- base switch ------------------------------------------------------------------

TEST_F(ModeTest, ABaseSwitchConvertsTheInputAndTheResult) {
    Calculate(QStringLiteral("255+1"));
    EXPECT_EQ(S(Shown()), "  256");
    Mode("sbHex")->click();
    EXPECT_EQ(W->Radix(), 16);
    EXPECT_EQ(S(Input()->Text()), "FF+1");
    EXPECT_EQ(S(Shown()), "  1 00");
    EXPECT_TRUE(Btn("BitBtn39")->isEnabled());
    Mode("sbBin")->click();
    EXPECT_EQ(S(Input()->Text()), "11111111+1");
    EXPECT_EQ(S(Shown()), "  1 0000 0000");
    EXPECT_FALSE(Btn("BitBtn2")->isEnabled());
    EXPECT_TRUE(Btn("BitBtn1")->isEnabled());
    Mode("sbDec")->click();
    EXPECT_EQ(S(Input()->Text()), "255+1");
    EXPECT_EQ(S(Shown()), "  256");
    // The converted input evaluates to the same value.
    Mode("sbOct")->click();
    EXPECT_EQ(S(Input()->Text()), "377+1");
    Equals();
    EXPECT_EQ(S(Shown()), "  400");
}

TEST_F(ModeTest, TheComplexSetKeepsTheImaginaryUnitInsideNumbers) {
    Mode("sbKomplexne")->click();
    Calculate(QStringLiteral("j10+12"));
    EXPECT_EQ(S(Shown()), "  12+j10");
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "jA+C");
    EXPECT_EQ(S(Shown()), "  C+jA");
    Equals();
    EXPECT_EQ(S(Shown()), "  C+jA");
}

TEST_F(ModeTest, AfterAnErrorTheHiddenResultIsConvertedAndShownAgain) {
    Calculate(QStringLiteral("10+5"));
    Calculate(QStringLiteral("1+"));
    EXPECT_EQ(S(Shown()), "<hidden>");
    Type(QStringLiteral("20"));
    Mode("sbHex")->click();
    EXPECT_EQ(S(Input()->Text()), "14");
    EXPECT_EQ(S(Shown()), "  F");
}

// ANS keeps the text of its base; what goes into the input is converted.
TEST_F(ModeTest, AnsIsConvertedToTheCurrentBaseWhenInserted) {
    Calculate(QStringLiteral("15"));
    EXPECT_EQ(S(W->Ans()), "15");
    Mode("sbHex")->click();
    EXPECT_EQ(S(W->Ans()), "15"); // the stored text is not converted
    EXPECT_EQ(S(W->Model().AnsForInsertion()), "F");

    // A complex ANS in brackets.
    Mode("sbKomplexne")->click();
    Calculate(QStringLiteral("3+j4"));
    Mode("sbBin")->click();
    EXPECT_EQ(S(W->Model().AnsForInsertion()), "(11+j100)");

    // A modulo ANS is the decimal residue, whatever the base shown.
    Mode("sbModulo")->click();
    Mode("sbHex")->click();
    auto *upDown = Find<TUpDown>(*W, "UpDownModulo");
    upDown->SetPosition(97);
    Calculate(QStringLiteral("5A+5"));
    EXPECT_EQ(S(Shown()), "  5F");
    EXPECT_EQ(S(W->Ans()), "95");
    EXPECT_EQ(S(W->Model().AnsForInsertion()), "5F");
}

// A base switch that cannot write the input or the result in the new base
// drops the result: a later switch must not read its old text in the wrong
// base and show a value that was never calculated.
TEST_F(ModeTest, AResultThatFailedToConvertIsNotShownAgainByTheNextSwitch) {
    struct Case { const char *input; const char *firstShown; const char *converted; };
    const Case cases[] = {
        {"2^70", "  1,1805916207174113E21", "2^46"}, // the input converts, the result does not
        {"10^30", "  1E30", "A^1E"},
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
        EXPECT_EQ(W->Radix(), 16);
        EXPECT_TRUE(Btn("BitBtn39")->isEnabled());
        EXPECT_EQ(S(Shown()), "<hidden>");
        Mode("sbBin")->click();
        EXPECT_EQ(S(Shown()), "<hidden>");
        EXPECT_TRUE(ResultField()->text().isEmpty());
        // MS now stores nothing of the lost result.
        Btn("BtnMS")->click();
        EXPECT_EQ(S(Find<QLabel>(*W, "LabelPamat")->text()), "0");
    }
}
