// The evaluator of the complex set: sums, products, quotients, natural
// powers and abs of complex numbers, in the algebraic or the exponential
// form. A power's exponent is tested as its token text is written, so a
// value keeps what its text holds.
#include "uVypocet.h"

#include "KomplexneCisla.h"
#include "uCisla.h"

#include <cmath>

namespace vypocet {

namespace {

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

struct TCReg : TComplexNumber {
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
    static_cast<TComplexNumber &>(r) = v;
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

TComplexNumber ValueOf(const TCReg &r) { return r; }

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
        static_cast<TComplexNumber &>(r) = z;
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

// Where the program keeps whole numbers exact (ExactWholeNumbers), an
// operation on whole parts whose result is whole within the 64-bit range
// keeps that result as the real set does: a sum of such parts is exact, and
// so is a product whose every term is such a part. False where this does
// not apply; the arithmetic then rounds as always.
bool ExactWhole(TOp op, const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    if (!WholeIn64Bits(a.Re) || !WholeIn64Bits(a.Im) || !WholeIn64Bits(b.Re) || !WholeIn64Bits(b.Im))
        return false;
    TComplexNumber v{0, 0, a.Polar && b.Polar};
    switch (op) {
    case TOp::Add: v.Re = a.Re + b.Re, v.Im = a.Im + b.Im; break;
    case TOp::Subtract: v.Re = a.Re - b.Re, v.Im = a.Im - b.Im; break;
    case TOp::Multiply: {
        const long double rr = a.Re * b.Re, ii = a.Im * b.Im, ri = a.Re * b.Im, ir = a.Im * b.Re;
        if (!WholeIn64Bits(rr) || !WholeIn64Bits(ii) || !WholeIn64Bits(ri) || !WholeIn64Bits(ir))
            return false;
        v.Re = rr - ii, v.Im = ri + ir;
        break;
    }
    case TOp::Divide: // by a real number only, which divides each part
        if (b.Im != 0 || b.Re == 0)
            return false;
        v.Re = a.Re / b.Re, v.Im = a.Im / b.Re;
        break;
    default: return false;
    }
    if (!WholeIn64Bits(v.Re) || !WholeIn64Bits(v.Im))
        return false;
    v.Re += 0.0L; // no -0
    v.Im += 0.0L;
    r = v;
    return true;
}

// z^n by squaring, every product as ExactWhole makes it.
bool ExactWholePower(const TComplexNumber &z, quint16 n, TComplexNumber &r) {
    TComplexNumber v{1, 0, z.Polar}, square = z;
    for (unsigned m = n; m != 0; m >>= 1) {
        if ((m & 1) && !ExactWhole(TOp::Multiply, v, square, v))
            return false;
        if (m > 1 && !ExactWhole(TOp::Multiply, square, square, square))
            return false;
    }
    v.Polar = z.Polar;
    r = v;
    return true;
}

// The steps of the operations, each the value r of its operands or the
// code of its fault.

TErrorCode AbsStep(const TCReg &a, TCReg &r) {
    if (a.Err != TErrorCode::None)
        return a.Err;
    TComplexNumber v;
    try {
        ComplexAbs(ValueOf(a), v);
    } catch (const EEngineError &) {
        return TErrorCode::UnknownFailure;
    }
    r = AsToken(v);
    return TErrorCode::None;
}

TErrorCode PowerStep(const TCReg &a, const TCReg &b, TCReg &r, bool keepWhole) {
    if (a.Err != TErrorCode::None && (a.Text & FromName))
        return a.Err; // a name is no base at all
    // Natural exponents only, as written.
    if (TokenFlags(b) & (HasSeparator | HasUnit | HasMinus))
        return TErrorCode::TooLarge;
    if (a.Err != TErrorCode::None)
        return a.Err;
    if (b.Err != TErrorCode::None)
        return b.Err;
    constexpr long double Limit = 9223372036854775808.0L;
    if (!(b.Re < Limit && b.Re >= -Limit))
        return TErrorCode::UnknownFailure;
    const qint64 n = std::llrintl(b.Re);
    if (n < 0 || n > 65535)
        return TErrorCode::UnknownFailure;
    TComplexNumber v;
    if (keepWhole && ExactWholePower(ValueOf(a), quint16(n), v)) {
        r = AsToken(v);
        return TErrorCode::None;
    }
    try {
        ComplexPowerInt(ValueOf(a), quint16(n), v);
    } catch (const EEngineError &) {
        return TErrorCode::UnknownFailure;
    }
    r = AsToken(v);
    return TErrorCode::None;
}

TErrorCode ArithmeticStep(TOp op, const TCReg &a, const TCReg &b, TCReg &r, bool keepWhole) {
    if (a.Err != TErrorCode::None)
        return a.Err;
    if (b.Err != TErrorCode::None)
        return b.Err;
    const TComplexNumber x = ValueOf(a), y = ValueOf(b);
    TComplexNumber v;
    if (keepWhole && ExactWhole(op, x, y, v)) {
        r = AsToken(v);
        return TErrorCode::None;
    }
    try {
        if (op == TOp::Multiply)
            ComplexMul(x, y, v);
        else if (op == TOp::Divide)
            ComplexDiv(x, y, v);
        else if (op == TOp::Add)
            ComplexAdd(x, y, v);
        else
            ComplexSub(x, y, v);
    } catch (const EEngineInvalidOp &) {
        return TErrorCode::DivisionByZero;
    } catch (const EEngineError &) {
        return TErrorCode::UnknownFailure;
    }
    r = AsToken(v);
    return TErrorCode::None;
}

TCReg Negated(TCReg v) {
    v.Re = -v.Re;
    v.Im = -v.Im;
    v.Modulus = -v.Modulus; // -r e^(j angle): the same turn
    v.Text ^= HasMinus;     // of a computed value: ComputedNegated
    return v;
}

bool RunComplex(const TProgram &p, TCReg *R, TChyba &err, TCReg &result) {
    for (const TInstruction &in : p.Code) {
        TErrorCode c = TErrorCode::None;
        switch (in.Op) {
        case TOp::Function: // abs, the one function of the set
            c = AbsStep(R[in.A], R[in.Dst]);
            break;
        case TOp::Power: c = PowerStep(R[in.A], R[in.B], R[in.Dst], p.ExactWholeNumbers); break;
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: c = ArithmeticStep(in.Op, R[in.A], R[in.B], R[in.Dst], p.ExactWholeNumbers); break;
        case TOp::Negate: R[in.Dst] = Negated(R[in.A]); break;
        case TOp::GroupEnd: // a group's value passes on as written, if it is one
            if (R[in.A].Err != TErrorCode::None && !(R[in.A].Text & BadLiteral))
                c = R[in.A].Err;
            else
                R[in.Dst] = R[in.A];
            break;
        case TOp::Final:
            if ((c = R[in.A].Err) == TErrorCode::None)
                result = R[in.A];
            break;
        case TOp::Fail: c = in.Code; break;
        case TOp::PercentPlain: // the complex set's scanner makes none of these
        case TOp::PercentPlus:
        case TOp::PercentMinus:
        case TOp::Factorial:
        case TOp::Binomial:
        case TOp::IntegerDivide:
        case TOp::Remainder: c = TErrorCode::Unreadable; break;
        }
        if (c != TErrorCode::None) {
            err.Set(c);
            return false;
        }
    }
    return true;
}

} // namespace

bool RunComplexProgram(const TProgram &p, TChyba &err, TComplexNumber &value, QString &token) {
    TRegisters<TCReg> regs(p.RegisterCount);
    TCReg *R = regs.data;
    for (const prekladac::TLiteral &literal : p.Literals)
        R[literal.Register] = ComplexLiteral(p.Text(literal), p.Separator, p.ImaginaryUnit);
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
    if (!RunComplex(p, R, err, v))
        return false;
    value = TComplexNumber{v.Re, v.Im, false};
    token = ComplexTokenText(v, p.Separator, p.ImaginaryUnit);
    return true;
}

} // namespace vypocet
