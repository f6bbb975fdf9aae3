// The evaluator of the real set: the "=" road, whose every result is rounded
// as the display shows it, and the sampling road of graphs, which skips the
// rounding and runs a code trimmed for speed (TCompiledExpression's fast
// code).
#include "uVypocet.h"

#include "Analyzator.h"
#include "PrevodySustav.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace vypocet {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double DegreesToRadians = Pi / 180.0L;
constexpr long double GradsToRadians = Pi / 200.0L;
constexpr long double RadiansToDegrees = 180.0L / Pi;
constexpr long double RadiansToGrads = 200.0L / Pi;
constexpr long double MaxFactorialOperand = 65535.0L;
// Above this the factorial leaves the 80-bit range.
constexpr long double LargestFiniteFactorial = 1754.0L;

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
[[gnu::noinline, gnu::cold]] void FunctionFault(TFunction function, long double x, const TProgram &p, bool domain,
                                                TChyba &err) {
    if (domain) {
        err.Set(TErrorCode::OutsideDomain);
        QString shown;
        FormatNumber(2, 10, shown, x, p.Separator);
        err.Param1 = shown;
        err.Param2 = FunctionName(function);
    } else {
        err.Set(TErrorCode::FunctionOverflow);
        err.Param1 = FunctionName(function);
    }
}

enum TFault { Ok, Domain, Overflow };

// v := value, for a function defined where it is asked.
inline TFault Value(long double &v, long double value) {
    v = value;
    return Ok;
}

// The argument of a direct trigonometric function in radians. In degrees
// and grads it is reduced by whole turns first (exactly), so the poles of
// the tangent and cotangent are recognised.
inline long double ToRadians(long double t, TAngleUnit unit) {
    if (unit == TAngleUnit::Degrees)
        return std::fmod(t, 360.0L) * DegreesToRadians;
    if (unit == TAngleUnit::Grads)
        return std::fmod(t, 400.0L) * GradsToRadians;
    return t;
}

// odd: at 90, 270 degrees (tangent); even: at 0, 180 degrees (cotangent).
inline bool OnQuarterPole(long double x, TAngleUnit unit, bool odd) {
    const long double half = unit == TAngleUnit::Degrees ? 180.0L : 200.0L;
    const long double r = std::fabs(std::fmod(x, half));
    return odd ? r == half / 2 : r == 0;
}

inline long double UnitInRadians(TAngleUnit unit) {
    return unit == TAngleUnit::Degrees ? DegreesToRadians : unit == TAngleUnit::Grads ? GradsToRadians : 1.0L;
}

inline long double FromRadians(long double t, TAngleUnit unit) {
    if (unit == TAngleUnit::Degrees)
        return t * RadiansToDegrees;
    if (unit == TAngleUnit::Grads)
        return t * RadiansToGrads;
    return t;
}

// The inverse cotangent, from 0 to pi, as arctg(1/x): pi/2 - arctg(x)
// would cancel for a large x and leave nothing of a value near 1/x.
inline long double ArcCotangent(long double x) {
    if (x == 0)
        return Pi / 2;
    const long double a = std::atan(1.0L / x);
    return x < 0 ? a + Pi : a;
}

inline TFault Tangent(long double x, TAngleUnit unit, long double &v) {
    if (unit != TAngleUnit::Radians && OnQuarterPole(x, unit, true))
        return Domain;
    return Value(v, std::tan(ToRadians(x, unit)));
}

inline TFault Cotangent(long double x, TAngleUnit unit, long double &v) {
    const long double t = ToRadians(x, unit);
    if ((unit != TAngleUnit::Radians && OnQuarterPole(x, unit, false)) || t == 0)
        return Domain;
    return Value(v, 1.0L / std::tan(t));
}

// The logarithm of x to the base "y"; false when "y" gives none (the code
// in err).
inline bool LogarithmToY(long double x, const TProgram &p, long double &v, TFault &fault, TChyba &err) {
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
    fault = x <= 0 || y <= 0 || y == 1 ? Domain : Value(v, std::log(x) / std::log(y));
    return true;
}

// A built-in function of x; false with the code in err on failure. Inlined
// into the evaluator, so that x and the value stay in the FPU's registers.
[[gnu::always_inline]] inline bool FunctionValue(TFunction function, long double x, const TProgram &p,
                                                 long double &value, TChyba &err) {
    const TAngleUnit unit = p.AngleUnit;
    TFault fault = Ok;
    long double v = 0;
    using enum TFunction;
    switch (function) {
    case Rnd: v = std::nearbyint(x); break;
    case Sqr: v = x * x; break;
    case Sqrt: fault = x < 0 ? Domain : Value(v, std::sqrt(x)); break;
    case Abs: v = std::fabs(x); break;
    case Log: fault = x <= 0 ? Domain : Value(v, std::log10(x)); break;
    case Ln: fault = x <= 0 ? Domain : Value(v, std::log(x)); break;
    case Deg: v = DmsToDegrees(x); break;
    case Dms: v = DegreesToDms(x); break;
    case Sign: v = x > 0 ? 1 : (x < 0 ? -1 : 0); break;
    case Logy:
        if (!LogarithmToY(x, p, v, fault, err))
            return false;
        break;
    case Sin: v = std::sin(ToRadians(x, unit)); break;
    case Cos: v = std::cos(ToRadians(x, unit)); break;
    case Tan:
    case Tg: fault = Tangent(x, unit, v); break;
    case Cotan:
    case Cotg: fault = Cotangent(x, unit, v); break;
    case Arcsin: fault = x < -1 || x > 1 ? Domain : Value(v, FromRadians(std::asin(x), unit)); break;
    case Arccos: fault = x < -1 || x > 1 ? Domain : Value(v, FromRadians(std::acos(x), unit)); break;
    case Arctan:
    case Arctg: v = FromRadians(std::atan(x), unit); break;
    case Arccotg:
    case Arccot: v = FromRadians(ArcCotangent(x), unit); break;
    case Sinh: v = std::sinh(x); break;
    case Cosh: v = std::cosh(x); break;
    case Tanh:
    case Tgh: v = std::tanh(x); break;
    case Cotanh:
    case Cotgh: fault = x == 0 ? Domain : Value(v, 1.0L / std::tanh(x)); break;
    case Arcsinh: v = std::asinh(x); break;
    case Arccosh: fault = x < 1 ? Domain : Value(v, std::acosh(x)); break;
    case Arctanh:
    case Arctgh: fault = x <= -1 || x >= 1 ? Domain : Value(v, std::atanh(x)); break;
    case Arccoth:
    case Arccotgh: fault = x >= -1 && x <= 1 ? Domain : Value(v, std::atanh(1.0L / x)); break;
    }

    if (fault == Ok && !Finite80(v))
        fault = std::isnan(v) ? Domain : Overflow;
    if (fault != Ok) [[unlikely]] {
        FunctionFault(function, x, p, fault == Domain, err);
        return false;
    }
    value = v;
    return true;
}

// sin and cos of x; value is the function `first`'s, other the other's.
// They fail as the two functions one after the other would: only for an
// argument that is no finite number, and then in the first.
bool SineAndCosine(TFunction first, long double x, const TProgram &p, long double &value, long double &other,
                   TChyba &err) {
    const long double t = ToRadians(x, p.AngleUnit);
    long double s = 0, c = 0;
    sincosl(t, &s, &c);
    value = first == TFunction::Sin ? s : c;
    other = first == TFunction::Sin ? c : s;
    if (!Finite80(value) || !Finite80(other)) {
        // As the functions one by one report it.
        long double v = 0;
        if (!FunctionValue(first, x, p, v, err))
            return false;
        return FunctionValue(first == TFunction::Sin ? TFunction::Cos : TFunction::Sin, x, p, v, err);
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

// keepWhole: the program's ExactWholeNumbers.
template <bool Exact>
inline long double Rounded(long double v, bool keepWhole) {
    if constexpr (Exact)
        return keepWhole && WholeIn64Bits(v) ? v : RoundOperatorResult(v);
    else
        return v;
}

// The steps of the operations, each a value v of its operands or the code
// of its fault. Inlined into the evaluator's loop.

template <bool Exact>
[[gnu::always_inline]] inline TErrorCode PowerValue(long double a, long double b, long double &v) {
    const bool whole = b == __builtin_rintl(b);
    if (a < 0 && !whole)
        return TErrorCode::NegativeBaseRoot;
    if (a == 0 && b < 0)
        return TErrorCode::DivisionByZero;
    if (!Exact && whole && b >= 1 && b <= 64)
        v = WholePower(a, int(__builtin_lrintl(b))); // x^2 as x*x: what a formula in C++ would write
    else
        v = std::pow(a, b);
    return Finite80(v) ? TErrorCode::None : TErrorCode::TooLarge;
}

inline TErrorCode FactorialValue(long double a, long double &v) {
    if (a < 0 || HasFraction(a))
        return TErrorCode::FactorialOfNonNatural;
    if (a > LargestFiniteFactorial)
        return TErrorCode::TooLarge;
    v = Factorial(quint16(a));
    return TErrorCode::None;
}

inline TErrorCode BinomialValue(long double n, long double k, long double &v) {
    if (HasFraction(n) || HasFraction(k) || n < 0 || k < 0)
        return TErrorCode::NonIntegerOperand;
    if (k > n)
        return TErrorCode::BinomialKAboveN;
    v = n > MaxFactorialOperand ? HUGE_VALL : Binomial(n, k);
    return Finite80(v) ? TErrorCode::None : TErrorCode::TooLarge;
}

// "div" (IsDiv) or "mod" of two whole numbers.
template <bool IsDiv>
inline TErrorCode WholeQuotientValue(long double a, long double b, long double &v) {
    if (HasFraction(a) || HasFraction(b))
        return TErrorCode::NonIntegerOperand;
    constexpr long double Limit = 9223372036854775808.0L;
    if (a >= Limit || a < -Limit || b >= Limit || b < -Limit)
        return TErrorCode::TooLarge;
    const qint64 ia = std::llrintl(a), ib = std::llrintl(b);
    if (ib == 0)
        return TErrorCode::DivisionByZero;
    qint64 q;
    if constexpr (IsDiv) {
        if (ia == std::numeric_limits<qint64>::min() && ib == -1)
            return TErrorCode::TooLarge;
        q = ia / ib;
    } else {
        q = ib == -1 ? 0 : ia % ib;
    }
    v = static_cast<long double>(q);
    return TErrorCode::None;
}

[[gnu::always_inline]] inline TErrorCode ArithmeticValue(TOp op, long double a, long double b, long double &v) {
    if (op == TOp::Multiply)
        v = a * b;
    else if (op == TOp::Add)
        v = a + b;
    else if (op == TOp::Subtract)
        v = a - b;
    else if (b == 0)
        return TErrorCode::DivisionByZero;
    else
        v = a / b;
    return Finite80(v) ? TErrorCode::None : TErrorCode::TooLarge;
}

inline long double PercentValue(TOp op, long double b) {
    return op == TOp::PercentPlain  ? b / 100.0L
           : op == TOp::PercentPlus ? (b + 100.0L) / 100.0L
                                    : (100.0L - b) / 100.0L;
}

// The registers as the instructions read and write them. The sampling
// road keeps the value an instruction computed for the next one, which
// often reads it (a chain of sums, a function of a bracket): an 80-bit
// value written to memory and read back at once costs more than the
// operation. A malformed part is NaN, and so is a free name given none;
// the sampling road tests only the operands that can be NaN (the flags in
// MayBeNaN).
template <bool Exact>
struct TRealRegisters {
    long double *R;
    quint8 MayBeNaN;
    long double Acc = 0;

    [[gnu::always_inline]] long double A(const TInstruction &in) const {
        if constexpr (!Exact)
            if (in.Flags & prekladac::FromPrevious)
                return Acc;
        return R[in.A];
    }
    [[gnu::always_inline]] void Put(const TInstruction &in, long double v) {
        if constexpr (!Exact) {
            Acc = v;
            if (in.Flags & prekladac::NotStored)
                return;
        }
        R[in.Dst] = v;
    }
    [[gnu::always_inline]] bool Unreadable(const TInstruction &in, long double a, long double b = 0) const {
        if constexpr (!Exact)
            if (!(in.Flags & MayBeNaN))
                return false;
        return std::isnan(a) || std::isnan(b);
    }
};

// The value v of a function of x that the "=" road keeps: 18 significant
// digits, as any step keeps its value, but 0 for what the rounding of pi
// leaves of a zero of a periodic function (cos(90) in degrees).
inline long double KeptFunctionValue(TFunction function, long double x, long double v, TAngleUnit unit) {
    using enum TFunction;
    const bool periodic = function == Sin || function == Cos || function == Tg || function == Tan || function == Cotg ||
                          function == Cotan;
    if (periodic && IsResidueOfPi(v, x, UnitInRadians(unit)))
        return 0;
    return RoundOperatorResult(v);
}

// The function of the instruction of x, kept as KeptFunctionValue says on
// the "=" road; the sampling road's paired sine and cosine write both
// values.
template <bool Exact>
[[gnu::always_inline]] inline bool FunctionStep(const TInstruction &in, const TProgram &p, TRealRegisters<Exact> &regs,
                                                TChyba &err) {
    const long double x = regs.A(in);
    if (regs.Unreadable(in, x)) {
        err.Set(TErrorCode::Unreadable);
        return false;
    }
    long double v = 0;
    if constexpr (!Exact) {
        if (in.Flags & prekladac::PairsSineCosine) {
            long double other = 0;
            if (!SineAndCosine(in.Function, x, p, v, other, err))
                return false;
            regs.R[in.B] = other;
            regs.Put(in, v);
            return true;
        }
    }
    if (!FunctionValue(in.Function, x, p, v, err))
        return false;
    if (Exact && p.ExactWholeNumbers && WholeIn64Bits(v))
        regs.Put(in, v);
    else
        regs.Put(in, Exact ? KeptFunctionValue(in.Function, x, v, p.AngleUnit) : v);
    return true;
}

} // namespace

long double RealLiteral(QStringView text, QChar sep) {
    long double v = 0;
    return TryStrToFloat(text, v, sep) ? v : NaN;
}

template <bool Exact>
bool RunReal(const TProgram &p, const std::vector<TInstruction> &code, long double *R, TChyba &err, long double &result,
             bool slotsAreNumbers) {
    // The name of the operation a code 14 names.
    auto fail = [&err](TErrorCode code, std::optional<TWordOperator> word = std::nullopt) {
        err.Set(code);
        if (word && code == TErrorCode::NonIntegerOperand)
            err.Param1 = WordOperatorName(*word).toString();
        return false;
    };
    TRealRegisters<Exact> regs{R, slotsAreNumbers ? quint8(prekladac::MayBeNaN)
                                                  : quint8(prekladac::MayBeNaN | prekladac::ReadsSlot)};
    const bool keepWhole = p.ExactWholeNumbers;
    // An operation of two operands: the value step makes of them, rounded
    // and stored, or the fault it reports (with the word operator's name for
    // code 27).
    auto binary = [&](const TInstruction &in, auto step, std::optional<TWordOperator> word = std::nullopt)
        __attribute__((always_inline)) {
        const long double a = regs.A(in), b = R[in.B];
        if (regs.Unreadable(in, a, b))
            return fail(TErrorCode::Unreadable);
        long double v = 0;
        if (const TErrorCode c = step(a, b, v); c != TErrorCode::None)
            return fail(c, word);
        regs.Put(in, Rounded<Exact>(v, keepWhole));
        return true;
    };
    for (const TInstruction &in : code) {
        switch (in.Op) {
        case TOp::Function:
            if (!FunctionStep<Exact>(in, p, regs, err))
                return false;
            break;
        case TOp::PercentPlain:
        case TOp::PercentPlus:
        case TOp::PercentMinus: {
            const long double b = regs.A(in);
            if (regs.Unreadable(in, b))
                return fail(TErrorCode::Unreadable);
            regs.Put(in, Rounded<Exact>(PercentValue(in.Op, b), keepWhole));
            break;
        }
        case TOp::Power:
            if (!binary(in, PowerValue<Exact>))
                return false;
            break;
        case TOp::Factorial: {
            const long double a = regs.A(in);
            if (regs.Unreadable(in, a))
                return fail(TErrorCode::Unreadable);
            long double v = 0;
            if (const TErrorCode c = FactorialValue(a, v); c != TErrorCode::None)
                return fail(c);
            regs.Put(in, Rounded<Exact>(v, keepWhole));
            break;
        }
        case TOp::Binomial:
            if (!binary(in, BinomialValue, TWordOperator::Nad))
                return false;
            break;
        case TOp::IntegerDivide:
            if (!binary(in, WholeQuotientValue<true>, TWordOperator::Div))
                return false;
            break;
        case TOp::Remainder:
            if (!binary(in, WholeQuotientValue<false>, TWordOperator::Mod))
                return false;
            break;
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract:
            if (!binary(
                    in, [&in](long double a, long double b, long double &v)
                            __attribute__((always_inline)) { return ArithmeticValue(in.Op, a, b, v); }))
                return false;
            break;
        case TOp::Negate: regs.Put(in, -regs.A(in)); break;
        case TOp::GroupEnd:
            R[in.Dst] = R[in.A]; // not in the sampling road's code
            break;
        case TOp::Final:
            if (regs.Unreadable(in, regs.A(in)))
                return fail(TErrorCode::Unreadable);
            result = regs.A(in);
            break;
        case TOp::Fail: return fail(in.Code);
        }
    }
    return true;
}

template bool RunReal<true>(const TProgram &, const std::vector<TInstruction> &, long double *, TChyba &, long double &,
                            bool);
template bool RunReal<false>(const TProgram &, const std::vector<TInstruction> &, long double *, TChyba &,
                             long double &, bool);

template <bool Exact>
TErrorCode RunRealProgram(const TProgram &p, const std::vector<TInstruction> &code,
                          const std::vector<long double> &literals, std::span<const long double> values, TChyba &err,
                          long double &result) {
    TRegisters<long double> regs(p.RegisterCount);
    long double *R = regs.data;
    if (literals.size() == p.Literals.size()) {
        for (size_t k = 0; k < p.Literals.size(); ++k)
            R[p.Literals[k].Register] = literals[k];
    } else { // compiled for another set: read here
        for (const prekladac::TLiteral &literal : p.Literals)
            R[literal.Register] = RealLiteral(p.Text(literal), p.Separator);
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

template TErrorCode RunRealProgram<true>(const TProgram &, const std::vector<TInstruction> &,
                                         const std::vector<long double> &, std::span<const long double>, TChyba &,
                                         long double &);

} // namespace vypocet
