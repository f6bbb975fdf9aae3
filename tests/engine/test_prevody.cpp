#include "PrevodySustav.h"

#include "Analyzator.h"
#include "GeneratorVyrazov.h"
#include "KomplexnyAnalyzator.h"
#include "ZlomkovyAnalyzator.h"
#include "uVyraz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <thread>

namespace {

QString Q(const char *s) { return QString::fromUtf8(s); }

// The tables are written with "," as the separator; with "." every comma
// of input and output becomes a point.
QString WithSep(const char *s, QChar sep) {
    QString t = Q(s);
    t.replace(QLatin1Char(','), sep);
    return t;
}

class Prevody : public ::testing::TestWithParam<char> {
protected:
    QChar Sep() const { return QLatin1Char(GetParam()); }
};

} // namespace

TEST_P(Prevody, FormatNumberDecimalsAndGrouping) {
    struct Case {
        quint8 decimals;
        int base;
        long double value;
        const char *out;
    };
    const Case cases[] = {
        {2, 10, 1234567.891L, "1 234 567,89"},
        {2, 10, 0.001234L, "1,234E-3"},
        {2, 16, 255.0L, "FF"},
        {4, 10, 0.1234567L, "0,123 5"},
        {8, 10, 1.23456789L, "1,234 567 89"},
        {2, 10, -1234.5L, "-1 234,5"},
        {0, 10, 0.3L, "3E-1"},
        {2, 10, 1e30L, "1E30"},
        {0, 2, 4095.0L, "1111 1111 1111"},
        {0, 2, 255.0L, "1111 1111"},
        {10, 2, 0.3L, "0,0100 1100 11"},
        {0, 2, 0.3L, "0"},
        {0, 8, 4095.0L, "7 777"},
        {2, 8, -8.5L, "-10,4"},
        {0, 16, 65535.0L, "FF FF"},
        {0, 16, 4095.0L, "F FF"},
        {4, 16, 0.1L, "0,19 9A"},
        {6, 16, 16.0L / 3, "5,55 55 55"},
        {2, 16, -4096.0L, "-10 00"},
        {2, 16, 0.001L, "0"},
        {0, 10, 0.0L, "0"},
    };
    for (const auto &c : cases) {
        QString r;
        FormatNumber(c.decimals, c.base, r, c.value, Sep());
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.out << " base " << c.base;
    }
}

TEST_P(Prevody, FormatNumberOutOfRangeIsAnEngineError) {
    QString r;
    EXPECT_THROW(FormatNumber(2, 16, r, 1e30L, Sep()), EEngineRangeError);
    EXPECT_THROW(FormatNumber(2, 2, r, -1e19L, Sep()), EEngineRangeError);
    EXPECT_THROW(FormatNumber(2, 8, r, 9223372036854775808.0L, Sep()), EEngineRangeError); // 2^63
    EXPECT_THROW(FormatNumber(2, 10, r, INFINITY, Sep()), EEngineError);
}

TEST_P(Prevody, BaseToDecimal) {
    struct Case {
        int base;
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {2, "101,1", "5,5"},
        {16, "ff", "255"},
        {16, "FF,8", "255,5"},
        {16, "1,8,8", "1,53125"},
        {16, "7FFFFFFFFFFFFFFF", "9223372036854775807"},
        {2, "-11", "-3"},
        {10, "12,5", "12,5"},
    };
    for (const auto &c : cases) {
        QString r;
        BaseToDecimal(c.base, WithSep(c.in, Sep()), r, Sep());
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.in;
    }
}

TEST_P(Prevody, DecimalToBase) {
    struct Case {
        int base;
        const char *in;
        quint8 digits;
        const char *out;
    };
    const Case cases[] = {
        {16, "255,5", 16, "FF,8"},
        {2, "0,1", 16, "0,0001100110011001"},
        {2, "-10", 16, "-1010"},
        {16, "1E3", 16, "3E8"},
        {16, "9223372036854775807", 16, "7FFFFFFFFFFFFFFF"},
        {10, "0,30", 16, "0,3"},
        {10, "1,23456", 2, "1,23"},
        {8, "0,5", 0, "0"},
        {2, "0", 16, "0"},
    };
    for (const auto &c : cases) {
        QString r;
        DecimalToBase(c.base, WithSep(c.in, Sep()), c.digits, r, Sep());
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.in << " base " << c.base;
    }
    QString r;
    EXPECT_THROW(DecimalToBase(16, Q("9223372036854775808"), 16, r, Sep()), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(16, WithSep("1,5E30", Sep()), 16, r, Sep()), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(16, Q("12x"), 16, r, Sep()), EEngineError);
    EXPECT_THROW(DecimalToBase(0, Q("12"), 16, r, Sep()), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(2, Q("-"), 16, r, Sep()), EEngineConvertError);
}

TEST_P(Prevody, DigitsAndValidNumbers) {
    EXPECT_EQ(CharToDigit(QLatin1Char('G')), 0);
    EXPECT_EQ(DigitToChar(16), QLatin1Char('#'));

    struct Case {
        int base;
        char extra;
        const char *token;
        bool valid;
    };
    const Case cases[] = {
        {16, 0, "1aF,0", true}, {2, 0, "102", false},    {8, 0, "8", false},  {10, 0, "", false},
        {16, 'j', "Aj", true},  {16, 'j', "jAj", false}, {2, 0, "1j", false}, {10, 0, "1,5", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidNumber(c.base, c.extra ? QLatin1Char(c.extra) : QChar(), WithSep(c.token, Sep()), Sep()),
                  c.valid)
            << c.token;
}

TEST_P(Prevody, ConvertExpressionBase) {
    struct Case {
        int from;
        int to;
        char extra;
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {2, 10, 0, "x10+10", "x10+2"},
        {10, 2, 0, "2+10", "10+1010"},
        {10, 16, 0, "255,5", "FF,8"},
        {16, 10, 'j', "Aj+1", "10j+1"},
        {16, 10, 'j', "jA*j", "j10*j"},
        {16, 10, 'j', "3+j4", "3+j4"},
        {16, 10, 'j', "2e^j2D", "2e^j45"},
        // a coefficient shown with an exponent is a number, not a name
        {10, 16, 'j', "(0+j5E-1)", "(0+j0,8)"},
        {10, 2, 'j', "1E1-j1E+1", "1010-j1010"},
        {10, 16, 'j', "8e^j1E1", "8e^jA"},
        {10, 16, 0, "1 2 + 3", "C+3"},
        // names, word operators and references stand at letters that are no digits
        {16, 10, 0, "cos(30)", "cos(48)"},
        {16, 10, 0, "ff+1", "255+1"},
        {16, 10, 0, "5modff", "5mod255"},
        {16, 10, 0, "1Fdiv3", "31div3"},
        {16, 10, 0, "5modx", "5modx"},
        {16, 10, 0, "$abc*1F", "$abc*31"},
        {16, 10, 0, "x2+2x", "x2+2x"},
        {16, 10, 0, "10nad2", "16nad2"},
        {8, 10, 0, "$17+17", "$17+15"},
        {10, 16, 0, "cos(30)+2e3", "cos(1E)+7D0"},
        {10, 8, 0, "logy(64)", "logy(100)"},
        {2, 16, 0, "1111,1", "F,8"},
        // the form of a number keeps the checks' answer to it
        {10, 2, 0, ",5+1,0+7,", ",1+1,0+111,"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        err.Code = TErrorCode::OperatorBeforeClose;
        err.SpanEnd = 3;
        ConvertExpressionBase(c.from, c.to, c.extra ? QLatin1Char(c.extra) : QChar(), e, err, Sep());
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.in;
        EXPECT_EQ(err.SpanEnd, 0) << c.in;
        EXPECT_EQ(e, WithSep(c.out, Sep())) << c.in << " " << c.from << "->" << c.to;
    }
}

// A number written with the other separator is read with the caller's and
// written with it.
TEST_P(Prevody, ConvertExpressionBaseReadsTheOtherSeparator) {
    const QChar other = Sep() == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const struct {
        int from, to;
        const char *in, *out;
    } cases[] = {
        {16, 10, "1,8+A,8*x", "1,5+10,5*x"},
        {2, 10, "1,1", "1,5"},
        {10, 16, "255,5", "FF,8"},
        {10, 2, ",5+1,0+7,", ",1+1,0+111,"},
    };
    for (const auto &c : cases) {
        QString e = Q(c.in);
        e.replace(QLatin1Char(','), other);
        TChyba err;
        ConvertExpressionBase(c.from, c.to, QChar(), e, err, Sep());
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.in;
        EXPECT_EQ(e, WithSep(c.out, Sep())) << c.in << " " << c.from << "->" << c.to;
    }
}

TEST_P(Prevody, ConvertExpressionBaseFailuresGiveCode26) {
    struct Case {
        int from;
        int to;
        const char *in;
        const char *partly;
    };
    const Case cases[] = {
        {8, 10, "10+19", "8+19"},                                       // "9" is no octal digit
        {16, 10, "10+FFFFFFFFFFFFFFFFF+10", "16+FFFFFFFFFFFFFFFFF+10"}, // beyond 64 bits
        {10, 16, "1+99999999999999999999", "1+99999999999999999999"},
        // refused as a whole: a name that is a number in base 16, an "e" the
        // scanner takes for an exponent, a value with more than 200 binary places
        {10, 16, "2+a", "2+a"},
        {10, 16, "2e*3", "2e*3"},
        {10, 2, "1+1e-300", "1+1e-300"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        ConvertExpressionBase(c.from, c.to, QChar(), e, err, Sep());
        EXPECT_EQ(CodeNumber(err.Code), 26) << c.in;
        EXPECT_EQ(err.SpanStart, 0);
        EXPECT_EQ(err.SpanEnd, 0);
        EXPECT_EQ(e, WithSep(c.partly, Sep())) << c.in;
    }
}

TEST_P(Prevody, ConvertExpressionBaseFormatted) {
    struct Case {
        int from;
        int to;
        char extra;
        quint8 decimals;
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {10, 2, 0, 0, "1 234", "100 1101 0010"}, {16, 10, 0, 2, "  FF FF", "65 535"}, {10, 2, 0, 4, "  1,5", "1,1"},
        {10, 16, 'j', 2, "  3 + j255", "3+jFF"}, {10, 2, 0, 4, "1,5E-3", "0"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        ConvertExpressionBaseFormatted(c.from, c.to, c.extra ? QLatin1Char(c.extra) : QChar(), e, err, c.decimals,
                                       Sep());
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.in;
        EXPECT_EQ(e, WithSep(c.out, Sep())) << c.in;
    }
    QString e = Q("1E30");
    TChyba err;
    ConvertExpressionBaseFormatted(10, 16, QChar(), e, err, 2, Sep());
    EXPECT_EQ(CodeNumber(err.Code), 26);
}

// The separator is the caller's: a conversion, a display text and a
// derivative with "," on one thread and with "." on another at once.
TEST(PrevodyThreads, EachCallKeepsTheSeparatorItIsGiven) {
    auto run = [](QChar sep, QStringList &out) {
        for (int i = 0; i < 500; ++i) {
            QString e = WithSep("255,5+x", sep), shown, d = WithSep("0,25*x^2", sep);
            TChyba err;
            ConvertExpressionBase(10, 16, QChar(), e, err, sep);
            FormatNumber(2, 10, shown, 1234.5L, sep);
            TVyraz work;
            DeriveNTimes(work, d, Q("x"), 1, sep);
            out << e + QLatin1Char(' ') + shown + QLatin1Char(' ') + d;
        }
    };
    QStringList comma, point;
    std::thread one([&] { run(QLatin1Char(','), comma); });
    std::thread two([&] { run(QLatin1Char('.'), point); });
    one.join();
    two.join();
    EXPECT_EQ(comma.count(Q("FF,8+x 1 234,5 0,5*x")), 500);
    EXPECT_EQ(point.count(Q("FF.8+x 1 234.5 0.5*x")), 500);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, Prevody, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char> &info) {
                             return info.param == ',' ? std::string("Comma") : std::string("Point");
                         });

namespace {

// The "=" road of a text typed in a base: the check and the constants on
// the text as it stands, its numbers written in base 10, the evaluator of
// the set, and the guard of the "=" key. Code 0 with the value, or the code.
struct TOutcome {
    int code = 0;
    long double re = 0, im = 0;
    bool operator==(const TOutcome &o) const {
        auto same = [](long double x, long double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
        return code == o.code && same(re, o.re) && same(im, o.im);
    }
};

std::ostream &operator<<(std::ostream &os, const TOutcome &o) {
    return o.code ? os << "code " << o.code : os << double(o.re) << " " << double(o.im);
}

TOutcome RoadInBase(int base, QString text, const TEvaluationContext &context) try {
    const bool complex = context.NumberSet == TNumberSet::Complex;
    TChyba err;
    complex ? CheckComplexSyntax(text, context, err) : CheckSyntax(text, context, err);
    if (!err.Failed())
        CheckDollarReferences(text, context, err);
    if (!err.Failed() && base != 10)
        ConvertExpressionBase(base, 10, complex ? context.ImaginaryUnit : QChar(), text, err, context.Separator());
    if (err.Failed())
        return {CodeNumber(err.Code)};
    if (QString(text).remove(QLatin1Char(' ')).isEmpty())
        return {};
    const TEngineResult r = complex                                     ? EvaluateComplex(text, context)
                            : context.Fractions && UsesNoFunction(text) ? EvaluateFraction(text, context)
                                                                        : EvaluateReal(text, context);
    if (!r.Ok())
        return {CodeNumber(r.Error.Code)};
    return complex ? TOutcome{0, r.Complex.Re, r.Complex.Im} : TOutcome{0, r.Real, 0};
} catch (const std::exception &) {
    return {CodeNumber(TErrorCode::UnknownFailure)};
}

} // namespace

// The rows that once changed their meaning on a switch (x = 3, y = 2): the
// text switched from base 10 and back, and the value in the new base.
TEST_P(Prevody, ASwitchedTextKeepsItsValue) {
    TVariableList variables(QStringList{QStringLiteral("x=3"), QStringLiteral("y=2")});
    TEvaluationContext context(Sep());
    context.Variables = &variables;
    struct Case {
        int to;
        const char *in, *switched, *back;
    };
    const Case cases[] = {
        {16, "1000x", "3E8*x", "1000*x"},
        {16, "11x", "B*x", "11*x"},
        {16, "999999999999999999", "DE0B6B3A763FFFF", "999999999999999999"},
        {16, "7,875y", "7,E*y", "7,875*y"},
        {2, "0,1", "0,0001100110011001100110011001100110011001100110011001100110011001101", "0,1"},
        {8, "2,5e-3+x", "0,001217270243656050753412+x", "0,0025+x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        const QString in = WithSep(c.in, Sep());
        QString t = in;
        TChyba err;
        ConvertExpressionBase(10, c.to, QChar(), t, err, Sep());
        EXPECT_EQ(t.toStdString(), WithSep(c.switched, Sep()).toStdString());
        const TOutcome before = RoadInBase(10, in, context);
        EXPECT_EQ(before.code, 0);
        EXPECT_EQ(RoadInBase(c.to, t, context), before);
        ConvertExpressionBase(c.to, 10, QChar(), t, err, Sep());
        EXPECT_EQ(CodeNumber(err.Code), 0);
        EXPECT_EQ(t.toStdString(), WithSep(c.back, Sep()).toStdString());
    }
}

// Generated texts of the real set, of fractions and of the complex set
// (numbers with and without decimals, both separators, variables,
// constants, functions, every operator, faults), switched from base 10 to
// 2, 8 and 16 and back: in every base each gives the value or the code it
// gave before. A switch may refuse a text (code 26); what a switch wrote,
// the next one reads. More texts with TARBELON_GENERATED_CASES=<n>.
TEST(PrevodyGenerated, ASwitchKeepsTheValueOfEveryText) {
    generator::TGenerator gen(1105);
    const int sets[] = {generator::Realne, generator::Zlomky, generator::Komplexne};
    const int count = qEnvironmentVariableIsSet("TARBELON_GENERATED_CASES")
                          ? qEnvironmentVariableIntValue("TARBELON_GENERATED_CASES")
                          : 450;
    int compared = 0;
    for (int i = 0; i < count; ++i) {
        const generator::TPripad c = gen.Next(sets[i % 3]);
        TVariableList variables(c.Variables);
        TConstantList constants;
        constants.Items = c.Constants;
        TEvaluationContext context(c.Separator);
        context.AngleUnit = TAngleUnit(c.AngleUnit);
        context.Fractions = c.Set == generator::Zlomky;
        context.NumberSet = c.Set == generator::Komplexne ? TNumberSet::Complex : TNumberSet::Real;
        context.Variables = &variables;
        context.Constants = &constants;
        const QChar extra = c.Set == generator::Komplexne ? context.ImaginaryUnit : QChar();
        const TOutcome before = RoadInBase(10, c.Text, context);
        for (int base : {2, 8, 16}) {
            QString t = c.Text, back;
            TChyba err;
            ConvertExpressionBase(10, base, extra, t, err, c.Separator);
            if (err.Failed())
                continue;
            ++compared;
            back = t;
            ConvertExpressionBase(base, 10, extra, back, err, c.Separator);
            const TOutcome after = RoadInBase(base, t, context);
            const TOutcome again = err.Failed() ? TOutcome{CodeNumber(err.Code)} : RoadInBase(10, back, context);
            EXPECT_TRUE(after == before && again == before)
                << c.Text.toStdString() << " -> " << t.toStdString() << " -> " << back.toStdString() << ": " << before
                << " / " << after << " / " << again;
        }
    }
    EXPECT_GT(compared, 600);
}

namespace {

// Complex texts whose numbers end in every digit of base 16 once written
// there: whole numbers (30 is 1E), short binary fractions (0,875 is 0,E),
// coefficients of the imaginary unit, exponential forms with their angles,
// decimal exponents, powers and brackets.
class TComplexTexts {
public:
    explicit TComplexTexts(quint32 seed) : m_rng(seed) {}

    QString Next(QChar sep) {
        m_sep = sep;
        return Sum(0);
    }

private:
    std::mt19937 m_rng;
    QChar m_sep;

    int Pick(int n) { return int(m_rng() % quint32(n)); }
    QString Whole() { return QString::number(Pick(4) == 0 ? Pick(1000) : Pick(64)); }
    QString Real() {
        if (Pick(3) != 0)
            return Whole();
        if (Pick(4) == 0) // a decimal exponent, which only base 10 writes
            return Whole() + (Pick(2) ? QStringLiteral("E") : QStringLiteral("e")) + QString::number(Pick(4) - 2);
        return Whole() + m_sep + QString::number(Pick(8) * 125).rightJustified(3, QLatin1Char('0'));
    }
    QString Number() {
        switch (Pick(6)) {
        case 0: return QStringLiteral("j") + (Pick(4) == 0 ? QString() : Real());
        case 1: return Real() + (Pick(2) ? QStringLiteral("e^j") : QStringLiteral("e^-j")) + Whole();
        default: return Real();
        }
    }
    QString Factor(int depth) {
        QString t = depth < 3 && Pick(4) == 0 ? (Pick(3) == 0 ? QStringLiteral("abs(") : QStringLiteral("(")) +
                                                    Sum(depth + 1) + QLatin1Char(')')
                                              : Number();
        if (Pick(4) == 0)
            t += QLatin1Char('^') + (Pick(2) ? QString::number(Pick(4)) : Whole());
        return t;
    }
    QString Sum(int depth) {
        QString t = Pick(6) == 0 ? QStringLiteral("-") : QString();
        t += Factor(depth);
        for (int k = Pick(3); k > 0; --k)
            t += QLatin1Char("+-*/"[Pick(4)]) + Factor(depth);
        return t;
    }
};

} // namespace

// A complex text switched from base 10 to 2, 8 or 16 and back gives the
// value (or the fault) it gave before in every base, or the switch refuses
// it with code 26 and leaves it as it was.
TEST(PrevodyGenerated, AComplexSwitchKeepsTheValueOrRefuses) {
    for (const char *refused : {"30^2", "j14^3", "0,875^2+1"}) { // 1E^2, jE^3, 0,E^2: exponential forms in base 16
        QString t = Q(refused);
        TChyba err;
        ConvertExpressionBase(10, 16, QLatin1Char('j'), t, err, QLatin1Char(','));
        EXPECT_EQ(CodeNumber(err.Code), 26) << refused;
        EXPECT_EQ(t, Q(refused));
    }
    TComplexTexts gen(2103);
    const int count = qEnvironmentVariableIsSet("TARBELON_GENERATED_CASES")
                          ? qEnvironmentVariableIntValue("TARBELON_GENERATED_CASES")
                          : 1500;
    int compared = 0, refused = 0;
    for (int i = 0; i < count; ++i) {
        const QChar sep = i % 2 ? QLatin1Char('.') : QLatin1Char(',');
        TEvaluationContext context(sep);
        context.NumberSet = TNumberSet::Complex;
        const QString text = gen.Next(sep);
        const TOutcome before = RoadInBase(10, text, context);
        for (int base : {2, 8, 16}) {
            QString t = text;
            TChyba err;
            ConvertExpressionBase(10, base, context.ImaginaryUnit, t, err, sep);
            if (err.Failed()) {
                ++refused;
                EXPECT_EQ(CodeNumber(err.Code), 26);
                EXPECT_EQ(t, text);
                continue;
            }
            ++compared;
            QString back = t;
            ConvertExpressionBase(base, 10, context.ImaginaryUnit, back, err, sep);
            const TOutcome after = RoadInBase(base, t, context);
            const TOutcome again = err.Failed() ? TOutcome{CodeNumber(err.Code)} : RoadInBase(10, back, context);
            EXPECT_TRUE(after == before && again == before)
                << text.toStdString() << " -> " << t.toStdString() << " -> " << back.toStdString() << ": " << before
                << " / " << after << " / " << again;
        }
    }
    EXPECT_GT(compared, count * 2);
    EXPECT_GT(refused, 0);
}

// Every whole number of the signed 64-bit range is shown in bases 2, 8 and
// 16 with every digit, against its digits worked out in integers.
TEST(PrevodyGenerated, WholeNumbersOf64BitsShowEveryDigit) {
    auto reference = [](qint64 n, int base) {
        const int group = base == 2 ? 4 : base == 16 ? 2 : 3;
        quint64 m = n < 0 ? 0 - quint64(n) : quint64(n);
        std::string digits;
        do {
            digits.insert(digits.begin(), "0123456789ABCDEF"[m % quint64(base)]);
            m /= quint64(base);
        } while (m != 0);
        std::string t = n < 0 ? "-" : "";
        for (size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % group == 0)
                t += ' ';
            t += digits[i];
        }
        return t;
    };
    std::mt19937_64 rng(1105);
    for (int i = 0; i < 3000; ++i) {
        const qint64 n = i == 0   ? std::numeric_limits<qint64>::min()
                         : i == 1 ? std::numeric_limits<qint64>::max()
                                  : qint64(rng() >> (1 + rng() % 63)) * (rng() % 2 ? 1 : -1);
        for (int base : {2, 8, 16}) {
            QString r;
            FormatNumber(quint8(rng() % 31), base, r, static_cast<long double>(n), QLatin1Char(','));
            ASSERT_EQ(r.toStdString(), reference(n, base)) << n;
        }
    }
}
