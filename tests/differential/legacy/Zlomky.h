// Exact fractions of the real number set and the list of primes that
// reduces them.
//
// A fraction travels inside an expression as a token "[+3|4]": the sign,
// the numerator and, when the denominator is not 1, "|" and the
// denominator. The display text is "3 / 4" in the chosen base.
//
// Nothing here reports an error code: a text that is not a number throws
// EEngineConvertError, an invalid operation (a part beyond 64 bits when
// reducing, a negative base under a non-integral exponent) EEngineInvalidOp,
// and a result beyond the 80-bit range an EEngineError.
#pragma once

#include "uSpolocne.h"

#include <vector>
namespace legacy {

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

// The program-wide list that serves ReduceFraction; the first reduction
// generates it up to 997.
TPrvocisla &GlobalPrimes();
constexpr quint16 GlobalPrimesLimit = 997;
// The limit of the main window's own list, which steps the modulus.
constexpr quint16 ModulusPrimesLimit = 97;

// Reads a token text ("[+3|4]", "[-5]") or a plain number into F. An empty
// text leaves F as it was.
void StrToFraction(const QString &s, TFraction &f);
// The token text of F, the sign moved to the numerator ("[-3|4]", "[+5]").
void FractionToText(TFraction f, QString &r);
// The display text of F in Base ("-3 / 4", "5"); no "+" is written. A zero
// denominator is never shown: it throws EEngineInvalidOp.
void FractionToDisplay(TFraction f, quint8 base, QString &r);
// Makes both parts integral and removes their common prime factors up to
// 997. The sign stays on the part that carries it; 0/0 is left alone.
void ReduceFraction(TFraction &f);

// The four operations; none of them reduces or tests for a zero
// denominator.
void AddFractions(const TFraction &a, const TFraction &b, TFraction &r);
void SubtractFractions(const TFraction &a, const TFraction &b, TFraction &r);
void MultiplyFractions(const TFraction &a, const TFraction &b, TFraction &r);
void DivideFractions(const TFraction &a, const TFraction &b, TFraction &r);
// R := F raised to the real power P (a negative P swaps the parts first).
void PowerFraction(const TFraction &f, TFraction &r, long double p);

// StrToFraction, ReduceFraction and FractionToDisplay in that order.
void FractionTextToDisplay(const QString &s, quint8 base, QString &r);

} // namespace legacy