// Conversion of numbers between the bases 2, 8, 10 and 16, and the display
// formatting of numbers in any base.
#pragma once

#include "uSpolocne.h"

int CharToDigit(QChar ch);
QChar DigitToChar(quint8 d);
void BaseToDecimal(int base, const QString &s, QString &r);
void DecimalToBase(int base, const QString &s, quint8 digits, QString &r);
// extra: QChar() for none, else the one extra number character (the imaginary unit)
bool IsValidNumber(int base, QChar extra, const QString &token);
void ConvertExpressionBase(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err);
void ConvertExpressionBaseFormatted(int fromBase, int toBase, QChar extra, QString &expr, TChyba &err, quint8 decimals);
void FormatNumber(quint8 decimals, int base, QString &r, long double value);
