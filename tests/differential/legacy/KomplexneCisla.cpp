#include "KomplexneCisla.h"

#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numbers>
namespace legacy {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double DegreesPerRadian = 180.0L / Pi;
constexpr long double RadiansPerDegree = Pi / 180.0L;

// Every part of a token: plain notation, at most 16 decimals.
const QString TokenPicture = QStringLiteral("0.################");

void RequireFinite(const TComplexNumber &z) {
    if (!std::isfinite(z.Re) || !std::isfinite(z.Im))
        throw EEngineRangeError("floating point overflow");
}

// A number text of a token; empty means `emptyValue`.
long double NumberOrDefault(const QString &text, long double emptyValue) {
    return text.isEmpty() ? emptyValue : StrToFloat(text);
}

// The coefficient of the unit: "" is 1, "+" is 1, "-" is -1.
long double UnitCoefficient(const QString &text) {
    if (text.isEmpty() || text == QLatin1String("+"))
        return 1;
    if (text == QLatin1String("-"))
        return -1;
    return StrToFloat(text);
}

void RemoveFirst(QString &s, QChar c) {
    const qsizetype i = s.indexOf(c);
    if (i >= 0)
        s.remove(i, 1);
}

} // namespace

void ParseComplex(const QString &s, TComplexNumber &z) {
    QString t = s;
    t.remove(QLatin1Char(' '));
    RemoveFirst(t, QLatin1Char('['));
    RemoveFirst(t, QLatin1Char(']'));
    const QChar unit = Engine().ImaginaryUnit;

    const qsizetype ePos = t.indexOf(QLatin1String("e^"));
    if (ePos >= 0) {
        // modulus e^ jangle
        QString angleText = t.mid(ePos + 2);
        RemoveFirst(angleText, unit);
        const long double r = NumberOrDefault(t.left(ePos), 1);
        const long double a = UnitCoefficient(angleText) * RadiansPerDegree;
        TComplexNumber v;
        v.Re = r * std::cos(a);
        v.Im = r * std::sin(a);
        v.Polar = true;
        RequireFinite(v);
        z = v;
        return;
    }

    TComplexNumber v;
    const qsizetype q = t.indexOf(unit); // 0-based
    QString realText = t;
    if (q >= 0) {
        // The imaginary part starts with the sign just before the unit.
        const qsizetype imStart = q == 0 ? 0 : q - 1;
        QString imText = t.mid(imStart);
        realText = q == 0 ? QString() : t.left(imStart);
        RemoveFirst(imText, unit);
        v.Im = UnitCoefficient(imText);
    }
    v.Re = NumberOrDefault(realText, 0);
    v.Polar = false;
    z = v;
}

long double ComplexAngleDegrees(const TComplexNumber &z) {
    const long double x = z.Re;
    const long double y = z.Im;
    if (y == 0)
        return x < 0 ? 180 : 0;
    if (x == 0)
        return y > 0 ? 90 : -90;
    const long double r = std::hypot(x, y);
    // Rounding may put a quotient a hair beyond 1.
    const long double cosine = std::clamp(x / r, -1.0L, 1.0L);
    if (x > 0 && y > 0)
        return std::asin(std::clamp(y / r, -1.0L, 1.0L)) * DegreesPerRadian;
    if (x < 0 && y > 0)
        return std::acos(cosine) * DegreesPerRadian;
    return -(std::acos(cosine) * DegreesPerRadian);
}

void ComplexToToken(const TComplexNumber &z, QString &r) {
    const QChar unit = Engine().ImaginaryUnit;
    QString t = QStringLiteral("[");
    if (!z.Polar) {
        t += FormatFloat(TokenPicture, z.Re);
        if (z.Im != 0) {
            t += z.Im > 0 ? QLatin1Char('+') : QLatin1Char('-');
            t += unit;
            const long double m = std::fabs(z.Im);
            if (m != 1)
                t += FormatFloat(TokenPicture, m);
        }
    } else {
        t += FormatFloat(TokenPicture, std::hypot(z.Re, z.Im));
        const long double angle = ComplexAngleDegrees(z);
        if (angle != 0) {
            t += angle > 0 ? QLatin1String("e^") : QLatin1String("e^-");
            t += unit;
            t += FormatFloat(TokenPicture, std::fabs(angle));
        }
    }
    t += QLatin1Char(']');
    r = t;
}

void ComplexAdd(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    TComplexNumber v{a.Re + b.Re, a.Im + b.Im, a.Polar && b.Polar};
    RequireFinite(v);
    r = v;
}

void ComplexSub(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    TComplexNumber v{a.Re - b.Re, a.Im - b.Im, a.Polar && b.Polar};
    RequireFinite(v);
    r = v;
}

void ComplexMul(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    TComplexNumber v{a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re, a.Polar && b.Polar};
    RequireFinite(v);
    r = v;
}

void ComplexDiv(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    const long double c = b.Re;
    const long double d = b.Im;
    if (c == 0 && d == 0)
        throw EEngineInvalidOp("division by zero");
    TComplexNumber v;
    v.Polar = a.Polar && b.Polar;
    const long double den = c * c + d * d;
    v.Re = (a.Re * c + a.Im * d) / den;
    v.Im = (a.Im * c - a.Re * d) / den;
    if (den == 0 || !std::isfinite(den) || !std::isfinite(v.Re) || !std::isfinite(v.Im)) {
        // The squares left the 80-bit range although the quotient may not:
        // divide by the larger part first.
        if (std::fabs(c) >= std::fabs(d)) {
            const long double q = d / c;
            const long double s = c + d * q;
            v.Re = (a.Re + a.Im * q) / s;
            v.Im = (a.Im - a.Re * q) / s;
        } else {
            const long double q = c / d;
            const long double s = c * q + d;
            v.Re = (a.Re * q + a.Im) / s;
            v.Im = (a.Im * q - a.Re) / s;
        }
    }
    RequireFinite(v);
    r = v;
}

void ComplexPowerInt(const TComplexNumber &z, quint16 n, TComplexNumber &r) {
    TComplexNumber v = z;
    if (n == 0) {
        v.Re = 1;
        v.Im = 0;
    }
    for (int i = 2; i <= int(n); ++i)
        ComplexMul(v, z, v);
    r = v;
}

void ComplexAbs(const TComplexNumber &z, TComplexNumber &r) {
    TComplexNumber v{std::hypot(z.Re, z.Im), 0, false};
    RequireFinite(v);
    r = v;
}

} // namespace legacy