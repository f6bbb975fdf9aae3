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
const QChar kPlus = QLatin1Char('+');

// The longest text the derivative works on within a step. The raw
// derivative is far longer than the text it is read back into: a sum of
// 16,000 terms "2*x" gives "(0*x+2*1)" for each of them before the fold
// leaves "32000", and the first derivative of a sum of common terms is up
// to five times as long as the sum. Only the result of a step is held to
// MaxExpressionLength.
constexpr qsizetype MaxWorkLength = 8 * qsizetype(MaxExpressionLength);

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

// The children a walk visits: "!" and "%" hold an operand in Left, a
// function its argument in Right, the binary operators both; Left and Right
// of other kinds are not part of the expression.
bool VisitsLeft(quint8 kind) {
    return kind == nkBrackets || kind == nkFactorial || kind == nkPercent || (kind >= nkPlus && kind <= nkPower);
}
bool VisitsRight(quint8 kind) {
    return kind == nkFunction || (kind >= nkPlus && kind <= nkPower && kind != nkFactorial);
}

// --- independence -----------------------------------------------------------

bool IsTheVariable(const TVyraz &n, const QString &v) {
    return n.Text == v ||
           (n.Text.size() == v.size() + 1 && n.Text.startsWith(kMinus) && QStringView(n.Text).mid(1) == v);
}

// The base of logy is the variable "y".
bool IsLogyOfY(const TVyraz &n, const QString &v) {
    return v == QLatin1String("y") && BareName(n.Text) == FunctionInfo(TFunction::Logy).Name;
}

// True when the subtree of root does not contain the variable v.
bool Independence(const TVyraz *root, const QString &v) {
    std::vector<const TVyraz *> stack{root};
    while (!stack.empty()) {
        const TVyraz *n = stack.back();
        stack.pop_back();
        if (!n)
            continue;
        if ((n->Kind == nkOperand && IsTheVariable(*n, v)) || (n->Kind == nkFunction && IsLogyOfY(*n, v)))
            return false;
        if (VisitsLeft(n->Kind))
            stack.push_back(n->Left.get());
        if (VisitsRight(n->Kind))
            stack.push_back(n->Right.get());
    }
    return true;
}

// The answer of every node of the subtree of root, into memo.
void Independence(const TVyraz *root, const QString &v, std::unordered_map<const TVyraz *, bool> &memo) {
    const auto answer = [&memo](const TVyraz *child) { return !child || memo[child]; };
    std::vector<std::pair<const TVyraz *, bool>> stack{{root, false}}; // a node, and whether its children are done
    while (!stack.empty()) {
        const auto [n, childrenDone] = stack.back();
        stack.pop_back();
        if (!n)
            continue;
        const bool left = VisitsLeft(n->Kind), right = VisitsRight(n->Kind);
        if (!childrenDone && (left || right)) {
            stack.emplace_back(n, true);
            if (left)
                stack.emplace_back(n->Left.get(), false);
            if (right)
                stack.emplace_back(n->Right.get(), false);
            continue;
        }
        bool r = true;
        if (n->Kind == nkOperand)
            r = !IsTheVariable(*n, v);
        else if (n->Kind == nkFunction && IsLogyOfY(*n, v))
            r = false;
        else
            r = (!left || answer(n->Left.get())) && (!right || answer(n->Right.get()));
        memo[n] = r;
    }
}

// Frees the subtrees one node at a time: a node's own destructor then finds
// no child, however deep the tree.
void ReleaseChildren(std::unique_ptr<TVyraz> &left, std::unique_ptr<TVyraz> &right) {
    if (!left && !right)
        return;
    std::vector<std::unique_ptr<TVyraz>> pending;
    if (left)
        pending.push_back(std::move(left));
    if (right)
        pending.push_back(std::move(right));
    while (!pending.empty()) {
        std::unique_ptr<TVyraz> n = std::move(pending.back());
        pending.pop_back();
        if (n->Left)
            pending.push_back(std::move(n->Left));
        if (n->Right)
            pending.push_back(std::move(n->Right));
    }
}

} // namespace

EEngineNoDerivative::EEngineNoDerivative(const QString &functionName)
    : EEngineError("no derivative rule for '" + functionName.toStdString() + "'"), FunctionName(functionName) {}

// --- node -------------------------------------------------------------------

TVyraz::~TVyraz() { ReleaseChildren(Left, Right); }

void TVyraz::Clear() {
    Kind = nkEmpty;
    ParentKind = nkTop;
    ReleaseChildren(Left, Right);
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
    bool exponentSign = false; // an "e" or "E" stands before a sign
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
        } else if ((c == kPlus || c == kMinus) && i > 1) {
            const QChar before = text.at(i - 2);
            exponentSign = exponentSign || before == QLatin1Char('e') || before == QLatin1Char('E');
        }
    }
    if (!open.empty())
        Malformed("an unclosed bracket");
    // Which signs belong to a number, the engine's scanner says: "1E-5x" is
    // the number 1E-5 and x, "x2e-5" the name x2e less 5.
    if (exponentSign) {
        thread_local std::vector<TTextPart> parts;
        ReadTextParts(text, parts);
        for (const TTextPart &part : parts)
            if (part.Kind == TTextPartKind::Number)
                for (int i = part.Start; i < part.End; ++i)
                    if (text.at(i) == kPlus || text.at(i) == kMinus)
                        m_match[size_t(i + 1)] = -1;
    }
}

TExpressionSplitter::TSplit TExpressionSplitter::Split(int s, int e, std::vector<int> *chain) const {
    if (s > e)
        Malformed("an empty operand");

    // One pass over the top level from the right. "+" and "-" bind loosest
    // and group to the left, so the first one met decides; the others are
    // noted: the last "*" or "/", "!" and "%", and the first "^" (which
    // groups to the right). A sign in the first position belongs to what
    // follows it, and a "^" in the last position has no exponent.
    int mul = 0, bang = 0, pct = 0, pow = 0;
    bool group = false;
    TSplit found;
    for (int p = e; p >= s && !found.Kind; --p) {
        const QChar c = At(p);
        if (c == kClose) {
            p = m_match[size_t(p)]; // the loop steps over the "("
            group = true;
            continue;
        }
        if (p > s) {
            if ((c == kPlus || c == kMinus) && !InNumber(p))
                found = {c == kMinus ? nkMinus : nkPlus, p};
            else if (!mul && (c == QLatin1Char('*') || c == QLatin1Char('/')))
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
    if (!found.Kind) {
        if (mul)
            found = {At(mul) == QLatin1Char('*') ? nkTimes : nkDivide, mul};
        else if (bang)
            return postfix(nkFactorial, bang);
        else if (pow)
            found = {nkPower, pow};
        else if (pct)
            return postfix(nkPercent, pct);
    }
    if (found.Kind) {
        if (chain) {
            // The operators of the level, from the left, over the top level.
            chain->clear();
            for (int p = s; p <= e; ++p) {
                const QChar c = At(p);
                if (c == kOpen)
                    p = m_match[size_t(p)];
                else if (found.Kind == nkPlus || found.Kind == nkMinus
                             ? (c == kPlus || c == kMinus) && p > s && !InNumber(p)
                         : found.Kind == nkPower ? c == QLatin1Char('^') && p < e
                                                 : (c == QLatin1Char('*') || c == QLatin1Char('/')) && p > s)
                    chain->push_back(p);
            }
        }
        return found;
    }
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
    if (s == e && (At(s) == kMinus || At(s) == kPlus))
        Malformed("a sign without an operand");
    return {nkOperand, 0};
}

namespace {

std::unique_ptr<TVyraz> NewNode(quint8 kind) {
    auto n = std::make_unique<TVyraz>();
    n->Kind = kind;
    return n;
}

std::unique_ptr<TVyraz> NewOperand(const char *text) {
    auto n = NewNode(nkOperand);
    n->Text = QLatin1String(text);
    return n;
}

// Builds the tree of a text from its splits. Each part of the text that is
// still to be read waits on a stack of tasks; a chain of terms is split in
// one go into a chain of nodes.
class TVyrazParser {
public:
    explicit TVyrazParser(const QString &t) : m_split(t), m_length(int(t.size())) {}

    void Run(TVyraz &root, int s, int e) {
        m_tasks.push_back({&root, s, e});
        while (!m_tasks.empty()) {
            const TTask t = m_tasks.back();
            m_tasks.pop_back();
            Build(*t.Node, t.S, t.E);
        }
        // Every node's ParentKind is the Kind of its holder (the chains were
        // rearranged for "%" after their nodes were made).
        std::vector<TVyraz *> stack{&root};
        while (!stack.empty()) {
            TVyraz *n = stack.back();
            stack.pop_back();
            for (TVyraz *child : {n->Left.get(), n->Right.get()})
                if (child) {
                    child->ParentKind = n->Kind;
                    stack.push_back(child);
                }
        }
    }

private:
    struct TTask {
        TVyraz *Node;
        int S, E;
    };
    TExpressionSplitter m_split;
    int m_length;
    std::vector<TTask> m_tasks;
    std::vector<int> m_chain;
    // By position: the sign that a "%" follows directly ('+' or '-'), else 0.
    std::vector<char> m_signedPercent;

    // A node for the range, read later.
    std::unique_ptr<TVyraz> Task(int s, int e) {
        auto n = std::make_unique<TVyraz>();
        m_tasks.push_back({n.get(), s, e});
        return n;
    }

    void Build(TVyraz &node, int s, int e) {
        for (;;) {
            // A leading plus sign changes nothing.
            if (s <= e && m_split.At(s) == kPlus)
                ++s;
            const TExpressionSplitter::TSplit p = m_split.Split(s, e, &m_chain);
            switch (p.Kind) {
            case nkBrackets:
                // The whole part is one bracket group: parse its inside into
                // this same node.
                ++s;
                --e;
                continue;
            case nkOperand:
                node.Kind = nkOperand;
                node.Text = m_split.Mid(s, e);
                return;
            case nkFunction:
                node.Kind = nkFunction;
                node.Text = m_split.Mid(s, p.Pos - 1);
                node.Right = Task(p.Pos, e);
                return;
            case nkFactorial:
                node.Kind = nkFactorial;
                node.Left = Task(s, p.Pos - 1);
                return;
            case nkPercent: Percent(node, s, p.Pos); return;
            case nkPower:
                if (m_split.At(s) == kMinus) {
                    // A leading minus negates the whole power: -x^2 is -(x^2).
                    node.Kind = nkFunction;
                    node.Text = QString(kMinus);
                    node.Right = Task(s + 1, e);
                    return;
                }
                Powers(node, s, e);
                return;
            case nkPlus:
            case nkMinus: Sum(node, s, e); return;
            default: Product(node, s, e); return;
            }
        }
    }

    // a*b/c*d: ((a*b)/c)*d, the chain of nodes down the left operands.
    void Product(TVyraz &node, int s, int e) {
        const std::vector<int> &ops = m_chain;
        TVyraz *n = &node;
        for (size_t k = ops.size(); k-- > 0;) {
            n->Kind = m_split.At(ops[k]) == QLatin1Char('*') ? nkTimes : nkDivide;
            n->Right = Task(ops[k] + 1, k + 1 < ops.size() ? ops[k + 1] - 1 : e);
            if (k == 0) {
                n->Left = Task(s, ops[0] - 1);
            } else {
                n->Left = std::make_unique<TVyraz>();
                n = n->Left.get();
            }
        }
    }

    // a^b^c: a^(b^c), the chain of nodes down the exponents.
    void Powers(TVyraz &node, int s, int e) {
        const std::vector<int> &ops = m_chain;
        TVyraz *n = &node;
        for (size_t k = 0; k < ops.size(); ++k) {
            n->Kind = nkPower;
            n->Left = Task(k == 0 ? s : ops[k - 1] + 1, ops[k] - 1);
            if (k + 1 == ops.size()) {
                n->Right = Task(ops[k] + 1, e);
            } else {
                n->Right = std::make_unique<TVyraz>();
                n = n->Right.get();
            }
        }
    }

    // The end (exclusive) of the operand a term begins with: a number, a
    // name or a reference, a function's name with its bracket group, or a
    // bracket group.
    int OperandEnd(int s, int e) const {
        int k = s;
        while (k <= e && !(InChars(m_split.At(k), "+-*/^!%()") && !m_split.InNumber(k)))
            ++k;
        if (k <= e && m_split.At(k) == kOpen)
            k = m_split.Match(k) + 1;
        return k;
    }

    // a-b+B%*d: the evaluator takes a "%" whose operand directly follows a
    // sign as that sign turned into "*" and the operand into 1+B/100 (1-B/100
    // after "-"), so the term before the sign is multiplied: a-b*(1+B/100)*d,
    // here a-(b*((1+B/100)*d)) with the same value.
    void Sum(TVyraz &node, int s, int e) {
        const std::vector<int> &ops = m_chain;
        struct TTerm {
            quint8 Sign; // the kind of the sign before the term (none for the first)
            std::unique_ptr<TVyraz> Node;
        };
        std::vector<TTerm> terms;
        terms.reserve(ops.size() + 1);
        terms.push_back({nkEmpty, Task(s, ops[0] - 1)});
        for (size_t k = 0; k < ops.size(); ++k) {
            const int ts = ops[k] + 1, te = k + 1 < ops.size() ? ops[k + 1] - 1 : e;
            const QChar sign = m_split.At(ops[k]);
            std::unique_ptr<TVyraz> term = Task(ts, te);
            const int end = OperandEnd(ts, te);
            if (end > ts && end <= te && m_split.At(end) == QLatin1Char('%')) {
                if (m_signedPercent.empty())
                    m_signedPercent.assign(size_t(m_length) + 2, 0);
                m_signedPercent[size_t(end)] = char(sign.unicode());
                auto product = NewNode(nkTimes);
                product->Left = std::move(terms.back().Node);
                product->Right = std::move(term);
                terms.back().Node = std::move(product);
            } else {
                terms.push_back({sign == kMinus ? quint8(nkMinus) : quint8(nkPlus), std::move(term)});
            }
        }
        TVyraz *n = &node;
        if (terms.size() == 1) {
            // One product is left: it takes the node's place.
            node.Kind = terms[0].Node->Kind;
            node.Left = std::move(terms[0].Node->Left);
            node.Right = std::move(terms[0].Node->Right);
            return;
        }
        for (size_t k = terms.size(); k-- > 1;) {
            n->Kind = terms[k].Sign;
            n->Right = std::move(terms[k].Node);
            if (k == 1) {
                n->Left = std::move(terms[0].Node);
            } else {
                n->Left = std::make_unique<TVyraz>();
                n = n->Left.get();
            }
        }
    }

    // B% is 1/100*B; after a sign (see Sum) it is 1+1/100*B or 1-1/100*B.
    // (1/100 comes first, so that the printed text reads back as the same
    // tree.)
    void Percent(TVyraz &node, int s, int p) {
        auto hundredth = NewNode(nkDivide);
        hundredth->Left = NewOperand("1");
        hundredth->Right = NewOperand("100");
        const char sign = m_signedPercent.empty() ? 0 : m_signedPercent[size_t(p)];
        TVyraz *value = &node;
        if (sign) {
            node.Kind = sign == '-' ? nkMinus : nkPlus;
            node.Left = NewOperand("1");
            node.Right = std::make_unique<TVyraz>();
            value = node.Right.get();
        }
        value->Kind = nkTimes;
        value->Left = std::move(hundredth);
        value->Right = Task(s, p - 1);
    }
};

// Parses text into node; the text may be as long as maxLength.
void ParseText(TVyraz &node, const QString &text, quint8 parentKind, qsizetype maxLength) {
    node.Clear();
    node.ParentKind = parentKind;
    if (text.size() > maxLength)
        throw EEngineRangeError("expression longer than 65535 characters");
    try {
        TVyrazParser parser(text);
        parser.Run(node, 1, int(text.size()));
    } catch (...) {
        node.Clear();
        node.ParentKind = parentKind;
        throw;
    }
    node.ParentKind = parentKind;
}

} // namespace

void TVyraz::Parse(const QString &text, quint8 parentKind) { ParseText(*this, text, parentKind, MaxExpressionLength); }

bool TVyraz::IsIndependentOf(const QString &varName) const {
    if (varName.isEmpty())
        return true;
    return Independence(this, varName);
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

// Brackets the text written from position start on when it begins with a
// minus sign, which the parser would otherwise take as a binary minus (after
// "/" or "^") or as the sign of a whole power (a base).
void BracketIfSigned(QString &out, qsizetype start) {
    if (start < out.size() && out.at(start) == kMinus) {
        out.insert(start, kOpen);
        out += kClose;
    }
}

// Appends the infix text of the subtree of root to out.
void AppendPlain(const TVyraz *root, QString &out) {
    // What is left to write of a node: its start (after its operand), the
    // operator and its right operand, or its end.
    enum TStage : quint8 { Start, AfterLeft, End };
    struct TFrame {
        const TVyraz *N;
        TStage Stage;
        qsizetype Begin = 0;      // where the node's text begins in out
        qsizetype RightBegin = 0; // where its right operand's text begins
        bool Wrap = false;
    };
    std::vector<TFrame> stack{{root, Start}};
    while (!stack.empty()) {
        TFrame f = stack.back();
        stack.pop_back();
        const TVyraz *n = f.N;
        if (f.Stage == Start) {
            if (!n) {
                out += QLatin1Char('?');
                continue;
            }
            f.Begin = out.size();
            f.Wrap = PlainNeedsBrackets(*n);
            if (f.Wrap)
                out += kOpen;
            switch (n->Kind) {
            case nkOperand: out += n->Text; break;
            case nkBrackets:
            case nkFactorial:
            case nkPercent:
                if (n->Kind == nkBrackets)
                    out += kOpen;
                stack.push_back({n, End, f.Begin, 0, f.Wrap});
                stack.push_back({n->Left.get(), Start});
                continue;
            case nkPlus:
            case nkMinus:
            case nkTimes:
            case nkDivide:
            case nkPower:
                stack.push_back({n, AfterLeft, f.Begin, 0, f.Wrap});
                stack.push_back({n->Left.get(), Start});
                continue;
            case nkFunction:
                out += n->Text;
                stack.push_back({n, End, f.Begin, 0, f.Wrap});
                stack.push_back({n->Right.get(), Start});
                continue;
            default: out += QLatin1Char('?'); break;
            }
        } else if (f.Stage == AfterLeft) {
            static const char ops[] = "???+-*/?^";
            out += QLatin1Char(ops[n->Kind]);
            f.RightBegin = out.size();
            f.Stage = End;
            stack.push_back(f);
            stack.push_back({n->Right.get(), Start});
            continue;
        } else {
            switch (n->Kind) {
            case nkBrackets: out += kClose; break;
            case nkFactorial: out += QLatin1Char('!'); break;
            case nkPercent: out += QLatin1Char('%'); break;
            case nkDivide: BracketIfSigned(out, f.RightBegin); break;
            default: break;
            }
        }
        if (f.Wrap)
            out += kClose;
        else if (n->ParentKind == nkPower)
            BracketIfSigned(out, f.Begin);
    }
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
    TDeriver(const TVyraz &root, const QString &v, qsizetype maxLength) : V(v), MaxLength(maxLength) {
        if (!V.isEmpty())
            Independence(&root, V, Indep);
    }

    // The derivative of the subtree of root, the operands' derivatives
    // before their node's (a text that outgrows the bound stops the walk
    // before anything more is printed). A node's text is built in the text
    // of its left operand's derivative, so that a long chain of sums is
    // written once, not copied at each of its nodes.
    QString D(const TVyraz *root) {
        struct TFrame {
            const TVyraz *N;
            bool OperandsDone;
        };
        std::vector<TFrame> stack{{root, false}};
        std::vector<QString> done; // the derivatives found, the last on top
        while (!stack.empty()) {
            const TFrame f = stack.back();
            stack.pop_back();
            const TVyraz *n = f.N;
            if (V.isEmpty() || Independent(n)) {
                done.emplace_back(QStringLiteral("0"));
                continue;
            }
            if (!f.OperandsDone) {
                stack.push_back({n, true});
                stack.push_back({n->Right.get(), false});
                stack.push_back({n->Left.get(), false}); // first, so its text lies below
                continue;
            }
            QString dr = std::move(done.back());
            done.pop_back();
            QString dl = std::move(done.back());
            done.pop_back();
            CheckSize(dl.size() + dr.size());
            done.push_back(Rule(n, std::move(dl), std::move(dr)));
            CheckSize(done.back().size());
        }
        return std::move(done.back());
    }

private:
    const QString &V;
    const qsizetype MaxLength;
    std::unordered_map<const TVyraz *, bool> Indep;

    void CheckSize(qsizetype size) const {
        if (size > MaxLength)
            throw EEngineRangeError("derivative too long");
    }

    bool Independent(const TVyraz *n) const {
        if (!n)
            return true;
        const auto it = Indep.find(n);
        return it == Indep.end() || it->second;
    }

    // The derivative of a node that depends on the variable, given the
    // derivatives dl and dr of its children ("0" for an independent child).
    Q_NEVER_INLINE QString Rule(const TVyraz *n, QString &&dl, QString &&dr) const {
        QString r = std::move(dl);
        switch (n->Kind) {
        case nkOperand: return n->Text == V ? QStringLiteral("1") : QStringLiteral("(-1)");
        case nkBrackets:
            r.prepend(kOpen);
            r += kClose;
            return r;
        case nkPlus:
        case nkMinus:
            r.prepend(kOpen);
            r += n->Kind == nkPlus ? kPlus : kMinus;
            r += dr;
            r += kClose;
            return r;
        case nkTimes:
            r.prepend(kOpen);
            r += QLatin1Char('*');
            AppendPlain(n->Right.get(), r);
            r += kPlus;
            AppendPlain(n->Left.get(), r);
            r += QLatin1Char('*');
            r += dr;
            r += kClose;
            return r;
        case nkDivide: {
            const QString pr = Plain(n->Right.get());
            r.prepend(kOpen);
            r += QLatin1Char('*');
            r += pr;
            r += kMinus;
            AppendPlain(n->Left.get(), r);
            r += QLatin1Char('*');
            r += dr;
            r += QLatin1String(")/(");
            r += pr;
            r += QLatin1String(")^2");
            return r;
        }
        case nkFactorial: throw EEngineNoDerivative(QStringLiteral("!"));
        case nkPercent: throw EEngineNoDerivative(QStringLiteral("%"));
        case nkPower: return Power(n, r, dr);
        case nkFunction: return Function(n, std::move(dr));
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

    QString Function(const TVyraz *n, QString &&d) const {
        const bool negative = n->Text.startsWith(kMinus);
        const QString name = BareName(n->Text);
        if (name.isEmpty()) {
            // The bare sign of "-(...)": the argument is not printed, so that
            // many signs in a row cost no more than their number.
            d.prepend(kMinus);
            return std::move(d);
        }
        const TFunctionInfo *function = BuiltIn(name);
        const QString a = Plain(n->Right.get());
        const bool argDep = !Independent(n->Right.get());

        QString r;
        bool chain = true;
        if (function && function->Function == TFunction::Logy) {
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
    TDeriver deriver(*this, varName, MaxWorkLength);
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

// The texts are built in place (a moved text grows at either end without a
// copy), so that a chain of many terms is written in time linear in its
// length.
TSimple Bracketed(QString s) {
    s.prepend(kOpen);
    s += kClose;
    return {std::move(s), shAtom};
}

// The operand text as it may stand on the given side of the operator;
// brackets are added only where the text would otherwise be read differently
// (which happens for texts passed up from a dropped 0 or 1 operand, and for
// negative numbers and signed functions).
QString Placed(TSimple &&x, quint8 op, bool right) {
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
    return wrap ? Bracketed(std::move(x.Text)).Text : std::move(x.Text);
}

// "-" + s.
QString Negated(QString s) {
    s.prepend(kMinus);
    return s;
}

// a + op + b.
QString Joined(QString a, QChar op, const QString &b) {
    a += op;
    a += b;
    return a;
}

// The result of a binary node: wrapped unless the parent kind is listed.
TSimple Compose(const TVyraz *n, QString text, TShape shape, std::initializer_list<int> bare) {
    if (KindIn(n->ParentKind, bare))
        return {std::move(text), shape};
    return Bracketed(std::move(text));
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
            return Bracketed(std::move(a.Text));
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
                return Bracketed(std::move(r.Text));
            return r;
        }
        switch (k) {
        case nkPlus:
            if (a.Is(0))
                return b;
            if (b.Is(0))
                return a;
            return Compose(n, Joined(std::move(a.Text), kPlus, b.Text), shSum, {nkPlus, nkFunction, nkTop});
        case nkMinus:
            if (a.Is(0)) {
                const TShape shape = b.Shape == shSum ? shAtom : b.Shape;
                return {Negated(Placed(std::move(b), nkMinus, true)), shape};
            }
            if (b.Is(0))
                return a;
            return Compose(n, Joined(std::move(a.Text), kMinus, Placed(std::move(b), nkMinus, true)), shSum,
                           {nkPlus, nkFunction, nkTop});
        case nkTimes:
            if (a.Is(1))
                return b;
            if (b.Is(1))
                return a;
            if (a.Is(0) || b.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            return Compose(n, Joined(Placed(std::move(a), k, false), QLatin1Char('*'), Placed(std::move(b), k, true)),
                           shProduct, {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        case nkDivide:
            if (a.Is(0) && !b.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            return Compose(n, Joined(Placed(std::move(a), k, false), QLatin1Char('/'), Placed(std::move(b), k, true)),
                           shProduct, {nkPlus, nkMinus, nkTimes, nkFunction, nkTop});
        default: // power
            if (a.Is(0))
                return Number(TExactFraction{0, 1}, sep);
            if (a.Is(1) || b.Is(0))
                return Number(TExactFraction{1, 1}, sep);
            if (b.Is(1))
                return a;
            return Compose(n,
                           Joined(Placed(std::move(a), k, false), QLatin1Char('^'), Bracketed(std::move(b.Text)).Text),
                           shPower, {nkPlus, nkMinus, nkTimes, nkDivide, nkTop});
        }
    }

    case nkFactorial: {
        return {Placed(std::move(a), nkFactorial, false) + QLatin1Char('!'), shFactorial};
    }

    case nkFunction: {
        a = std::move(b); // the argument
        if (n->Text == QString(kMinus)) {
            // The sign of "-(...)" (or of a whole power): a negative number,
            // or the sign written before the argument as after "0-".
            TExactFraction v;
            if (a.IsNumber && MakeRational(-a.Value.N, a.Value.D, v))
                return Number(v, sep);
            const TShape shape = a.Shape == shSum ? shAtom : a.Shape;
            return {Negated(Placed(std::move(a), nkMinus, true)), shape};
        }
        QString text = std::move(a.Text);
        text.prepend(QLatin1Char('['));
        text.prepend(n->Text);
        text += QLatin1Char(']');
        return Compose(n, std::move(text), shAtom, {nkPlus, nkMinus, nkTimes, nkDivide, nkFactorial, nkPower, nkTop});
    }

    case nkPercent: {
        return {Placed(std::move(a), nkPercent, false) + QLatin1Char('%'), shAtom};
    }

    default: return {QStringLiteral("?"), shAtom};
    }
}

// The simplified text of the subtree of root: the children's texts before
// their node's.
TSimple Simplify(const TVyraz *root, QChar sep) {
    struct TFrame {
        const TVyraz *N;
        bool ChildrenDone;
    };
    std::vector<TFrame> stack{{root, false}};
    std::vector<TSimple> done; // the texts found, the last on top
    while (!stack.empty()) {
        const TFrame f = stack.back();
        stack.pop_back();
        if (!f.N) {
            done.emplace_back(QStringLiteral("?"), shAtom);
        } else if (!f.ChildrenDone) {
            stack.push_back({f.N, true});
            stack.push_back({f.N->Right.get(), false});
            stack.push_back({f.N->Left.get(), false}); // first, so its text lies below
        } else {
            TSimple b = std::move(done.back());
            done.pop_back();
            TSimple a = std::move(done.back());
            done.pop_back();
            done.push_back(Combine(f.N, std::move(a), std::move(b), sep));
        }
    }
    return std::move(done.back());
}

} // namespace

void TVyraz::ToSimplifiedString(QString &r, QChar sep) const { r = Simplify(this, sep).Text; }

// --- derivative chain -------------------------------------------------------

void DerivativeStep(TVyraz &work, QString &t, const QString &varName, QChar sep) {
    // The texts between the parses are held to the longer bound of the work
    // (see MaxWorkLength); the result of the step to MaxExpressionLength.
    ParseText(work, t, nkTop, MaxWorkLength);
    QString d;
    work.Derive(varName, d);
    SimplifySigns(d);
    ParseText(work, d, nkTop, MaxWorkLength);
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
