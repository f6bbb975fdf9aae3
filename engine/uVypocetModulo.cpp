// The evaluator of integers modulo a prime n: sums, differences, products
// and quotients (by the inverse) of residues.
#include "uVypocet.h"

namespace vypocet {

namespace {

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
// a times the inverse of b (extended Euclid); none for a multiple of the
// prime n.
TErrorCode QuotientStep(qint64 a, qint64 b, qint64 n, qint64 &v) {
    qint64 r0 = n, r1 = b % n, t0 = 0, t1 = 1;
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
        return TErrorCode::DivisionByZero;
    v = (a % n) * Reduce(t0, n) % n;
    return TErrorCode::None;
}

TErrorCode ArithmeticStep(TOp op, const TMReg &a, const TMReg &b, qint64 n, TMReg &r) {
    if (b.Err != TErrorCode::None) // the right operand is read first
        return b.Err;
    if (a.Err != TErrorCode::None)
        return a.Err;
    qint64 v = 0;
    if (op == TOp::Multiply)
        v = a.V * b.V % n;
    else if (op == TOp::Add)
        v = Reduce(a.V + b.V, n);
    else if (op == TOp::Subtract)
        v = Reduce(a.V - b.V, n);
    else if (const TErrorCode c = QuotientStep(a.V, b.V, n, v); c != TErrorCode::None)
        return c;
    r = TMReg{v, TErrorCode::None};
    return TErrorCode::None;
}

bool RunModulo(const TProgram &p, TMReg *R, TChyba &err, qint64 &result) {
    const qint64 n = p.Modulus;
    if (n == 0) {
        err.Set(TErrorCode::UnknownFailure);
        return false;
    }
    for (const TInstruction &in : p.Code) {
        TErrorCode c = TErrorCode::None;
        switch (in.Op) {
        case TOp::Multiply:
        case TOp::Divide:
        case TOp::Add:
        case TOp::Subtract: c = ArithmeticStep(in.Op, R[in.A], R[in.B], n, R[in.Dst]); break;
        case TOp::Negate: {
            const TMReg a = R[in.A];
            R[in.Dst] = TMReg{-a.V, a.Err != TErrorCode::None || a.V == 0 ? a.Err : TErrorCode::UnknownFailure};
            break;
        }
        case TOp::GroupEnd:
        case TOp::Final:
            if ((c = R[in.A].Err) != TErrorCode::None)
                break;
            R[in.Dst] = TMReg{Reduce(R[in.A].V, n), TErrorCode::None};
            if (in.Op == TOp::Final)
                result = R[in.Dst].V;
            break;
        case TOp::Fail: c = in.Code; break;
        case TOp::Function: // the modulo set's scanner makes none of these
        case TOp::PercentPlain:
        case TOp::PercentPlus:
        case TOp::PercentMinus:
        case TOp::Power:
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

bool RunModuloProgram(const TProgram &p, TChyba &err, qint64 &value) {
    TRegisters<TMReg> regs(p.RegisterCount);
    TMReg *R = regs.data;
    for (const prekladac::TLiteral &literal : p.Literals)
        R[literal.Register] = ModuloLiteral(p.Text(literal));
    for (const qint32 r : p.InvalidRegisters)
        R[r] = TMReg{0, TErrorCode::Unreadable};
    for (const qint32 r : p.ZeroRegisters)
        R[r] = TMReg{0, TErrorCode::None};
    for (const qint32 r : p.SlotRegisters)
        R[r] = TMReg{0, TErrorCode::Unreadable};
    return RunModulo(p, R, err, value);
}

} // namespace vypocet
