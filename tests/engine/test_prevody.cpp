#include "PrevodySustav.h"

#include <gtest/gtest.h>

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
    void SetUp() override {
        SetDecSep(QLatin1Char(GetParam()));
    }
    QChar Sep() const { return QLatin1Char(GetParam()); }
};

} // namespace

TEST_P(Prevody, FormatNumberDecimalsAndGrouping) {
    struct Case { quint8 decimals; int base; long double value; const char *out; };
    const Case cases[] = {
        {2, 10, 1234567.891L, "1 234 567,89"}, {2, 10, 0.001234L, "1,234E-3"}, {2, 16, 255.0L, "FF"},
        {4, 10, 0.1234567L, "0,123 5"},         {8, 10, 1.23456789L, "1,234 567 89"}, {2, 10, -1234.5L, "-1 234,5"},
        {0, 10, 0.3L, "3E-1"},                  {2, 10, 1e30L, "1E30"},             {0, 2, 4095.0L, "1111 1111 1111"},
        {0, 2, 255.0L, "1111 1111"},            {10, 2, 0.3L, "0,0100 1100 11"},    {0, 2, 0.3L, "0"},
        {0, 8, 4095.0L, "7 777"},               {2, 8, -8.5L, "-10,4"},             {0, 16, 65535.0L, "FF FF"},
        {0, 16, 4095.0L, "F FF"},               {4, 16, 0.1L, "0,19 9A"}, {6, 16, 16.0L / 3, "5,55 55 55"},           {2, 16, -4096.0L, "-10 00"},
        {2, 16, 0.001L, "0"},                   {0, 10, 0.0L, "0"},
    };
    for (const auto &c : cases) {
        QString r;
        FormatNumber(c.decimals, c.base, r, c.value);
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.out << " base " << c.base;
    }
}

TEST_P(Prevody, FormatNumberOutOfRangeIsAnEngineError) {
    QString r;
    EXPECT_THROW(FormatNumber(2, 16, r, 1e30L), EEngineRangeError);
    EXPECT_THROW(FormatNumber(2, 2, r, -1e19L), EEngineRangeError);
    EXPECT_THROW(FormatNumber(2, 10, r, INFINITY), EEngineError);
}

TEST_P(Prevody, BaseToDecimal) {
    struct Case { int base; const char *in; const char *out; };
    const Case cases[] = {
        {2, "101,1", "5,5"},     {16, "ff", "255"},   {16, "FF,8", "255,5"}, {16, "1,8,8", "1,53125"},
        {16, "7FFFFFFFFFFFFFFF", "9223372036854775807"}, {2, "-11", "-3"},   {10, "12,5", "12,5"},
    };
    for (const auto &c : cases) {
        QString r;
        BaseToDecimal(c.base, WithSep(c.in, Sep()), r);
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.in;
    }
}

TEST_P(Prevody, DecimalToBase) {
    struct Case { int base; const char *in; quint8 digits; const char *out; };
    const Case cases[] = {
        {16, "255,5", 16, "FF,8"}, {2, "0,1", 16, "0,0001100110011001"}, {2, "-10", 16, "-1010"},
        {16, "1E3", 16, "3E8"},    {16, "9223372036854775807", 16, "7FFFFFFFFFFFFFFF"},
        {10, "0,30", 16, "0,3"},   {10, "1,23456", 2, "1,23"}, {8, "0,5", 0, "0"}, {2, "0", 16, "0"},
    };
    for (const auto &c : cases) {
        QString r;
        DecimalToBase(c.base, WithSep(c.in, Sep()), c.digits, r);
        EXPECT_EQ(r, WithSep(c.out, Sep())) << c.in << " base " << c.base;
    }
    QString r;
    EXPECT_THROW(DecimalToBase(16, Q("9223372036854775808"), 16, r), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(16, WithSep("1,5E30", Sep()), 16, r), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(16, Q("12x"), 16, r), EEngineError);
    EXPECT_THROW(DecimalToBase(0, Q("12"), 16, r), EEngineRangeError);
    EXPECT_THROW(DecimalToBase(2, Q("-"), 16, r), EEngineConvertError);
}

TEST_P(Prevody, DigitsAndValidNumbers) {
    EXPECT_EQ(CharToDigit(QLatin1Char('G')), 0);
    EXPECT_EQ(DigitToChar(16), QLatin1Char('#'));

    struct Case { int base; char extra; const char *token; bool valid; };
    const Case cases[] = {
        {16, 0, "1aF,0", true}, {2, 0, "102", false}, {8, 0, "8", false}, {10, 0, "", false},
        {16, 'j', "Aj", true},  {16, 'j', "jAj", false}, {2, 0, "1j", false}, {10, 0, "1,5", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidNumber(c.base, c.extra ? QLatin1Char(c.extra) : QChar(), WithSep(c.token, Sep())), c.valid)
            << c.token;
}

TEST_P(Prevody, ConvertExpressionBase) {
    struct Case { int from; int to; char extra; const char *in; const char *out; };
    const Case cases[] = {
        {2, 10, 0, "x10+10", "x10+2"},      {10, 2, 0, "2+10", "10+1010"},      {10, 16, 0, "255,5", "FF,8"},
        {16, 10, 'j', "Aj+1", "10j+1"},     {16, 10, 'j', "jA*j", "j10*j"},     {16, 10, 'j', "3+j4", "3+j4"},
        {16, 10, 'j', "2e^j2D", "2e^j45"},  {10, 16, 0, "1 2 + 3", "C+3"},
        // names, word operators and references stand at letters that are no digits
        {16, 10, 0, "cos(30)", "cos(48)"},  {16, 10, 0, "ff+1", "255+1"},       {16, 10, 0, "5modff", "5mod255"},
        {16, 10, 0, "1Fdiv3", "31div3"},    {16, 10, 0, "5modx", "5modx"},      {16, 10, 0, "$abc*1F", "$abc*31"},
        {16, 10, 0, "x2+2x", "x2+2x"},      {16, 10, 0, "10nad2", "16nad2"},    {8, 10, 0, "$17+17", "$17+15"},
        {10, 16, 0, "cos(30)+2e3", "cos(1E)+7D0"}, {10, 8, 0, "logy(64)", "logy(100)"}, {2, 16, 0, "1111,1", "F,8"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        err.Code = TErrorCode::OperatorBeforeClose;
        err.SpanEnd = 3;
        ConvertExpressionBase(c.from, c.to, c.extra ? QLatin1Char(c.extra) : QChar(), e, err);
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.in;
        EXPECT_EQ(err.SpanEnd, 0) << c.in;
        EXPECT_EQ(e, WithSep(c.out, Sep())) << c.in << " " << c.from << "->" << c.to;
    }
}

TEST_P(Prevody, ConvertExpressionBaseFailuresGiveCode26) {
    struct Case { int from; int to; const char *in; const char *partly; };
    const Case cases[] = {
        {8, 10, "10+19", "8+19"},                                         // "9" is no octal digit
        {16, 10, "10+FFFFFFFFFFFFFFFFF+10", "16+FFFFFFFFFFFFFFFFF+10"},   // beyond 64 bits
        {10, 16, "1+99999999999999999999", "1+99999999999999999999"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        ConvertExpressionBase(c.from, c.to, QChar(), e, err);
        EXPECT_EQ(CodeNumber(err.Code), 26) << c.in;
        EXPECT_EQ(err.SpanStart, 0);
        EXPECT_EQ(err.SpanEnd, 0);
        EXPECT_EQ(e, WithSep(c.partly, Sep())) << c.in;
    }
}

TEST_P(Prevody, ConvertExpressionBaseFormatted) {
    struct Case { int from; int to; char extra; quint8 decimals; const char *in; const char *out; };
    const Case cases[] = {
        {10, 2, 0, 0, "1 234", "100 1101 0010"}, {16, 10, 0, 2, "  FF FF", "65 535"}, {10, 2, 0, 4, "  1,5", "1,1"},
        {10, 16, 'j', 2, "  3 + j255", "3+jFF"}, {10, 2, 0, 4, "1,5E-3", "0"},
    };
    for (const auto &c : cases) {
        QString e = WithSep(c.in, Sep());
        TChyba err;
        ConvertExpressionBaseFormatted(c.from, c.to, c.extra ? QLatin1Char(c.extra) : QChar(), e, err, c.decimals);
        EXPECT_EQ(CodeNumber(err.Code), 0) << c.in;
        EXPECT_EQ(e, WithSep(c.out, Sep())) << c.in;
    }
    QString e = Q("1E30");
    TChyba err;
    ConvertExpressionBaseFormatted(10, 16, QChar(), e, err, 2);
    EXPECT_EQ(CodeNumber(err.Code), 26);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, Prevody, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char> &info) {
                             return info.param == ',' ? std::string("Comma") : std::string("Point");
                         });
