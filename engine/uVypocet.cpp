// The evaluators of the four number sets over one compiled program. Each
// runs the instructions in order with a register file of its own number
// type; the first instruction that fails stops it with its code.
#include "uKompilovanyVyraz.h"

#include "Analyzator.h"
#include "PrevodySustav.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <tuple>
#include <limits>
#include <numbers>

using namespace prekladac;

namespace {

constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double DegreesToRadians = Pi / 180.0L;
constexpr long double GradsToRadians = Pi / 200.0L;
constexpr long double RadiansToDegrees = 180.0L / Pi;
constexpr long double RadiansToGrads = 200.0L / Pi;
constexpr long double MaxFactorialOperand = 65535.0L;
// Above this the factorial leaves the 80-bit range.
constexpr long double LargestFiniteFactorial = 1754.0L;

// Whether v is finite, as std::isfinite, but without loading the largest
// 80-bit value from memory, which costs more than an addition: v - v is 0
// exactly for a finite v, NaN for an infinity or a NaN.
inline bool Finite80(long double v) { return v - v == 0; }

TErrorCode CodeOf(qint32 aux) { return TErrorCode(quint8(aux)); }

// --- real numbers ---------------------------------------------------------------

// n over k for whole n, k with 0 <= k <= n, as a product that stays exact
// while the values fit and overflows only when the result does.
long double Binomial(long double n, long double k) {
    const long double m = std::min(k, n - k);
    long double v = 1;
    for (long double i = 1; i <= m && std::isfinite(v); i += 1)
        v = v * (n - m + i) / i;
    return v;
}

// The error of a function of x outside its domain, or of one whose value
// overflows. Out of line: the sampling road's loop stays small.
[[gnu::noinline, gnu::cold]] void FunctionFault(int index, long double x, const TProgram &p, bool domain,
                                                TChyba &err) {
    if (domain) {
        err.Set(TErrorCode::OutsideDomain);
        QString shown;
        FormatNumber(2, 10, shown, x, p.Separator);
        err.Param1 = shown;
        err.Param2 = FunctionNames().at(index);
    } else {
        err.Set(TErrorCode::FunctionOverflow);
        err.Param1 = FunctionNames().at(index);
    }
}

// A built-in function of x; false with the code in err on failure. Inlined
// into the evaluator, so that x and the value stay in the FPU's registers.
[[gnu::always_inline]] inline bool FunctionValue(int index, long double x, const TProgram &p, long double &value,
                                                 TChyba &err) {
    const TAngleUnit unit = p.AngleUnit;
    enum { Ok, Domain, Overflow } fault = Ok;
    long double v = 0;

    // Direct trigonometric functions: the argument in the angle unit. In
    // degrees and grads it is reduced by whole turns first (exactly), so the
    // poles of the tangent and cotangent are recognised.
    auto toRadians = [unit](long double t) {
        if (unit == TAngleUnit::Degrees)
            return std::fmod(t, 360.0L) * DegreesToRadians;
        if (unit == TAngleUnit::Grads)
            return std::fmod(t, 400.0L) * GradsToRadians;
        return t;
    };
    auto onQuarterPole = [unit, x](bool odd) {
        // odd: at 90, 270 degrees (tangent); even: at 0, 180 degrees (cotangent)
        const long double half = unit == TAngleUnit::Degrees ? 180.0L : 200.0L;
        const long double r = std::fabs(std::fmod(x, half));
        return odd ? r == half / 2 : r == 0;
    };
    auto fromRadians = [unit](long double t) {
        if (unit == TAngleUnit::Degrees)
            return t * RadiansToDegrees;
        if (unit == TAngleUnit::Grads)
            return t * RadiansToGrads;
        return t;
    };
    const bool radians = unit == TAngleUnit::Radians;

    switch (index) {
    case 33: // rnd
        v = std::nearbyint(x);
        break;
    case 30: // sqr
        v = x * x;
        break;
    case 29: // sqrt
        if (x < 0)
            fault = Domain;
        else
            v = std::sqrt(x);
        break;
    case 24: // abs
        v = std::fabs(x);
        break;
    case 27: // log
    case 28: // ln
        if (x <= 0)
            fault = Domain;
        else
            v = index == 27 ? std::log10(x) : std::log(x);
        break;
    case 31: // deg
        v = DmsToDegrees(x);
        break;
    case 32: // dms
        v = DegreesToDms(x);
        break;
    case 25: // sign
        v = x > 0 ? 1 : (x < 0 ? -1 : 0);
        break;
    case 26: { // logy
        if (p.LogyBaseCode == TErrorCode::MissingValue) {
            err.Set(TErrorCode::MissingValue); // "y" has no value
            return false;
        }
        if (p.LogyBaseCode == TErrorCode::UnreadableValue) {
            err.Set(TErrorCode::UnreadableValue);
            err.Param1 = QStringLiteral("y");
            return false;
        }
        const long double y = p.LogyBase;
        if (x <= 0 || y <= 0 || y == 1)
            fault = Domain;
        else
            v = std::log(x) / std::log(y);
        break;
    }
    case 22: // sin
        v = std::sin(toRadians(x));
        break;
    case 23: // cos
        v = std::cos(toRadians(x));
        break;
    case 14: // tan
    case 15: // tg
        if (!radians && onQuarterPole(true))
            fault = Domain;
        else
            v = std::tan(toRadians(x));
        break;
    case 10: // cotan
    case 11: { // cotg
        const long double t = toRadians(x);
        if ((!radians && onQuarterPole(false)) || t == 0)
            fault = Domain;
        else
            v = 1.0L / std::tan(t);
        break;
    }
    case 17: // arcsin
    case 19: // arccos
        if (x < -1 || x > 1)
            fault = Domain;
        else
            v = fromRadians(index == 17 ? std::asin(x) : std::acos(x));
        break;
    case 6: // arctan
    case 7: // arctg
        v = fromRadians(std::atan(x));
        break;
    case 2: // arccotg
    case 3: // arccot
        v = fromRadians(Pi / 2 - std::atan(x)); // values from 0 to pi
        break;
    case 20: // sinh
        v = std::sinh(x);
        break;
    case 21: // cosh
        v = std::cosh(x);
        break;
    case 12: // tanh
    case 13: // tgh
        v = std::tanh(x);
        break;
    case 8: // cotanh
    case 9: // cotgh
        if (x == 0)
            fault = Domain;
        else
            v = 1.0L / std::tanh(x);
        break;
    case 16: // arcsinh
        v = std::asinh(x);
        break;
    case 18: // arccosh
        if (x < 1)
            fault = Domain;
        else
            v = std::acosh(x);
        break;
    case 4: // arctanh
    case 5: // arctgh
        if (x <= -1 || x >= 1)
            fault = Domain;
        else
            v = std::atanh(x);
        break;
    default: // 0 arccoth, 1 arccotgh
        if (x >= -1 && x <= 1)
            fault = Domain;
        else
            v = std::atanh(1.0L / x);
        break;
    }

    if (fault == Ok && !Finite80(v))
        fault = std::isnan(v) ? Domain : Overflow;
    if (fault != Ok) [[unlikely]] {
        FunctionFault(index, x, p, fault == Domain, err);
        return false;
    }
    value = v;
    return true;
}

// The sampling road computes a sine and a cosine of one argument together
// (one reduction of the argument instead of two, as a C++ compiler makes of
// sinl(x) + cosl(x)): the instruction of the one met first carries this bit
// in Aux and the register of the other in B.
constexpr qint32 SineCosinePair = 0x100;
constexpr qint32 SineIndex = 22;
constexpr qint32 CosineIndex = 23;

// sin and cos of x; value is the function `first`'s, other the other's.
// They fail as the two functions one after the other would: only for an
// argument that is no finite number, and then in the first.
bool SineAndCosine(qint32 first, long double x, const TProgram &p, long double &value, long double &other,
                   TChyba &err) {
    long double t = x;
    if (p.AngleUnit == TAngleUnit::Degrees)
        t = std::fmod(x, 360.0L) * DegreesToRadians;
    else if (p.AngleUnit == TAngleUnit::Grads)
        t = std::fmod(x, 400.0L) * GradsToRadians;
    long double s = 0, c = 0;
    sincosl(t, &s, &c);
    value = first == SineIndex ? s : c;
    other = first == SineIndex ? c : s;
    if (!Finite80(value) || !Finite80(other)) {
        // As the functions one by one report it.
        long double v = 0;
        if (!FunctionValue(first, x, p, v, err))
            return false;
        return FunctionValue(first == SineIndex ? CosineIndex : SineIndex, x, p, v, err);
    }
    return true;
}

// x^n for 1 <= n <= 64 by repeated squaring: within a few units of the
// last place of pow's value, at a fraction of its cost.
long double WholePower(long double x, int n) {
    long double r = 1;
    for (;;) {
        if (n & 1)
            r *= x;
        n >>= 1;
        if (n == 0)
            return r;
        x *= x;
    }
}

template <bool Exact>
inline long double Rounded(long double v) {
    if constexpr (Exact)
        return RoundOperatorResult(v);
    else
        return v;
}

// Runs a real program; registers must hold the literals, slots, invalid
// parts (NaN) and zeros already. On success result holds the value.
template <bool Exact>
bool RunReal(const TProgram &p, const std::vector<TInstruction> &code, long double *R, TChyba &err,
             long double &result, bool slotsAreNumbers = false) {
    auto fail = [&err](TErrorCode code) {
        err.Set(code);
        return false;
    };
    // The sampling road keeps the value an instruction computed for the next
    // one, which often reads it (a chain of sums, a function of a bracket):
    // an 80-bit value written to memory and read back at once costs more
    // than the operation.
    long double acc = 0;
    auto operandA = [&](const TInstruction &in) {
        if constexpr (!Exact)
            if (in.Flags & FromPrevious)
                return acc;
        return R[in.A];
    };
    auto put = [&](const TInstruction &in, long double v) {
        if constexpr (!Exact) {
            acc = v;
            if (in.Flags & NotStored)
                return;
        }
        R[in.Dst] = v;
    };
    // A malformed part is NaN, and so is a free name given none. The
    // sampling road tests only the operands that can be NaN.
    const quint8 mayBeNaN = slotsAreNumbers ? quint8(MayBeNaN) : quint8(MayBeNaN | ReadsSlot);
    auto unreadable = [&](const TInstruction &in, long double a, long double b = 0) {
        if constexpr (!Exact)
            if (!(in.Flags & mayBeNaN))
                return false;
        return std::isnan(a) || std::isnan(b);
    };
    for (const TInstruction &in : code) {
        switch (in.Op) {
        case TOp::Function: {
            const long double x = operandA(in);
            if (unreadable(in, x))
                return fail(TErrorCode::Unreadable);
            long double v = 0;
            if constexpr (!Exact) {
                if (in.Aux & SineCosinePair) {
                    long double other = 0;
                    if (!SineAndCosine(in.Aux & ~SineCosinePair, x, p, v, other, err))
                        return false;
                    R[in.B] = other;
                    put(in, v);
                    break;
                }
            }
            if (!FunctionValue(in.Aux, x, p, v, err))
                return false;
            put(in, Exact ? RoundPlain(v, 17) : v);
            break;
        }
        case TOp::PercentPlain:
        case TOp::PercentPlus:
        case TOp::PercentMinus: {
            const long double b = operandA(in);
            if (unreadable(in, b))
                return fail(TErrorCode::Unreadable);
            const long double v = in.Op == TOp::PercentPlain  ? b / 100.0L
                                  : in.Op == TOp::PercentPlus ? (b + 100.0L) / 100.0L
                                                              : (100.0L - b) / 100.0L;
            put(in, Rounded<Exact>(v));
            break;
        }
        case TOp::Power: {
            const long double a = operandA(in), b = R[in.B];
            if (unreadable(in, a, b))
                return fail(TErrorCode::Unreadable);
            const bool whole = b == __builtin_rintl(b);
            if (a < 0 && !whole)
                return fail(TErrorCode::NegativeBaseRoot);
            if (a == 0 && b < 0)
                return fail(TErrorCode::DivisionByZero);
            long double v;
            if (!Exact && whole && b >= 1 && b <= 64)
                v = WholePower(a, int(__builtin_lrintl(b))); // x^2 as x*x: what a formula in C++ would write
            else
                v = std::pow(a, b);
            if (!Finite80(v))
                return fail(TErrorCode::TooLarge);
            put(in, Rounded<Exact>(v));
            break;
        }
        case TOp::Factorial: {
            const long double a = operandA(in);
            if (unreadable(in, a))
                return fail(TErrorCode::Unreadable);
            if (a < 0 || HasFraction(a))
                return fail(TErrorCode::FactorialOfNonNatural);
            if (a > LargestFiniteFactorial)
                return fail(TErrorCode::TooLarge);
            put(in, Rounded<Exact>(Factorial(quint16(a))));
            break;
        }
        case TOp::Binomial: {
            const long double n = operandA(in), k = R[in.B];
            if (unreadable(in, n, k))
                return fail(TErrorCode::Unreadable);
            if (HasFraction(n) || HasFraction(k) || n < 0 || k < 0) {
                fail(TErrorCode::NonIntegerOperand);
                err.Param1 = QStringLiteral("nad");
                return false;
            }
            if (k > n)
                return fail(TErrorCode::BinomialKAboveN);
            const long double v = n > MaxFactorialOperand ? HUGE_VALL : Binomial(n, k);
            if (!Finite80(v))
                return fail(TErrorCode::TooLarge);
            put(in, Rounded<Exact>(v));
            break;
        }
        case TOp::IntegerDivide:
        case TOp::Remainder: {
            const bool isDiv = in.Op == TOp::IntegerDivide;
            const long double a = operandA(in), b = R[in.B];
            if (unreadable(in, a, b))
                return fail(TErrorCode::Unreadable);
            if (HasFraction(a) || HasFraction(b)) {
                fail(TErrorCode::NonIntegerOperand);
                err.Param1 = isDiv ? QStringLiteral("div") : QStringLiteral("mod");
                return false;
            }
            constexpr long double Limit = 9223372036854775808.0L;
            if (a >= Limit || a < -Limit || b >= Limit || b < -Limit)
                return fail(TErrorCode::TooLarge);
            const qint64 ia = std::llrintl(a), ib = std::llrintl(b);
            if (ib == 0)
                return fail(TErrorCode::DivisionByZero);
            qint64 q;
            if (isDiv) {
                if (ia == std::numeric_limits<qint64>::min() && ib == -1)
                    return fail(TErrorCode::TooLarge);
                q = ia / ib;
            } else {
                q = ib == -1 ? 0 : ia % ib;
            }
            put(in, Rounded<Exact>(static_cast<long double>(q)));
            break;
        }
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: {
            const long double a = operandA(in), b = R[in.B];
            if (unreadable(in, a, b))
                return fail(TErrorCode::Unreadable);
            long double v;
            if (in.Op == TOp::Multiply)
                v = a * b;
            else if (in.Op == TOp::Add)
                v = a + b;
            else if (in.Op == TOp::Subtract)
                v = a - b;
            else if (b == 0)
                return fail(TErrorCode::DivisionByZero);
            else
                v = a / b;
            if (!Finite80(v))
                return fail(TErrorCode::TooLarge);
            put(in, Rounded<Exact>(v));
            break;
        }
        case TOp::Negate:
            put(in, -operandA(in));
            break;
        case TOp::GroupEnd:
            R[in.Dst] = R[in.A]; // not in the sampling road's code
            break;
        case TOp::Final:
            if (unreadable(in, operandA(in)))
                return fail(TErrorCode::Unreadable);
            result = operandA(in);
            break;
        case TOp::Fail:
            return fail(CodeOf(in.Aux));
        }
    }
    return true;
}

// Registers of up to this many values live on the stack.
constexpr qint32 StackRegisters = 96;

template <typename T>
struct TRegisters {
    T small[StackRegisters];
    T *data;
    explicit TRegisters(qint32 count) {
        if (count <= StackRegisters) {
            data = small;
        } else {
            // A long text: the thread's own buffer, kept for the next one, so
            // that a large register file is not mapped and unmapped each time.
            static thread_local std::vector<T> large;
            if (large.size() < size_t(count))
                large.resize(size_t(count));
            data = large.data();
        }
    }
};

// --- fractions ------------------------------------------------------------------

using Int128 = __int128;
constexpr qint64 MaxPart = std::numeric_limits<qint64>::max();

// A fraction register: N / D in lowest terms, D > 0, or D = 0 for a value
// divided by zero. A value whose parts leave 64 bits is too large (Err 20):
// arithmetic with it fails, but "%", "!", the checks of "nad", "div" and
// "mod" and the exponent of "^" still read its exact value, kept in BigN /
// BigD while it fits in 128 bits (Exact), beyond that its approximate
// value Approx and whether it is whole (Integral). So a typed 19-digit
// number with "%" stays exact, and "5 nad 21!" compares exact values.
struct TFrac {
    qint64 N = 0;
    qint64 D = 1;
    TErrorCode Err = TErrorCode::None;
    bool Exact = false;
    bool Integral = false;
    long double Approx = 0;
    Int128 BigN = 0;
    Int128 BigD = 1;
};

TFrac Fraction(qint64 n, qint64 d) { return TFrac{n, d}; }
TFrac Failed(TErrorCode code) { return TFrac{0, 1, code}; }
// Too large even for 128 bits: only its value is known.
TFrac Huge(long double approx, bool whole) { return TFrac{0, 1, TErrorCode::TooLarge, false, whole, approx}; }

Int128 Abs128(Int128 x) { return x < 0 ? -x : x; }

Int128 Gcd128(Int128 a, Int128 b) {
    a = Abs128(a);
    b = Abs128(b);
    // Parts within 64 bits, the usual case, take the quicker 64-bit gcd.
    if ((a >> 64) == 0 && (b >> 64) == 0)
        return Int128(std::gcd(quint64(a), quint64(b)));
    while (b != 0) {
        const Int128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// n / d in lowest terms, the sign on the numerator; parts beyond 64 bits
// make a value too large (code 20) that keeps its exact parts.
TFrac MakeFraction(Int128 n, Int128 d) {
    if (d == 1 && Abs128(n) <= MaxPart)
        return Fraction(qint64(n), 1);
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const Int128 g = Gcd128(n, d);
    if (g > 1) {
        n /= g;
        d /= g;
    }
    if (Abs128(n) > MaxPart || d > MaxPart)
        return TFrac{0, 1, TErrorCode::TooLarge, true, d == 1,
                     static_cast<long double>(n) / static_cast<long double>(d), n, d};
    return Fraction(qint64(n), qint64(d));
}

// 10^k for 0 <= k <= 38, the powers of ten that 128 bits hold.
Int128 PowerOfTen(long k) {
    Int128 r = 1;
    while (k-- > 0)
        r *= 10;
    return r;
}

// A number as written (digits, at most one separator, an exponent), read
// exactly: the digits without the zeros at either end, times a power of ten.
// Nothing is rounded: a value whose parts leave 64 bits is too large.
TFrac FractionLiteral(QStringView text, QChar sep) {
    constexpr int MaxDigits = 38; // 10^38 < 2^127
    const int n = int(text.size());
    int i = 0;
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    Int128 m = 0;
    int digits = 0;     // in m
    long zeros = 0;     // zeros after the last non-zero digit, not yet in m
    long decimals = 0;  // digits after the separator
    bool afterSep = false;
    bool tooMany = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c)) {
            anyDigit = true;
            if (afterSep)
                ++decimals;
            const int digit = c.unicode() - '0';
            if (digit == 0) {
                if (digits > 0)
                    ++zeros;
                continue;
            }
            if (digits + zeros + 1 > MaxDigits) {
                tooMany = true;
                continue;
            }
            for (; zeros > 0; --zeros, ++digits)
                m *= 10;
            m = m * 10 + digit;
            ++digits;
        } else if (c == sep && !afterSep) {
            afterSep = true;
        } else {
            break;
        }
    }
    long exponent = 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            expNegative = text.at(i) == QLatin1Char('-');
            ++i;
        }
        const int first = i;
        for (; i < n && IsAsciiDigit(text.at(i)); ++i)
            exponent = std::min(exponent * 10 + (text.at(i).unicode() - '0'), 1000000L);
        anyDigit = anyDigit && i > first;
        if (expNegative)
            exponent = -exponent;
    }
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    // The form the engine's strict reader takes, nothing else.
    if (!anyDigit || i < n)
        return Failed(TErrorCode::Unreadable);
    if (m == 0 && !tooMany)
        return Fraction(0, 1);
    const long power = exponent - decimals + zeros;
    if (tooMany || (power >= 0 && digits + power > MaxDigits) || power < -MaxDigits) {
        long double v = 0; // a value beyond the 80-bit range is no number
        if (!TryStrToFloat(text, v, sep))
            return Failed(TErrorCode::Unreadable);
        return Huge(v, tooMany ? !HasFraction(v) : power >= 0);
    }
    if (power == 0 && digits <= 18) // a whole number of 64 bits, the usual literal
        return Fraction(qint64(negative ? -m : m), 1);
    const Int128 numerator = power >= 0 ? m * PowerOfTen(power) : m;
    return MakeFraction(negative ? -numerator : numerator, power >= 0 ? 1 : PowerOfTen(-power));
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

bool RunFraction(const TProgram &p, TFrac *R, TChyba &err, TFrac &result) {
    auto fail = [&err](TErrorCode code) {
        err.Set(code);
        return false;
    };
    // What reading an operand as one real number reports: a text that is no
    // number, or a denominator of zero. A value beyond 64 bits is read by
    // its exact (or approximate) value here.
    auto readCode = [](const TFrac &f) {
        if (f.Err != TErrorCode::None && f.Err != TErrorCode::TooLarge)
            return f.Err;
        if (f.Err == TErrorCode::None && f.D == 0)
            return f.N == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero;
        return TErrorCode::None;
    };
    // The value of a part as a real number needs a denominator.
    auto denominatorCode = [](const TFrac &f) {
        return f.D != 0 ? TErrorCode::None : (f.N == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero);
    };
    for (const TInstruction &in : p.Code) {
        switch (in.Op) {
        case TOp::Function: // no functions here: the name is a malformed part
            R[in.Dst] = Failed(TErrorCode::Unreadable);
            break;
        case TOp::PercentPlain:
        case TOp::PercentPlus:
        case TOp::PercentMinus: {
            const TFrac &b = R[in.A];
            if (b.Err != TErrorCode::None && !BeyondRange(b))
                return fail(b.Err);
            const bool exact = !BeyondRange(b) || b.Exact;
            const Int128 n = BeyondRange(b) ? b.BigN : Int128(b.N);
            const Int128 d = BeyondRange(b) ? b.BigD : Int128(b.D);
            Int128 hundred = 0, top = n;
            bool fits = exact && !__builtin_mul_overflow(d, Int128(100), &hundred);
            if (fits && in.Op == TOp::PercentPlus)
                fits = !__builtin_add_overflow(hundred, n, &top);
            else if (fits && in.Op == TOp::PercentMinus)
                fits = !__builtin_sub_overflow(hundred, n, &top);
            if (fits) {
                R[in.Dst] = MakeFraction(top, hundred);
            } else {
                // Beyond 128 bits: whether it is whole is as far as its
                // value tells.
                const long double v = ValueOf(b);
                const long double r = in.Op == TOp::PercentPlain  ? v / 100
                                      : in.Op == TOp::PercentPlus ? (100 + v) / 100
                                                                  : (100 - v) / 100;
                R[in.Dst] = Huge(r, !HasFraction(r));
            }
            break;
        }
        case TOp::Power: {
            const TFrac a = R[in.A], e = R[in.B];
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            if (BeyondRange(e)) {
                // An exponent beyond 64 bits leaves only 0, 1 and -1 in range.
                if (const TErrorCode c = denominatorCode(a); c != TErrorCode::None)
                    return fail(c);
                if (a.N == 0)
                    R[in.Dst] = Negative(e) ? Fraction(1, 0) : Fraction(0, 1);
                else if (a.N == 1 && a.D == 1)
                    R[in.Dst] = Fraction(1, 1);
                else if (a.N == -1 && a.D == 1 && e.Exact && e.BigD == 1)
                    R[in.Dst] = Fraction(e.BigN % 2 == 0 ? 1 : -1, 1);
                else
                    return fail(TErrorCode::TooLarge);
                break;
            }
            if (e.Err != TErrorCode::None)
                return fail(e.Err);
            if (const TErrorCode c = denominatorCode(e); c != TErrorCode::None)
                return fail(c);
            // A value over zero raised to a power stays a division by zero:
            // (1/0)^(-1) is no 0.
            if (const TErrorCode c = denominatorCode(a); c != TErrorCode::None)
                return fail(c);
            qint64 n = a.N, d = a.D;
            if (e.N % e.D == 0) {
                qint64 k = e.N / e.D;
                if (k < 0) {
                    std::swap(n, d);
                    k = -k;
                }
                Int128 pn, pd;
                if (!WholePower(n, k, pn) || !WholePower(d, k, pd)) {
                    const long double pn80 = std::pow(static_cast<long double>(n), static_cast<long double>(k));
                    const long double pd80 = std::pow(static_cast<long double>(d), static_cast<long double>(k));
                    if (!std::isfinite(pn80) || !std::isfinite(pd80))
                        return fail(TErrorCode::TooLarge); // beyond the 80-bit range
                    R[in.Dst] = Huge(pn80 / pd80, d == 1 || d == -1);
                } else {
                    R[in.Dst] = MakeFraction(pn, pd);
                }
            } else {
                long double k = static_cast<long double>(e.N) / static_cast<long double>(e.D);
                if (k < 0) {
                    std::swap(n, d);
                    k = -k;
                }
                const TFrac pn = PartPower(n, k, p.Separator), pd = PartPower(d, k, p.Separator);
                if (pn.Err != TErrorCode::None || pd.Err != TErrorCode::None)
                    return fail(TErrorCode::TooLarge);
                R[in.Dst] = MakeFraction(Int128(pn.N) * pd.D, Int128(pn.D) * pd.N);
            }
            break;
        }
        case TOp::Factorial: {
            const TFrac &a = R[in.A];
            if (const TErrorCode c = readCode(a); c != TErrorCode::None)
                return fail(c);
            if (!Whole(a) || Negative(a))
                return fail(TErrorCode::FactorialOfNonNatural);
            if (BeyondRange(a) || a.N / a.D > 65535)
                return fail(TErrorCode::TooLarge);
            const qint64 x = a.N / a.D;
            long double approx = 1;
            Int128 v = 1;
            bool exact = true;
            for (qint64 k = 2; k <= x; ++k) {
                approx *= static_cast<long double>(k);
                exact = exact && !__builtin_mul_overflow(v, Int128(k), &v);
            }
            if (!std::isfinite(approx))
                return fail(TErrorCode::TooLarge);
            // Beyond 20! the value is too large; it fails where it is used.
            R[in.Dst] = exact ? MakeFraction(v, 1) : Huge(approx, true);
            break;
        }
        case TOp::Binomial: {
            const TFrac &a = R[in.A], &b = R[in.B];
            if (const TErrorCode c = readCode(a); c != TErrorCode::None)
                return fail(c);
            if (const TErrorCode c = readCode(b); c != TErrorCode::None)
                return fail(c);
            if (!Whole(a) || !Whole(b) || Negative(a) || Negative(b)) {
                fail(TErrorCode::NonIntegerOperand);
                err.Param1 = QStringLiteral("nad");
                return false;
            }
            if (Above(b, a))
                return fail(TErrorCode::BinomialKAboveN);
            if (BeyondRange(a) || BeyondRange(b) || a.N / a.D > 65535)
                return fail(TErrorCode::TooLarge);
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
                return fail(TErrorCode::TooLarge);
            R[in.Dst] = exact ? MakeFraction(v, 1) : Huge(approx, true);
            break;
        }
        case TOp::IntegerDivide:
        case TOp::Remainder: {
            const bool isDiv = in.Op == TOp::IntegerDivide;
            const TFrac &a = R[in.A], &b = R[in.B];
            if (const TErrorCode c = readCode(a); c != TErrorCode::None)
                return fail(c);
            if (const TErrorCode c = readCode(b); c != TErrorCode::None)
                return fail(c);
            if (!Whole(a) || !Whole(b)) {
                fail(TErrorCode::NonIntegerOperand);
                err.Param1 = isDiv ? QStringLiteral("div") : QStringLiteral("mod");
                return false;
            }
            if (BeyondRange(a) || BeyondRange(b))
                return fail(TErrorCode::TooLarge);
            const qint64 x = a.N / a.D, y = b.N / b.D;
            if (y == 0)
                return fail(TErrorCode::DivisionByZero);
            R[in.Dst] = Fraction(isDiv ? x / y : x % y, 1);
            break;
        }
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: {
            const TFrac &a = R[in.A], &b = R[in.B];
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            if (b.Err != TErrorCode::None)
                return fail(b.Err);
            Int128 n, d;
            switch (in.Op) {
            case TOp::Multiply:
            case TOp::Divide:
                // A factor over zero is a division by zero whatever the
                // other factor: 1/0^(-1) is no 0.
                if (const TErrorCode c = denominatorCode(a); c != TErrorCode::None)
                    return fail(c);
                if (const TErrorCode c = denominatorCode(b); c != TErrorCode::None)
                    return fail(c);
                if (in.Op == TOp::Multiply) {
                    n = Int128(a.N) * b.N;
                    d = Int128(a.D) * b.D;
                } else {
                    n = Int128(a.N) * b.D;
                    d = Int128(a.D) * b.N;
                }
                // A quotient over zero stops the evaluation.
                if (d == 0)
                    return fail(n == 0 ? TErrorCode::TooLarge : TErrorCode::DivisionByZero);
                break;
            case TOp::Add:
                n = Int128(a.N) * b.D + Int128(b.N) * a.D;
                d = Int128(a.D) * b.D;
                break;
            default:
                n = Int128(a.N) * b.D - Int128(b.N) * a.D;
                d = Int128(a.D) * b.D;
                break;
            }
            R[in.Dst] = MakeFraction(n, d);
            break;
        }
        case TOp::Negate: {
            TFrac v = R[in.A];
            v.N = -v.N;
            v.BigN = -v.BigN;
            v.Approx = -v.Approx;
            R[in.Dst] = v;
            break;
        }
        case TOp::GroupEnd:
        case TOp::Final: {
            const TFrac &v = R[in.A];
            if (v.Err != TErrorCode::None)
                return fail(v.Err);
            if (const TErrorCode c = denominatorCode(v); c != TErrorCode::None)
                return fail(c);
            R[in.Dst] = v;
            if (in.Op == TOp::Final)
                result = v;
            break;
        }
        case TOp::Fail:
            return fail(CodeOf(in.Aux));
        }
    }
    return true;
}

// --- complex numbers ----------------------------------------------------------

// What the token text of a value holds, for the test of a power's exponent.
enum : quint8 {
    HasSeparator = 1,
    HasUnit = 2,
    HasMinus = 4,
    ImaginaryWritten = 8, // the imaginary part is written
    ImaginaryOne = 16,    // ... as the unit alone
    FromName = 32,        // a lone "e": no base of a power
    BadLiteral = 64,      // a number as written that is no number
    // A value an operation made: what its token text holds follows from
    // the value, and is worked out only where it is read (TokenFlags).
    Computed = 128,
};
// With Computed: the value is the negative of the one that was computed
// (and its minus sign is flipped as written).
constexpr quint8 ComputedNegated = HasMinus;

struct TCReg {
    long double Re = 0;
    long double Im = 0;
    bool Polar = false;
    quint8 Text = 0;
    TErrorCode Err = TErrorCode::None;
};

// Whether a part of a value holds decimals, for the test of a power's
// exponent: beyond 18 digits, whether its token text writes a mantissa of
// more than one digit.
bool HasDecimals(long double v) {
    if (std::fabs(v) < 1e18L)
        return v != static_cast<long double>(static_cast<qint64>(v));
    return FormatPlain(v, 16, QLatin1Char('.')).contains(QLatin1Char('.'));
}

// An operation's result, its parts kept to 18 digits by the arithmetic.
TCReg AsToken(const TComplexNumber &v) {
    TCReg r;
    r.Re = v.Re;
    r.Im = v.Im;
    r.Polar = v.Polar;
    r.Text = Computed;
    return r;
}

// What the token text of r holds: as written for a literal, and for a
// computed value the parts, or in exponential form the modulus and the
// angle (a value without an angle is written as its modulus alone).
quint8 TokenFlags(const TCReg &r) {
    if (!(r.Text & Computed))
        return r.Text;
    const bool negated = r.Text & ComputedNegated;
    const long double re = negated ? -r.Re : r.Re, im = negated ? -r.Im : r.Im;
    quint8 text = 0;
    if (!r.Polar) {
        if (re < 0)
            text |= HasMinus;
        if (HasDecimals(re))
            text |= HasSeparator;
        if (im != 0) {
            text |= HasUnit | ImaginaryWritten;
            if (im < 0)
                text |= HasMinus;
            if (std::fabs(im) == 1)
                text |= ImaginaryOne;
            else if (HasDecimals(im))
                text |= HasSeparator;
        }
    } else {
        const long double angle = ComplexAngleDegrees(TComplexNumber{re, im, true});
        if (HasDecimals(RoundOperatorResult(std::hypot(re, im))))
            text |= HasSeparator;
        if (angle != 0) {
            text |= HasUnit;
            if (angle < 0)
                text |= HasMinus;
            if (HasDecimals(angle))
                text |= HasSeparator;
        }
    }
    return negated ? text ^ HasMinus : text;
}

TComplexNumber ValueOf(const TCReg &r) { return TComplexNumber{r.Re, r.Im, r.Polar}; }

// The usual literals, a real number or the unit with its coefficient ("3",
// "j4", "j"), read without the general parser.
bool QuickComplexLiteral(QStringView text, QChar sep, QChar unit, TComplexNumber &z) {
    if (text.isEmpty())
        return false;
    qsizetype units = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('e'))
            return false; // an exponent or the exponential form
        units += c == unit;
    }
    if (units == 0)
        return TryStrToFloat(text, z.Re, sep) && ((z.Im = 0), (z.Polar = false), true);
    if (units > 1 || text.at(0) != unit)
        return false;
    z.Re = 0;
    z.Polar = false;
    if (text.size() == 1) {
        z.Im = 1;
        return true;
    }
    const QChar second = text.at(1);
    if (!IsAsciiDigit(second) && second != sep)
        return false; // a sign: the general parser
    return TryStrToFloat(text.mid(1), z.Im, sep);
}

TCReg ComplexLiteral(QStringView text, QChar sep, QChar unit) {
    TCReg r;
    TComplexNumber z;
    if (!QuickComplexLiteral(text, sep, unit, z) && !TryParseComplex(text.toString(), z, sep, unit)) {
        r.Err = TErrorCode::Unreadable;
        r.Text |= BadLiteral;
    } else {
        r.Re = z.Re;
        r.Im = z.Im;
        r.Polar = z.Polar;
    }
    for (const QChar c : text) {
        if (c == sep)
            r.Text |= HasSeparator;
        else if (c == unit)
            r.Text |= HasUnit;
        else if (c == QLatin1Char('-'))
            r.Text |= HasMinus;
    }
    return r;
}

// A part of a token: at most 16 decimals, and a part too small for them
// with its 18 digits and an exponent, so that no value reads back as 0.
QString TokenPart(long double v, QChar sep) {
    if (v != 0 && RoundPlain(v, 16) == 0)
        return OperatorResultText(v, sep);
    return FormatPlain(v, 16, sep);
}

QString ComplexTokenText(const TCReg &r, QChar sep, QChar unit) {
    const quint8 text = TokenFlags(r);
    QString t = QStringLiteral("[") + TokenPart(r.Re, sep);
    if (text & ImaginaryWritten) {
        t += r.Im < 0 || (r.Im == 0 && std::signbit(r.Im)) ? QLatin1Char('-') : QLatin1Char('+');
        t += unit;
        if (!(text & ImaginaryOne))
            t += TokenPart(std::fabs(r.Im), sep);
    }
    t += QLatin1Char(']');
    return t;
}

bool RunComplex(const TProgram &p, TCReg *R, TChyba &err, TCReg &result) {
    auto fail = [&err](TErrorCode code) {
        err.Set(code);
        return false;
    };
    for (const TInstruction &in : p.Code) {
        switch (in.Op) {
        case TOp::Function: { // abs
            const TCReg a = R[in.A];
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            TComplexNumber v;
            try {
                ComplexAbs(ValueOf(a), v);
            } catch (const EEngineError &) {
                return fail(TErrorCode::UnknownFailure);
            }
            R[in.Dst] = AsToken(v);
            break;
        }
        case TOp::Power: {
            const TCReg a = R[in.A], b = R[in.B];
            if (a.Err != TErrorCode::None && (a.Text & FromName))
                return fail(a.Err); // a name is no base at all
            // Natural exponents only, as written.
            if (TokenFlags(b) & (HasSeparator | HasUnit | HasMinus))
                return fail(TErrorCode::TooLarge);
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            if (b.Err != TErrorCode::None)
                return fail(b.Err);
            constexpr long double Limit = 9223372036854775808.0L;
            if (!(b.Re < Limit && b.Re >= -Limit))
                return fail(TErrorCode::UnknownFailure);
            const qint64 n = std::llrintl(b.Re);
            if (n < 0 || n > 65535)
                return fail(TErrorCode::UnknownFailure);
            TComplexNumber v;
            try {
                ComplexPowerInt(ValueOf(a), quint16(n), v);
            } catch (const EEngineError &) {
                return fail(TErrorCode::UnknownFailure);
            }
            R[in.Dst] = AsToken(v);
            break;
        }
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: {
            const TCReg a = R[in.A], b = R[in.B];
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            if (b.Err != TErrorCode::None)
                return fail(b.Err);
            const TComplexNumber x = ValueOf(a), y = ValueOf(b);
            TComplexNumber v;
            try {
                switch (in.Op) {
                case TOp::Multiply: ComplexMul(x, y, v); break;
                case TOp::Divide: ComplexDiv(x, y, v); break;
                case TOp::Add: ComplexAdd(x, y, v); break;
                default: ComplexSub(x, y, v); break;
                }
            } catch (const EEngineInvalidOp &) {
                return fail(TErrorCode::DivisionByZero);
            } catch (const EEngineError &) {
                return fail(TErrorCode::UnknownFailure);
            }
            R[in.Dst] = AsToken(v);
            break;
        }
        case TOp::Negate: {
            TCReg v = R[in.A];
            v.Re = -v.Re;
            v.Im = -v.Im;
            v.Text ^= HasMinus; // of a computed value: ComputedNegated
            R[in.Dst] = v;
            break;
        }
        case TOp::GroupEnd: // a group's value passes on as written, if it is one
            if (R[in.A].Err != TErrorCode::None && !(R[in.A].Text & BadLiteral))
                return fail(R[in.A].Err);
            R[in.Dst] = R[in.A];
            break;
        case TOp::Final: {
            const TCReg v = R[in.A];
            if (v.Err != TErrorCode::None)
                return fail(v.Err);
            result = v;
            break;
        }
        case TOp::Fail:
            return fail(CodeOf(in.Aux));
        default: // no other operation belongs to the complex set
            return fail(TErrorCode::Unreadable);
        }
    }
    return true;
}

// --- integers modulo n ----------------------------------------------------------

struct TMReg {
    qint64 V = 0;
    TErrorCode Err = TErrorCode::None;
};

// A number as the modulo set reads it: digits only, up to 65535.
TMReg ModuloLiteral(QStringView text) {
    TMReg r;
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size()) {
        r.Err = TErrorCode::Unreadable;
        return r;
    }
    qint64 value = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!IsAsciiDigit(c)) {
            r.Err = TErrorCode::Unreadable;
            return r;
        }
        if (!tooLarge) {
            value = value * 10 + (c.unicode() - '0');
            tooLarge = value > 65535;
        }
    }
    if (tooLarge || (negative && value != 0))
        r.Err = TErrorCode::UnknownFailure; // out of the range of a token
    r.V = value;
    return r;
}

qint64 Reduce(qint64 x, qint64 n) {
    qint64 r = x % n;
    return r < 0 ? r + n : r;
}

bool RunModulo(const TProgram &p, TMReg *R, TChyba &err, qint64 &result) {
    auto fail = [&err](TErrorCode code) {
        err.Set(code);
        return false;
    };
    const qint64 n = p.Modulus;
    if (n == 0)
        return fail(TErrorCode::UnknownFailure);
    for (const TInstruction &in : p.Code) {
        switch (in.Op) {
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: {
            const TMReg a = R[in.A], b = R[in.B];
            if (b.Err != TErrorCode::None) // the right operand is read first
                return fail(b.Err);
            if (a.Err != TErrorCode::None)
                return fail(a.Err);
            qint64 v;
            switch (in.Op) {
            case TOp::Multiply: v = a.V * b.V % n; break;
            case TOp::Add: v = Reduce(a.V + b.V, n); break;
            case TOp::Subtract: v = Reduce(a.V - b.V, n); break;
            default: {
                // a times the inverse of b (extended Euclid); none for a
                // multiple of the prime n.
                qint64 r0 = n, r1 = b.V % n, t0 = 0, t1 = 1;
                while (r1 != 0) {
                    const qint64 q = r0 / r1;
                    qint64 t = t0 - q * t1;
                    t0 = t1;
                    t1 = t;
                    t = r0 - q * r1;
                    r0 = r1;
                    r1 = t;
                }
                if (r0 != 1)
                    return fail(TErrorCode::DivisionByZero);
                v = (a.V % n) * Reduce(t0, n) % n;
                break;
            }
            }
            R[in.Dst] = TMReg{v, TErrorCode::None};
            break;
        }
        case TOp::Negate: {
            const TMReg a = R[in.A];
            R[in.Dst] = TMReg{-a.V, a.Err != TErrorCode::None || a.V == 0 ? a.Err : TErrorCode::UnknownFailure};
            break;
        }
        case TOp::GroupEnd:
        case TOp::Final: {
            const TMReg v = R[in.A];
            if (v.Err != TErrorCode::None)
                return fail(v.Err);
            R[in.Dst] = TMReg{Reduce(v.V, n), TErrorCode::None};
            if (in.Op == TOp::Final)
                result = R[in.Dst].V;
            break;
        }
        case TOp::Fail:
            return fail(CodeOf(in.Aux));
        default: // no other operation belongs to the modulo set
            return fail(TErrorCode::Unreadable);
        }
    }
    return true;
}

} // namespace

// --- the compiled expression ------------------------------------------------------

TCompiledExpression::TCompiledExpression(const QString &text, const TEvaluationContext &context,
                                         const QStringList &freeNames)
    : m_program(Compile(text, context, freeNames)) {
    ReadRealLiterals();
    if (m_program.Set != TNumberSet::Real)
        return;
    BuildFastCode();
}

void TCompiledExpression::BuildFastCode() {
    // The sampling road's code: in the real set a group's end only copies
    // its value to the register its parent reads, so the parent reads the
    // value where it is. Each register is written once, so nothing is lost.
    std::vector<qint32> alias(size_t(m_program.RegisterCount), -1);
    auto resolve = [&alias](qint32 r) { return r >= 0 && alias[size_t(r)] >= 0 ? alias[size_t(r)] : r; };
    // Equal literals are one operand ("x/10" twice reads one register).
    std::map<long double, qint32> literalOf;
    for (size_t k = 0; k < m_program.Literals.size(); ++k) {
        const long double v = m_realLiterals[k];
        if (std::isnan(v))
            continue;
        const auto [at, added] = literalOf.emplace(v, m_program.Literals[k].Register);
        if (!added)
            alias[size_t(m_program.Literals[k].Register)] = at->second;
    }
    // An operation met again with the same operands is the value it had
    // ("ln(x^2+1)+log(x^2+2)" squares x once). The first one ran before and
    // did not fail, so neither would the second.
    using TKey = std::tuple<quint8, qint32, qint32, qint32>;
    std::map<TKey, qint32> computed;
    m_fastCode.reserve(m_program.Code.size());
    for (TInstruction in : m_program.Code) {
        if (in.Op == TOp::GroupEnd) {
            alias[size_t(in.Dst)] = resolve(in.A);
            continue;
        }
        in.A = resolve(in.A);
        in.B = resolve(in.B);
        if (in.Op != TOp::Final && in.Op != TOp::Fail) {
            const auto [at, added] = computed.emplace(TKey{quint8(in.Op), in.A, in.B, in.Aux}, in.Dst);
            if (!added) {
                alias[size_t(in.Dst)] = at->second;
                continue;
            }
        }
        m_fastCode.push_back(in);
    }
    // A sine and a cosine of one operand are computed together, where the
    // first of them stands. (After the step above there is one of each per
    // operand at most.)
    std::map<std::pair<qint32, qint32>, size_t> function; // (index, operand) -> instruction
    for (size_t i = 0; i < m_fastCode.size(); ++i) {
        const TInstruction &in = m_fastCode[i];
        if (in.Op == TOp::Function && (in.Aux == SineIndex || in.Aux == CosineIndex))
            function.emplace(std::pair{in.Aux, in.A}, i);
    }
    std::vector<bool> gone(m_fastCode.size(), false);
    for (const auto &[key, i] : function) {
        if (key.first != SineIndex)
            continue;
        const auto cosine = function.find(std::pair{CosineIndex, key.second});
        if (cosine == function.end())
            continue;
        const size_t first = std::min(i, cosine->second), second = std::max(i, cosine->second);
        m_fastCode[first].Aux |= SineCosinePair;
        m_fastCode[first].B = m_fastCode[second].Dst;
        gone[second] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < m_fastCode.size(); ++i)
        if (!gone[i])
            m_fastCode[kept++] = m_fastCode[i];
    m_fastCode.resize(kept);
    // The "+0" after the text adds nothing to a sample (the sum's last
    // step, right before the end, which reads a malformed value as code 1
    // just as the sum would).
    const size_t n = m_fastCode.size();
    if (n >= 2 && m_fastCode[n - 1].Op == TOp::Final && m_fastCode[n - 2].Op == TOp::Add &&
        m_fastCode[n - 1].A == m_fastCode[n - 2].Dst) {
        const qint32 zero = m_fastCode[n - 2].B;
        bool plusZero = false;
        for (size_t k = 0; k < m_program.Literals.size(); ++k)
            if (m_program.Literals[k].Register == zero)
                plusZero = m_realLiterals[k] == 0 && !std::signbit(m_realLiterals[k]);
        if (plusZero) {
            m_fastCode[n - 1].A = m_fastCode[n - 2].A;
            m_fastCode.erase(m_fastCode.begin() + qsizetype(n - 2));
        }
    }
    // The operands that can be NaN: a malformed part, a literal that is no
    // number, a free name (given NaN) and the negation of one of them.
    // Every other value is tested finite where it is made.
    std::vector<quint8> nanFrom(size_t(m_program.RegisterCount), 0);
    for (const qint32 r : m_program.InvalidRegisters)
        nanFrom[size_t(r)] = MayBeNaN;
    for (size_t k = 0; k < m_program.Literals.size(); ++k)
        if (std::isnan(m_realLiterals[k]))
            nanFrom[size_t(m_program.Literals[k].Register)] = MayBeNaN;
    for (const qint32 r : m_program.SlotRegisters)
        nanFrom[size_t(r)] = ReadsSlot;
    auto readsB = [](const TInstruction &in) {
        return in.B >= 0 && !(in.Op == TOp::Function && (in.Aux & SineCosinePair));
    };
    for (TInstruction &in : m_fastCode) {
        const quint8 from = quint8((in.A >= 0 ? nanFrom[size_t(in.A)] : 0) | (readsB(in) ? nanFrom[size_t(in.B)] : 0));
        in.Flags |= from;
        if (in.Op == TOp::Negate)
            nanFrom[size_t(in.Dst)] = from;
    }
    // Values handed from one instruction to the next without memory.
    std::vector<int> reads(size_t(m_program.RegisterCount), 0);
    for (const TInstruction &in : m_fastCode) {
        if (in.A >= 0)
            ++reads[size_t(in.A)];
        if (readsB(in))
            ++reads[size_t(in.B)];
    }
    for (size_t k = 1; k < m_fastCode.size(); ++k) {
        TInstruction &before = m_fastCode[k - 1];
        TInstruction &in = m_fastCode[k];
        const bool computes = before.Op != TOp::Fail && before.Op != TOp::Final;
        if (computes && in.A == before.Dst && in.Op != TOp::Fail) {
            in.Flags |= FromPrevious;
            if (reads[size_t(before.Dst)] == 1)
                before.Flags |= NotStored;
        }
    }
    // The registers renumbered: first those read before anything writes
    // them (the literals, 0, the malformed parts as NaN, the free names), so
    // that a call copies only these, then the rest.
    const size_t count = size_t(m_program.RegisterCount);
    std::vector<long double> start(count, NaN);
    for (size_t k = 0; k < m_program.Literals.size(); ++k)
        start[size_t(m_program.Literals[k].Register)] = m_realLiterals[k];
    for (const qint32 r : m_program.ZeroRegisters)
        start[size_t(r)] = 0;
    auto writesB = [](const TInstruction &in) { return in.Op == TOp::Function && (in.Aux & SineCosinePair); };
    std::vector<bool> written(count, false);
    for (const TInstruction &in : m_fastCode) {
        written[size_t(in.Dst)] = true;
        if (writesB(in))
            written[size_t(in.B)] = true;
    }
    std::vector<qint32> number(count, -1);
    qint32 next = 0;
    auto input = [&](qint32 r) {
        if (r >= 0 && !written[size_t(r)] && number[size_t(r)] < 0) {
            number[size_t(r)] = next++;
            m_initialRegisters.push_back(start[size_t(r)]);
        }
    };
    for (const TInstruction &in : m_fastCode) {
        input(in.A);
        if (readsB(in))
            input(in.B);
    }
    auto output = [&](qint32 r) {
        if (number[size_t(r)] < 0)
            number[size_t(r)] = next++;
    };
    for (const TInstruction &in : m_fastCode) {
        output(in.Dst);
        if (writesB(in))
            output(in.B);
    }
    for (TInstruction &in : m_fastCode) {
        in.Dst = number[size_t(in.Dst)];
        if (in.A >= 0)
            in.A = number[size_t(in.A)];
        if (in.B >= 0)
            in.B = number[size_t(in.B)];
    }
    for (const qint32 r : m_program.SlotRegisters)
        m_fastSlots.push_back(number[size_t(r)]); // -1: the name is not read
    m_fastRegisterCount = next;
}

void TCompiledExpression::ReadRealLiterals() {
    m_realLiterals.clear();
    if (m_program.Set != TNumberSet::Real)
        return; // the other sets read their literals themselves
    m_realLiterals.reserve(m_program.Literals.size());
    for (const TLiteral &literal : m_program.Literals) {
        long double v = 0;
        m_realLiterals.push_back(TryStrToFloat(m_program.Text(literal), v, m_program.Separator) ? v : NaN);
    }
}

TEngineResult TCompiledExpression::EvaluateText(const QString &text, const TEvaluationContext &given, TRoad road) {
    if (text.size() > MaxExpressionLength) {
        TEngineResult out;
        out.Error.Set(TErrorCode::UnknownFailure);
        return out;
    }
    // The road's number set, whatever the caller's context names.
    TEvaluationContext context = given;
    switch (road) {
    case TRoad::Real: context.NumberSet = TNumberSet::Real; break;
    case TRoad::Fraction:
        context.NumberSet = TNumberSet::Real;
        context.Fractions = true;
        break;
    case TRoad::Complex: context.NumberSet = TNumberSet::Complex; break;
    case TRoad::Modulo: context.NumberSet = TNumberSet::Modulo; break;
    }
    thread_local TCompiledExpression reused;
    thread_local bool busy = false;
    auto evaluate = [road](const TCompiledExpression &e) {
        switch (road) {
        case TRoad::Real: return e.EvaluateReal();
        case TRoad::Fraction: return e.EvaluateFraction();
        case TRoad::Complex: return e.EvaluateComplex();
        default: return e.EvaluateModulo();
        }
    };
    if (busy) // a source of values that evaluates in turn
        return evaluate(TCompiledExpression(text, context));
    busy = true;
    struct TRelease {
        ~TRelease() { busy = false; }
    } release;
    Compile(text, context, QStringList(), reused.m_program);
    reused.ReadRealLiterals();
    TEngineResult result = evaluate(reused);
    if (reused.m_program.Code.capacity() > 65536) // what a long text took is given back
        reused = TCompiledExpression();
    return result;
}

namespace {

template <bool Exact>
TErrorCode RealRun(const TProgram &p, const std::vector<TInstruction> &code, const std::vector<long double> &literals,
                   std::span<const long double> values, TChyba &err, long double &result) {
    TRegisters<long double> regs(p.RegisterCount);
    long double *R = regs.data;
    if (literals.size() == p.Literals.size()) {
        for (size_t k = 0; k < p.Literals.size(); ++k)
            R[p.Literals[k].Register] = literals[k];
    } else { // compiled for another set: read here
        for (const TLiteral &literal : p.Literals) {
            long double v = 0;
            R[literal.Register] = TryStrToFloat(p.Text(literal), v, p.Separator) ? v : NaN;
        }
    }
    for (const qint32 r : p.InvalidRegisters)
        R[r] = NaN;
    for (const qint32 r : p.ZeroRegisters)
        R[r] = 0;
    for (size_t k = 0; k < p.SlotRegisters.size(); ++k)
        R[p.SlotRegisters[k]] = k < values.size() ? values[k] : NaN;
    RunReal<Exact>(p, code, R, err, result);
    return err.Code;
}

} // namespace

bool TCompiledExpression::CompiledFor(TRoad road) const {
    switch (road) {
    case TRoad::Real: return m_program.Set == TNumberSet::Real && m_program.Functions;
    case TRoad::Fraction: return m_program.Set == TNumberSet::Real && !m_program.Functions;
    case TRoad::Complex: return m_program.Set == TNumberSet::Complex;
    case TRoad::Modulo: return m_program.Set == TNumberSet::Modulo;
    }
    return false;
}

namespace {

// A program run on another set's road would read its numbers, names and
// operators by the wrong rules and answer wrongly: it is refused instead.
TEngineResult WrongRoad() {
    TEngineResult out;
    out.Error.Set(TErrorCode::UnknownFailure);
    return out;
}

} // namespace

TEngineResult TCompiledExpression::EvaluateReal(std::span<const long double> values, TText text) const {
    if (!CompiledFor(TRoad::Real))
        return WrongRoad();
    TEngineResult out;
    long double v = 0;
    if (RealRun<true>(m_program, m_program.Code, m_realLiterals, values, out.Error, v) != TErrorCode::None)
        return out;
    out.Real = v;
    out.Complex.Re = v;
    if (text == TText::ValueOnly)
        return out;
    // A text that is one number (its exponent took the "+0" in) is its own
    // token.
    const TInstruction &last = m_program.Code.back();
    for (const TLiteral &literal : m_program.Literals)
        if (last.Op == TOp::Final && literal.Register == last.A) {
            out.Token = QLatin1Char('[') + m_program.Text(literal).toString() + QLatin1Char(']');
            return out;
        }
    out.Token = OperatorResultText(v, m_program.Separator, true);
    return out;
}

TErrorCode TCompiledExpression::EvaluateFast(std::span<const long double> values, long double &result) const {
    if (!CompiledFor(TRoad::Real))
        return TErrorCode::UnknownFailure;
    TChyba err;
    long double v = 0;
    // The inputs copied whole (no conversions), the free names set. A code
    // that reads no input ("()" fails at once) has none to copy, and its
    // empty vector's data() may be null, which memcpy must not be given.
    TRegisters<long double> regs(m_fastRegisterCount);
    if (!m_initialRegisters.empty())
        std::memcpy(regs.data, m_initialRegisters.data(), m_initialRegisters.size() * sizeof(long double));
    bool numbers = true;
    for (size_t k = 0; k < m_fastSlots.size(); ++k) {
        if (m_fastSlots[k] < 0)
            continue;
        const long double x = k < values.size() ? values[k] : NaN;
        regs.data[m_fastSlots[k]] = x;
        numbers = numbers && !std::isnan(x);
    }
    if (RunReal<false>(m_program, m_fastCode, regs.data, err, v, numbers))
        result = v;
    return err.Code;
}

TEngineResult TCompiledExpression::EvaluateFraction() const {
    if (!CompiledFor(TRoad::Fraction))
        return WrongRoad();
    TEngineResult out;
    const TProgram &p = m_program;
    TRegisters<TFrac> regs(p.RegisterCount);
    TFrac *R = regs.data;
    for (const TLiteral &literal : p.Literals)
        R[literal.Register] = FractionLiteral(m_program.Text(literal), p.Separator);
    for (const qint32 r : p.InvalidRegisters)
        R[r] = TFrac{0, 1, TErrorCode::Unreadable};
    for (const qint32 r : p.ZeroRegisters)
        R[r] = TFrac{0, 1, TErrorCode::None};
    for (const qint32 r : p.SlotRegisters)
        R[r] = TFrac{0, 1, TErrorCode::Unreadable};
    TFrac v;
    if (!RunFraction(p, R, out.Error, v))
        return out;
    out.Fraction = TFraction{static_cast<long double>(v.N), static_cast<long double>(v.D)};
    out.Real = out.Fraction.Numerator / out.Fraction.Denominator;
    out.Complex.Re = out.Real;
    out.Token = QStringLiteral("[") + (v.N >= 0 ? QStringLiteral("+") : QString()) + QString::number(v.N) +
                (v.D != 1 ? QLatin1Char('|') + QString::number(v.D) : QString()) + QLatin1Char(']');
    return out;
}

TEngineResult TCompiledExpression::EvaluateComplex() const {
    if (!CompiledFor(TRoad::Complex))
        return WrongRoad();
    TEngineResult out;
    const TProgram &p = m_program;
    TRegisters<TCReg> regs(p.RegisterCount);
    TCReg *R = regs.data;
    for (const TLiteral &literal : p.Literals)
        R[literal.Register] = ComplexLiteral(m_program.Text(literal), p.Separator, p.ImaginaryUnit);
    for (const qint32 r : p.InvalidRegisters) {
        R[r] = TCReg();
        R[r].Err = TErrorCode::Unreadable;
    }
    for (const qint32 r : p.NoBaseRegisters)
        R[r].Text = FromName;
    for (const qint32 r : p.ZeroRegisters)
        R[r] = TCReg();
    for (const qint32 r : p.SlotRegisters) {
        R[r] = TCReg();
        R[r].Err = TErrorCode::Unreadable;
    }
    TCReg v;
    if (!RunComplex(p, R, out.Error, v))
        return out;
    out.Complex = TComplexNumber{v.Re, v.Im, false};
    out.Real = v.Re;
    out.Token = ComplexTokenText(v, p.Separator, p.ImaginaryUnit);
    return out;
}

TEngineResult TCompiledExpression::EvaluateModulo() const {
    if (!CompiledFor(TRoad::Modulo))
        return WrongRoad();
    TEngineResult out;
    const TProgram &p = m_program;
    TRegisters<TMReg> regs(p.RegisterCount);
    TMReg *R = regs.data;
    for (const TLiteral &literal : p.Literals)
        R[literal.Register] = ModuloLiteral(m_program.Text(literal));
    for (const qint32 r : p.InvalidRegisters)
        R[r] = TMReg{0, TErrorCode::Unreadable};
    for (const qint32 r : p.ZeroRegisters)
        R[r] = TMReg{0, TErrorCode::None};
    for (const qint32 r : p.SlotRegisters)
        R[r] = TMReg{0, TErrorCode::Unreadable};
    qint64 v = 0;
    if (!RunModulo(p, R, out.Error, v))
        return out;
    out.Real = static_cast<long double>(v);
    out.Complex.Re = out.Real;
    out.Token = QString::number(v);
    return out;
}
