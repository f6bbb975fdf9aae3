#include "PresnyZlomok.h"

#include <QString>
#include <gtest/gtest.h>

#include <random>

namespace {

// The value of a reading as (sign, digits without the zeros at the end,
// power of ten), for comparison with the value as written.
struct TDecimal {
    bool Negative;
    qint64 Mantissa;
    long Power;
};

TEST(ExactFraction, DecimalsAreReadAsWrittenOrRefused) {
    struct Row {
        const char *Text;
        char Sep;
        bool Ok;
        TDecimal Value;
    };
    const Row rows[] = {
        {"0", ',', true, {false, 0, 0}},
        {" -1,500 ", ',', true, {true, 15, -1}},
        {"+0.0020e3", '.', true, {false, 2, 0}},
        {"120E-2", '.', true, {false, 12, -1}},
        {"5.", '.', true, {false, 5, 0}},
        {",25", ',', true, {false, 25, -2}},
        {"1,5", '.', false, {}},
        {"1.5.", '.', false, {}},
        {"e5", '.', false, {}},
        {"5e", '.', false, {}},
        {"5e+", '.', false, {}},
        {"--5", '.', false, {}},
        {"5 5", '.', false, {}},
        {"", '.', false, {}},
    };
    for (const Row &row : rows) {
        TExactDecimal x;
        ASSERT_EQ(ReadExactDecimal(QString::fromLatin1(row.Text), QLatin1Char(row.Sep), x), row.Ok) << row.Text;
        if (!row.Ok)
            continue;
        EXPECT_EQ(x.Negative, row.Value.Negative) << row.Text;
        EXPECT_EQ(qint64(x.Mantissa), row.Value.Mantissa) << row.Text;
        EXPECT_EQ(x.Power(), row.Value.Power) << row.Text;
    }
}

// Any whole number with a separator placed anywhere and an exponent reads
// back as the number times the power of ten the text says.
TEST(ExactFraction, ReadingAgreesWithTheNumberWritten) {
    std::mt19937_64 random(25);
    for (int t = 0; t < 20000; ++t) {
        qint64 n = qint64(random() >> 2) >> (random() % 60);
        QString text = QString::number(n);
        const int decimals = int(random() % (text.size() + 1));
        text.insert(text.size() - decimals, QLatin1Char('.'));
        const int exponent = int(random() % 61) - 30;
        text += QStringLiteral("e") + QString::number(exponent);
        TExactDecimal x;
        ASSERT_TRUE(ReadExactDecimal(text, QLatin1Char('.'), x)) << qPrintable(text);
        long power = exponent - decimals;
        for (; n != 0 && n % 10 == 0; n /= 10)
            ++power;
        EXPECT_EQ(qint64(x.Mantissa), n) << qPrintable(text);
        if (n != 0) {
            EXPECT_EQ(x.Power(), power) << qPrintable(text);
        }
    }
}

TEST(ExactFraction, LowestTermsWithinTheBound) {
    struct Row {
        qint64 N, D, Bound;
        bool Ok;
        qint64 RN, RD;
    };
    const Row rows[] = {
        {6, -4, 100, true, -3, 2}, {0, -7, 100, true, 0, 1},   {-5, 5, 100, true, -1, 1},
        {1, 0, 100, false, 0, 0},  {202, 2, 100, false, 0, 0}, {300, 3, 100, true, 100, 1},
    };
    for (const Row &row : rows) {
        TExactFraction f{99, 99};
        ASSERT_EQ(MakeExactFraction(row.N, row.D, row.Bound, f), row.Ok) << row.N << "/" << row.D;
        if (row.Ok) {
            EXPECT_TRUE(f.N == row.RN && f.D == row.RD) << row.N << "/" << row.D << " gives " << f.N << "/" << f.D;
        }
    }
}

} // namespace
