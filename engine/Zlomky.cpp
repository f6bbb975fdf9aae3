#include "Zlomky.h"
#include "PrevodySustav.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// A part of a fraction token: a whole number with all its digits, anything
// else (a part not yet reduced) plainly with up to 18 significant digits.
QString FormatFractionPart(long double v, QChar sep) {
    if (!std::isfinite(v))
        throw EEngineInvalidOp("invalid floating point operation");
    if (v == std::trunc(v) && std::fabs(v) < 9223372036854775808.0L)
        return QString::number(qint64(v));
    return FormatFloat(QStringLiteral("0.##################"), v, sep);
}

// The sign moves to the numerator; two negative parts both become positive.
void NormaliseSign(TFraction &f) {
    if (f.Numerator < 0 && f.Denominator < 0) {
        f.Numerator = -f.Numerator;
        f.Denominator = -f.Denominator;
    }
    if (f.Denominator < 0) {
        f.Denominator = -f.Denominator;
        f.Numerator = -f.Numerator;
    }
}

// Nearest 64-bit integer, ties to even; a part beyond the range is an
// invalid operation.
qint64 PartToInt64(long double x) {
    if (!std::isfinite(x) || x >= 9223372036854775808.0L || x < -9223372036854775808.0L)
        throw EEngineInvalidOp("invalid floating point operation");
    return RoundToInt64(x);
}

// A part of the display text. The general formatter writes a large value
// in the exponent form, so a whole part in base 10 is written here with
// every digit, grouped by three as the formatter groups base 10.
QString DisplayPart(long double v, quint8 base, QChar sep) {
    if (base == 10 && v == std::trunc(v) && std::fabs(v) < 9223372036854775808.0L) {
        QString t = QString::number(qint64(v));
        const qsizetype first = v < 0 ? 1 : 0;
        for (qsizetype k = t.size() - 3; k > first; k -= 3)
            t.insert(k, QLatin1Char(' '));
        return t;
    }
    QString t;
    FormatNumber(0, base, t, v, sep);
    return t;
}

quint64 Magnitude(qint64 x) { return x < 0 ? quint64(0) - quint64(x) : quint64(x); }

} // namespace

// --- prime list ---------------------------------------------------------------

void TPrvocisla::Generate(quint16 limit) {
    std::vector<qint32> ascending{2, 3, 5, 7, 11};
    for (qint32 n = 13; n <= qint32(limit); n += 2) {
        bool prime = true;
        for (qint32 p : ascending) {
            if (p * p > n)
                break;
            if (n % p == 0) {
                prime = false;
                break;
            }
        }
        if (prime)
            ascending.push_back(n);
    }
    FValues.assign(ascending.rbegin(), ascending.rend());
    FNeedsGenerate = false;
}

void TPrvocisla::Clear() {
    FValues.clear();
    FNeedsGenerate = true;
}

// --- texts --------------------------------------------------------------------

void StrToFraction(const QString &s, TFraction &f, QChar sep) {
    if (s.isEmpty())
        return;
    QString t = s;
    t.remove(QLatin1Char('['));
    t.remove(QLatin1Char(']'));
    t.remove(QLatin1Char(' '));
    const int bar = int(t.indexOf(QLatin1Char('|')));
    if (bar >= 0) {
        const long double numerator = StrToFloat(t.left(bar), sep);
        const long double denominator = StrToFloat(t.mid(bar + 1), sep);
        f.Numerator = numerator;
        f.Denominator = denominator;
    } else {
        f.Numerator = StrToFloat(t, sep);
        f.Denominator = 1;
    }
}

void FractionToText(TFraction f, QString &r, QChar sep) {
    NormaliseSign(f);
    QString t;
    t.reserve(24);
    t += QLatin1Char('[');
    if (f.Numerator >= 0)
        t += QLatin1Char('+');
    t += FormatFractionPart(f.Numerator, sep);
    if (f.Denominator != 1) {
        t += QLatin1Char('|');
        t += FormatFractionPart(f.Denominator, sep);
    }
    t += QLatin1Char(']');
    r = t;
}

void FractionToDisplay(TFraction f, quint8 base, QString &r, QChar sep) {
    NormaliseSign(f);
    if (f.Denominator == 0)
        throw EEngineInvalidOp("a fraction with a zero denominator");
    QString t = DisplayPart(f.Numerator, base, sep);
    if (f.Denominator != 1)
        t += QLatin1String(" / ") + DisplayPart(f.Denominator, base, sep);
    r = t;
}

void FractionTextToDisplay(const QString &s, quint8 base, QString &r, QChar sep) {
    TFraction f;
    StrToFraction(s, f, sep);
    ReduceFraction(f);
    FractionToDisplay(f, base, r, sep);
}

// --- reduction and arithmetic ---------------------------------------------------

void ReduceFraction(TFraction &f) {
    // The largest signed 64-bit integer divided by 10: a part that passes it
    // stops growing, so endless decimals end here.
    constexpr long double Bound = 922337203685477580.0L;
    long double a = f.Numerator;
    long double b = f.Denominator;
    if (!std::isfinite(a) || !std::isfinite(b))
        throw EEngineInvalidOp("invalid floating point operation");
    while ((HasFraction(a) || HasFraction(b)) && std::fabs(a) <= Bound && std::fabs(b) <= Bound) {
        a *= 10;
        b *= 10;
    }
    qint64 n = PartToInt64(a);
    qint64 d = PartToInt64(b);
    const quint64 common = std::gcd(Magnitude(n), Magnitude(d));
    if (common > 1) {
        n /= qint64(common);
        d /= qint64(common);
    }
    f.Numerator = (long double)n;
    f.Denominator = (long double)d;
}
