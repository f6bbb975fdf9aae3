// The symbolic expression tree: a parser that builds a tree from an
// expression text, the plain infix printer, the symbolic derivative, the
// printer that folds numbers and drops trivial operands, and the chain of
// derivative steps that gives the n-th derivative of a text.
//
// A node owns its children: freeing a node frees its whole subtree.
//
// No operation recurses along a tree: a sum or product of many terms is a
// chain of nodes as deep as it is long, and texts of up to 65535 characters
// are built, walked and freed with stacks of their own.
#pragma once

#include "uSpolocne.h"

#include <memory>
#include <vector>

// What a node is. The values are shared with the drawing tree that descends
// from TVyraz, so they never change.
enum TExpressionNodeKind : quint8 {
    nkEmpty = 0,     // a new or cleared node
    nkOperand = 1,   // a number, variable or constant reference as written, in Text (may start with "-")
    nkBrackets = 2,  // a bracket group, inside in Left (never left by Parse)
    nkPlus = 3,      // Left + Right
    nkMinus = 4,     // Left - Right
    nkTimes = 5,     // Left * Right
    nkDivide = 6,    // Left / Right
    nkFactorial = 7, // Left!
    nkPower = 8,     // Left ^ Right (Left the base, Right the exponent)
    nkFunction = 9,  // function name in Text (may start with "-"), argument in Right
    nkPercent = 10,  // Left%
};
// Not a kind: as ParentKind it marks the top of a tree.
constexpr quint8 nkTop = 11;

// The highest order the derivative chain takes.
constexpr int MaxDerivativeOrder = 10;

// Raised by the derivative for a function or operator that has no derivative
// rule (rnd, sign, deg, dms, "!", or a name that is not a built-in function)
// when its operand depends on the variable.
struct EEngineNoDerivative : EEngineError {
    QString FunctionName;
    explicit EEngineNoDerivative(const QString &functionName);
};

class TVyraz {
public:
    quint8 Kind = nkEmpty;
    quint8 ParentKind = nkTop; // the Kind of the node that holds this one; nkTop at the top
    QString Text;              // operand text (nkOperand) or function name (nkFunction)
    std::unique_ptr<TVyraz> Left;
    std::unique_ptr<TVyraz> Right;

    TVyraz() = default;
    virtual ~TVyraz();
    TVyraz(const TVyraz &) = delete;
    TVyraz &operator=(const TVyraz &) = delete;

    // A new node holding the tree of text.
    static std::unique_ptr<TVyraz> CreateFromString(const QString &text, quint8 parentKind);

    // Replaces the node's content by the tree of text. Malformed text (an
    // empty part, unbalanced brackets, an operator with a missing operand,
    // text after a postfix "!" or "%", a text longer than MaxExpressionLength)
    // raises EEngineRangeError and leaves the node cleared.
    //
    // The tree reads the text as the real evaluator does: a number's
    // exponent keeps its sign ("2,5E-3" is one operand), and "%" is
    // computed, not kept: B% is 1/100*B, and a percent that follows a "+"
    // or "-" directly turns that sign into a product of the term before it
    // with 1+B/100 or 1-B/100 ("x+10%" is x*(1+1/100*10), "a-b-10%" is
    // a-b*(1-1/100*10)). So no nkPercent node is built.
    void Parse(const QString &text, quint8 parentKind);

    // Kind nkEmpty, ParentKind nkTop, no children; Text is left as it is.
    void Clear();

    // True when the subtree does not contain the variable. An empty name is
    // contained nowhere.
    bool IsIndependentOf(const QString &varName) const;

    // The infix text of the subtree with the brackets its kinds need.
    void ToString(QString &r) const;
    static void Parenthesize(QString &s);

    // r := the derivative of the subtree with respect to varName, as a raw,
    // heavily bracketed text. Raises EEngineNoDerivative for a function
    // without a derivative rule and EEngineRangeError when the text would
    // grow beyond eight times MaxExpressionLength (the raw text is read back
    // and folded into a far shorter one).
    void Derive(const QString &varName, QString &r) const;

    // r := the text of the subtree with sums, differences, products,
    // quotients and whole powers of plain numbers folded exactly (a decimal
    // where the value ends, "1/3" where it does not, left as written where
    // it has no exact value in 64-bit fractions), and with trivial 0 and 1
    // operands dropped. Function arguments are written in square brackets
    // ("sin[x]"). Numbers are read and written with the separator sep.
    void ToSimplifiedString(QString &r, QChar sep) const;
};

// Splits ranges of one text at their loosest top-level operator, as the
// tree and the two-dimensional preview read a text. Positions are 1-based
// and ranges [s, e] inclusive; the brackets are matched once for the whole
// text, so every range handed down is balanced. Malformed text raises
// EEngineRangeError.
class TExpressionSplitter {
public:
    // The text must outlive the splitter.
    explicit TExpressionSplitter(const QString &text);

    struct TSplit {
        // nkPlus, nkMinus, nkTimes, nkDivide, nkPower: the operator at Pos.
        // nkFactorial, nkPercent: the postfix operator at Pos, which is e.
        // nkFunction: the name is [s, Pos - 1], its bracket group [Pos, e].
        // nkBrackets: s and e are a pair of brackets.
        // nkOperand: the whole range.
        quint8 Kind = nkEmpty;
        int Pos = 0;
    };
    // With chain given, a split at a binary operator also lists the
    // positions of every operator of its level at the top level of the
    // range, from the left: all signs of a sum (not the first character's),
    // all "*" and "/" of a product, all "^" of a power (which group to the
    // right). A chain of n terms is so split in one pass, not in n.
    TSplit Split(int s, int e, std::vector<int> *chain = nullptr) const;

    // Whether [s, e] is one bracket group.
    bool IsGroup(int s, int e) const { return s < e && At(s) == QLatin1Char('(') && m_match[size_t(s)] == e; }
    // The partner of the bracket at i.
    int Match(int i) const { return m_match[size_t(i)]; }
    // Whether the "+" or "-" at i is the sign of a number's exponent.
    bool InNumber(int i) const { return m_match[size_t(i)] < 0; }

    QChar At(int i) const { return m_text.at(i - 1); }
    QString Mid(int s, int e) const { return m_text.mid(s - 1, e - s + 1); }

private:
    const QString &m_text;
    // m_match[i]: the partner of the bracket at i; -1 for the sign of an
    // exponent, as the engine's scanner reads numbers; else 0.
    std::vector<int> m_match;
};

// One derivative step on t with respect to varName, through the tree work:
// parse, derive, tidy the signs, parse again, fold, drop superfluous
// brackets, turn square brackets back into round ones and tidy the signs.
// t receives the result; its numbers are read and written with sep.
void DerivativeStep(TVyraz &work, QString &t, const QString &varName, QChar sep);

// The derivative of the given order (1 to MaxDerivativeOrder): the step
// applied order times. Any result longer than MaxExpressionLength raises
// EEngineRangeError.
void DeriveNTimes(TVyraz &work, QString &t, const QString &varName, int order, QChar sep);
