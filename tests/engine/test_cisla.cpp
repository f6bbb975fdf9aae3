#include "uCisla.h"
#include "uSpolocne.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

struct FormatCase {
    const char *picture;
    long double value;
    const char *comma;
};

TEST(FormatFloat, PicturesWithCommaSeparator) {
    const FormatCase cases[] = {
        {"0.##############################E-0", 220.0L, "2,2E2"},
        {"0.##############################E-0", -0.5L, "-5E-1"},
        {"0.##############################E-0", 0.0L, "0E0"},
        {"0.##############################E-0", 0.1L + 0.2L, "3E-1"},
        {"0.##############################E-0", 1.0L / 3.0L, "3,33333333333333333E-1"},
        {"0.#################", 0.5L, "0,5"},
        {"0.#################", 1e-18L, "0"},
        {"0.#################", -1e-18L, "0"},
        {"0.0###############", -12.3045L, "-12,3045"},
        {"0.################E+0", 12345.0L, "1,2345E+4"},
        {"0", 1234567.4L, "1234567"},
        {"0", 2.5L, "3"},
        {"0.##", 1e30L, "1E30"},
        {"0.0000", 1.5L, "1,5000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFloat(QString::fromLatin1(c.picture), c.value, QLatin1Char(',')), QString::fromLatin1(c.comma))
            << c.picture << " " << double(c.value);
}

TEST(FormatFloat, PointSeparatorAndNonFinite) {
    EXPECT_EQ(FormatFloat("0.##", 2.25L, QLatin1Char('.')), "2.25");
    EXPECT_THROW(FormatFloat("0.##", INFINITY, QLatin1Char('.')), EEngineInvalidOp);
    EXPECT_THROW(FormatFloat("0.##", NAN, QLatin1Char('.')), EEngineInvalidOp);
}

TEST(StrToFloat, AcceptsOnlyNumbers) {
    struct Case {
        const char *text;
        bool ok;
        long double value;
    };
    const Case cases[] = {
        {"2,5", true, 2.5L}, {"-1,2E-5", true, -1.2e-5L},
        {"+3", true, 3},     {",5", true, 0.5L},
        {"5,", true, 5},     {" 7 ", true, 7},
        {"1e3", true, 1000}, {"2.5", false, 0},
        {"", false, 0},      {"-", false, 0},
        {",", false, 0},     {"1e", false, 0},
        {"1e+", false, 0},   {"1,2,3", false, 0},
        {"0x10", false, 0},  {"1e99999", false, 0},
        {"inf", false, 0},   {"nan", false, 0},
        {"12a", false, 0},
    };
    for (const auto &c : cases) {
        long double v = -99;
        EXPECT_EQ(TryStrToFloat(QString::fromLatin1(c.text), v, QLatin1Char(',')), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    long double v = 0;
    EXPECT_TRUE(TryStrToFloat(u"2.5", v, QLatin1Char('.')));
    EXPECT_EQ(v, 2.5L);
    EXPECT_FALSE(TryStrToFloat(u"2,5", v, QLatin1Char('.')));
}

// A 64-bit value is a zero or a normal double: a non-zero number that would
// be read as 0 or as a subnormal is refused like one beyond the largest.
TEST(StrToDouble, TakesZerosAndTheNormalRangeOnly) {
    const struct {
        const char *text;
        bool ok;
        double value;
    } cases[] = {
        {"0", true, 0},
        {"-0", true, 0},
        {"0E5", true, 0},
        {"0,000E-999", true, 0},
        {"2,5", true, 2.5},
        {"2,2250738585072014E-308", true, std::numeric_limits<double>::min()},
        {"2,2250738585072012E-308", true, std::numeric_limits<double>::min()}, // rounds up to it
        {"2,2250738585072011E-308", false, 0},                                 // rounds down below it
        {"-1E-310", false, 0},
        {"4,9E-324", false, 0},
        {"1E-400", false, 0},
        {"1,7976931348623157E308", true, std::numeric_limits<double>::max()},
        {"1,7976931348623159E308", false, 0},
        {"1E4000", false, 0},
    };
    for (const auto &c : cases) {
        double v = -99;
        EXPECT_EQ(TryStrToDouble(QString::fromLatin1(c.text), v, QLatin1Char(',')), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.text;
    }
    // Random numbers about both ends of the range, against the C library's
    // correctly rounded double of the same text.
    std::mt19937_64 rng(400);
    std::uniform_int_distribution<int> digit(0, 9), digits(1, 18), exponent(-345, -290), sign(0, 1);
    for (int i = 0; i < 3000; ++i) {
        std::string mantissa(1, char('1' + digit(rng) % 9));
        for (int d = digits(rng); d > 1; --d)
            mantissa += char('0' + digit(rng));
        const int e = i % 2 ? exponent(rng) : -exponent(rng) + 10;
        const std::string text =
            (sign(rng) ? "-" : "") + mantissa.substr(0, 1) + "." + mantissa.substr(1) + "e" + std::to_string(e);
        const double reference = std::strtod(text.c_str(), nullptr);
        const bool ok = std::isfinite(reference) && std::fabs(reference) >= std::numeric_limits<double>::min();
        double v = 0;
        EXPECT_EQ(TryStrToDouble(QString::fromStdString(text), v, QLatin1Char('.')), ok) << text;
    }
}

TEST(StrToFloat, TokenRoundTripKeepsEighteenDigits) {
    for (long double x : {1.0L / 3.0L, 2.0L / 7.0L, 123456.789L, -9.87654321e-300L}) {
        const QString t = FormatFloat("0.##############################E-0", x, QLatin1Char(','));
        long double back = 0;
        ASSERT_TRUE(TryStrToFloat(t, back, QLatin1Char(','))) << t.toStdString();
        EXPECT_NEAR(double(back / x), 1.0, 1e-17) << t.toStdString();
    }
}

// However many digits a number has, it is read whole and rounded once.
TEST(StrToFloat, LongNumbersAreReadAsShortOnes) {
    struct Case {
        QString text;
        long double value;
    };
    const Case cases[] = {
        {QStringLiteral("0,") + QString(4095, QLatin1Char('3')), 1.0L / 3},
        {QStringLiteral("1") + QString(4940, QLatin1Char('0')) + QStringLiteral("E-4900"), 1e40L},
        {QStringLiteral("-0,") + QString(60000, QLatin1Char('0')) + QStringLiteral("25E60001"), -2.5L},
        {QString(4100, QLatin1Char('9')) + QStringLiteral("e-4100"), 1},
    };
    for (const auto &c : cases) {
        long double v = 0;
        EXPECT_TRUE(TryStrToFloat(c.text, v, QLatin1Char(','))) << c.text.size();
        EXPECT_EQ(v, c.value) << c.text.size();
    }
    long double v = 0;
    EXPECT_FALSE(TryStrToFloat(QString(5000, QLatin1Char('9')), v, QLatin1Char(','))); // beyond the range
}

TEST(RoundToInt64, TiesToEvenAndRange) {
    EXPECT_EQ(RoundToInt64(2.5L), 2);
    EXPECT_EQ(RoundToInt64(3.5L), 4);
    EXPECT_EQ(RoundToInt64(-2.7L), -3);
    EXPECT_THROW(RoundToInt64(1e19L), EEngineRangeError);
    EXPECT_THROW(RoundToInt64(NAN), EEngineRangeError);
}

TEST(EngineContext, FunctionNamesInSearchOrder) {
    const QStringList &names = FunctionNames();
    ASSERT_EQ(names.size(), 34);
    // every name stands before each shorter name that it contains
    for (int i = 0; i < names.size(); ++i)
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(names[i].contains(names[j]) && names[i] != names[j])
                << names[i].toStdString() << " after " << names[j].toStdString();
}

TEST(FormatFloat, ManyDecimalsOfATinyValueAreRoundedNotCut) {
    // 1.25e-125 with 200 decimals writes 124 zeros and 18 significant digits
    const QString picture = QStringLiteral("0.") + QString(200, QLatin1Char('#'));
    const QString t = FormatFloat(picture, 1.25e-125L, QLatin1Char(','));
    EXPECT_EQ(t, QStringLiteral("0,") + QString(124, QLatin1Char('0')) + QStringLiteral("125"));
}

TEST(RoundOperatorResult, KeepsTheValueTheTokenTextReadsBackAs) {
    // The oracle is the text road: the value written with the token's
    // picture and read back. Near ties (n + 1/2 times 10^k, an ulp or two
    // either way) the scaled value cannot tell the side; the others are
    // plain values of each decade and the quotients of a sum of 1/n^2.
    const QString picture = QStringLiteral("0.##############################E-0");
    std::vector<long double> values;
    quint64 seed = 12345;
    auto next = [&seed] { return seed = seed * 6364136223846793005ULL + 1442695040888963407ULL; };
    for (int k = -27; k <= 27; ++k) {
        for (int i = 0; i < 40; ++i) {
            const long double n = static_cast<long double>(100000000000000000ULL + next() % 900000000000000000ULL);
            long double x = k < 0 ? (n + 0.5L) / std::pow(10.0L, -k) : (n + 0.5L) * std::pow(10.0L, k);
            for (int step = 0; step < 2; ++step)
                x = std::nextafter(x, 0.0L);
            for (int step = 0; step < 5; ++step, x = std::nextafter(x, HUGE_VALL))
                values.push_back(i % 2 ? -x : x);
            values.push_back(std::ldexp(static_cast<long double>(next() >> 11), k * 3 - 53));
        }
    }
    for (int n = 1; n <= 3000; ++n)
        values.push_back(1.0L / (static_cast<long double>(n) * n));
    for (const long double x : values) {
        long double viaText = 0;
        ASSERT_TRUE(TryStrToFloat(FormatFloat(picture, x, QLatin1Char('.')), viaText, QLatin1Char('.')));
        ASSERT_EQ(RoundOperatorResult(x), viaText)
            << FormatFloat("0.#########################E-0", x, '.').toStdString();
    }
}
