#include "KomplexneCisla.h"

#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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
bool NumberOrDefault(const QString &text, long double emptyValue, QChar sep, long double &v) {
    if (text.isEmpty()) {
        v = emptyValue;
        return true;
    }
    return TryStrToFloat(text, v, sep);
}

// The coefficient of the unit: "" is 1, "+" is 1, "-" is -1.
bool UnitCoefficient(const QString &text, QChar sep, long double &v) {
    if (text.isEmpty() || text == QLatin1String("+")) {
        v = 1;
        return true;
    }
    if (text == QLatin1String("-")) {
        v = -1;
        return true;
    }
    return TryStrToFloat(text, v, sep);
}

// Within this part of an angle of a quarter turn, the rest is a residue of
// the angle's last digits (below the 18 digits a value keeps), not an angle
// of its own: the turn is the quarter turn itself.
constexpr long double AngleResidue = 1e-18L;

// The cosine and sine of an angle in degrees. The whole quarter turns go
// exactly, so that 90, 180 and 270 give 0 and ±1 exactly, and the radians
// of the rest (at most 45 degrees) lose no digits to a large angle. A rest
// that is a residue of a quarter turn is none; a small angle that is no
// turn at all (1E-20 degrees) keeps its sine.
void CosSinDegrees(long double degrees, long double &c, long double &s) {
    const long double turn = std::fmod(degrees, 360.0L);
    const long double quarters = __builtin_rintl(turn / 90.0L);
    long double restDegrees = turn - quarters * 90.0L; // exact difference
    if (std::fabs(restDegrees) < std::fabs(degrees) * AngleResidue)
        restDegrees = 0;
    const long double rest = restDegrees * RadiansPerDegree;
    long double cr = 1, sr = 0;
    if (rest != 0)
        sincosl(rest, &sr, &cr);
    switch (static_cast<long long>(quarters) & 3) {
    case 0: c = cr, s = sr; break;
    case 1: c = -sr, s = cr; break;
    case 2: c = -cr, s = -sr; break;
    default: c = sr, s = -cr; break;
    }
}

// What the real set keeps of the result of an operation: 18 significant
// digits. NaN beyond the range (RequireFinite then refuses it).
long double R(long double v) { return RoundOperatorResult(v); }

// The parts of r*e^(j*degrees), each as the real set writes r*cos(angle):
// rounded once. The form stays with them.
TComplexNumber FromForm(long double modulus, long double degrees) {
    long double c = 0, s = 0;
    CosSinDegrees(degrees, c, s);
    TComplexNumber z{R(modulus * c), R(modulus * s), true};
    z.HasForm = true;
    z.Modulus = modulus;
    z.Angle = degrees;
    return z;
}

void RemoveFirst(QString &s, QChar c) {
    const qsizetype i = s.indexOf(c);
    if (i >= 0)
        s.remove(i, 1);
}

} // namespace

void ParseComplex(const QString &s, TComplexNumber &z, QChar separator) {
    if (!TryParseComplex(s, z, separator, QLatin1Char('j')))
        throw EEngineConvertError("'" + s.toStdString() + "' is not a valid complex number");
}

bool TryParseComplex(const QString &s, TComplexNumber &z, QChar sep, QChar unit) {
    QString t = s;
    t.remove(QLatin1Char(' '));
    RemoveFirst(t, QLatin1Char('['));
    RemoveFirst(t, QLatin1Char(']'));

    const qsizetype ePos = t.indexOf(QLatin1String("e^"));
    if (ePos >= 0) {
        // modulus e^ jangle
        QString angleText = t.mid(ePos + 2);
        RemoveFirst(angleText, unit);
        long double r = 0, angle = 0;
        if (!NumberOrDefault(t.left(ePos), 1, sep, r) || !UnitCoefficient(angleText, sep, angle))
            return false;
        const TComplexNumber v = FromForm(r, angle);
        if (!std::isfinite(v.Re) || !std::isfinite(v.Im))
            return false;
        z = v;
        return true;
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
        if (!UnitCoefficient(imText, sep, v.Im))
            return false;
    }
    if (!NumberOrDefault(realText, 0, sep, v.Re))
        return false;
    v.Polar = false;
    z = v;
    return true;
}

long double ComplexAngleDegrees(const TComplexNumber &z) {
    const long double x = z.Re;
    const long double y = z.Im;
    if (y == 0)
        return x < 0 ? 180 : 0;
    if (x == 0)
        return y > 0 ? 90 : -90;
    // Not from a quotient by the modulus: near the axes that quotient is a
    // hair from 1, and the small part's digits are gone.
    return std::atan2(y, x) * DegreesPerRadian;
}

void ComplexToToken(const TComplexNumber &z, QString &r, QChar separator) {
    const QChar unit = QLatin1Char('j');
    QString t = QStringLiteral("[");
    if (!z.Polar) {
        t += FormatFloat(TokenPicture, z.Re, separator);
        if (z.Im != 0) {
            t += z.Im > 0 ? QLatin1Char('+') : QLatin1Char('-');
            t += unit;
            const long double m = std::fabs(z.Im);
            if (m != 1)
                t += FormatFloat(TokenPicture, m, separator);
        }
    } else {
        t += FormatFloat(TokenPicture, std::hypot(z.Re, z.Im), separator);
        const long double angle = ComplexAngleDegrees(z);
        if (angle != 0) {
            t += angle > 0 ? QLatin1String("e^") : QLatin1String("e^-");
            t += unit;
            t += FormatFloat(TokenPicture, std::fabs(angle), separator);
        }
    }
    t += QLatin1Char(']');
    r = t;
}

namespace {

// a + b, or a - b with sign -1: each part as the real set adds it.
TComplexNumber Sum(const TComplexNumber &a, const TComplexNumber &b, long double sign) {
    const TComplexNumber v{R(a.Re + sign * b.Re), R(a.Im + sign * b.Im), a.Polar && b.Polar};
    RequireFinite(v);
    return v;
}

// Both are exponential forms known as such: their product and quotient
// turn by the sum and difference of the angles.
bool BothForms(const TComplexNumber &a, const TComplexNumber &b) {
    return a.Polar && b.Polar && a.HasForm && b.HasForm;
}

} // namespace

void ComplexAdd(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) { r = Sum(a, b, 1); }

void ComplexSub(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) { r = Sum(a, b, -1); }

void ComplexMul(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    TComplexNumber v;
    if (BothForms(a, b)) {
        v = FromForm(a.Modulus * b.Modulus, a.Angle + b.Angle);
    } else {
        // As the real set works out a*c - b*d and a*d + b*c.
        v = TComplexNumber{R(R(a.Re * b.Re) - R(a.Im * b.Im)), R(R(a.Re * b.Im) + R(a.Im * b.Re)), a.Polar && b.Polar};
    }
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
    if (BothForms(a, b)) {
        v = FromForm(a.Modulus / b.Modulus, a.Angle - b.Angle);
    } else if (d == 0) { // a real divisor divides each part, as the real set divides
        v.Re = R(a.Re / c);
        v.Im = R(a.Im / c);
    } else {
        // As the real set works out (a*c + b*d) / (c*c + d*d) and
        // (b*c - a*d) / (c*c + d*d).
        const long double den = R(R(c * c) + R(d * d));
        v.Re = R(R(R(a.Re * c) + R(a.Im * d)) / den);
        v.Im = R(R(R(a.Im * c) - R(a.Re * d)) / den);
        if (den == 0 || !std::isfinite(den) || !std::isfinite(v.Re) || !std::isfinite(v.Im)) {
            // The squares or the products left the 80-bit range although
            // the quotient may not: divide by the larger part first.
            if (std::fabs(c) >= std::fabs(d)) {
                const long double q = d / c;
                const long double s = c + d * q;
                v.Re = R((a.Re + a.Im * q) / s);
                v.Im = R((a.Im - a.Re * q) / s);
            } else {
                const long double q = c / d;
                const long double s = c * q + d;
                v.Re = R((a.Re * q + a.Im) / s);
                v.Im = R((a.Im * q - a.Re) / s);
            }
        }
    }
    RequireFinite(v);
    r = v;
}

void ComplexPowerInt(const TComplexNumber &z, quint16 n, TComplexNumber &r) {
    if (n == 0) {
        r = FromForm(1, 0);
        r.Polar = z.Polar;
        return;
    }
    if (z.Polar && z.HasForm) {
        const TComplexNumber v = FromForm(std::pow(z.Modulus, static_cast<long double>(n)), z.Angle * n);
        RequireFinite(v);
        r = v;
        return;
    }
    // Squares of z times the factors of the bits of n, at full precision (a
    // square is made only when a higher bit needs it), rounded once.
    TComplexNumber v{1, 0, z.Polar}, square = z;
    bool first = true;
    auto product = [](const TComplexNumber &a, const TComplexNumber &b) {
        return TComplexNumber{a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re, a.Polar};
    };
    for (unsigned m = n; m != 0;) {
        if (m & 1) {
            v = first ? square : product(v, square);
            first = false;
        }
        m >>= 1;
        if (m != 0) {
            square = product(square, square);
            RequireFinite(square);
        }
    }
    v = TComplexNumber{R(v.Re), R(v.Im), z.Polar};
    RequireFinite(v);
    r = v;
}

void ComplexAbs(const TComplexNumber &z, TComplexNumber &r) {
    const long double modulus = z.Polar && z.HasForm ? std::fabs(z.Modulus) : std::hypot(z.Re, z.Im);
    TComplexNumber v{R(modulus), 0, false};
    RequireFinite(v);
    r = v;
}
