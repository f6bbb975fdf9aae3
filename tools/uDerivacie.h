// The derivative window's calculation without its widgets: the variables of
// a function, the implicit multiplication signs, and the derivative of a
// chosen order with a constant result shown as an exact fraction.
#pragma once

#include "uVyraz.h"

#include <QString>
#include <QStringList>

// Writes "*" where t multiplies without a sign: after "!" or "%" before a
// digit; after "!", "%" or a digit before "$", "(" or a letter (not before
// a word operator, nor before the exponent mark of a number as in 2e-5);
// after a variable before "$" or "(" (not after a function name or word
// operator: "sin(" stays, "x(" becomes "x*("); after ")" before "$", "(",
// a digit or a letter (not before a word operator). "2x(y)" becomes
// "2*x*(y)", "(x+1)(x-1)" becomes "(x+1)*(x-1)".
void InsertMultiplicationSigns(QString &t);

// Writes each number with an exponent ("2e-5", "1,5E3") as the plain decimal
// it stands for ("0,00002", "1500"), so that the tree, which splits at every
// "-" and "+", takes it as one number. Exponents beyond 64 stay as written.
void ExpandExponents(QString &t);

class TDerivacie {
public:
    // The message shown when the calculation fails; the window's language
    // sets it.
    QString ErrorText = QStringLiteral("Pri výpočte sa vyskytla chyba.");

    // A function handed over by the main window: its distinct variable
    // names, and the one to choose (the one called "x" in either case, else
    // the first; -1 when there is none).
    struct TPremenneFunkcie {
        QStringList Names;
        int Selected = -1;
    };
    static TPremenneFunkcie VariablesOf(const QString &function);

    // What the result field shows: the derivative, or ErrorText (Ok false).
    struct TVysledok {
        bool Ok = false;
        QString Text;
    };
    // The derivative of the given order (1 to MaxDerivativeOrder) of
    // function with respect to variable (an empty name makes every term a
    // constant). The spaces are removed, the exponents of numbers expanded
    // and the implicit multiplications written first. A result that is a plain number is shown as the exact
    // fraction of its value ("1 / 3", "-2", "5"); its value is worked out
    // without the rounding of the derivative's printer, so that x*(1/3)
    // gives "1 / 3", not the fraction of 0,333.
    TVysledok Calculate(const QString &function, const QString &variable, int order);

private:
    TVyraz Work; // the tree of each step
};
