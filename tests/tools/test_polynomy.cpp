// The polynomial model: the text check, parsing and printing, the operations
// as the polynomial window runs them, the limits and the Horner scheme.
#include "uPolynomy.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <functional>
#include <optional>

namespace {

std::string S(const QString &s) { return s.toStdString(); }

TPremennePolynomu Fresh() {
    TPremennePolynomu v;
    TPolynom::ResetVariableList(v);
    return v;
}

TPolynom Parsed(const QString &text, const TPremennePolynomu &variables = Fresh(), QChar sep = u',') {
    TPolynom p;
    p.AddText(text, variables, false, true, sep);
    return p;
}

// The window's commands on the texts of P and Q; the remainder of a division
// is appended after " r ".
QString Command(char op, const QString &p, const QString &q, int n = 2) {
    const QChar sep = u',';
    TPolynom a = Parsed(p), r;
    switch (op) {
    case '+':
    case '-':
        r = Parsed(p);
        r.AddText(q, r.Variables(), op == '-', false, sep);
        return r.ToText(sep);
    case '.': TPolynom::Multiply(a, Parsed(q, a.Variables()), r); return r.ToText(sep);
    case '/': {
        const TPolynom divisor = Parsed(q);
        TPolynom remainder;
        TPolynom::Divide(Parsed(p, divisor.Variables()), divisor, remainder, r);
        return r.ToText(sep) + QStringLiteral(" r ") + remainder.ToText(sep);
    }
    default: a.Power(n); return a.ToText(sep);
    }
}

} // namespace

TEST(PolynomialText, ParsesAndPrints) {
    const struct {
        const char *text, *printed;
        char16_t sep = u',';
    } rows[] = {
        {"x^", "x"},
        {"-x", "-x"},
        {"", "0"},
        {"x^2x^-2", "1"},
        {"2x+3x", "5x"},
        {"x-x", "0"},
        {"x^-1", "x^-1"},
        {"x^2x", "x^3"},
        {"2x3", "6x"},
        {"yx+xy", "2yx"},
        {"2 x ^ 2 + y", "2x^2+y"},
        {"x-0,0004y", "x-0y"},
        {"2,5x-1,25", "2,5x-1,25"},
        {"2.5x-1.25", "2.5x-1.25", u'.'},
        // Rounding noise of a cancellation is no term; whole numbers stay exact.
        {"0,1x+0,2x-0,3x", "0"},
        {"9000000000000001x-9000000000000000x", "x"},
        // Large coefficients print with all their digits, so that they read back.
        {"1000000000000000000000x", "1000000000000000000000x"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(S(Parsed(QString::fromUtf8(r.text), Fresh(), r.sep).ToText(r.sep)), r.printed) << r.text;
}

TEST(PolynomialText, CheckAcceptsWhatTheParserReads) {
    struct Row {
        const char *text;
        bool valid;
        char16_t sep = u',';
    } rows[] = {
        {"", true},        {"x^", true},       {"x^-2", true},       {"5x^3-3x^2+6x", true}, {"2 x", true},
        {"x^32767", true}, {"2,5x", true},     {"2.5x", true, u'.'}, {"2^3", false},         {"x^2,5", false},
        {"2 ^2", false},   {"x+", false},      {"x,", false},        {",5x", false},         {"^x", false},
        {"X", false},      {"x*2", false},     {"x++y", false},      {"x^^2", false},        {"x^y", false},
        {"x,5", false},    {"x^32768", false}, {"2,,5", false},      {"1,2,3x", false},      {"2,5x", false, u'.'},
        {"2.5x", false},
    };
    for (const Row &r : rows)
        EXPECT_EQ(TPolynom::IsValidText(QString::fromUtf8(r.text), r.sep), r.valid) << r.text << " sep " << char(r.sep);
}

TEST(PolynomialOperations, GiveTheTextbookResults) {
    const struct {
        char op;
        const char *p, *q, *result;
        int n = 2;
    } rows[] = {
        {'+', "5x^3-3x^2+6x", "x^2+3", "5x^3-2x^2+6x+3"},
        {'-', "5x^3-3x^2+6x", "x^2+3", "5x^3-4x^2+6x-3"},
        {'.', "5x^3-3x^2+6x", "x^2+3", "5x^5+21x^3-3x^4-9x^2+18x"},
        {'/', "5x^3-3x^2+6x", "x^2+3", "5x-3 r -9x+9"},
        {'^', "5x^3-3x^2+6x", "", "25x^6-30x^5+69x^4-36x^3+36x^2"},
        {'^', "x-y", "", "x^3-3x^2y+3xy^2-y^3", 3},
        {'^', "2x+y", "", "1", 0},
        {'/', "x^2-1", "x-1", "x+1 r 0"},
        {'.', "x+y", "y-x", "-x^2+y^2"},
        {'/', "x^2+2xy+y^2", "x+y", "x+y r 0"},
        {'/', "y^2+2xy+x^2", "x+y", "x+y r 0"},
        {'/', "x^2+0,3x+0,02", "x+0,1", "x+0,2 r 0"},
        {'/', "0,1x^2+x", "3x+1", "0,033x+0,322 r -0,322"}, // a step's leading term goes exactly
        {'/', "x^3", "x^5", "0 r x^3"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(S(Command(r.op, QString::fromUtf8(r.p), QString::fromUtf8(r.q), r.n)), r.result)
            << r.p << ' ' << r.op << ' ' << r.q;
}

TEST(PolynomialOperations, RefuseWhatCannotEndOrFit) {
    const QString huge = QStringLiteral("1") + QString(300, u'0') + QStringLiteral("x");
    const QString beyondDouble = QStringLiteral("1") + QString(400, u'0') + QStringLiteral("x");
    QStringList terms;
    for (int i = 1; i <= 1001; ++i)
        terms << QStringLiteral("x^%1").arg(i);
    const QString manyTerms = terms.mid(0, 200).join(u'+'), overLimit = terms.join(u'+');
    struct Row {
        std::function<QString()> run;
        TPolynomError error;
        const char *what;
    } rows[] = {
        {[] { return Command('/', "x^2", "xy"); }, TPolynomError::DivisorLeadingTerm,
         "leading term with another variable"},
        {[] { return Command('/', "x^2", "x+xy"); }, TPolynomError::DivisorLeadingTerm, "two leading terms"},
        {[] { return Command('/', "x^2", "x-x"); }, TPolynomError::DivisionByZero, "zero divisor"},
        {[] { return Command('/', "x^30000", "x+1"); }, TPolynomError::TooManyTerms, "30000 quotient terms"},
        {[] { return Command('^', "a+b+c+d+e", "", 30); }, TPolynomError::TooManyTerms, "five variables to 30"},
        {[&] { return Command('^', manyTerms, "", 30); }, TPolynomError::TooMuchWork, "200 terms to 30"},
        {[&] { return Command('^', overLimit, "", 2); }, TPolynomError::TooMuchWork, "1001 terms squared"},
        {[] { return Command('.', "x^20000", "x^20000"); }, TPolynomError::ExponentRange, "product exponent"},
        {[] { return Command('/', "x^30000", "x^-10000"); }, TPolynomError::ExponentRange, "quotient exponent"},
        {[] { return Command('+', "x^30000x^30000", ""); }, TPolynomError::ExponentRange, "parsed exponent sum"},
        {[&] { return Command('.', huge, huge); }, TPolynomError::Overflow, "product beyond double"},
        {[&] { return Command('+', beyondDouble, ""); }, TPolynomError::Overflow, "typed beyond double"},
        {[] {
             Parsed("x^10+1").HornerScheme(1e300L);
             return QString();
         },
         TPolynomError::Overflow, "Horner at a huge m"},
    };
    for (const Row &r : rows) {
        std::optional<TPolynomError> error;
        try {
            r.run();
        } catch (const EPolynom &e) {
            error = e.Kind;
        }
        EXPECT_EQ(error, std::optional(r.error)) << r.what;
    }
}

// Divisions by x - a whose steps update terms made by earlier steps: the
// remainder is the dividend at x = a, and the quotient times the divisor
// plus the remainder is the dividend, both compared term by term through
// the model's own product and sums.
TEST(PolynomialOperations, QuotientTimesDivisorPlusRemainderIsTheDividend) {
    const struct {
        const char *base;
        int power;
        const char *divisor, *remainderBase; // the remainder is remainderBase^power
    } rows[] = {
        {"x+y+1", 24, "x+y+z+1", "-z"},
        {"x+y+1", 34, "x+y+z+1", "-z"}, // more updates than the term limit, never 700 terms at once
        {"2x-y+3", 9, "x-2y", "3y+3"},
        {"x+2y", 7, "x+3", "2y-3"},
    };
    const QChar sep = u',';
    // a - b is zero, b parsed into a's list
    const auto same = [sep](TPolynom a, const TPolynom &b) {
        a.AddText(b.ToText(sep), a.Variables(), true, false, sep);
        return a.IsZero();
    };
    for (const auto &r : rows) {
        const TPolynom divisor = Parsed(r.divisor);
        TPolynom power = Parsed(r.base), expected = Parsed(r.remainderBase);
        power.Power(r.power);
        expected.Power(r.power);
        const TPolynom dividend = Parsed(power.ToText(sep), divisor.Variables());
        TPolynom remainder, quotient, back;
        ASSERT_NO_THROW(TPolynom::Divide(dividend, divisor, remainder, quotient)) << r.base;
        EXPECT_TRUE(same(remainder, expected)) << r.base << ": " << S(remainder.ToText(sep));
        TPolynom::Multiply(quotient, divisor, back);
        back.AddText(remainder.ToText(sep), back.Variables(), false, false, sep);
        EXPECT_TRUE(same(back, dividend)) << r.base;
    }
}

// 1000 terms squared take exactly the work allowed: x^k has k-1 products up
// to x^1001, then one fewer each.
TEST(PolynomialOperations, TheWorkLimitItselfIsAllowed) {
    QStringList terms, square;
    for (int i = 1; i <= 1000; ++i)
        terms << QStringLiteral("x^%1").arg(i);
    for (int k = 2; k <= 2000; ++k) {
        const int c = std::min(k - 1, 2001 - k);
        square << (c == 1 ? QString() : QString::number(c)) + QStringLiteral("x^%1").arg(k);
    }
    EXPECT_EQ(S(Command('^', terms.join(u'+'), "")), S(square.join(u'+')));
}

TEST(HornerScheme, DividesByXMinusMOverAndOver) {
    struct Row {
        const char *q;
        long double m;
        std::vector<double> coefficients;
        std::vector<std::vector<double>> products, results;
    } rows[] = {
        {"x^3-6x^2+11x-6",
         2,
         {1, -6, 11, -6},
         {{2, -8, 6}, {2, -4}, {2}, {}},
         {{1, -4, 3, 0}, {1, -2, -1}, {1, 0}, {1}}},
        {"x^2+3", 0, {1, 0, 3}, {{0, 0}, {0}, {}}, {{1, 0, 3}, {1, 0}, {1}}},
        {"3+2x", -1, {2, 3}, {{-2}, {}}, {{2, 1}, {2}}},
        {"5", 7, {5}, {{}}, {{5}}},
        {"x-x", 1, {}, {}, {}},
    };
    for (const Row &r : rows) {
        const THornerSchema s = Parsed(QString::fromUtf8(r.q)).HornerScheme(r.m);
        EXPECT_EQ(s.Coefficients, r.coefficients) << r.q;
        std::vector<std::vector<double>> products, results;
        for (const THornerPass &p : s.Passes) {
            products.push_back(p.Products);
            results.push_back(p.Results);
        }
        EXPECT_EQ(products, r.products) << r.q;
        EXPECT_EQ(results, r.results) << r.q;
    }
}

TEST(HornerScheme, RefusesMoreThanOneVariableAndNegativeExponents) {
    EXPECT_THROW(Parsed(QStringLiteral("x+y")).HornerScheme(1), std::invalid_argument);
    EXPECT_THROW(Parsed(QStringLiteral("x^-1")).HornerScheme(1), std::invalid_argument);
}
