// The fraction road against exact rationals: generated texts with numbers of
// 1 to 25 digits (decimals, exponents) and every operator of the set. The
// answer is the exact reduced value when its parts fit in 64 bits, code 20
// when a value that takes part in the arithmetic does not. More texts with
// TARBELON_GENERATED_CASES=<n>.
#include "Analyzator.h"
#include "ZlomkovyAnalyzator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using Int128 = __int128;
constexpr Int128 Max64 = std::numeric_limits<qint64>::max();

// Ok: parts within 64 bits; Big: beyond, exact; Over: beyond 128 bits
// (only whether whole and about how large); a value over zero; a code.
enum class TStav { Ok, Big, Over, DivZero, ZeroByZero, Error };

struct TQ {
    TStav State = TStav::Ok;
    Int128 N = 0, D = 1;
    int Code = 0;
    bool Whole = true;
    long double Approx = 0;
};

TQ Error(int code) { return TQ{TStav::Error, 0, 1, code}; }
TQ Over(bool whole, long double approx) { return TQ{TStav::Over, 0, 1, 0, whole, approx}; }

TQ Make(Int128 n, Int128 d) {
    if (d == 0)
        return TQ{n == 0 ? TStav::ZeroByZero : TStav::DivZero};
    if (d < 0)
        n = -n, d = -d;
    Int128 a = n < 0 ? -n : n, b = d;
    while (b != 0)
        a = std::exchange(b, a % b);
    n /= a, d /= a;
    return TQ{n > Max64 || -n > Max64 || d > Max64 ? TStav::Big : TStav::Ok, n, d};
}

bool Exact(const TQ &q) { return q.State == TStav::Ok || q.State == TStav::Big; }
bool Whole(const TQ &q) { return Exact(q) ? q.D == 1 : q.Whole; }
bool Negative(const TQ &q) { return Exact(q) ? q.N < 0 : q.Approx < 0; }
// An operand read as a number: a zero denominator is a fault.
int ReadCode(const TQ &q) { return q.State == TStav::DivZero ? 25 : q.State == TStav::ZeroByZero ? 20 : 0; }
// A value that must be a fraction of 64-bit parts (the end of a group).
int ValueCode(const TQ &q) {
    return q.State == TStav::Error ? q.Code : q.State == TStav::Ok ? 0 : q.State == TStav::DivZero ? 25 : 20;
}

// x%, or with sign +1 / -1 the factor (100 + x)/100 / (100 - x)/100 of "a+x%", "a-x%".
TQ Percent(const TQ &x, int sign) {
    if (!Exact(x))
        return x; // a value over zero stays one
    return Make(Int128(100) * x.D * (sign != 0) + sign * x.N + (sign == 0) * x.N, Int128(100) * x.D);
}

TQ Arithmetic(char op, const TQ &a, const TQ &b) {
    if (a.State == TStav::Big || a.State == TStav::Over || b.State == TStav::Big || b.State == TStav::Over)
        return Error(20);
    if (op == '*' || op == '/') {
        if (const int c = ReadCode(a) ? ReadCode(a) : ReadCode(b))
            return Error(c);
        if (op == '/' && b.N == 0)
            return Error(a.N == 0 ? 20 : 25);
        return op == '*' ? Make(a.N * b.N, a.D * b.D) : Make(a.N * b.D, a.D * b.N);
    }
    if (!Exact(a) || !Exact(b)) // n/0 + x is n/0, n/0 - m/0 is 0/0
        return TQ{a.State == b.State || a.State == TStav::ZeroByZero || b.State == TStav::ZeroByZero ? TStav::ZeroByZero
                                                                                                     : TStav::DivZero};
    return Make(op == '+' ? a.N * b.D + b.N * a.D : a.N * b.D - b.N * a.D, a.D * b.D);
}

TQ Power(const TQ &a, int k) {
    if (a.State == TStav::Big || a.State == TStav::Over)
        return Error(20);
    if (const int c = ReadCode(a))
        return Error(c);
    Int128 n = k < 0 ? a.D : a.N, d = k < 0 ? a.N : a.D, pn = 1, pd = 1;
    bool fits = true;
    for (int i = 0; i < std::abs(k); ++i)
        fits = fits && !__builtin_mul_overflow(pn, n, &pn) && !__builtin_mul_overflow(pd, d, &pd);
    if (!fits)
        return Over(d == 1 || d == -1, std::pow((long double)n, std::abs(k)) / std::pow((long double)d, std::abs(k)));
    return Make(pn, pd);
}

TQ Factorial(const TQ &a) {
    if (const int c = ReadCode(a))
        return Error(c);
    if (!Whole(a) || Negative(a))
        return Error(24);
    if (a.State != TStav::Ok || a.N > 1754) // beyond 64 bits, or beyond the 80-bit range
        return Error(20);
    Int128 v = 1;
    long double approx = 1;
    bool fits = true;
    for (Int128 k = 2; k <= a.N; ++k) {
        approx *= (long double)k;
        fits = fits && !__builtin_mul_overflow(v, k, &v);
    }
    return fits ? Make(v, 1) : Over(true, approx);
}

TQ Word(const QString &word, const TQ &a, const TQ &b) {
    if (const int c = ReadCode(a) ? ReadCode(a) : ReadCode(b))
        return Error(c);
    const bool nad = word == QLatin1String("nad");
    if (!Whole(a) || !Whole(b) || (nad && (Negative(a) || Negative(b))))
        return Error(27);
    if (nad && (Exact(a) && Exact(b) ? b.N > a.N : (Exact(b) ? b.N : b.Approx) > (Exact(a) ? a.N : a.Approx)))
        return Error(28);
    if (a.State != TStav::Ok || b.State != TStav::Ok || (nad && a.N > 65535))
        return Error(20);
    if (!nad)
        return b.N == 0 ? Error(25) : Make(word == QLatin1String("div") ? a.N / b.N : a.N % b.N, 1);
    const Int128 m = std::min(b.N, a.N - b.N);
    Int128 v = 1;
    for (Int128 i = 1; i <= m; v /= i, ++i)
        if (__builtin_mul_overflow(v, a.N - m + i, &v))
            return Over(true, 0); // ends a group: code 20
    return Make(v, 1);
}

// Generated texts with their exact values. A group holds one operand (maybe
// with a sign), a power, or two operands with an operator; an operand is a
// number or a group, maybe with "%" or "!". The road evaluates the groups
// from the last opened to the first, then "%", "^", "!", the operators.
class TGenerator {
public:
    TGenerator(quint32 seed, QChar sep) : m_rng(seed), m_sep(sep) {}

    // The road appends "+0", which ends the whole text as a group ends.
    TQ Text(QString &text) {
        const TQ v = Group(text, 0);
        return ValueCode(v) ? Error(ValueCode(v)) : v;
    }

private:
    std::mt19937 m_rng;
    QChar m_sep;

    struct TOperand {
        QString Text;
        TQ Value;
        char Unary = 0; // '%' or '!'
    };

    int Pick(int n) { return int(m_rng() % quint32(n)); }

    TOperand Number() {
        const int kind = Pick(10); // small, long, with an exponent
        const int digits = kind < 4 ? 1 + Pick(2) : kind < 9 ? 1 + Pick(25) : 1 + Pick(15);
        const int decimals = kind < 4 ? (Pick(4) == 0) : Pick(2) ? Pick(digits + 1) : 0;
        const int exponent = kind == 9 ? Pick(41) - 20 : 0;
        QString all;
        Int128 m = 0, scale = 1;
        for (int i = 0; i < digits; ++i) {
            const int digit = Pick(3) == 0 ? 0 : Pick(10);
            all += QChar('0' + digit);
            m = m * 10 + digit;
        }
        QString text = all.left(digits - decimals);
        while (text.size() > 1 && text.startsWith(QLatin1Char('0')))
            text.remove(0, 1);
        text = (text.isEmpty() ? QStringLiteral("0") : text) + (decimals ? m_sep + all.right(decimals) : QString());
        if (kind == 9)
            text += QStringLiteral("e") + QString::number(exponent);
        for (int i = 0; i < std::abs(exponent - decimals); ++i)
            scale *= 10;
        return TOperand{text, exponent >= decimals ? Make(m * scale, 1) : Make(m, scale)};
    }

    // A number or a group; the group's end checks its value.
    TOperand Term(int depth) {
        if (depth >= 3 || Pick(3) != 0)
            return Number();
        QString inner;
        const TQ v = Group(inner, depth + 1);
        return TOperand{QLatin1Char('(') + inner + QLatin1Char(')'), ValueCode(v) ? Error(ValueCode(v)) : v};
    }

    TOperand Unary(int depth, int odds) {
        TOperand t = Term(depth);
        const int r = Pick(odds);
        t.Unary = r == 0 ? '%' : r == 1 ? '!' : 0;
        if (t.Unary)
            t.Text += QChar(t.Unary);
        return t;
    }

    // A small whole exponent, a negative one in brackets.
    int Exponent(QString &text) {
        const int k = Pick(9) - 4;
        text += QLatin1Char('^') + (k >= 0 ? QString::number(k) : QStringLiteral("(-%1)").arg(-k));
        return k;
    }

    TQ Group(QString &text, int depth) {
        const int shape = Pick(depth == 0 ? 8 : 10);
        static const char *ops[] = {"+", "-", "*", "/", " nad ", " div ", " mod ", "+", "-", "*", "/"};
        const QString op = shape < 2 ? QString() : QString::fromLatin1(ops[Pick(int(std::size(ops)))]);
        const bool minus = shape == 0 && Pick(2) == 0;
        TOperand left = Unary(depth, shape == 1 ? 4 : 8), right;
        int k = 0;
        const bool power = shape == 1 || (shape >= 2 && Pick(5) == 0);
        if (shape == 1) {
            k = Exponent(left.Text);
        } else if (power) {
            right = Term(depth);
            k = Exponent(right.Text);
        } else if (shape >= 2) {
            right = Unary(depth, 8);
        }
        text = (minus ? QStringLiteral("-") : QString()) + left.Text + op + right.Text;
        if (right.Value.State == TStav::Error) // the groups, last opened first
            return right.Value;
        if (left.Value.State == TStav::Error)
            return left.Value;
        const QString word = op.trimmed();
        const bool sum = word == QLatin1String("+") || word == QLatin1String("-");
        const int sign = right.Unary == '%' && sum ? (word == QLatin1String("+") ? 1 : -1) : 0;
        TQ a = left.Unary == '%' ? Percent(left.Value, 0) : left.Value;
        TQ b = right.Unary == '%' ? Percent(right.Value, sign) : right.Value;
        if (shape == 1 && left.Unary == '!') // a factorial as a base goes with its power
            a = Factorial(a);
        if (shape == 1)
            return a.State == TStav::Error ? a : Power(a, k);
        if (power && (b = Power(b, k)).State == TStav::Error)
            return b;
        if (left.Unary == '!' && (a = Factorial(a)).State == TStav::Error)
            return a;
        if (right.Unary == '!' && (b = Factorial(b)).State == TStav::Error)
            return b;
        if (shape == 0)
            return minus ? Arithmetic('-', Make(0, 1), a) : a;
        if (sign != 0)
            return Arithmetic('*', a, b);
        return word.size() == 1 ? Arithmetic(word.at(0).toLatin1(), a, b) : Word(word, a, b);
    }
};

} // namespace

TEST(ZlomkyGenerovane, TheRoadGivesTheExactValueOrCode20) {
    const int count = qEnvironmentVariableIsSet("TARBELON_GENERATED_CASES")
                          ? qEnvironmentVariableIntValue("TARBELON_GENERATED_CASES")
                          : 4000;
    int values = 0, tooLarge = 0, differences = 0;
    for (const QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
        TEvaluationContext context(sep);
        TGenerator gen(sep.unicode(), sep);
        for (int i = 0; i < count / 2 && differences < 20; ++i) {
            QString text;
            const TQ expected = gen.Text(text);
            TChyba check;
            CheckSyntax(text, context, check);
            ASSERT_FALSE(check.Failed()) << text.toStdString();
            const int code = ValueCode(expected);
            QString token;
            if (code == 0)
                token = QStringLiteral("[%1%2%3]")
                            .arg(expected.N >= 0 ? QStringLiteral("+") : QString())
                            .arg(qint64(expected.N))
                            .arg(expected.D != 1 ? QStringLiteral("|%1").arg(qint64(expected.D)) : QString());
            const TEngineResult r = EvaluateFraction(text, context);
            const bool same = CodeNumber(r.Error.Code) == code && r.Token == token;
            EXPECT_TRUE(same) << text.toStdString() << "\n  road:  " << int(CodeNumber(r.Error.Code)) << " "
                              << r.Token.toStdString() << "\n  exact: " << code << " " << token.toStdString();
            differences += !same;
            values += code == 0;
            tooLarge += code == 20;
        }
    }
    // Both outcomes come often enough to mean something.
    EXPECT_GT(values, count / 5);
    EXPECT_GT(tooLarge, count / 10);
}
