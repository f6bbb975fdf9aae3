#include "uVyraz.h"

#include "PresnyZlomok.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace {

const QChar kOpen = QLatin1Char('(');
const QChar kClose = QLatin1Char(')');
const QChar kMinus = QLatin1Char('-');

[[noreturn]] void Malformed(const char *what) { throw EEngineRangeError(std::string("malformed expression: ") + what); }

void CheckLength(const QString &s) {
    if (s.size() > MaxExpressionLength)
        throw EEngineRangeError("expression longer than 65535 characters");
}

bool InChars(QChar c, const char *chars) {
    for (const char *p = chars; *p; ++p)
        if (c == QLatin1Char(*p))
            return true;
    return false;
}

// The function name without a leading minus sign.
QString BareName(const QString &name) { return name.startsWith(kMinus) ? name.mid(1) : name; }

// --- independence -----------------------------------------------------------

// True when the subtree of n does not contain the variable v. With a memo,
// the answer of every node of the subtree is recorded there.
bool Independence(const TVyraz *n, const QString &v, std::unordered_map<const TVyraz *, bool> *memo) {
    if (!n)
        return true;
    bool r = true;
    switch (n->Kind) {
    case nkOperand:
        r = !(n->Text == v ||
              (n->Text.size() == v.size() + 1 && n->Text.startsWith(kMinus) && QStringView(n->Text).mid(1) == v));
        break;
    case nkBrackets:
    case nkFactorial:
    case nkPercent: r = Independence(n->Left.get(), v, memo); break;
    case nkPlus:
    case nkMinus:
    case nkTimes:
    case nkDivide:
    case nkPower: {
        const bool l = Independence(n->Left.get(), v, memo);
        const bool rr = Independence(n->Right.get(), v, memo);
        r = l && rr;
        break;
    }
    case nkFunction:
        r = Independence(n->Right.get(), v, memo);
        // The base of logy is the variable "y".
        if (v == QLatin1String("y") && BareName(n->Text) == FunctionInfo(TFunction::Logy).Name)
            r = false;
        break;
    default: break;
    }
    if (memo)
        (*memo)[n] = r;
    return r;
}

} // namespace

EEngineNoDerivative::EEngineNoDerivative(const QString &functionName)
    : EEngineError("no derivative rule for '" + functionName.toStdString() + "'"), FunctionName(functionName) {}

// --- node -------------------------------------------------------------------

TVyraz::~TVyraz() = default;

void TVyraz::Clear() {
    Kind = nkEmpty;
    ParentKind = nkTop;
    Left.reset();
    Right.reset();
}

void TVyraz::Parenthesize(QString &s) { s = QLatin1Char('(') + s + QLatin1Char(')'); }

std::unique_ptr<TVyraz> TVyraz::CreateFromString(const QString &text, quint8 parentKind) {
    auto node = std::make_unique<TVyraz>();
    node->Parse(text, parentKind);
    return node;
}

// --- parser -----------------------------------------------------------------

TExpressionSplitter::TExpressionSplitter(const QString &text) : m_text(text), m_match(size_t(text.size()) + 2, 0) {
    std::vector<int> open;
    for (int i = 1; i <= int(text.size()); ++i) {
        const QChar c = text.at(i - 1);
        if (c == kOpen) {
            open.push_back(i);
        } else if (c == kClose) {
            if (open.empty())
                Malformed("a closing bracket without an opening one");
            m_match[size_t(i)] = open.back();
            m_match[size_t(open.back())] = i;
            open.pop_back();
        }
    }
    if (!open.empty())
        Malformed("an unclosed bracket");
}

TExpressionSplitter::TSplit TExpressionSplitter::Split(int s, int e) const {
    if (s > e)
        Malformed("an empty operand");

    // One pass over the top level from the right. "+" and "-" bind loosest
    // and group to the left, so the first one met decides; the others are
    // noted: the last "*" or "/", "!" and "%", and the first "^" (which
    // groups to the right). A sign in the first position belongs to what
    // follows it, and a "^" in the last position has no exponent.
    int mul = 0, bang = 0, pct = 0, pow = 0;
    bool group = false;
    for (int p = e; p >= s; --p) {
        const QChar c = At(p);
        if (c == kClose) {
            p = m_match[size_t(p)]; // the loop steps over the "("
            group = true;
            continue;
        }
        if (p > s) {
            if (c == QLatin1Char('+') || c == kMinus)
                return {c == kMinus ? nkMinus : nkPlus, p};
            if (!mul && (c == QLatin1Char('*') || c == QLatin1Char('/')))
                mul = p;
            else if (!bang && c == QLatin1Char('!'))
                bang = p;
            else if (!pct && c == QLatin1Char('%'))
                pct = p;
        }
        if (c == QLatin1Char('^') && p < e)
            pow = p;
    }

    const auto postfix = [e](quint8 kind, int p) {
        if (p < e)
            Malformed("text after a postfix operator");
        return TSplit{kind, p};
    };
    if (mul)
        return {At(mul) == QLatin1Char('*') ? nkTimes : nkDivide, mul};
    if (bang)
        return postfix(nkFactorial, bang);
    if (pow)
        return {nkPower, pow};
    if (pct)
        return postfix(nkPercent, pct);
    if (group) {
        if (At(e) != kClose)
            Malformed("text after a bracket");
        const int open = m_match[size_t(e)];
        if (open == s)
            return {nkBrackets, s};
        // A function: the name, then the trailing bracket group.
        for (int i = s; i < open; ++i)
            if (At(i) == kOpen || At(i) == kClose)
                Malformed("a bracket group in a function name");
        if (InChars(At(s), "*/!%^"))
            Malformed("an operator without a left operand");
        return {nkFunction, open};
    }
    if (InChars(At(s), "*/!%^") || At(e) == QLatin1Char('^'))
        Malformed("an operator without an operand");
    if (s == e && (At(s) == kMinus || At(s) == QLatin1Char('+')))
        Malformed("a sign without an operand");
    return {nkOperand, 0};
}

namespace {

// Builds the tree of a text from its splits.
struct TVyrazParser {
    TExpressionSplitter split;

    explicit TVyrazParser(const QString &t) : split(t) {}

    std::unique_ptr<TVyraz> Child(int s, int e, quint8 parentKind, int depth) {
        auto node = std::make_unique<TVyraz>();
        ParseRange(*node, s, e, parentKind, depth);
        return node;
    }

    void ParseRange(TVyraz &node, int s, int e, quint8 parentKind, int depth) {
        if (depth > MaxTreeDepth)
            throw EEngineRangeError("expression nested too deeply");
        node.Clear();
        node.ParentKind = parentKind;
        for (;;) {
            // A leading plus sign changes nothing.
            if (s <= e && split.At(s) == QLatin1Char('+'))
                ++s;
            const TExpressionSplitter::TSplit p = split.Split(s, e);
            switch (p.Kind) {
            case nkBrackets:
                // The whole part is one bracket group: parse its inside into
                // this same node.
                ++s;
                --e;
                continue;
            case nkOperand:
                node.Kind = nkOperand;
                node.Text = split.Mid(s, e);
                return;
            case nkFunction:
                node.Kind = nkFunction;
                node.Text = split.Mid(s, p.Pos - 1);
                node.Right = Child(p.Pos, e, nkFunction, depth + 1);
                return;
            case nkFactorial:
            case nkPercent:
                node.Kind = p.Kind;
                node.Left = Child(s, p.Pos - 1, p.Kind, depth + 1);
                return;
            case nkPower:
                if (split.At(s) == kMinus) {
                    // A leading minus negates the whole power: -x^2 is -(x^2).
                    node.Kind = nkFunction;
                    node.Text = QString(kMinus);
                    node.Right = Child(s + 1, e, nkFunction, depth + 1);
                    return;
                }
                [[fallthrough]];
            default:
                node.Kind = p.Kind;
                node.Right = Child(p.Pos + 1, e, p.Kind, depth + 1);
                node.Left = Child(s, p.Pos - 1, p.Kind, depth + 1);
                return;
            }
        }
    }
};

} // namespace

void TVyraz::Parse(const QString &text, quint8 parentKind) {
    Clear();
    ParentKind = parentKind;
    CheckLength(text);
    try {
        TVyrazParser parser(text);
        parser.ParseRange(*this, 1, int(text.size()), parentKind, 0);
    } catch (...) {
        Clear();
        ParentKind = parentKind;
        throw;
    }
}

bool TVyraz::IsIndependentOf(const QString &varName) const {
    if (varName.isEmpty())
        return true;
    return Independence(this, varName, nullptr);
}

// --- plain printer ----------------------------------------------------------

namespace {

bool KindIn(quint8 k, std::initializer_list<int> set) {
    for (int x : set)
        if (k == x)
            return true;
    return false;
}

// Whether a node of the kind is bracketed under the parent kind.
bool PlainNeedsBrackets(const TVyraz &n) {
    const quint8 pk = n.ParentKind;
    switch (n.Kind) {
    case nkOperand: return pk == nkPower || pk == nkFunction;
    case nkBrackets: return false;
    case nkPlus:
    case nkMinus: return !KindIn(pk, {nkPlus, nkTop});
    case nkTimes:
    case nkDivide: return !KindIn(pk, {nkPlus, nkMinus, nkTimes, nkTop});
    case nkFactorial:
    case nkPower: return !KindIn(pk, {nkPlus, nkMinus, nkTimes, nkDivide, nkTop});
    case nkFunction: return !KindIn(pk, {nkPlus, nkMinus, nkTimes, nkDivide, nkFactorial, nkPower, nkTop});
    case nkPercent: return pk == nkFunction;
    default: return false;
    }
}

void AppendPlain(const TVyraz *n, QString &out);

// Brackets the text written from position start on when it begins with a
// minus sign, which the parser would otherwise take as a binary minus (after
// "/" or "^") or as the sign of a whole power (a base).
void BracketIfSigned(QString &out, qsizetype start) {
    if (start < out.size() && out.at(start) == kMinus) {
        out.insert(start, kOpen);
        out += kClose;
    }
}

void AppendPlain(const TVyraz *n, QString &out) {
    if (!n) {
        out += QLatin1Char('?');
        return;
    }
    const qsizetype start = out.size();
    const bool wrap = PlainNeedsBrackets(*n);
    if (wrap)
        out += kOpen;
    switch (n->Kind) {
    case nkOperand: out += n->Text; break;
    case nkBrackets:
        out += kOpen;
        AppendPlain(n->Left.get(), out);
        out += kClose;
        break;
    case nkPlus:
    case nkMinus:
    case nkTimes:
    case nkDivide:
    case nkPower: {
        static const char ops[] = "???+-*/?^";
        AppendPlain(n->Left.get(), out);
        out += QLatin1Char(ops[n->Kind]);
        const qsizetype rs = out.size();
        AppendPlain(n->Right.get(), out);
        if (n->Kind == nkDivide)
            BracketIfSigned(out, rs);
        break;
    }
    case nkFactorial:
        AppendPlain(n->Left.get(), out);
        out += QLatin1Char('!');
        break;
    case nkFunction:
        out += n->Text;
        AppendPlain(n->Right.get(), out);
        break;
    case nkPercent:
        AppendPlain(n->Left.get(), out);
        out += QLatin1Char('%');
        break;
    default: out += QLatin1Char('?'); break;
    }
    if (wrap)
        out += kClose;
    else if (n->ParentKind == nkPower)
        BracketIfSigned(out, start);
}

QString Plain(const TVyraz *n) {
    QString s;
    AppendPlain(n, s);
    return s;
}

} // namespace

void TVyraz::ToString(QString &r) const {
    r.clear();
    AppendPlain(this, r);
}

// --- derivative -------------------------------------------------------------

namespace {

// The built-in function a node's name is, written as in the table (letter
// case counts here), or none.
const TFunctionInfo *BuiltIn(const QString &name) {
    const int k = FunctionIndex(name);
    return k >= 0 && name == FunctionTable[size_t(k)].Name ? &FunctionTable[size_t(k)] : nullptr;
}

class TDeriver {
public:
    TDeriver(const TVyraz &root, const QString &v) : V(v) {
        if (!V.isEmpty())
            Independence(&root, V, &Indep);
    }

    // The recursion is kept apart from the rules, so that each level costs
    // the stack as little as possible.
    QString D(const TVyraz *n) {
        if (V.isEmpty() || Independent(n))
            return QStringLiteral("0");
        // The operands' derivatives first: a text that outgrows the bound
        // stops the walk before anything is printed.
        const QString dl = D(n->Left.get());
        const QString dr = D(n->Right.get());
        CheckSize(dl.size() + dr.size());
        const QString r = Rule(n, dl, dr);
        CheckSize(r.size());
        return r;
    }

private:
    const QString &V;
    std::unordered_map<const TVyraz *, bool> Indep;

    static void CheckSize(qsizetype size) {
        if (size > MaxExpressionLength)
            throw EEngineRangeError("derivative longer than 65535 characters");
    }

    bool Independent(const TVyraz *n) const {
        if (!n)
            return true;
        const auto it = Indep.find(n);
        return it == Indep.end() || it->second;
    }

    // The derivative of a node that depends on the variable, given the
    // derivatives dl and dr of its children ("0" for an independent child).
    Q_NEVER_INLINE QString Rule(const TVyraz *n, const QString &dl, const QString &dr) const {
        switch (n->Kind) {
        case nkOperand: return n->Text == V ? QStringLiteral("1") : QStringLiteral("(-1)");
        case nkBrackets: return QLatin1Char('(') + dl + QLatin1Char(')');
        case nkPlus: return QLatin1Char('(') + dl + QLatin1Char('+') + dr + QLatin1Char(')');
        case nkMinus: return QLatin1Char('(') + dl + QLatin1Char('-') + dr + QLatin1Char(')');
        case nkTimes:
            return QLatin1Char('(') + dl + QLatin1Char('*') + Plain(n->Right.get()) + QLatin1Char('+') +
                   Plain(n->Left.get()) + QLatin1Char('*') + dr + QLatin1Char(')');
        case nkDivide: {
            const QString pr = Plain(n->Right.get());
            return QLatin1Char('(') + dl + QLatin1Char('*') + pr + QLatin1Char('-') + Plain(n->Left.get()) +
                   QLatin1Char('*') + dr + QLatin1String(")/(") + pr + QLatin1String(")^2");
        }
        case nkFactorial: throw EEngineNoDerivative(QStringLiteral("!"));
        case nkPercent: throw EEngineNoDerivative(QStringLiteral("%"));
        case nkPower: return Power(n, dl, dr);
        case nkFunction: return Function(n, dr);
        default: return QStringLiteral("0");
        }
    }

    QString Power(const TVyraz *n, const QString &db, const QString &de) const {
        const TVyraz *base = n->Left.get();
        const bool baseDep = !Independent(base);
        const bool expDep = !Independent(n->Right.get());
        const QString pb = Plain(base);
        const QString pe = Plain(n->Right.get());
        if (baseDep && expDep) {
            // f^g * (g'*ln(f) + g*f'/f)
            return Plain(n) + QLatin1String("*(") + de + QLatin1String("*ln(") + pb + QLatin1String(")+") + pe +
                   QLatin1Char('*') + db + QLatin1String("/(") + pb + QLatin1String("))");
        }
        if (expDep) {
            if (base && base->Kind == nkOperand && base->Text == QLatin1String("$e"))
                return QLatin1String("$e^(") + pe + QLatin1String(")*") + de;
            return Plain(n) + QLatin1String("*ln(") + pb + QLatin1String(")*") + de;
        }
        return pe + QLatin1Char('*') + pb + QLatin1String("^(") + pe + QLatin1String("-1)*") + db;
    }

    QString Function(const TVyraz *n, const QString &d) const {
        const bool negative = n->Text.startsWith(kMinus);
        const QString name = BareName(n->Text);
        const TFunctionInfo *function = BuiltIn(name);
        const QString a = Plain(n->Right.get());
        const bool argDep = !Independent(n->Right.get());

        QString r;
        bool chain = true;
        if (name.isEmpty()) {
            // The bare sign of "-(...)".
            r = d;
            chain = false;
        } else if (function && function->Function == TFunction::Logy) {
            // logy(u) = ln(u)/ln(y), y being the variable "y".
            const QString byArg = QLatin1String("1/(") + a + QLatin1String("*ln(y))*") + d;
            if (V == QLatin1String("y"))
                r = QLatin1Char('(') + (argDep ? byArg : QStringLiteral("0")) + QLatin1String("-ln") + a +
                    QLatin1String("/((y)*ln(y)^2))");
            else
                r = byArg;
            chain = false;
        } else if (function && function->DerivativeBefore) {
            // The function's own factor, without the chain factor u'.
            r = QLatin1String(function->DerivativeBefore) + a + QLatin1String(function->DerivativeAfter);
        } else {
            // rnd, sign, deg, dms and names that are no built-in function.
            throw EEngineNoDerivative(name);
        }
        if (chain && argDep)
            r += QLatin1Char('*') + d;
        if (negative)
            r.prepend(kMinus);
        return r;
    }
};

} // namespace

void TVyraz::Derive(const QString &varName, QString &r) const {
    TDeriver deriver(*this, varName);
    r = deriver.D(this);
}

// --- simplifying printer ----------------------------------------------------

namespace {

// What binds loosest in a simplified text, outside any brackets.
enum TShape : quint8 {
    shAtom,    // a number, operand, function, bracketed text or percent
    shSum,     // a top-level "+" or "-"
    shProduct, // a top-level "*" or "/"
    shPower,   // a top-level "^"
    shFactorial,
};

// The numbers are exact fractions, both parts below 10^18 so that they are
// written exactly in digits.
constexpr qint64 PartBound = 999999999999999999LL;

bool MakeRational(qint64 n, qint64 d, TExactFraction &r) {
    if (n == std::numeric_limits<qint64>::min() || d == std::numeric_limits<qint64>::min())
        return false;
    return MakeExactFraction(n, d, PartBound, r);
}

bool Mul(qint64 a, qint64 b, qint64 &r) { return !__builtin_mul_overflow(a, b, &r); }

// The exact value of a op b; false when there is none in range (an overflow,
// a division by zero, an exponent that is not a whole number).
bool FoldExactly(quint8 op, const TExactFraction &a, const TExactFraction &b, TExactFraction &r) {
    qint64 x, y, n, d;
    switch (op) {
    case nkPlus:
    case nkMinus:
        if (!Mul(a.N, b.D, x) || !Mul(b.N, a.D, y) || !Mul(a.D, b.D, d))
            return false;
        if (op == nkPlus ? __builtin_add_overflow(x, y, &n) : __builtin_sub_overflow(x, y, &n))
            return false;
        return MakeRational(n, d, r);
    case nkTimes: return Mul(a.N, b.N, n) && Mul(a.D, b.D, d) && MakeRational(n, d, r);
    case nkDivide: return b.N != 0 && Mul(a.N, b.D, n) && Mul(a.D, b.N, d) && MakeRational(n, d, r);
    case nkPower: {
        if (b.D != 1 || b.N > 64 || b.N < -64 || (b.N < 0 && a.N == 0))
            return false;
        TExactFraction p{1, 1};
        for (qint64 k = 0; k < (b.N < 0 ? -b.N : b.N); ++k)
            if (!FoldExactly(nkTimes, p, a, p))
                return false;
        return b.N < 0 ? MakeRational(p.D, p.N, r) : (r = p, true);
    }
    default: return false;
    }
}

// The exact value of a number written as the engine writes numbers: an
// optional sign, digits with at most one decimal separator, an optional
// exponent.
bool ReadExact(const QString &text, QChar sep, TExactFraction &r) {
    // The engine's reader, held to what the printer writes exactly: no
    // spaces, the digits and the powers of ten within 64 bits.
    TExactDecimal x;
    if (text.contains(QLatin1Char(' ')) || !ReadExactDecimal(text, sep, x) || x.TooManyDigits || x.Exponent > 40 ||
        x.Exponent < -40)
        return false;
    constexpr Int128 Max64 = std::numeric_limits<qint64>::max();
    Int128 mantissa = x.Mantissa;
    for (long k = 0; k < x.Zeros && mantissa <= Max64; ++k)
        mantissa *= 10;
    long decimals = x.Decimals;
    if (decimals > 18)
        return false;
    for (long k = 0; k < x.Exponent && mantissa <= Max64; ++k)
        mantissa *= 10;
    if (x.Exponent < 0)
        decimals -= x.Exponent;
    if (mantissa > Max64 || decimals > 18)
        return false;
    const qint64 m = qint64(mantissa);
    return MakeRational(x.Negative ? -m : m, qint64(PowerOfTen(decimals)), r);
}

struct TSimple {
    TSimple() = default;
    TSimple(QString text, TShape shape) : Text(std::move(text)), Shape(shape) {}

    QString Text;
    TShape Shape = shAtom;
    bool IsNumber = false; // Text is exactly Value
    TExactFraction Value;
    bool Signed() const { return Text.startsWith(kMinus); }
    bool Is(qint64 v) const { return IsNumber && Value.D == 1 && Value.N == v; }
};

// A number as the text shows it: a whole number, a decimal where the
// fraction ends within the digits a 64-bit integer holds ("0,0002"), and
// otherwise the fraction "1/3", placed as a product, which reads back as the
// same value. Rounding here would turn small terms into 0 and later steps
// would build on that.
TSimple Number(const TExactFraction &v, QChar sep) {
    TSimple p;
    p.IsNumber = true;
    p.Value = v;
    if (v.D == 1) {
        p.Text = QString::number(v.N);
        return p;
    }
    qint64 d = v.D;
    int twos = 0, fives = 0;
    while (d % 2 == 0) {
        d /= 2;
        ++twos;
    }
    while (d % 5 == 0) {
        d /= 5;
        ++fives;
    }
    const int places = std::max(twos, fives);
    qint64 factor = 1; // 10^places / v.D
    for (int i = 0; i < places - twos; ++i)
        factor *= 2; // no overflow: 10^places stays within 2 * 10^18 here
    for (int i = 0; i < places - fives; ++i)
        factor *= 5;
    qint64 scaled;
    if (d == 1 && places <= 18 && Mul(v.N < 0 ? -v.N : v.N, factor, scaled)) {
        QString digits = QString::number(scaled);
        if (digits.size() <= places)
            digits = QString(places - digits.size() + 1, QLatin1Char('0')) + digits;
        digits.insert(digits.size() - places, sep);
        p.Text = v.N < 0 ? kMinus + digits : digits;
        return p;
    }
    p.Text = QString::number(v.N) + QLatin1Char('/') + QString::number(v.D);
    p.Shape = shProduct;
    return p;
}

// The value of a op b for a power that has no exact fold (4^0,5): kept only
// when it is a whole number, as a rounded root would be a different value.
bool FoldWholePower(const TExactFraction &a, const TExactFraction &b, TExactFraction &r) {
    const long double v = std::pow(static_cast<long double>(a.N) / a.D, static_cast<long double>(b.N) / b.D);
    if (!std::isfinite(v) || v != std::nearbyint(v) || std::fabs(v) > static_cast<long double>(PartBound))
        return false;
    r = TExactFraction{static_cast<qint64>(v), 1};
    return true;
}

TSimple Bracketed(const QString &s) { return {QLatin1Char('(') + s + QLatin1Char(')'), shAtom}; }

// The operand text as it may stand on the given side of the operator;
// brackets are added only where the text would otherwise be read differently
// (which happens for texts passed up from a dropped 0 or 1 operand, and for
// negative numbers and signed functions).
QString Placed(const TSimple &x, quint8 op, bool right) {
    bool wrap = false;
    switch (op) {
    case nkMinus: wrap = right && x.Shape == shSum; break;
    case nkTimes: wrap = x.Shape == shSum; break;
    case nkDivide: wrap = x.Shape == shSum || (right && (x.Shape == shProduct || x.Signed())); break;
    case nkPower: wrap = !right && (x.Shape != shAtom || x.Signed()); break;
    case nkFactorial: wrap = x.Shape == shSum || x.Shape == shProduct; break;
    case nkPercent: wrap = x.Shape != shAtom; break;
    default: break;
    }
    return wrap ? QLatin1Char('(') + x.Text + QLatin1Char(')') : x.Text;
}

// The result of a binary node: wrapped unless the parent kind is listed.
TSimple Compose(const TVyraz *n, const QString &text, TShape shape, std::initializer_list<int> bare) {
    if (KindIn(n->ParentKind, bare))
        return {text, shape};
    return Bracketed(text);
}

// The simplified text of a node, given those of its children (a of Left, b of
// Right).
Q_NEVER_INLINE TSimple Combine(const TVyraz *n, TSimple a, TSimple b, QChar sep) {
    const quint8 pk = n->ParentKind;
    switch (n->Kind) {
    case nkOperand: {
        TExactFraction v;
        if (ReadExact(n->Text, sep, v))
            return Number(v, sep);
        return pk == nkPower ? Bracketed(n->Text) : TSimple{n->Text, shAtom};
    }

    case nkBrackets: {
        if (a.IsNumber)
            return a;
        if (n->Left && KindIn(n->Left->Kind, {nkPlus, nkMinus, nkTimes, nkDivide, nkPower}))
            return Bracketed(a.Text);
        return a;
    }

    case nkPlus:
    case nkMinus:
    case nkTimes:
    case nkDivide:
    case nkPower: {
        const quint8 k = n->Kind;
        TExactFraction v;
        if (a.IsNumber && b.IsNumber &&
            (FoldExactly(k, a.Value, b.Value, v) || (k == nkPower && FoldWholePower(a.Value, b.Value, v)))) {
            TSimple r = Number(v, sep);
            if (k == nkPlus && pk == nkPower)
                return Bracketed(r.Text);
            return r;
        }
        switch (k) {
        case nkPlus:
            if (a.Is(0))
                return b;
            if (b.Is(0))
                return a;
            return Compose(n, a.Text + QLatin1Char('+') + b.Text, shSum, {nkPlus, nkFunction, nkTop});
        case nkMinus:
            if (a.Is(0))
                return {kMinus + Placed(b, nkMinus, true), b.Shape == shSum ? shAtom : b.Shape};
            if (b.Is(0))
                return a;
            return Compose(n, a.Text + QLatin1Char('-') + Placed(b, nkMinus, true), shSum, {nkPlus, nkFunction, nkTop});
        case nkTimes:
            if (a.Is(1))
                return b;
            if (b.Is(1))
                return a;
            if (a.Is(0) || b.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            return Compose(n, Placed(a, k, false) + QLatin1Char('*') + Placed(b, k, true), shProduct,
                           {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        case nkDivide:
            if (a.Is(0) && !b.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            return Compose(n, Placed(a, k, false) + QLatin1Char('/') + Placed(b, k, true), shProduct,
                           {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        default: // power
            if (a.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            if (a.Is(1) || b.Is(0))
                return Number(TExactFraction{1, 1}, sep);
            if (b.Is(1))
                return a;
            return Compose(n, Placed(a, k, false) + QLatin1String("^(") + b.Text + QLatin1Char(')'), shPower,
                           {nkPlus, nkMinus, nkTimes, nkDivide, nkTop});
        }
    }

    case nkFactorial: {
        return {Placed(a, nkFactorial, false) + QLatin1Char('!'), shFactorial};
    }

    case nkFunction: {
        a = std::move(b); // the argument
        if (n->Text == QString(kMinus)) {
            // The sign of "-(...)" (or of a whole power): a negative number,
            // or the sign written before the argument as after "0-".
            TExactFraction v;
            if (a.IsNumber && MakeRational(-a.Value.N, a.Value.D, v))
                return Number(v, sep);
            return {kMinus + Placed(a, nkMinus, true), a.Shape == shSum ? shAtom : a.Shape};
        }
        return Compose(n, n->Text + QLatin1Char('[') + a.Text + QLatin1Char(']'), shAtom,
                       {nkPlus, nkMinus, nkTimes, nkDivide, nkFactorial, nkPower, nkTop});
    }

    case nkPercent: {
        return {Placed(a, nkPercent, false) + QLatin1Char('%'), shAtom};
    }

    default: return {QStringLiteral("?"), shAtom};
    }
}

// The recursion is kept apart from Combine, so that each level costs the
// stack as little as possible.
TSimple Simplify(const TVyraz *n, QChar sep) {
    if (!n)
        return {QStringLiteral("?"), shAtom};
    TSimple a = Simplify(n->Left.get(), sep);
    TSimple b = Simplify(n->Right.get(), sep);
    return Combine(n, std::move(a), std::move(b), sep);
}

} // namespace

void TVyraz::ToSimplifiedString(QString &r, QChar sep) const { r = Simplify(this, sep).Text; }

// --- derivative chain -------------------------------------------------------

void DerivativeStep(TVyraz &work, QString &t, const QString &varName, QChar sep) {
    work.Parse(t, nkTop);
    QString d;
    work.Derive(varName, d);
    SimplifySigns(d);
    work.Parse(d, nkTop);
    work.ToSimplifiedString(d, sep);
    RemoveSuperfluousBrackets(d);
    // The signs are tidied once the arguments are in round brackets again:
    // moving a minus before a product walks over round bracket groups only,
    // and must not end inside a function's argument.
    ReplaceAll(d, QStringLiteral("["), QStringLiteral("("));
    ReplaceAll(d, QStringLiteral("]"), QStringLiteral(")"));
    SimplifySigns(d);
    CheckLength(d);
    t = d;
}

void DeriveNTimes(TVyraz &work, QString &t, const QString &varName, int order, QChar sep) {
    if (order < 1 || order > MaxDerivativeOrder)
        throw EEngineRangeError("derivative order out of range");
    QString d = t;
    for (int i = 0; i < order; ++i)
        DerivativeStep(work, d, varName, sep);
    t = d;
}
