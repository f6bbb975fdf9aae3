// Polynomials in up to five single-letter variables with real coefficients:
// the check of a typed text, parsing into terms with like terms merged, sum
// and difference (by parsing), product, powers, long division with remainder
// by one main variable, the Horner scheme and printing back to text.
//
// A polynomial keeps a list of five variable slots ('#' for a free slot),
// filled in order of first appearance; slot i of the list names the variable
// of exponent i of every term. Operations on two polynomials expect the
// second to be parsed with the first one's list, so that a slot means the
// same letter on both sides; letters are matched by name anyway, so two
// lists in a different order still give the right result.
//
// Terms are kept in the order they were first added: that is the order in
// which they are printed. A term whose coefficient cancels to zero stays in
// its place and prints nothing.
//
// Every number text uses the decimal separator the caller passes (the
// locale's); it is the only decimal mark a text may hold.
#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <stdexcept>
#include <unordered_map>
#include <vector>

constexpr int MaxPolynomialVariables = 5;
// The letter of a free variable slot.
constexpr char16_t FreeVariableSlot = u'#';

using TExponenty = std::array<qint16, MaxPolynomialVariables>;
using TPremennePolynomu = std::array<QChar, MaxPolynomialVariables>;

// Why an operation could not be completed.
enum class TPolynomError {
    ExponentRange,      // an exponent outside -32768..32767
    TooManyTerms,       // a result with more than TPolynom::MaxTerms terms
    TooMuchWork,        // more than TPolynom::MaxWork term operations
    Overflow,           // a coefficient beyond the range of double
    DivisorLeadingTerm, // the divisor's highest term in the main variable is not one term of that variable alone
    DivisionByZero,
};

class EPolynom : public std::runtime_error {
public:
    EPolynom(TPolynomError kind, QChar letter = QChar());
    TPolynomError Kind;
    QChar Letter; // the main variable of a refused divisor
};

// One term: a coefficient and the exponent of each variable slot.
class TClen {
public:
    // The term 1: coefficient 1, every exponent 0.
    TClen() = default;
    TClen(const TExponenty &exponents, double coefficient);

    double Coefficient() const { return m_coefficient; }
    void SetCoefficient(double coefficient) { m_coefficient = coefficient; }
    // Adds in extended precision; a sum that is only rounding noise of its
    // two parts (a cancellation) becomes exactly 0.
    void AddCoefficient(double value);
    const TExponenty &Exponents() const { return m_exponents; }
    qint16 Exponent(int slot) const { return m_exponents[size_t(slot)]; }

    // Multiplies this term by the monomial text (no sign between its
    // factors: "-2,5x^2y3" is -7.5x^2y), giving new letters the free slots
    // of variables. A letter for which no slot is free is dropped.
    void Parse(const QString &text, TPremennePolynomu &variables, QChar separator);

    // The sign and coefficient of the printed term: "+" before a positive
    // term that is not the first, the coefficient to three decimals unless
    // it is 1 or -1 ("-" for -1). Empty for the first term with coefficient 1.
    QString CoefficientText(bool first, QChar separator) const;
    // Appends the term's text to s; nothing for a zero coefficient.
    void Format(QString &s, const TPremennePolynomu &variables, QChar separator) const;

private:
    double m_coefficient = 1.0;
    TExponenty m_exponents{};
};

// The Horner scheme of a polynomial in one variable at a point m: the
// coefficients from the highest power down, and one pass per coefficient,
// each dividing the last pass's quotient by (x - m).
struct THornerPass {
    std::vector<double> Products; // under the coefficients from the second on
    std::vector<double> Results;  // the new coefficients; the last one is the remainder
};
struct THornerSchema {
    std::vector<double> Coefficients;
    std::vector<THornerPass> Passes;
};

class TPolynom {
public:
    // Limits that keep every operation short: the number of terms a result
    // may hold and the number of term operations (products and subtractions)
    // one call may do. Beyond them the operation stops with TooManyTerms or
    // TooMuchWork and the polynomial is left as it was.
    static constexpr int MaxTerms = 10000;
    static constexpr qint64 MaxWork = 1000000;

    TPolynom();

    // Frees every term; the variable list stays.
    void Clear();
    static void ResetVariableList(TPremennePolynomu &variables);
    const TPremennePolynomu &Variables() const { return m_variables; }
    const std::vector<TClen> &Terms() const { return m_terms; }

    // Whether c may stand in a polynomial's text: a space, "+", "-", a
    // digit, "^", a lower-case letter or the decimal separator.
    static bool IsPolynomialChar(QChar c, QChar separator);
    // The check of a typed text, made on the text as the parser reads it
    // (without spaces), so that "2 ^2" is refused like "2^2". An empty text
    // is valid (the polynomial 0).
    static bool IsValidText(const QString &text, QChar separator);
    // The number of different letters a..z in text.
    static int CountLetters(const QString &text);

    // Parses a valid text and adds it term by term (negated when negate),
    // after clearing the polynomial when clearFirst. The polynomial's
    // variable list becomes variables, extended by the text's new letters.
    void AddText(const QString &text, const TPremennePolynomu &variables, bool negate, bool clearFirst,
                 QChar separator);

    // Appends a term without merging it into a like term.
    void AppendTerm(const TClen &term);

    // result := a * b; the terms stand in the order their monomials first
    // occur.
    static void Multiply(const TPolynom &a, const TPolynom &b, TPolynom &result);
    // this := this^n, n >= 0.
    void Power(int n);
    // Long division by the main variable, the divisor's first letter:
    // dividend = quotient * divisor + remainder, where the remainder has a
    // lower degree in the main variable than the divisor. The divisor's
    // highest term in the main variable must be its only term of that degree
    // and hold no other variable (else DivisorLeadingTerm: the division
    // would not end). Quotient and remainder use one variable list.
    static void Divide(const TPolynom &dividend, const TPolynom &divisor, TPolynom &remainder, TPolynom &quotient);

    // Sorts the terms by the exponent of one slot (0-based), highest first;
    // equal exponents keep their order.
    void SortByExponent(int slot);
    const TClen *FirstNonZeroTerm() const;
    // The highest exponent of slot 0 over all terms, zero coefficients
    // included; 0 when there is no term or all are negative.
    int MaxExponent() const;
    bool IsZero() const;
    bool HasNoNegativeExponent() const;

    // The printed form: the terms in their order, "0" when nothing prints.
    QString ToText(QChar separator) const;

    // The Horner scheme at m of a polynomial in at most one variable
    // without negative exponents (std::invalid_argument otherwise); empty
    // when every coefficient is 0. Overflow when a value leaves double.
    THornerSchema HornerScheme(long double m) const;

private:
    struct TExponentHash {
        size_t operator()(const TExponenty &e) const noexcept;
    };

    // Adds a term whose exponents are already in this polynomial's slots.
    void AddOwnTerm(const TExponenty &exponents, double coefficient);
    void RebuildIndex();
    // Overflow unless every coefficient is finite.
    void CheckFinite() const;
    static void MultiplyCounted(const TPolynom &a, const TPolynom &b, TPolynom &result, qint64 &work);

    std::vector<TClen> m_terms;
    TPremennePolynomu m_variables;
    // The first term of each exponent combination.
    std::unordered_map<TExponenty, size_t, TExponentHash> m_index;
};
