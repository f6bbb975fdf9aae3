// The rules of the main window's input line without its widget: what a
// typed character becomes, which texts an operator key continues from ANS
// with, how a key's text goes in at the caret, and the texts of the keys
// that compute theirs (operators, functions, the decimal comma, the random
// number). Positions are 0-based: the caret is the number of characters
// left of it.
#pragma once

#include <QChar>
#include <QString>

// A typed character as the input takes it: the letters of the Slovak
// number row become their digits, "ú" "/", "ä" "(", "ň" ")", "§" "!", "&"
// "*", and "," and "." the decimal separator. Anything else is returned as
// it is ("+" stays "+").
QChar RewriteTypedChar(QChar c);

// Whether a character (after the rewriting) may go into the input:
// Backspace, space, ! $ % ( ) * + , - . / 0-9 A-Z ^ a-z.
bool IsAcceptedTypedChar(QChar c);

// Whether a key's text, put in right after a calculation, continues from
// ANS: it begins with one of ! % * + - / ^ or is " div ", " mod " or " nad ".
bool ContinuesFromAns(const QString &text);

// Replaces the selection (start, length) of s by text and returns the
// caret right after the inserted text. Out-of-range arguments are clamped.
int InsertAtCaret(QString &s, int selStart, int selLength, const QString &text);

// The back-space key: deletes the character left of the caret (a
// selection does not matter) and returns the new caret.
int DeleteCharBeforeCaret(QString &s, int caret);

// The text of an operator key by the first character of its caption: "/",
// "x" (gives "*"), "-", "+", "d" (" div ") and "m" (" mod "); empty for
// any other.
QString OperatorKeyText(const QString &caption);

// The text of a trigonometric key: its caption and "(", or "h(" for the
// hyperbolic variant.
QString FunctionKeyText(const QString &caption, bool hyperbolic);

// The decimal comma key: "0" and the separator at the start of the input,
// the separator alone elsewhere.
QString DecimalCommaText(int caret);

// A random value from [0, 1) written with up to six decimals.
QString RandomNumberText(long double value);

// The first line of a text, without any line feed or carriage return: what
// the one-line input keeps of a text of several lines.
QString FirstInputLine(const QString &text);
