#include "Zlomky.h"
#include "PrevodySustav.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
namespace legacy {

namespace {

[[noreturn]] void RaiseOverflow() { throw EEngineOverflow("floating point overflow"); }

long double Checked(long double x) {
    if (!std::isfinite(x))
        RaiseOverflow();
    return x;
}

// A part of a fraction token: the general format with 15 significant
// digits, plain up to 15 integer digits and down to 0.00001, scientific
// ("1,5E20", "2E-6") beyond.
QString FormatFractionPart(long double v) {
    if (!std::isfinite(v))
        throw EEngineInvalidOp("invalid floating point operation");
    const long double mag = std::fabs(v);
    constexpr long double PlainLimit = 1e15L;
    if (mag < PlainLimit && v == std::trunc(v))
        return QString::number(qint64(v)); // an exact integer: the usual case
    const QString sci = FormatFloat(QStringLiteral("0.##############E-0"), v);
    const int e = int(sci.lastIndexOf(QLatin1Char('E')));
    const int exponent = QStringView(sci).mid(e + 1).toInt();
    if (exponent >= 15 || mag < 1e-5L)
        return sci;
    const int decimals = 14 - exponent;
    const QString picture =
        decimals > 0 ? QStringLiteral("0.") + QString(decimals, QLatin1Char('#')) : QStringLiteral("0");
    return FormatFloat(picture, v);
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

quint64 Magnitude(qint64 x) { return x < 0 ? quint64(0) - quint64(x) : quint64(x); }

// x raised to p, p not negative: 1 for p = 0; a negative x only under an
// integral p.
long double RealPower(long double x, long double p) {
    if (p == 0)
        return 1;
    if (HasFraction(p)) {
        if (x < 0 || std::isnan(p))
            throw EEngineInvalidOp("invalid floating point operation");
        if (x == 0)
            return 0;
    }
    return Checked(std::pow(x, p));
}

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

TPrvocisla &GlobalPrimes() {
    static TPrvocisla primes;
    return primes;
}

// --- texts --------------------------------------------------------------------

void StrToFraction(const QString &s, TFraction &f) {
    if (s.isEmpty())
        return;
    QString t = s;
    t.remove(QLatin1Char('['));
    t.remove(QLatin1Char(']'));
    t.remove(QLatin1Char(' '));
    const int bar = int(t.indexOf(QLatin1Char('|')));
    if (bar >= 0) {
        const long double numerator = StrToFloat(t.left(bar));
        const long double denominator = StrToFloat(t.mid(bar + 1));
        f.Numerator = numerator;
        f.Denominator = denominator;
    } else {
        f.Numerator = StrToFloat(t);
        f.Denominator = 1;
    }
}

void FractionToText(TFraction f, QString &r) {
    NormaliseSign(f);
    QString t;
    t.reserve(24);
    t += QLatin1Char('[');
    if (f.Numerator >= 0)
        t += QLatin1Char('+');
    t += FormatFractionPart(f.Numerator);
    if (f.Denominator != 1) {
        t += QLatin1Char('|');
        t += FormatFractionPart(f.Denominator);
    }
    t += QLatin1Char(']');
    r = t;
}

void FractionToDisplay(TFraction f, quint8 base, QString &r) {
    NormaliseSign(f);
    if (f.Denominator == 0)
        throw EEngineInvalidOp("a fraction with a zero denominator");
    QString t;
    FormatNumber(0, base, t, f.Numerator);
    if (f.Denominator != 1) {
        QString d;
        FormatNumber(0, base, d, f.Denominator);
        t += QLatin1String(" / ") + d;
    }
    r = t;
}

void FractionTextToDisplay(const QString &s, quint8 base, QString &r) {
    TFraction f;
    StrToFraction(s, f);
    ReduceFraction(f);
    FractionToDisplay(f, base, r);
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
    // The common prime factors are those of the greatest common divisor;
    // every prime divides 0/0, which stays as it is.
    TPrvocisla &primes = GlobalPrimes();
    if (primes.NeedsGenerate())
        primes.Generate(GlobalPrimesLimit);
    quint64 common = std::gcd(Magnitude(n), Magnitude(d));
    if (common > 1) {
        for (const qint32 p : primes.Values()) {
            if (quint64(p) > common)
                continue;
            while (common % quint64(p) == 0) {
                common /= quint64(p);
                n /= p;
                d /= p;
            }
        }
    }
    f.Numerator = (long double)n;
    f.Denominator = (long double)d;
}

void AddFractions(const TFraction &a, const TFraction &b, TFraction &r) {
    const long double n = Checked(a.Numerator * b.Denominator + b.Numerator * a.Denominator);
    const long double d = Checked(a.Denominator * b.Denominator);
    r = TFraction{n, d};
}

void SubtractFractions(const TFraction &a, const TFraction &b, TFraction &r) {
    const long double n = Checked(a.Numerator * b.Denominator - b.Numerator * a.Denominator);
    const long double d = Checked(a.Denominator * b.Denominator);
    r = TFraction{n, d};
}

void MultiplyFractions(const TFraction &a, const TFraction &b, TFraction &r) {
    const long double n = Checked(a.Numerator * b.Numerator);
    const long double d = Checked(a.Denominator * b.Denominator);
    r = TFraction{n, d};
}

void DivideFractions(const TFraction &a, const TFraction &b, TFraction &r) {
    const long double n = Checked(a.Numerator * b.Denominator);
    const long double d = Checked(a.Denominator * b.Numerator);
    r = TFraction{n, d};
}

void PowerFraction(const TFraction &f, TFraction &r, long double p) {
    long double a = f.Numerator;
    long double b = f.Denominator;
    if (p < 0) {
        std::swap(a, b);
        p = -p;
    }
    const long double n = RealPower(a, p);
    const long double d = RealPower(b, p);
    r = TFraction{n, d};
}

} // namespace legacy