// The drawing tree as the tests read it.
#pragma once

#include "uGrafickyVyraz.h"

// The tree written back with its structure: [left op right], (inside),
// name(argument), [operand!].
inline QString Shape(const TGrafickyVyraz &n) {
    switch (n.Kind) {
    case nkOperand: return n.Text;
    case nkBrackets: return "(" + Shape(*n.Child1) + ")";
    case nkFunction: return n.Text + Shape(*n.Child2);
    case nkFactorial: return "[" + Shape(*n.Child1) + "!]";
    case nkPercent: return "[" + Shape(*n.Child1) + "%]";
    default: return "[" + Shape(*n.Child1) + QString("???+-*/?^"[n.Kind]) + Shape(*n.Child2) + "]";
    }
}
