#include "PresnyZlomok.h"

#include "uSpolocne.h"

#include <algorithm>

bool MakeExactFraction(Int128 n, Int128 d, qint64 bound, TExactFraction &r) {
    if (d == 0)
        return false;
    LowestTerms(n, d);
    if (Abs128(n) > bound || d > bound)
        return false;
    r = TExactFraction{qint64(n), qint64(d)};
    return true;
}

Int128 PowerOfTen(long k) {
    Int128 r = 1;
    while (k-- > 0)
        r *= 10;
    return r;
}

bool ReadExactDecimal(QStringView text, QChar sep, TExactDecimal &r) {
    r = TExactDecimal();
    const int n = int(text.size());
    int i = 0;
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        r.Negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    bool afterSep = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c)) {
            anyDigit = true;
            if (afterSep)
                ++r.Decimals;
            const int digit = c.unicode() - '0';
            if (digit == 0) {
                if (r.Digits > 0)
                    ++r.Zeros;
                continue;
            }
            if (r.Digits + r.Zeros + 1 > TExactDecimal::MaxDigits) {
                r.TooManyDigits = true;
                continue;
            }
            for (; r.Zeros > 0; --r.Zeros, ++r.Digits)
                r.Mantissa *= 10;
            r.Mantissa = r.Mantissa * 10 + digit;
            ++r.Digits;
        } else if (c == sep && !afterSep) {
            afterSep = true;
        } else {
            break;
        }
    }
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            expNegative = text.at(i) == QLatin1Char('-');
            ++i;
        }
        const int first = i;
        for (; i < n && IsAsciiDigit(text.at(i)); ++i)
            r.Exponent = std::min(r.Exponent * 10 + (text.at(i).unicode() - '0'), 1000000L);
        anyDigit = anyDigit && i > first;
        if (expNegative)
            r.Exponent = -r.Exponent;
    }
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    return anyDigit && i == n;
}
