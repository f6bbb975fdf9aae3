// The compiled expression: a program compiled once, run by the evaluator of
// its number set, and for the real set a second code trimmed for sampling.
#include "uKompilovanyVyraz.h"

#include "uCisla.h"
#include "uVypocet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

using namespace prekladac;
using namespace vypocet;

namespace {

// The sampling road's code, built in steps from the program's own.
struct TFastCode {
    const TProgram &Program;
    const std::vector<long double> &Literals; // the real values of Program.Literals
    std::vector<TInstruction> &Code;
};

// In the real set a group's end only copies its value to the register its
// parent reads, so the parent reads the value where it is. Each register is
// written once, so nothing is lost. Equal literals are one operand
// ("x/10" twice reads one register), and an operation met again with the
// same operands is the value it had ("ln(x^2+1)+log(x^2+2)" squares x
// once): the first one ran before and did not fail, so neither would the
// second.
void DropCopiesAndRepeats(TFastCode f) {
    const TProgram &p = f.Program;
    std::vector<qint32> alias(size_t(p.RegisterCount), -1);
    auto resolve = [&alias](qint32 r) { return r >= 0 && alias[size_t(r)] >= 0 ? alias[size_t(r)] : r; };
    std::map<long double, qint32> literalOf;
    for (size_t k = 0; k < p.Literals.size(); ++k) {
        const long double v = f.Literals[k];
        if (std::isnan(v))
            continue;
        const auto [at, added] = literalOf.emplace(v, p.Literals[k].Register);
        if (!added)
            alias[size_t(p.Literals[k].Register)] = at->second;
    }
    using TKey = std::tuple<quint8, quint8, qint32, qint32>;
    std::map<TKey, qint32> computed;
    f.Code.reserve(p.Code.size());
    for (TInstruction in : p.Code) {
        if (in.Op == TOp::GroupEnd) {
            alias[size_t(in.Dst)] = resolve(in.A);
            continue;
        }
        in.A = resolve(in.A);
        in.B = resolve(in.B);
        if (in.Op != TOp::Final && in.Op != TOp::Fail) {
            const auto [at, added] = computed.emplace(TKey{quint8(in.Op), quint8(in.Function), in.A, in.B}, in.Dst);
            if (!added) {
                alias[size_t(in.Dst)] = at->second;
                continue;
            }
        }
        f.Code.push_back(in);
    }
}

// A sine and a cosine of one operand are computed together, where the
// first of them stands. (After DropCopiesAndRepeats there is one of each
// per operand at most.)
void PairSinesAndCosines(TFastCode f) {
    std::vector<TInstruction> &code = f.Code;
    std::map<std::pair<TFunction, qint32>, size_t> function; // (function, operand) -> instruction
    for (size_t i = 0; i < code.size(); ++i) {
        const TInstruction &in = code[i];
        if (in.Op == TOp::Function && (in.Function == TFunction::Sin || in.Function == TFunction::Cos))
            function.emplace(std::pair{in.Function, in.A}, i);
    }
    std::vector<bool> gone(code.size(), false);
    for (const auto &[key, i] : function) {
        if (key.first != TFunction::Sin)
            continue;
        const auto cosine = function.find(std::pair{TFunction::Cos, key.second});
        if (cosine == function.end())
            continue;
        const size_t first = std::min(i, cosine->second), second = std::max(i, cosine->second);
        code[first].Flags |= PairsSineCosine;
        code[first].B = code[second].Dst;
        gone[second] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < code.size(); ++i)
        if (!gone[i])
            code[kept++] = code[i];
    code.resize(kept);
}

// The "+0" after the text adds nothing to a sample (the sum's last step,
// right before the end, which reads a malformed value as code 1 just as the
// sum would).
void DropPlusZero(TFastCode f) {
    std::vector<TInstruction> &code = f.Code;
    const size_t n = code.size();
    if (n < 2 || code[n - 1].Op != TOp::Final || code[n - 2].Op != TOp::Add || code[n - 1].A != code[n - 2].Dst)
        return;
    const qint32 zero = code[n - 2].B;
    bool plusZero = false;
    for (size_t k = 0; k < f.Program.Literals.size(); ++k)
        if (f.Program.Literals[k].Register == zero)
            plusZero = f.Literals[k] == 0 && !std::signbit(f.Literals[k]);
    if (plusZero) {
        code[n - 1].A = code[n - 2].A;
        code.erase(code.begin() + qsizetype(n - 2));
    }
}

// B of a paired sine and cosine is the register it writes, not an operand.
bool ReadsB(const TInstruction &in) { return in.B >= 0 && !(in.Op == TOp::Function && (in.Flags & PairsSineCosine)); }
bool WritesB(const TInstruction &in) { return in.Op == TOp::Function && (in.Flags & PairsSineCosine); }

// The operands that can be NaN: a malformed part, a literal that is no
// number, a free name (given NaN) and the negation of one of them. Every
// other value is tested finite where it is made.
void MarkNaNOperands(TFastCode f) {
    const TProgram &p = f.Program;
    std::vector<quint8> nanFrom(size_t(p.RegisterCount), 0);
    for (const qint32 r : p.InvalidRegisters)
        nanFrom[size_t(r)] = MayBeNaN;
    for (size_t k = 0; k < p.Literals.size(); ++k)
        if (std::isnan(f.Literals[k]))
            nanFrom[size_t(p.Literals[k].Register)] = MayBeNaN;
    for (const qint32 r : p.SlotRegisters)
        nanFrom[size_t(r)] = ReadsSlot;
    for (TInstruction &in : f.Code) {
        const quint8 from = quint8((in.A >= 0 ? nanFrom[size_t(in.A)] : 0) | (ReadsB(in) ? nanFrom[size_t(in.B)] : 0));
        in.Flags |= from;
        if (in.Op == TOp::Negate)
            nanFrom[size_t(in.Dst)] = from;
    }
}

// Values handed from one instruction to the next without memory.
void ChainValues(TFastCode f) {
    std::vector<TInstruction> &code = f.Code;
    std::vector<int> reads(size_t(f.Program.RegisterCount), 0);
    for (const TInstruction &in : code) {
        if (in.A >= 0)
            ++reads[size_t(in.A)];
        if (ReadsB(in))
            ++reads[size_t(in.B)];
    }
    for (size_t k = 1; k < code.size(); ++k) {
        TInstruction &before = code[k - 1];
        TInstruction &in = code[k];
        const bool computes = before.Op != TOp::Fail && before.Op != TOp::Final;
        if (computes && in.A == before.Dst && in.Op != TOp::Fail) {
            in.Flags |= FromPrevious;
            if (reads[size_t(before.Dst)] == 1)
                before.Flags |= NotStored;
        }
    }
}

// The registers renumbered: first those read before anything writes them
// (the literals, 0, the malformed parts as NaN, the free names), so that a
// call copies only these, then the rest. initial: the values of the first;
// fastSlots: each free name's register (-1: the name is not read). Returns the
// number of registers.
qint32 RenumberRegisters(TFastCode f, std::vector<long double> &initial, std::vector<qint32> &fastSlots) {
    const TProgram &p = f.Program;
    const size_t count = size_t(p.RegisterCount);
    std::vector<long double> start(count, NaN);
    for (size_t k = 0; k < p.Literals.size(); ++k)
        start[size_t(p.Literals[k].Register)] = f.Literals[k];
    for (const qint32 r : p.ZeroRegisters)
        start[size_t(r)] = 0;
    std::vector<bool> written(count, false);
    for (const TInstruction &in : f.Code) {
        written[size_t(in.Dst)] = true;
        if (WritesB(in))
            written[size_t(in.B)] = true;
    }
    std::vector<qint32> number(count, -1);
    qint32 next = 0;
    auto input = [&](qint32 r) {
        if (r >= 0 && !written[size_t(r)] && number[size_t(r)] < 0) {
            number[size_t(r)] = next++;
            initial.push_back(start[size_t(r)]);
        }
    };
    auto output = [&](qint32 r) {
        if (number[size_t(r)] < 0)
            number[size_t(r)] = next++;
    };
    for (const TInstruction &in : f.Code) {
        input(in.A);
        if (ReadsB(in))
            input(in.B);
    }
    for (const TInstruction &in : f.Code) {
        output(in.Dst);
        if (WritesB(in))
            output(in.B);
    }
    for (TInstruction &in : f.Code) {
        in.Dst = number[size_t(in.Dst)];
        if (in.A >= 0)
            in.A = number[size_t(in.A)];
        if (in.B >= 0)
            in.B = number[size_t(in.B)];
    }
    for (const qint32 r : p.SlotRegisters)
        fastSlots.push_back(number[size_t(r)]);
    return next;
}

} // namespace

TCompiledExpression::TCompiledExpression(const QString &text, const TEvaluationContext &context,
                                         const QStringList &freeNames)
    : m_program(Compile(text, context, freeNames)) {
    ReadRealLiterals();
    if (m_program.Set != TNumberSet::Real)
        return;
    BuildFastCode();
}

void TCompiledExpression::BuildFastCode() {
    const TFastCode f{m_program, m_realLiterals, m_fastCode};
    DropCopiesAndRepeats(f);
    PairSinesAndCosines(f);
    DropPlusZero(f);
    MarkNaNOperands(f);
    ChainValues(f);
    m_fastRegisterCount = RenumberRegisters(f, m_initialRegisters, m_fastSlots);
}

void TCompiledExpression::ReadRealLiterals() {
    m_realLiterals.clear();
    if (m_program.Set != TNumberSet::Real)
        return; // the other sets read their literals themselves
    m_realLiterals.reserve(m_program.Literals.size());
    for (const TLiteral &literal : m_program.Literals)
        m_realLiterals.push_back(RealLiteral(m_program.Text(literal), m_program.Separator));
}

TEngineResult TCompiledExpression::EvaluateText(const QString &text, const TEvaluationContext &given, TRoad road,
                                                TText realText) {
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
    auto evaluate = [road, realText](const TCompiledExpression &e) {
        switch (road) {
        case TRoad::Real: return e.EvaluateReal({}, realText);
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
    if (RunRealProgram<true>(m_program, m_program.Code, m_realLiterals, values, out.Error, v) != TErrorCode::None)
        return out;
    out.Real = v;
    out.Complex.Re = v;
    if (text == TText::ValueOnly)
        return out;
    // An empty text (its value the appended 0) is that number's token.
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
    TExactFraction v;
    if (!RunFractionProgram(m_program, out.Error, v))
        return out;
    const qint64 n = v.N, d = v.D;
    out.Fraction = TFraction{static_cast<long double>(n), static_cast<long double>(d)};
    out.Real = out.Fraction.Numerator / out.Fraction.Denominator;
    out.Complex.Re = out.Real;
    out.Token = QStringLiteral("[") + (n >= 0 ? QStringLiteral("+") : QString()) + QString::number(n) +
                (d != 1 ? QLatin1Char('|') + QString::number(d) : QString()) + QLatin1Char(']');
    return out;
}

TEngineResult TCompiledExpression::EvaluateComplex() const {
    if (!CompiledFor(TRoad::Complex))
        return WrongRoad();
    TEngineResult out;
    TComplexNumber v;
    if (!RunComplexProgram(m_program, out.Error, v, out.Token))
        return out;
    out.Complex = v;
    out.Real = v.Re;
    return out;
}

TEngineResult TCompiledExpression::EvaluateModulo() const {
    if (!CompiledFor(TRoad::Modulo))
        return WrongRoad();
    TEngineResult out;
    qint64 v = 0;
    if (!RunModuloProgram(m_program, out.Error, v))
        return out;
    out.Real = static_cast<long double>(v);
    out.Complex.Re = out.Real;
    out.Token = QString::number(v);
    return out;
}
