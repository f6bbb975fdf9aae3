// Bracket highlighting of the input line, without the widget: which pair of
// round brackets encloses the caret most closely, and what is to be bold or
// red because of it.
#pragma once

#include <QString>

// The pair around a caret (0-based: the number of characters left of it),
// as 1-based positions; 0 where there is none.
struct TZatvorkyPar {
    int Open = 0;  // the nearest "(" left of the caret that is not closed before it
    int Close = 0; // the nearest ")" right of the caret that closes nothing opened after it
};

// The two scans from the caret: leftwards for an opening bracket, starting
// with the character left of the caret; rightwards for a closing one,
// starting with the character right of it. Each scan stops at the first
// bracket that is left over.
TZatvorkyPar FindBracketPair(const QString &s, int caret);

// What the highlighting makes of the text (0-based character positions,
// -1 for none): the opening bracket is bold, and red as well when it has no
// partner; the closing bracket is bold only together with its opening one.
// Everything else is plain and black.
struct TZvyraznenieZatvoriek {
    int Bold1 = -1;
    int Bold2 = -1;
    int Red = -1;

    bool operator==(const TZvyraznenieZatvoriek &) const = default;
};

TZvyraznenieZatvoriek PlanBracketHighlight(const QString &s, int caret);
