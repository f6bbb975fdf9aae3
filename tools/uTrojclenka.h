// The rule of three: the unknown X of a proportion a : b = c : X, for direct
// or inverse proportion.
#pragma once

#include <QString>

class TTrojclenka {
public:
    // What the result field shows, and which of the three fields (0 for a,
    // 1 for b, 2 for c) takes the focus; -1 leaves the focus where it is.
    struct TVysledok {
        bool Ok = false;
        QString Text;
        int Focus = -1;
    };

    // The messages, with their built-in texts; the window's language sets
    // them.
    QString ValueNotEntered = QStringLiteral("Nie sú zadané všetky čísla");
    QString InvalidInput = QStringLiteral("Neplatný vstup");

    // a stands beside b as c beside X. Direct proportion: X = b*c/a (5 kg
    // cost 20, so 10 kg cost 40); inverse: X = a*b/c. All four numbers are
    // 64-bit. The first empty field gives ValueNotEntered and the focus. A
    // text that is not a number, a number outside the range of double (above
    // it, or a non-zero number below its smallest normal value), a result
    // beyond it, or 0/0 gives InvalidInput; a division of a non-zero number
    // by zero gives InvalidInput and the focus to the divisor's field (a for
    // direct, c for inverse). X is written with at most four decimals.
    TVysledok Vypocet(const QString &a, const QString &b, const QString &c, bool priama) const;
};
