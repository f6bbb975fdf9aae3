// The six classical counts of combinatorics from two non-negative integers
// n and k, in 80-bit floating point.
#pragma once

#include <QString>
#include <QtGlobal>

class TKombinatorika {
public:
    // In the order of the window's choices.
    enum TUloha {
        KombinacneCislo,         // n over k
        VariacieBezOpakovania,   // n! / (n-k)!
        VariacieSOpakovanim,     // n^k
        KombinacieBezOpakovania, // n over k
        KombinacieSOpakovanim,   // (n+k-1) over k
        Permutacie,              // n!
    };

    // What the result field shows: the count, or a message.
    struct TVysledok {
        enum TStav { Ok, NNotEntered, KNotEntered, InvalidInput };
        TStav Stav = Ok;
        QString Text;
    };

    // The messages, with their built-in texts; the window's language sets
    // them.
    QString KNotEntered = QStringLiteral("Nie je zadané k.");
    QString NNotEntered = QStringLiteral("Nie je zadané n.");
    QString InvalidInput = QStringLiteral("Neplatný vstup.");

    // The count for n and k. False where it is not defined (k > n where n - k
    // is needed, n = k = 0 for combinations with repetition) or where it
    // exceeds the range of long double. Products are formed so that no
    // intermediate value overflows while the count itself fits.
    static bool Pocet(TUloha uloha, quint16 n, quint16 k, long double &result);

    // From the texts of the n and k fields: an empty n or k gives its
    // message, a text that is not an integer of 0..65535 or a count that
    // Pocet refuses gives InvalidInput; a count is written with at most one
    // decimal.
    TVysledok Vypocet(TUloha uloha, const QString &n, const QString &k) const;
};
