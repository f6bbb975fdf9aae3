// The main window's calculation without its widgets: the road of the "="
// key in the three number sets, the check of the variables' values, the
// history entry, ANS, and the conversion of the input and the result when
// the base changes.
#pragma once

#include "KomplexneCisla.h"
#include "Zlomky.h"
#include "uKontrola.h"
#include "uSpolocne.h"

#include <QString>

class TPremenne;
struct TEngineResult;

// What one press of "=" came to.
struct TVysledokVypoctu {
    bool Ok = false;            // evaluated: Shown is the result
    QString Shown;              // the result in the current base, without the two leading spaces
    bool ShowVariables = false; // the error asks for the variables window (missing values)
};

// What a base switch came to.
struct TPrepnutieSustavy {
    bool InputConverted = false; // Input holds the converted input
    QString Input;
    bool ResultConverted = false; // Result holds the converted result text
    QString Result;
};

class TKalkulacka {
public:
    // Variables: the rows of the variables window (none when null).
    explicit TKalkulacka(TPremenne *premenne = nullptr) : Premenne(premenne) {}

    TPremenne *Premenne;

    // The error record of the last calculation or switch.
    TChyba LastError;
    // The last result as shown (in the complex set in round brackets, in
    // the modulo set the decimal residue), and the base it is written in.
    QString Ans = QStringLiteral("0");
    quint8 AnsRadix = 10;
    // The value of Ans at full precision; whoever writes Ans writes it too.
    // The complex form key turns it over without reading the shown text.
    TComplexNumber AnsValue;

    // What the window's controls say.
    quint8 Radix = 10;
    TNumberSet NumberSet = TNumberSet::Real;
    TAngleUnit AngleUnit = TAngleUnit::Degrees;
    // The user constants (none when null).
    const TConstantSource *Konstanty = nullptr;
    bool Fractions = false;
    quint8 Decimals = 6;
    quint16 Modulus = 5;

    // The road of "=" on the input text as typed. On success Ans holds the
    // new result; on an error LastError holds it and Ans is unchanged.
    // Nothing escapes: an invalid operation becomes code 20, any other
    // exception code 29, both without a span.
    TVysledokVypoctu Calculate(const QString &input);

    // What an evaluation depends on, as the controls say it now: the number
    // set, the angle unit, the program's separator, the variables, the
    // constants and the modulus; whole numbers exact in bases 2, 8 and 16.
    TEvaluationContext Context() const;

    // Appends an empty row for each variable of expression that the
    // variables lack (excludedName skipped); existing rows stay as they are.
    void AddMissingVariables(const QString &expression, const QString &excludedName);
    // Checks that every variable of expression has a value that can be read
    // and belongs to the set of the mode: code 15 (no value), 31 (not
    // readable, Param1 the name) or 17 (not of the set, Param1 the name).
    void ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                TKontrola mode) const;
    // "name=value;" for each variable of input, in order of appearance; in a
    // base other than 10 the numbers of input are no names.
    QString BuildVariableList(const QString &input) const;

    // The check of the graph, derivative and sum keys on the input as
    // typed: emptyCode (33 or 34) for an input of blanks only, else the
    // syntax and the user constants as the real set checks them and, in a
    // base other than 10, the numbers written in base 10 (which removes the
    // spaces). True with expression set when the input passed; otherwise
    // LastError holds the error. Nothing escapes: 20 or 29 as in Calculate.
    bool PrepareToolExpression(const QString &input, quint8 emptyCode, QString &expression);

    // A real value calculated by a tool window: written with Decimals in the
    // current base, it becomes Ans. True with shown set; false with
    // LastError set (20 or 29, as in Calculate) when it cannot be written,
    // Ans then unchanged.
    bool TakeRealResult(long double value, QString &shown);

    // The complex form key: AnsValue goes over to the other form (algebraic
    // or exponential) and is shown in the current base with Decimals; Ans
    // takes the value at full precision, in round brackets, so that what
    // continues from it is the value before the key. Returns the text to
    // show. Throws for a value that cannot be shown.
    QString ToggleComplexForm();

    // ANS as it is to be put into the input: Ans converted from the base it
    // was written in to the current base. Ans itself stays as it is.
    QString AnsForInsertion() const;

    // Converts every number of input from the current base to newBase and
    // makes newBase the current base (also after an error, which LastError
    // then holds: 26 for a number that cannot be written in the new base, 29
    // for anything else). A result text that is the last result as written
    // here (or the empty text a switch left where it could not write it) is
    // that result's value written anew in newBase with Decimals, so that a
    // switch there and back shows the text of before; any other text (an
    // entry of the history) is converted as it stands. After an error the
    // result is empty.
    TPrepnutieSustavy SwitchBase(quint8 newBase, const QString &input, const QString &resultText);

private:
    // How the shown result is written from AnsValue: a number, the parts of
    // a fraction, or a complex number in the form its Polar flag names.
    enum class TResultForm : quint8 { Number, Fraction, Complex };
    bool m_resultShown = false; // the result field holds the last result written here
    QString m_shownResult;      // ... as written (empty: a switch could not write it)
    TResultForm m_resultForm = TResultForm::Number;
    TFraction m_resultFraction;
    // The last result written in base, as its form asks; throws for a value
    // that cannot be written there.
    QString WriteResult(quint8 base) const;
    void ResultShown(const QString &shown, TResultForm form, const TFraction &fraction = TFraction());

    void CalculateReal(QString e, TVysledokVypoctu &out);
    void CalculateComplex(QString e, TVysledokVypoctu &out);
    void CalculateModulo(QString e, TVysledokVypoctu &out);
    // After the syntax check (nothing when it failed): the user constants,
    // then, in a base other than 10, the numbers written in base 10 (extra:
    // the character numbers may hold besides their digits).
    void CheckConstantsAndBase(QString &e, const TEvaluationContext &context, QChar extra);
    // After the syntax check: the user constants, the numbers written in
    // base 10 (extra: the character numbers may hold besides their digits),
    // the variables added and checked. False when LastError holds an error.
    bool PrepareForEvaluation(QString &e, QChar extra, TKontrola mode, TVysledokVypoctu &out);
    // AddMissingVariables and ValidateVariableValues on names collected once.
    void AddMissingNames(const QStringList &names);
    void ValidateNames(const QStringList &names, TChyba &err, TKontrola mode) const;
    // True for a result that holds a value; else LastError takes its error.
    bool Evaluated(const TEngineResult &result);
    // Ans, the base it is written in and its value at full precision.
    void SetAns(const QString &ans, quint8 ansRadix, const TComplexNumber &value);
    // A calculation that succeeded: ANS and the outcome take its result.
    void Succeed(TVysledokVypoctu &out, const QString &shown, const QString &ans, quint8 ansRadix,
                 const TComplexNumber &value);
    QChar ExtraNumberChar() const;
};

// The history entry of a finished calculation: the input as typed, " =",
// the result field's text (with its two leading spaces) and, when there are
// variables, " [" + the list + "]".
QString HistoryEntry(const QString &input, const QString &resultFieldText, const QString &variableList);

// The display text of a complex number, every number written with
// FormatNumber in the given base and separator: algebraic ("3+j4", "0+j",
// "2-j", "5") or exponential ("5e^j53,13", "2e^-j90", "4e^j180"; the angle
// in degrees).
QString FormatComplexNumber(const TComplexNumber &z, quint8 decimals, quint8 base, QChar sep);
