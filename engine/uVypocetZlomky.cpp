// The evaluator of exact fractions: the real set's operations on
// fractions of 64-bit parts, with no function names.
#include "uVypocet.h"

#include "PresnyZlomok.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace vypocet {

namespace {

constexpr qint64 MaxPart = std::numeric_limits<qint64>::max();

// A fraction register: the exact fraction N / D in lowest terms, D > 0, or
// D = 0 for a value divided by zero. A value whose parts leave 64 bits is
// too large (Err 20): arithmetic with it fails, but "%", "!", the checks of
// "nad", "div" and "mod" and the exponent of "^" still read its exact
// value, kept in BigN / BigD while it fits in 128 bits (Exact), beyond
// that its approximate value Approx and whether it is whole (Integral). So
// a typed 19-digit number with "%" stays exact, and "5 nad 21!" compares
// exact values.
struct TFrac : TExactFraction {
    TErrorCode Err = TErrorCode::None;
    bool Exact = false;
    bool Integral = false;
    long double Approx = 0;
    Int128 BigN = 0;
    Int128 BigD = 1;
};

TFrac Fraction(qint64 n, qint64 d) { return TFrac{{n, d}}; }
TFrac Failed(TErrorCode code) { return TFrac{{0, 1}, code}; }
// Too large even for 128 bits: only its value is known.
TFrac Huge(long double approx, bool whole) { return TFrac{{0, 1}, TErrorCode::TooLarge, false, whole, approx}; }

// n / d in lowest terms, the sign on the numerator; parts beyond 64 bits
// make a value too large (code 20) that keeps its exact parts.
TFrac MakeFraction(Int128 n, Int128 d) {
    if (d == 1 && Abs128(n) <= MaxPart)
        return Fraction(qint64(n), 1);
    LowestTerms(n, d);
    if (Abs128(n) > MaxPart || d > MaxPart)
        return TFrac{
            {0, 1}, TErrorCode::TooLarge, true, d == 1, static_cast<long double>(n) / static_cast<long double>(d), n,
            d};
    return Fraction(qint64(n), qint64(d));
}

// A number as written, read exactly: the digits without the zeros at
// either end, times a power of ten. Nothing is rounded: a value whose parts
// leave 64 bits is too large.
TFrac FractionLiteral(QStringView text, QChar sep) {
    TExactDecimal x;
    if (!ReadExactDecimal(text, sep, x))
        return Failed(TErrorCode::Unreadable);
    if (x.Mantissa == 0 && !x.TooManyDigits)
        return Fraction(0, 1);
    const long power = x.Power();
    const bool tooMany = x.TooManyDigits;
    if (tooMany || (power >= 0 && x.Digits + power > TExactDecimal::MaxDigits) || power < -TExactDecimal::MaxDigits) {
        long double v = 0; // a value beyond the 80-bit range is no number
        if (!TryStrToFloat(text, v, sep))
            return Failed(TErrorCode::Unreadable);
        return Huge(v, tooMany ? !HasFraction(v) : power >= 0);
    }
    const Int128 m = x.Mantissa;
    if (power == 0 && x.Digits <= 18) // a whole number of 64 bits, the usual literal
        return Fraction(qint64(x.Negative ? -m : m), 1);
    const Int128 numerator = power >= 0 ? m * PowerOfTen(power) : m;
    return MakeFraction(x.Negative ? -numerator : numerator, power >= 0 ? 1 : PowerOfTen(-power));
}

bool BeyondRange(const TFrac &f) { return f.Err == TErrorCode::TooLarge; }
long double ValueOf(const TFrac &f) {
    return BeyondRange(f) ? f.Approx : static_cast<long double>(f.N) / static_cast<long double>(f.D);
}
bool Whole(const TFrac &f) {
    if (!BeyondRange(f))
        return f.N % f.D == 0;
    return f.Exact ? f.BigD == 1 : f.Integral;
}
bool Negative(const TFrac &f) { return BeyondRange(f) ? f.Approx < 0 : f.N < 0; }
// Whether the whole value b lies above the whole value a.
bool Above(const TFrac &b, const TFrac &a) {
    if ((BeyondRange(a) && !a.Exact) || (BeyondRange(b) && !b.Exact))
        return ValueOf(b) > ValueOf(a);
    const Int128 x = BeyondRange(a) ? a.BigN : Int128(a.N / a.D);
    const Int128 y = BeyondRange(b) ? b.BigN : Int128(b.N / b.D);
    return y > x;
}

// A part raised to a power that is not whole, kept as the 15 significant
// digits it is written with.
TFrac PartPower(qint64 x, long double p, QChar sep) {
    if (x < 0)
        return Failed(TErrorCode::TooLarge); // a root of a negative number
    if (x == 0)
        return Fraction(0, 1);
    const long double v = std::pow(static_cast<long double>(x), p);
    if (!std::isfinite(v))
        return Failed(TErrorCode::TooLarge);
    if (v < 1e15L && v == std::trunc(v))
        return Fraction(qint64(v), 1);
    return FractionLiteral(FormatFloat(QStringLiteral("0.##############E-0"), v, sep), sep);
}

// x^p for a whole p >= 0, exactly; false when it leaves 128 bits.
bool WholePower(qint64 x, qint64 p, Int128 &r) {
    r = 1;
    if (p == 0)
        return true;
    if (x == 0 || x == 1) {
        r = x;
        return true;
    }
    if (x == -1) {
        r = (p % 2 == 0) ? 1 : -1;
        return true;
    }
    if (p > 127)
        return false;
    for (qint64 k = 0; k < p; ++k)
        if (__builtin_mul_overflow(r, Int128(x), &r))
            return false;
    return true;
}

// What reading an operand as one real number reports: a text that is no
// number, or a denominator of zero. A value beyond 64 bits is read by its
// exact (or approximate) value here.
TErrorCode ReadCode(const TFrac &f) {
    if (f.Err != TErrorCode::None && f.Err != TErrorCode::TooLarge)
        return f.Err;
    if (f.Err == TErrorCode::None && f.D == 0)
        return f.N == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero;
    return TErrorCode::None;
}

// The value of a part as a real number needs a denominator.
TErrorCode DenominatorCode(const TFrac &f) {
    return f.D != 0 ? TErrorCode::None : (f.N == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero);
}

// The first of the codes that is not None.
TErrorCode FirstFault(TErrorCode a, TErrorCode b) { return a != TErrorCode::None ? a : b; }

// The steps of the operations, each the value r of its operands or the
// code of its fault.

TErrorCode PercentStep(TOp op, const TFrac &b, TFrac &r) {
    if (b.Err != TErrorCode::None && !BeyondRange(b))
        return b.Err;
    const bool exact = !BeyondRange(b) || b.Exact;
    const Int128 n = BeyondRange(b) ? b.BigN : Int128(b.N);
    const Int128 d = BeyondRange(b) ? b.BigD : Int128(b.D);
    Int128 hundred = 0, top = n;
    bool fits = exact && !__builtin_mul_overflow(d, Int128(100), &hundred);
    if (fits && op == TOp::PercentPlus)
        fits = !__builtin_add_overflow(hundred, n, &top);
    else if (fits && op == TOp::PercentMinus)
        fits = !__builtin_sub_overflow(hundred, n, &top);
    if (fits) {
        r = MakeFraction(top, hundred);
        return TErrorCode::None;
    }
    // Beyond 128 bits: whether it is whole is as far as its value tells.
    const long double v = ValueOf(b);
    const long double x = op == TOp::PercentPlain  ? v / 100
                          : op == TOp::PercentPlus ? (100 + v) / 100
                                                   : (100 - v) / 100;
    r = Huge(x, !HasFraction(x));
    return TErrorCode::None;
}

// a^e for an exponent beyond 64 bits, which leaves only 0, 1 and -1 in
// range.
TErrorCode PowerBeyondRange(const TFrac &a, const TFrac &e, TFrac &r) {
    if (const TErrorCode c = DenominatorCode(a); c != TErrorCode::None)
        return c;
    if (a.N == 0)
        r = Negative(e) ? Fraction(1, 0) : Fraction(0, 1);
    else if (a.N == 1 && a.D == 1)
        r = Fraction(1, 1);
    else if (a.N == -1 && a.D == 1 && e.Exact && e.BigD == 1)
        r = Fraction(e.BigN % 2 == 0 ? 1 : -1, 1);
    else
        return TErrorCode::TooLarge;
    return TErrorCode::None;
}

// n/d to the whole power k: exact while 128 bits hold it, beyond that its
// approximate value.
TErrorCode WholePowerStep(qint64 n, qint64 d, qint64 k, TFrac &r) {
    if (k < 0) {
        std::swap(n, d);
        k = -k;
    }
    Int128 pn, pd;
    if (WholePower(n, k, pn) && WholePower(d, k, pd)) {
        r = MakeFraction(pn, pd);
        return TErrorCode::None;
    }
    const long double pn80 = std::pow(static_cast<long double>(n), static_cast<long double>(k));
    const long double pd80 = std::pow(static_cast<long double>(d), static_cast<long double>(k));
    if (!std::isfinite(pn80) || !std::isfinite(pd80))
        return TErrorCode::TooLarge; // beyond the 80-bit range
    r = Huge(pn80 / pd80, d == 1 || d == -1);
    return TErrorCode::None;
}

TErrorCode PowerStep(const TFrac &a, const TFrac &e, QChar sep, TFrac &r) {
    if (a.Err != TErrorCode::None)
        return a.Err;
    if (BeyondRange(e))
        return PowerBeyondRange(a, e, r);
    if (e.Err != TErrorCode::None)
        return e.Err;
    if (const TErrorCode c = DenominatorCode(e); c != TErrorCode::None)
        return c;
    // A value over zero raised to a power stays a division by zero:
    // (1/0)^(-1) is no 0.
    if (const TErrorCode c = DenominatorCode(a); c != TErrorCode::None)
        return c;
    qint64 n = a.N, d = a.D;
    if (e.N % e.D == 0)
        return WholePowerStep(n, d, e.N / e.D, r);
    long double k = static_cast<long double>(e.N) / static_cast<long double>(e.D);
    if (k < 0) {
        std::swap(n, d);
        k = -k;
    }
    const TFrac pn = PartPower(n, k, sep), pd = PartPower(d, k, sep);
    if (pn.Err != TErrorCode::None || pd.Err != TErrorCode::None)
        return TErrorCode::TooLarge;
    r = MakeFraction(Int128(pn.N) * pd.D, Int128(pn.D) * pd.N);
    return TErrorCode::None;
}

TErrorCode FactorialStep(const TFrac &a, TFrac &r) {
    if (const TErrorCode c = ReadCode(a); c != TErrorCode::None)
        return c;
    if (!Whole(a) || Negative(a))
        return TErrorCode::FactorialOfNonNatural;
    if (BeyondRange(a) || a.N / a.D > 65535)
        return TErrorCode::TooLarge;
    const qint64 x = a.N / a.D;
    long double approx = 1;
    Int128 v = 1;
    bool exact = true;
    for (qint64 k = 2; k <= x; ++k) {
        approx *= static_cast<long double>(k);
        exact = exact && !__builtin_mul_overflow(v, Int128(k), &v);
    }
    if (!std::isfinite(approx))
        return TErrorCode::TooLarge;
    // Beyond 20! the value is too large; it fails where it is used.
    r = exact ? MakeFraction(v, 1) : Huge(approx, true);
    return TErrorCode::None;
}

TErrorCode BinomialStep(const TFrac &a, const TFrac &b, TFrac &r) {
    if (const TErrorCode c = FirstFault(ReadCode(a), ReadCode(b)); c != TErrorCode::None)
        return c;
    if (!Whole(a) || !Whole(b) || Negative(a) || Negative(b))
        return TErrorCode::NonIntegerOperand;
    if (Above(b, a))
        return TErrorCode::BinomialKAboveN;
    if (BeyondRange(a) || BeyondRange(b) || a.N / a.D > 65535)
        return TErrorCode::TooLarge;
    const qint64 n = a.N / a.D, k = b.N / b.D;
    const qint64 m = std::min(k, n - k);
    Int128 v = 1;
    bool exact = true;
    long double approx = 1;
    for (qint64 i = 1; i <= m; ++i) {
        approx = approx * static_cast<long double>(n - m + i) / static_cast<long double>(i);
        if (exact) {
            exact = !__builtin_mul_overflow(v, Int128(n - m + i), &v);
            v /= i;
        }
    }
    if (!std::isfinite(approx))
        return TErrorCode::TooLarge;
    r = exact ? MakeFraction(v, 1) : Huge(approx, true);
    return TErrorCode::None;
}

// "div" (isDiv) or "mod" of two whole numbers.
TErrorCode WholeQuotientStep(bool isDiv, const TFrac &a, const TFrac &b, TFrac &r) {
    if (const TErrorCode c = FirstFault(ReadCode(a), ReadCode(b)); c != TErrorCode::None)
        return c;
    if (!Whole(a) || !Whole(b))
        return TErrorCode::NonIntegerOperand;
    if (BeyondRange(a) || BeyondRange(b))
        return TErrorCode::TooLarge;
    const qint64 x = a.N / a.D, y = b.N / b.D;
    if (y == 0)
        return TErrorCode::DivisionByZero;
    r = Fraction(isDiv ? x / y : x % y, 1);
    return TErrorCode::None;
}

TErrorCode ArithmeticStep(TOp op, const TFrac &a, const TFrac &b, TFrac &r) {
    if (const TErrorCode c = FirstFault(a.Err, b.Err); c != TErrorCode::None)
        return c;
    Int128 n, d;
    if (op == TOp::Multiply || op == TOp::Divide) {
        // A factor over zero is a division by zero whatever the other
        // factor: 1/0^(-1) is no 0.
        if (const TErrorCode c = FirstFault(DenominatorCode(a), DenominatorCode(b)); c != TErrorCode::None)
            return c;
        n = Int128(a.N) * (op == TOp::Multiply ? b.N : b.D);
        d = Int128(a.D) * (op == TOp::Multiply ? b.D : b.N);
        // A quotient over zero stops the evaluation.
        if (d == 0)
            return n == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero;
    } else {
        const Int128 x = Int128(a.N) * b.D, y = Int128(b.N) * a.D;
        n = op == TOp::Add ? x + y : x - y;
        d = Int128(a.D) * b.D;
    }
    r = MakeFraction(n, d);
    return TErrorCode::None;
}

TFrac Negated(TFrac v) {
    v.N = -v.N;
    v.BigN = -v.BigN;
    v.Approx = -v.Approx;
    return v;
}

// A group's value and the whole expression's must be a number.
TErrorCode CompleteStep(const TFrac &v, TFrac &r) {
    if (v.Err != TErrorCode::None)
        return v.Err;
    if (const TErrorCode c = DenominatorCode(v); c != TErrorCode::None)
        return c;
    r = v;
    return TErrorCode::None;
}

bool RunFraction(const TProgram &p, TFrac *R, TChyba &err, TFrac &result) {
    for (const TInstruction &in : p.Code) {
        TErrorCode c = TErrorCode::None;
        switch (in.Op) {
        case TOp::Function: // no functions here: the name is a malformed part
            R[in.Dst] = Failed(TErrorCode::Unreadable);
            break;
        case TOp::PercentPlain:
        case TOp::PercentPlus:
        case TOp::PercentMinus: c = PercentStep(in.Op, R[in.A], R[in.Dst]); break;
        case TOp::Power: c = PowerStep(R[in.A], R[in.B], p.Separator, R[in.Dst]); break;
        case TOp::Factorial: c = FactorialStep(R[in.A], R[in.Dst]); break;
        case TOp::Binomial:
            if ((c = BinomialStep(R[in.A], R[in.B], R[in.Dst])) == TErrorCode::NonIntegerOperand)
                err.Param1 = WordOperatorName(TWordOperator::Nad).toString();
            break;
        case TOp::IntegerDivide:
        case TOp::Remainder: {
            const bool isDiv = in.Op == TOp::IntegerDivide;
            if ((c = WholeQuotientStep(isDiv, R[in.A], R[in.B], R[in.Dst])) == TErrorCode::NonIntegerOperand)
                err.Param1 = WordOperatorName(isDiv ? TWordOperator::Div : TWordOperator::Mod).toString();
            break;
        }
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: c = ArithmeticStep(in.Op, R[in.A], R[in.B], R[in.Dst]); break;
        case TOp::Negate: R[in.Dst] = Negated(R[in.A]); break;
        case TOp::GroupEnd: c = CompleteStep(R[in.A], R[in.Dst]); break;
        case TOp::Final:
            if ((c = CompleteStep(R[in.A], R[in.Dst])) == TErrorCode::None)
                result = R[in.Dst];
            break;
        case TOp::Fail: c = in.Code; break;
        }
        if (c != TErrorCode::None) {
            err.Set(c); // keeps the name a step gave
            return false;
        }
    }
    return true;
}

} // namespace

bool RunFractionProgram(const TProgram &p, TChyba &err, TExactFraction &value) {
    TRegisters<TFrac> regs(p.RegisterCount);
    TFrac *R = regs.data;
    for (const prekladac::TLiteral &literal : p.Literals)
        R[literal.Register] = FractionLiteral(p.Text(literal), p.Separator);
    for (const qint32 r : p.InvalidRegisters)
        R[r] = Failed(TErrorCode::Unreadable);
    for (const qint32 r : p.ZeroRegisters)
        R[r] = Fraction(0, 1);
    for (const qint32 r : p.SlotRegisters)
        R[r] = Failed(TErrorCode::Unreadable);
    TFrac v;
    if (!RunFraction(p, R, err, v))
        return false;
    value = v;
    return true;
}

} // namespace vypocet
