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

// The cosine and sine of an angle in degrees. The whole quarter turns go
// exactly, so that 90, 180 and 270 give 0 and ±1 exactly, and the radians
// of the rest (at most 45 degrees) lose no digits to a large angle.
void CosSinDegrees(long double degrees, long double &c, long double &s) {
    const long double turn = std::fmod(degrees, 360.0L);
    const long double quarters = __builtin_rintl(turn / 90.0L);
    const long double rest = (turn - quarters * 90.0L) * RadiansPerDegree; // exact difference
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

// Each part to 18 significant digits, as the real set keeps a value. NaN
// for a part beyond the range.
TComplexNumber Kept(const TComplexNumber &z) {
    return TComplexNumber{RoundSignificant(z.Re), RoundSignificant(z.Im), z.Polar};
}

// A part of a result made of terms whose magnitudes sum to `terms`: the
// operands' last digits leave it uncertain by about 10^-17 of that, and a
// part within that is 0. So parts that cancel give clean results
// ((2e^j30)^3 is 0 + j8, 1e^j0 + 1e^j120 + 1e^j240 is 0), while a small
// part beside a large one stays.
constexpr long double Uncertainty = 1e-17L;
long double Settled(long double part, long double terms) { return std::fabs(part) < terms * Uncertainty ? 0 : part; }

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
        long double c = 0, s = 0;
        CosSinDegrees(angle, c, s);
        // Like a typed number, the value is read at full precision; exact
        // angles give exact 0 and ±1.
        const TComplexNumber v{r * c, r * s, true};
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

// a + b, or a - b with sign -1.
TComplexNumber Sum(const TComplexNumber &a, const TComplexNumber &b, long double sign) {
    TComplexNumber v{a.Re + sign * b.Re, a.Im + sign * b.Im, a.Polar && b.Polar};
    v.Re = Settled(v.Re, std::fabs(a.Re) + std::fabs(b.Re));
    v.Im = Settled(v.Im, std::fabs(a.Im) + std::fabs(b.Im));
    v = Kept(v);
    RequireFinite(v);
    return v;
}

} // namespace

void ComplexAdd(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) { r = Sum(a, b, 1); }

void ComplexSub(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) { r = Sum(a, b, -1); }

namespace {

// The product at full precision; terms, when given, takes the magnitudes
// of the terms of each part.
TComplexNumber Product(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber *terms = nullptr) {
    const long double rr = a.Re * b.Re, ii = a.Im * b.Im, ri = a.Re * b.Im, ir = a.Im * b.Re;
    if (terms)
        *terms = TComplexNumber{std::fabs(rr) + std::fabs(ii), std::fabs(ri) + std::fabs(ir), false};
    return TComplexNumber{rr - ii, ri + ir, a.Polar && b.Polar};
}

// The same for the magnitudes of the terms: every term counts, whatever
// its sign.
TComplexNumber TermProduct(const TComplexNumber &a, const TComplexNumber &b) {
    return TComplexNumber{a.Re * b.Re + a.Im * b.Im, a.Re * b.Im + a.Im * b.Re, false};
}

} // namespace

void ComplexMul(const TComplexNumber &a, const TComplexNumber &b, TComplexNumber &r) {
    TComplexNumber terms;
    TComplexNumber v = Product(a, b, &terms);
    v.Re = Settled(v.Re, terms.Re);
    v.Im = Settled(v.Im, terms.Im);
    v = Kept(v);
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
    if (d == 0) { // a real divisor divides each part, as the real set divides
        v.Re = a.Re / c;
        v.Im = a.Im / c;
    } else {
        const long double den = c * c + d * d;
        const long double ac = a.Re * c, bd = a.Im * d, bc = a.Im * c, ad = a.Re * d;
        v.Re = Settled(ac + bd, std::fabs(ac) + std::fabs(bd)) / den;
        v.Im = Settled(bc - ad, std::fabs(bc) + std::fabs(ad)) / den;
        if (den == 0 || !std::isfinite(den) || !std::isfinite(v.Re) || !std::isfinite(v.Im)) {
            // The squares left the 80-bit range although the quotient may
            // not: divide by the larger part first.
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
    }
    v = Kept(v);
    RequireFinite(v);
    r = v;
}

void ComplexPowerInt(const TComplexNumber &z, quint16 n, TComplexNumber &r) {
    // Squares of z times the factors of the bits of n, at full precision (a
    // square is made only when a higher bit needs it), beside the same
    // products of the parts' magnitudes: the terms of each part. The last
    // digits of the n factors leave n times the uncertainty of a product,
    // of the terms or of the modulus, whichever is less (the terms grow
    // faster than the value where the parts turn).
    TComplexNumber v{1, 0, z.Polar}, terms{1, 0, false};
    TComplexNumber square = z, squareTerms{std::fabs(z.Re), std::fabs(z.Im), false};
    bool first = true;
    for (unsigned m = n; m != 0;) {
        if (m & 1) {
            if (first) {
                v = square;
                terms = squareTerms;
            } else {
                v = Product(v, square);
                terms = TermProduct(terms, squareTerms);
            }
            first = false;
        }
        m >>= 1;
        if (m != 0) {
            square = Product(square, square);
            squareTerms = TermProduct(squareTerms, squareTerms);
            RequireFinite(square);
        }
    }
    if (n > 1) {
        const long double modulus = std::hypot(v.Re, v.Im);
        v.Re = Settled(v.Re, n * std::min(terms.Re, modulus));
        v.Im = Settled(v.Im, n * std::min(terms.Im, modulus));
    }
    v = Kept(v);
    v.Polar = z.Polar;
    RequireFinite(v);
    r = v;
}

void ComplexAbs(const TComplexNumber &z, TComplexNumber &r) {
    TComplexNumber v{RoundSignificant(std::hypot(z.Re, z.Im)), 0, false};
    RequireFinite(v);
    r = v;
}
