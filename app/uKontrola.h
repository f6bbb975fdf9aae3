// What the values of the variables are checked against before an
// evaluation: the main window's model does the check, the companions ask
// for it through their link to the main window.
#pragma once

#include <QtGlobal>

enum class TKontrola : quint8 {
    Realne = 1,    // real numbers or fractions
    Komplexne = 2, // complex numbers
    Modulo = 3,    // integers
};
