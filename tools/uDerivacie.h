// The derivative window's calculation without its widgets: the variables of
// a function, the implicit multiplication signs, and the derivative of a
// chosen order with a constant result shown as an exact fraction.
#pragma once

#include "uVyraz.h"

#include <QString>
#include <QStringList>

// Writes "*" where the evaluator multiplies two operands that stand side by
// side, reading the text with its scanner: after a number, a name, a
// constant reference, ")", "!" or "%", before a number, a name, a reference,
// a function name or "(". So "2x(y)" becomes "2*x*(y)", "(x+1)(x-1)"
// becomes "(x+1)*(x-1)", "3e2x" becomes "3e2*x" (the number 3e2), while
// "sin(", "2e-5" and "x2e" stay, and no sign goes beside a word operator.
void InsertMultiplicationSigns(QString &t);

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
    // constant). The function is read as the evaluator reads it (its
    // blanks, numbers, names and implicit products); a word operator (nad,
    // div, mod), which is defined on whole numbers only, has no derivative
    // and gives ErrorText, as "!" does. A result that is a plain number is
    // shown as the exact fraction of its value ("1 / 3", "-2", "5"); its
    // value is worked out without the rounding of the derivative's printer,
    // so that x*(1/3) gives "1 / 3", not the fraction of 0,333.
    TVysledok Calculate(const QString &function, const QString &variable, int order);

private:
    TVyraz Work; // the tree of each step
};
