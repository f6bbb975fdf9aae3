// Shared state and text operations of the calculation engine.
//
// The evaluators work on the expression as text. Positions handed to and
// returned by the operations here are 1-based, as are the helpers Pos, Copy,
// Delete and Insert, which keep the algorithms readable line by line.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QList>
#include <QPair>
#include <cfloat>
#include <stdexcept>

static_assert(LDBL_MANT_DIG == 64, "the engine computes in the 80-bit extended format");
namespace legacy {

// The error record passed to every check and evaluator.
struct TChyba {
    QString Param1;      // replaces "#1" in the message of the code
    QString Param2;      // replaces "#2"
    quint8 Code = 0;     // 0 = no error, 1..34 = message number
    qint32 SpanStart = 0; // 0-based start of the faulty part of the input
    qint32 SpanEnd = 0;   // 0-based, end exclusive

    void ClearCodeAndSpan() { Code = 0; SpanStart = 0; SpanEnd = 0; }
};

// ---------------------------------------------------------------------------
// Engine exceptions: what an evaluator does not turn into a code reaches the
// caller as one of these. The main window's guard maps EEngineInvalidOp to
// code 20 and every other exception to code 29.
struct EEngineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct EEngineInvalidOp : EEngineError { using EEngineError::EEngineError; };   // invalid floating-point operation
struct EEngineConvertError : EEngineError { using EEngineError::EEngineError; }; // text that is not a number
struct EEngineRangeError : EEngineError { using EEngineError::EEngineError; };   // a position or integer out of range
struct EEngineOverflow : EEngineError { using EEngineError::EEngineError; };     // a value beyond the 80-bit range

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

// ---------------------------------------------------------------------------
// The engine's globals: one program-wide instance, resettable by tests.
struct TEngineContext {
    QStringList FunctionNames;
    const TVariableSource *VariableValues = nullptr;   // none = no variables
    const TConstantSource *ConstantsListView = nullptr; // none = no constants
    quint8 NumberSet = 0;  // 0 real, 1 complex, 2 integers modulo n
    quint8 AngleUnit = 0;  // 0 degrees, 1 radians, 2 grads
    bool EvaluationOk = true;
    bool RealExpressionPrepared = false;
    bool FractionFirstCall = true;
    bool ModuloFirstCall = true;
    bool ComplexFirstCall = true;
    quint16 Modulus = 2;
    QChar ImaginaryUnit = QLatin1Char('j');
    QChar DecimalSeparator; // the locale's by default

    // Back to the start-up state; the decimal separator is the system's.
    void Reset();
};

TEngineContext &Engine();

// The system locale's decimal separator ("," or ".").
QChar SystemDecimalSeparator();
inline QChar DecSep() { return Engine().DecimalSeparator; }

// ---------------------------------------------------------------------------
// 1-based string helpers. Out-of-range arguments are clamped, never UB.
int Pos(const QString &sub, const QString &s);                // 0 if absent
int PosEx(const QString &sub, const QString &s, int from);    // search from position `from`
int LastPos(const QString &sub, const QString &s);            // 0 if absent
QString Copy(const QString &s, int index, int count);
void Delete(QString &s, int index, int count);
void Insert(const QString &sub, QString &s, int index);
// The character at 1-based position i, or QChar() outside the text.
inline QChar At(const QString &s, int i) { return (i >= 1 && i <= s.size()) ? s.at(i - 1) : QChar(); }

inline bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
inline bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
QString AsciiLower(const QString &s);
QString AsciiUpper(const QString &s);

// A set of characters, written as the characters it holds.
using TCharSet = QString;
inline bool InSet(QChar c, const TCharSet &set) { return !c.isNull() && set.contains(c); }

extern const TCharSet DigitChars;          // "0".."9"
extern const TCharSet LetterChars;         // "A".."Z", "a".."z"
extern const TCharSet DigitsAndLetters;    // digits and letters
extern const TCharSet WordTailReal;        // "+", ",", "-", ".", "0".."9"
extern const TCharSet WordTailWithExp;     // the same plus "E" and "e"

// ---------------------------------------------------------------------------
// The operations shared by the checks and evaluators.
void LoadFunctionNames();
void CheckBrackets(const QString &text, const QString &typed, TChyba &err);
void InsertImplicitMultiplication(QString &expr, const TCharSet &wordTailChars, const TCharSet &operandChars);
bool IsWordOperator(const QString &token, const TCharSet &wordTailChars);
QString ExtractFirstIdentifier(const QString &s);
bool IsImaginaryUnitToken(const QString &token);
bool IsVariableName(const QString &token);
// Lower-cases expr (when any variable line exists) and replaces each
// variable that stands alone by "(" + its value + ")"; other occurrences of
// the name are upper-cased. Identifiers are walked while any is left, so a
// variable "e" after every other name is substituted too.
void SubstituteVariableValues(QString &expr, const TVariableSource *values);
// The distinct variable names of expr in order of appearance ("logy" gives
// "y"); walks on while any identifier is left, like SubstituteVariableValues.
void CollectVariableNames(const QString &expr, QStringList &list, const QString &excludedName);
// Code 19 for the first reference with no user constant; expr is the text as
// typed and the span is given in it, spaces counted.
void CheckDollarReferences(const QString &expr, TChyba &err);
// Each known reference becomes "(" + value + ")" (spaces of the value
// removed) in one left-to-right pass; unknown ones stay.
void ReplaceDollarReferences(QString &expr);
long double Factorial(quint16 n);
bool HasFraction(long double x);
void SplitBracketOperands(const QString &expr, int opPos, QString &left, QString &right);
// Replaces the first occurrence again and again until none is left (new
// occurrences formed where a replacement joins the text are replaced too).
void ReplaceAll(QString &s, const QString &oldText, const QString &newText);
void ReplaceFirstShared(QString &s, const QString &oldText, const QString &newText);
void DeleteAll(QString &s, const QString &sub);
int FirstCharInSet(const QString &s, const TCharSet &chars);
void MoveMinusBeforeProduct(QString &s);
// MoveMinusBeforeProduct, then "+-", "--" and "++" are folded until none is
// left, and a leading "+" is deleted.
void SimplifySigns(QString &s);
void RemoveSuperfluousBrackets(QString &s);
bool AllCharsInSet(const QString &s, const TCharSet &chars);
void NormaliseDecimalSeparator(QString &s);

// Moves a span given in a space-free text into the positions of `typed`.
// A span of 0 and 0 (none) is left alone.
void AdjustSpanToTyped(const QString &typed, TChyba &err);

// For a user-constant reference whose "$" stands at position pos: the
// position of the character that ends its name (one of ! $ % ( ) * + - / ^),
// or length + 1.
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

} // namespace legacy