// Fractions of the real number set as the windows read and show them, and
// the list of primes that steps the modulus.
//
// A fraction travels inside an expression as a token "[+3|4]": the sign,
// the numerator and, when the denominator is not 1, "|" and the
// denominator. The display text is "3 / 4" in the chosen base.
//
// Every text is read and written with the decimal separator the caller
// gives (sep). Nothing here reports an error code: a text that is not a
// number throws EEngineConvertError, a part beyond 64 bits when reducing
// EEngineInvalidOp.
// The exact arithmetic of the fraction evaluator is its own (uVypocetZlomky.cpp).
#pragma once

#include "uSpolocne.h"

#include <vector>

struct TFraction {
    long double Numerator = 0;
    long double Denominator = 1;
};

// A list of primes, largest first.
class TPrvocisla {
public:
    TPrvocisla() = default;
    TPrvocisla(const TPrvocisla &) = delete;
    TPrvocisla &operator=(const TPrvocisla &) = delete;

    // Builds the list afresh: 2, 3, 5, 7 and 11 always, then every prime
    // from 13 to Limit. Callers generate a list once, while NeedsGenerate.
    void Generate(quint16 limit);
    // Empties the list; it needs generating again.
    void Clear();

    bool NeedsGenerate() const { return FNeedsGenerate; }
    // The primes from the largest down to 2.
    const std::vector<qint32> &Values() const { return FValues; }
    int Count() const { return int(FValues.size()); }

private:
    std::vector<qint32> FValues;
    bool FNeedsGenerate = true;
};

// The limit of the main window's own list, which steps the modulus.
constexpr quint16 ModulusPrimesLimit = 97;

// Reads a token text ("[+3|4]", "[-5]") or a plain number into F. An empty
// text leaves F as it was.
void StrToFraction(const QString &s, TFraction &f, QChar sep);
// The token text of F, the sign moved to the numerator ("[-3|4]", "[+5]").
void FractionToText(TFraction f, QString &r, QChar sep);
// The display text of F in Base ("-3 / 4", "5"); no "+" is written. A zero
// denominator is never shown: it throws EEngineInvalidOp.
void FractionToDisplay(TFraction f, quint8 base, QString &r, QChar sep);
// Makes both parts integral (a decimal part by tens) and brings them to
// lowest terms. The sign stays on the part that carries it; 0/0 is left
// alone. A part beyond the 64-bit range throws EEngineInvalidOp.
void ReduceFraction(TFraction &f);

// StrToFraction, ReduceFraction and FractionToDisplay in that order.
void FractionTextToDisplay(const QString &s, quint8 base, QString &r, QChar sep);
