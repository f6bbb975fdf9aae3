// The error record, the evaluation context and the text operations shared by
// the checks, the evaluators and the windows.
//
// Positions handed to and returned by the text operations here are 1-based,
// as are the helpers Delete and At.
#pragma once

#include "uFunkcie.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QList>
#include <QPair>
#include <cfloat>
#include <stdexcept>
#include <vector>

static_assert(LDBL_MANT_DIG == 64, "the engine computes in the 80-bit extended format");

// The codes of the error record; the numbers are those of the messages.
enum class TErrorCode : quint8 {
    None = 0,
    Unreadable = 1, // an operand or argument that is no number
    LeadingOperator = 2,
    TrailingOperator = 3,
    TrailingSeparator = 4,
    TwoOperators = 5,
    SeparatorWithoutDigit = 6, // no digit after the separator
    OperatorBeforeClose = 7,
    OperatorAfterOpen = 8,
    EmptyBrackets = 9,
    StrayClose = 10,
    UnclosedBracket = 11,
    FunctionWithoutArgument = 12,
    OperatorNotInSet = 13,
    FunctionNotInSet = 14,
    MissingValue = 15,
    ForbiddenCharacter = 16,
    ValueNotInSet = 17,
    MissingConstant = 18,
    UnknownConstant = 19,
    TooLarge = 20, // also an invalid operation
    NegativeBaseRoot = 21,
    OutsideDomain = 22,
    FunctionOverflow = 23,
    FactorialOfNonNatural = 24,
    DivisionByZero = 25,
    BaseConversion = 26,
    NonIntegerOperand = 27,
    BinomialKAboveN = 28,
    UnknownFailure = 29,
    DigitBeforeSeparator = 30,
    UnreadableValue = 31,
    ComplexNotation = 32,
    NoFunction = 33,
    NoExpression = 34,
};

// The message number of a code.
constexpr int CodeNumber(TErrorCode code) { return int(code); }

// The error record passed to every check and evaluator.
struct TChyba {
    QString Param1; // replaces "#1" in the message of the code
    QString Param2; // replaces "#2"
    TErrorCode Code = TErrorCode::None;
    qint32 SpanStart = 0; // 0-based start of the faulty part of the input
    qint32 SpanEnd = 0;   // 0-based, end exclusive

    bool Failed() const { return Code != TErrorCode::None; }
    void ClearCodeAndSpan() {
        Code = TErrorCode::None;
        SpanStart = 0;
        SpanEnd = 0;
    }
    // A code without a span.
    void Set(TErrorCode code) {
        Code = code;
        SpanStart = 0;
        SpanEnd = 0;
    }
};

// ---------------------------------------------------------------------------
// Engine exceptions: the few operations that report no code (the text
// conversions, the syntax checks of overlong texts) throw one of these. The
// main window's guard maps EEngineInvalidOp to code 20 and every other
// exception to code 29.
struct EEngineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct EEngineInvalidOp : EEngineError {
    using EEngineError::EEngineError;
}; // invalid floating-point operation
struct EEngineConvertError : EEngineError {
    using EEngineError::EEngineError;
}; // text that is not a number
struct EEngineRangeError : EEngineError {
    using EEngineError::EEngineError;
}; // a position or integer out of range
struct EEngineOverflow : EEngineError {
    using EEngineError::EEngineError;
}; // a value beyond the 80-bit range

// ---------------------------------------------------------------------------
// Read interfaces through which the engine sees the variables window's
// name=value list and the constants window's list of user constants.
class TVariableSource {
public:
    virtual ~TVariableSource() = default;
    // The lines "name=value" in their order.
    virtual QStringList Lines() const = 0;
};

class TConstantSource {
public:
    virtual ~TConstantSource() = default;
    virtual int Count() const = 0;
    virtual QString Caption(int index) const = 0; // "$" + symbol
    virtual QString Value(int index) const = 0;   // the value text
};

// Plain list implementations (used by tests and as the windows' backing store).
class TVariableList : public TVariableSource {
public:
    QStringList Items;
    TVariableList() = default;
    explicit TVariableList(QStringList items) : Items(std::move(items)) {}
    QStringList Lines() const override { return Items; }
};

class TConstantList : public TConstantSource {
public:
    QList<QPair<QString, QString>> Items; // (caption "$sym", value)
    int Count() const override { return int(Items.size()); }
    QString Caption(int index) const override { return Items.at(index).first; }
    QString Value(int index) const override { return Items.at(index).second; }
};

// The value of Name in "name=value" lines (name compared without regard to
// case, the first line wins); empty when there is no such line.
QString ValueOfName(const QStringList &lines, const QString &name);

// Names found without regard to letter case, as the scanner reads them
// (ASCII letters only), in constant time: a long list of
// variables is looked up once per name, not searched through for each.
class TNameIndex {
public:
    void Clear() { m_first.clear(); }
    // Gives name the position index, unless a name that matches it has one.
    void Add(QStringView name, int index) {
        const QString key = Key(name);
        if (!m_first.contains(key))
            m_first.insert(key, index);
    }
    // The position of the first name added that matches name, or -1.
    int Find(QStringView name) const { return m_first.value(Key(name), -1); }

private:
    static QString Key(QStringView name);
    QHash<QString, int> m_first;
};

// The "name=value" lines with their names indexed: ValueOfName in constant
// time. The lines must outlive the index and stay as they are.
class TLineValues {
public:
    explicit TLineValues(const QStringList &lines);
    // As ValueOfName(lines, name).
    QString Value(QStringView name) const;

private:
    const QStringList &m_lines;
    TNameIndex m_index;
};

// The user constants found by their references ("$" + symbol, compared
// exactly, letter case counting), the first of equal captions winning. A
// long list is indexed at the first lookup, so that many references among
// many constants are each found at once, not searched for through all. The
// source must outlive the finder and stay as it is.
class TConstantFinder {
public:
    explicit TConstantFinder(const TConstantSource *constants) : m_constants(constants) {}
    // The index of the constant whose caption is reference, or -1 (also
    // without a source).
    int Find(QStringView reference);

private:
    const TConstantSource *m_constants;
    bool m_indexed = false;
    QHash<QString, int> m_index;
};

// ---------------------------------------------------------------------------
// Everything an evaluation depends on. The caller owns it and passes it; the
// engine keeps no state of its own, so two contexts can be used on two
// threads at once (the sources must then not change meanwhile).
enum class TNumberSet : quint8 { Real = 0, Complex = 1, Modulo = 2 };
enum class TAngleUnit : quint8 { Degrees = 0, Radians = 1, Grads = 2 };

struct TEvaluationContext {
    // The separator has no default: the engine keeps none of its own, so the
    // owner of a context (the main window's model, a tool, a test) names it.
    explicit TEvaluationContext(QChar separator) : DecimalSeparator(separator) {}

    TNumberSet NumberSet = TNumberSet::Real;
    bool Fractions = false; // the real set evaluated as exact fractions
    TAngleUnit AngleUnit = TAngleUnit::Degrees;
    QChar DecimalSeparator;                     // "," or "."
    const TVariableSource *Variables = nullptr; // none = no variables
    const TConstantSource *Constants = nullptr; // none = no constants
    quint16 Modulus = 5;                        // n of the integers modulo n
    QChar ImaginaryUnit = QLatin1Char('j');
    // The real set keeps a whole result within the 64-bit range with every
    // digit instead of 18 significant ones. Set where numbers are typed and
    // shown in base 2, 8 or 16, which show every digit of a whole number
    // (FFFFFFFFFFFFFFF is 1152921504606846975, not ...980): the 80-bit
    // value holds such a number exactly, so there is no residue of a binary
    // fraction for the rounding to remove.
    bool ExactWholeNumbers = false;

    QChar Separator() const { return DecimalSeparator; }
};

// ---------------------------------------------------------------------------
// 1-based string helpers. Out-of-range arguments are clamped, never UB.
void Delete(QString &s, int index, int count);
// The character at 1-based position i, or QChar() outside the text.
inline QChar At(const QString &s, int i) { return (i >= 1 && i <= s.size()) ? s.at(i - 1) : QChar(); }

inline bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
inline bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
inline QChar AsciiLower(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 32) : c;
}
QString AsciiLower(const QString &s);
QString AsciiUpper(const QString &s);

// A set of characters, written as the characters it holds.
using TCharSet = QString;
inline bool InSet(QChar c, const TCharSet &set) {
    if (c.isNull())
        return false;
    for (const QChar x : set) // the sets are a few characters: a plain walk is quickest
        if (x == c)
            return true;
    return false;
}

extern const TCharSet DigitChars;       // "0".."9"
extern const TCharSet LetterChars;      // "A".."Z", "a".."z"
extern const TCharSet DigitsAndLetters; // digits and letters
extern const TCharSet WordTailReal;     // "+", ",", "-", ".", "0".."9"
extern const TCharSet WordTailWithExp;  // the same plus "E" and "e"

// ---------------------------------------------------------------------------
// The vocabulary of an expression, defined here once for the scanner, the
// checks, the collector of variable names, the base conversion and the
// input filter.
//
// The operator alphabet: the signs that stand between or after operands.
extern const TCharSet OperatorChars;        // "!%*+-/^"
extern const TCharSet BinaryOperatorChars;  // "*+-/^"
extern const TCharSet PostfixOperatorChars; // "!%"
// Every character an expression may hold: backspace, blank, the operator
// alphabet, "$", brackets, both separators, digits and letters.
extern const TCharSet ExpressionChars;
// The decimal separator of an expression: "," and "." alike, whichever one
// the context writes, so that a text typed, pasted or saved under the other
// one reads the same. Neither character has another role in an expression.
inline bool IsDecimalSeparator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char('.'); }
// The word operators in the order of their index: n over k, the integer
// quotient and the remainder.
enum class TWordOperator : quint8 { Nad, Div, Mod };
constexpr int WordOperatorCount = 3;
QStringView WordOperatorName(int index);
inline QStringView WordOperatorName(TWordOperator word) { return WordOperatorName(int(word)); }
// The rule of letter case: names, function names and word operators are
// read without regard to it (letters A-Z only).
inline bool SameName(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (AsciiLower(a.at(i)) != AsciiLower(b.at(i)))
            return false;
    return true;
}
// The index of the word operator text begins with (letter case ignored),
// or -1.
int WordOperatorAt(QStringView text);

// How the scanner reads a name (a run of letters and digits that begins
// with a letter) in the context's number set.
enum class TNameKind : quint8 {
    Function,      // a function name
    WordOperator,  // a word operator, possibly with the number that follows it ("mod3")
    LoneE,         // the complex set's "e", no number by itself
    ImaginaryUnit, // the complex set's unit with its coefficient ("j", "j45")
    Variable,
};
// function receives the function when the name is one.
TNameKind NameKind(QStringView run, const TEvaluationContext &context, TFunction *function = nullptr);

// ---------------------------------------------------------------------------
// The operations shared by the checks, the evaluators and the windows.
void CheckBrackets(QStringView text, const QString &typed, TChyba &err);
// Inserts "*" after "!", "%", ")" or "]" where an operand follows: before
// "(" or "[", and before a run of operandChars or a "$", unless the run is a
// word operator of the set.
void InsertImplicitMultiplication(QString &expr, const TCharSet &wordTailChars, const TCharSet &operandChars,
                                  TNumberSet numberSet);
// A word operator (letter case ignored) followed only by wordTailChars;
// only the real set has word operators.
bool IsWordOperator(QStringView token, const TCharSet &wordTailChars, TNumberSet numberSet);
// The 0-based index just after the name of the constant reference whose "$"
// is at the 0-based index i of s.
int DollarNameEnd(QStringView s, int i);
// The unit (letter case ignored) followed only by digits, which may hold
// an exponent letter after the first digit ("j", "j45", "j5E13", and "j5E"
// of "j5E-4"): the imaginary unit with its coefficient, as results are
// shown, never a name.
bool IsImaginaryUnitToken(QStringView token, QChar unit);
// A name that stands for a user variable in the context's number set
// (NameKind): not a function name, not a constant reference, not a word
// operator, and in the complex set not "e" nor the imaginary unit with its
// coefficient; letter case ignored.
bool IsVariableName(QStringView token, const TEvaluationContext &context);
// The names of expr (as typed) whose values the evaluator reads from the
// variables, as the evaluator's own scanner finds them: each once (letter
// case ignored, the first spelling kept) in order of appearance; "logy"
// asks for "y". excludedName is a free name (the graph's x, the sum's
// index) and is never listed. A text without a letter has none.
void CollectVariableNames(const QString &expr, const TEvaluationContext &context, QStringList &list,
                          const QString &excludedName);
// The first word operator of stripped (a text of the real set as
// StripBlanks made it) that has no second operand, as the evaluator reads
// the text: the end of the text (code 3), ")" (code 7) or an operator
// (code 5) follows it, or a sign and then one of these. True with the code
// and the word's span in stripped; false when there is none.
bool FindWordOperatorWithoutOperand(const QString &stripped, const TEvaluationContext &context, TChyba &err);

// How the scanner of the real set reads a text when its names stand for
// variables (as they do on the "=" road whenever a variable has a value):
// the parts of the text in their order, each with its kind and its span
// [Start, End) (0-based). Readers that rewrite a text for another consumer
// (the expression tree) take numbers, names and operators from here, so
// that they read "1E-5x" and "x mod 3" as the evaluator does.
enum class TTextPartKind : quint8 {
    Number,       // a literal, the sign of its exponent included ("2,5E-3")
    Name,         // a variable
    Constant,     // a user-constant reference ("$e")
    Function,     // a function name
    WordOperator, // "nad", "div" or "mod"
    Open,
    Close,
    Operator, // one character of the operator alphabet
    Blank,    // a blank StripBlanks left beside a word operator
    Other,    // any other character
};
struct TTextPart {
    TTextPartKind Kind;
    qint32 Start;
    qint32 End;
};
void ReadTextParts(const QString &text, std::vector<TTextPart> &parts);
// Whether s holds a letter A-Z or a-z.
bool HoldsLetter(QStringView s);
// Code 19 for the first reference with no user constant in the context;
// expr is the text as typed and the span is given in it, spaces counted.
void CheckDollarReferences(const QString &expr, const TEvaluationContext &context, TChyba &err);
long double Factorial(quint16 n);
bool HasFraction(long double x);
// Replaces the first occurrence again and again until none is left (new
// occurrences formed where a replacement joins the text are replaced too).
void ReplaceAll(QString &s, const QString &oldText, const QString &newText);
void DeleteAll(QString &s, const QString &sub);
void MoveMinusBeforeProduct(QString &s);
// MoveMinusBeforeProduct, then "+-", "--" and "++" are folded until none is
// left, and a leading "+" is deleted.
void SimplifySigns(QString &s);
void RemoveSuperfluousBrackets(QString &s);
bool AllCharsInSet(const QString &s, const TCharSet &chars);

// The text as the engine reads it: every blank removed, except where a word
// operator ("nad", "div", "mod", lower case, real set only) stands as a
// whole word, with a blank on one side and a blank, a bracket or a number on
// the other ("x mod 4", "5 nad x", "(a)div b"). There one blank stays
// between the word and a letter or digit beside it, so that the word does
// not join a name ("xmod4" and "5nadx" typed without blanks stay names).
// Consumers take a remaining blank as the end of a name or a number.
QString StripBlanks(const QString &text, TNumberSet set);
// The position in the text with every blank removed of position pos of a
// text that StripBlanks made.
int PositionWithoutBlanks(QStringView stripped, int pos);

// Moves a span given in a space-free text into the positions of `typed`.
// A span of 0 and 0 (none) is left alone.
void AdjustSpanToTyped(const QString &typed, TChyba &err);

// For a user-constant reference whose "$" stands at position pos: the
// position of the character that ends its name (one of ! $ % ( ) * + - / ^,
// or a blank that StripBlanks left before a word operator), or length + 1.
int DollarReferenceEnd(const QString &s, int pos);

// The CE rule on an input text and its caret (0-based, the number of
// characters left of it): the run of characters between two of the
// delimiters ! % ( ) * + - / ^ that holds the character left of the caret
// is deleted (with the caret at 0, the run at the start of the text), and
// the caret goes to where the run began. A delimiter left of the caret
// deletes nothing. A caret beyond the text is taken as its end.
void DeleteTokenAtCaret(QString &s, int &caret);

// The longest text the engine addresses (its positions are 16-bit).
constexpr int MaxExpressionLength = 65535;
