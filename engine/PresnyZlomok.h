// The engine's one exact fraction: two 64-bit parts in lowest terms, and
// the one reader of a decimal number as written into exact digits. The
// fraction evaluator keeps its registers in it (with what it knows of a
// value beyond 64 bits), and the derivative's printer folds its numbers in
// it. TFraction (Zlomky.h) is the form the windows read and show.
#pragma once

#include <QChar>
#include <QStringView>
#include <QtGlobal>

#include <numeric>

using Int128 = __int128;

struct TExactFraction {
    qint64 N = 0;
    qint64 D = 1; // > 0 in lowest terms; the fraction evaluator keeps 0 for a value over zero
};

inline Int128 Abs128(Int128 x) { return x < 0 ? -x : x; }

inline Int128 Gcd128(Int128 a, Int128 b) {
    a = Abs128(a);
    b = Abs128(b);
    // Parts within 64 bits, the usual case, take the quicker 64-bit gcd.
    if ((a >> 64) == 0 && (b >> 64) == 0)
        return Int128(std::gcd(quint64(a), quint64(b)));
    while (b != 0) {
        const Int128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// n / d in lowest terms, the sign on the numerator (d != 0).
inline void LowestTerms(Int128 &n, Int128 &d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const Int128 g = Gcd128(n, d);
    if (g > 1) {
        n /= g;
        d /= g;
    }
}

// n / d in lowest terms; false when d is 0 or a part lies beyond bound.
bool MakeExactFraction(Int128 n, Int128 d, qint64 bound, TExactFraction &r);

// 10^k for 0 <= k <= 38, the powers of ten that 128 bits hold.
Int128 PowerOfTen(long k);

// A decimal number as written: Mantissa (Digits digits, the zeros at
// either end left out) times 10^Power() is its value.
struct TExactDecimal {
    static constexpr int MaxDigits = 38; // 10^38 < 2^127

    bool Negative = false;
    Int128 Mantissa = 0;
    int Digits = 0;
    long Zeros = 0;             // zeros after the last non-zero digit, not in Mantissa
    long Decimals = 0;          // digits after the separator
    long Exponent = 0;          // as written, its size kept to 10^6
    bool TooManyDigits = false; // more than MaxDigits significant digits: Mantissa holds the first

    long Power() const { return Exponent - Decimals + Zeros; }
};

// Reads a number in the one form the engine writes and reads: spaces
// around it, an optional sign, digits with at most one separator sep, an
// optional exponent ("e" or "E", a sign, digits). False for anything else.
bool ReadExactDecimal(QStringView text, QChar sep, TExactDecimal &r);
