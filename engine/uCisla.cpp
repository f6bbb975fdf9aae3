#include "uCisla.h"
#include "uSpolocne.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <limits>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Significant decimal digits the engine writes.
constexpr int MaxSignificant = 18;

// 10^0 .. 10^27, each exact in the 80-bit format (5^27 < 2^64).
constexpr int ExactPowers = 28;
const long double *PowersOfTen() {
    static const auto table = [] {
        std::array<long double, ExactPowers> t{};
        long double p = 1;
        for (int i = 0; i < ExactPowers; ++i) {
            t[size_t(i)] = p;
            p *= 10;
        }
        return t;
    }();
    return table.data();
}

// The whole part of 0 <= t < 2^63, as static_cast<quint64> gives it, but by
// the rounding mode in force: a cast would switch the FPU's rounding mode to
// truncation and back, which costs more than the rest of the conversion.
quint64 WholePart(long double t) {
    long double w = __builtin_rintl(t);
    if (w > t)
        w -= 1;
    return quint64(__builtin_llrintl(w));
}

} // namespace

namespace {

// The usual number, read without the library: at most 19 significant digits
// and a power of ten within the exact ones, so that one multiplication or
// division by an exact power rounds it as strtold does. False when the text
// is of another kind (the general road then reads it).
bool QuickDecimal(QStringView text, QChar separator, long double &value) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    quint64 mantissa = 0;
    int digits = 0, decimals = 0;
    bool anyDigit = false, afterSeparator = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            anyDigit = true;
            if (mantissa == 0 && c == QLatin1Char('0')) {
                if (afterSeparator)
                    ++decimals;
                continue; // a leading zero
            }
            if (++digits > 19)
                return false;
            mantissa = mantissa * 10 + quint64(c.unicode() - '0');
            if (afterSeparator)
                ++decimals;
        } else if (c == separator && !afterSeparator) {
            afterSeparator = true;
        } else {
            return false; // an exponent, a space, anything else: the general road
        }
    }
    if (!anyDigit || decimals >= ExactPowers)
        return false;
    const long double m = static_cast<long double>(mantissa); // exact: 64 bits
    const long double v = decimals == 0 ? m : m / PowersOfTen()[decimals];
    value = negative ? -v : v;
    return true;
}

} // namespace

bool TryStrToDouble(QStringView text, double &value, QChar separator) {
    long double read = 0;
    if (!TryStrToFloat(text, read, separator))
        return false;
    const double d = double(read);
    if (!std::isfinite(d) || (read != 0 && std::fabs(d) < std::numeric_limits<double>::min()))
        return false;
    value = d;
    return true;
}

bool TryStrToFloat(QStringView text, long double &value, QChar separator) {
    if (QuickDecimal(text, separator, value))
        return true;
    // Any length: the digits of a long number are read whole and rounded
    // once, as those of a short one ("0," and 4,095 threes is 1/3 to the
    // last bit, "1" and 4,940 zeros "E-4900" is 1E40).
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    std::string s;
    s.reserve(size_t(t.size()));
    int i = 0;
    const int n = int(t.size());
    bool negative = false;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-')) {
        negative = t.at(0) == QLatin1Char('-');
        ++i;
    }
    int mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = t.at(i);
        if (IsAsciiDigit(c)) {
            s += char(c.unicode());
            ++mantissaDigits;
        } else if (c == separator && !seenSeparator) {
            s += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n) {
        if (t.at(i) != QLatin1Char('E') && t.at(i) != QLatin1Char('e'))
            return false;
        s += 'e';
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
            s += char(t.at(i).unicode());
            ++i;
        }
        int expDigits = 0;
        for (; i < n && IsAsciiDigit(t.at(i)); ++i) {
            s += char(t.at(i).unicode());
            ++expDigits;
        }
        if (expDigits == 0 || i < n)
            return false;
    }
    long double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

long double StrToFloat(const QString &text, QChar separator) {
    long double v = 0;
    if (!TryStrToFloat(text, v, separator))
        throw EEngineConvertError("'" + text.toStdString() + "' is not a valid number");
    return v;
}

namespace {

// The exponent of a normal 80-bit value, read from its bits (16383 is the
// bias): what ilogb gives, without the library call.
int BinaryExponent(long double x) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &x, sizeof bytes);
    const int field = (bytes[9] & 0x7F) << 8 | bytes[8];
    return field - 16383;
}

// The binary exponent of a positive x to within one, read through a double:
// an 80-bit value's bytes are read back from memory only after a stall,
// while a double's come at once. Outside the double's range, the bytes.
int ApproximateBinaryExponent(long double x) {
    const double d = static_cast<double>(x);
    quint64 bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    const int field = int(bits >> 52) & 0x7FF;
    return field == 0 || field == 0x7FF ? BinaryExponent(x) : field - 1023;
}

// floor(e * log10(2)) within one, in integers (the callers settle the last
// step against the powers of ten).
int FloorLog10OfTwoPower(int e) { return (e * 78913) >> 18; }

// The text road: the value written with the picture and read back, as the
// engine's tokens did. Used only where the fast road could be wrong.
long double ThroughText(const QString &picture, long double value) {
    const QString t = FormatFloat(picture, value, QLatin1Char('.'));
    long double r = 0;
    if (!TryStrToFloat(t, r, QLatin1Char('.')))
        return std::numeric_limits<long double>::quiet_NaN();
    return r;
}

const QString &OperatorPicture() {
    static const QString p = QStringLiteral("0.##############################E-0");
    return p;
}

// The nearest integer to magnitude / 10^k (|k| < ExactPowers, magnitude
// normal), worked out on the exact binary value in 128-bit integers: the
// digits printf writes, where the scaled long double lies too close to a
// tie to tell them. False for an exact tie (left to printf's own rule) and
// where the quotient is no 18-digit integer or the integers cannot hold
// the value.
bool ExactScaledRound(long double magnitude, int k, quint64 &n) {
    using U128 = unsigned __int128;
    static constexpr auto powersOfFive = [] {
        std::array<quint64, ExactPowers> t{};
        quint64 p = 1;
        for (int i = 0; i < ExactPowers; ++i) {
            t[size_t(i)] = p;
            p *= 5;
        }
        return t;
    }();
    // magnitude = m * 2^e exactly: the 64-bit mantissa and the exponent.
    quint64 m = 0;
    std::memcpy(&m, &magnitude, sizeof m);
    const int e = BinaryExponent(magnitude) - 63;
    // magnitude / 10^k = m * 5^-k * 2^(e - k) = num / den.
    const int shift = e - k;
    U128 num = U128(m) * (k < 0 ? powersOfFive[size_t(-k)] : 1); // below 2^127
    U128 den = k > 0 ? powersOfFive[size_t(k)] : 1;              // below 2^63
    if (shift >= 0) {
        if (shift > 63 || (shift > 0 && num >> (127 - shift) != 0))
            return false;
        num <<= shift;
    } else {
        if (-shift > (k > 0 ? 64 : 127))
            return false;
        den <<= -shift;
    }
    const U128 q = num / den;
    const U128 twice = (num % den) * 2;
    if (q < 100000000000000000ULL || q >= 1000000000000000000ULL || twice == den)
        return false;
    n = quint64(q) + (twice > den ? 1 : 0);
    return true;
}

} // namespace

namespace {

// 10^0 .. 10^19, the powers of ten that 64 bits hold.
constexpr auto WholePowersOfTen = [] {
    std::array<quint64, 20> t{};
    quint64 p = 1;
    for (size_t i = 0; i < t.size(); ++i) {
        t[i] = p;
        p *= 10;
    }
    return t;
}();

// The decimal form of a value that every picture writes: its 18
// significant digits, magnitude = N * 10^K with 10^17 <= N < 10^18.
struct TDecimalForm {
    quint64 N = 0;
    int K = 0;
};

// The 18-digit form of a positive finite magnitude, rounded to nearest (an
// exact tie to even, as printf breaks it): worked out on the scaled value,
// within an ulp of a tie on the exact binary value, and by printf beyond
// the exact powers of ten or at an exact tie.
TDecimalForm EighteenDigits(long double magnitude) {
    const long double *p10 = PowersOfTen();
    int k = FloorLog10OfTwoPower(ApproximateBinaryExponent(magnitude)) - (MaxSignificant - 1);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (k <= -ExactPowers || k >= ExactPowers)
            break;
        const long double t = k < 0 ? magnitude * p10[-k] : magnitude / p10[k];
        if (t < 9e16L) {
            --k;
            continue;
        }
        if (t > 2e18L) {
            ++k;
            continue;
        }
        quint64 n = 0;
        const long double whole = __builtin_rintl(t);
        if (std::fabs(std::fabs(t - whole) - 0.5L) > t * 1.1e-19L) // more than an ulp of t from a tie
            n = quint64(__builtin_llrintl(whole));
        else if (!ExactScaledRound(magnitude, k, n))
            break;
        if (n < WholePowersOfTen[MaxSignificant - 1]) {
            --k;
            continue;
        }
        if (n >= WholePowersOfTen[MaxSignificant]) {
            ++k;
            continue;
        }
        return {n, k};
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", MaxSignificant - 1, magnitude);
    TDecimalForm d;
    const char *c = buf;
    for (; *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            d.N = d.N * 10 + quint64(*c - '0');
    d.K = std::atoi(c + 1) - (MaxSignificant - 1);
    return d;
}

// n / 10^drop rounded to a whole number, a half away from zero: how a
// picture rounds the 18 digits to the decimals it writes.
quint64 RoundHalfAway(quint64 n, int drop) {
    if (drop <= 0)
        return n;
    if (drop >= int(WholePowersOfTen.size()))
        return 0; // n < 10^18 is below half of 10^19
    const quint64 unit = WholePowersOfTen[size_t(drop)];
    const quint64 r = n % unit;
    return n / unit + (r >= unit - r ? 1 : 0);
}

// q * 10^e as the engine reads the digits back: the nearest 80-bit value.
long double DecimalValue(quint64 q, int e) {
    if (e > -ExactPowers && e < ExactPowers) { // exact operands, one rounding
        const long double m = static_cast<long double>(q);
        return e < 0 ? m / PowersOfTen()[-e] : m * PowersOfTen()[e];
    }
    char buf[48];
    const int n = std::snprintf(buf, sizeof buf, "%lluE%d", static_cast<unsigned long long>(q), e);
    long double v = std::numeric_limits<long double>::quiet_NaN();
    std::from_chars(buf, buf + n, v, std::chars_format::general);
    return v;
}

struct TPicture {
    int minDecimals = 0; // "0" after the point
    int maxDecimals = 0; // "0" and "#" after the point
    bool scientific = false;
    bool exponentAlwaysSigned = false;
    int exponentDigits = 1;
};

TPicture ParsePicture(QStringView picture) {
    TPicture p;
    bool afterPoint = false;
    for (const QChar c : picture) {
        if (p.scientific) {
            if (c == QLatin1Char('+'))
                p.exponentAlwaysSigned = true;
            else if (c == QLatin1Char('0'))
                ++p.exponentDigits;
        } else if (c == QLatin1Char('E') || c == QLatin1Char('e')) {
            p.scientific = true;
            p.exponentDigits = 0;
        } else if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (afterPoint && c == QLatin1Char('0')) {
            p.minDecimals = ++p.maxDecimals;
        } else if (afterPoint && c == QLatin1Char('#')) {
            ++p.maxDecimals;
        }
    }
    p.exponentDigits = std::max(p.exponentDigits, 1);
    return p;
}

// The text of q / 10^decimals: at least one whole digit, the decimals
// without trailing zeros but at least minDecimals of them, and a "-" only
// before a value that is not 0.
void AppendFixed(QVarLengthArray<QChar, 64> &out, bool negative, quint64 q, int decimals, int minDecimals, QChar sep) {
    while (decimals > minDecimals && q != 0 && q % 10 == 0) {
        q /= 10;
        --decimals;
    }
    if (q == 0)
        decimals = 0;
    char digits[20];
    int count = 0;
    for (quint64 m = q; m > 0; m /= 10)
        digits[count++] = char('0' + m % 10);
    if (negative && q != 0)
        out.append(QLatin1Char('-'));
    if (count <= decimals)
        out.append(QLatin1Char('0'));
    for (int i = count - 1; i >= decimals; --i)
        out.append(QLatin1Char(digits[i]));
    const int written = std::max(decimals, minDecimals);
    if (written > 0)
        out.append(sep);
    for (int i = decimals - 1; i >= 0; --i)
        out.append(QLatin1Char(i < count ? digits[i] : '0'));
    for (int i = decimals; i < minDecimals; ++i)
        out.append(QLatin1Char('0'));
}

// Scientific form: one integer digit and up to maxDecimals decimals of the
// 18 digits, rounded a half away from zero.
QString FormatScientific(const TPicture &p, long double value, QChar sep) {
    const int decimals = std::min(p.maxDecimals, MaxSignificant - 1);
    quint64 q = 0;
    int exponent = 0;
    if (value != 0) {
        const TDecimalForm d = EighteenDigits(std::fabs(value));
        q = RoundHalfAway(d.N, MaxSignificant - 1 - decimals);
        exponent = d.K + MaxSignificant - 1;
        if (q == WholePowersOfTen[size_t(decimals) + 1]) { // 9,99 rounded up to 10,0
            q /= 10;
            ++exponent;
        }
    }
    QVarLengthArray<QChar, 64> out;
    AppendFixed(out, value < 0, q, decimals, p.minDecimals, sep);
    out.append(QLatin1Char('E'));
    if (exponent < 0)
        out.append(QLatin1Char('-'));
    else if (p.exponentAlwaysSigned)
        out.append(QLatin1Char('+'));
    char digits[12];
    int count = 0;
    for (int m = exponent < 0 ? -exponent : exponent; m > 0 || count < p.exponentDigits; m /= 10)
        digits[count++] = char('0' + m % 10);
    while (count > 0)
        out.append(QLatin1Char(digits[--count]));
    return QString(out.constData(), out.size());
}

// Plain form: the 18 digits rounded to maxDecimals decimals, a half away
// from zero (so 2,675 with two decimals is 2,68 and 0,005 is 0,01). A value
// of more than 18 integer digits is written in the scientific form.
QString FormatFixed(const TPicture &p, long double value, QChar sep) {
    QVarLengthArray<QChar, 64> out;
    const long double magnitude = std::fabs(value);
    if (magnitude == 0) {
        AppendFixed(out, false, 0, 0, p.minDecimals, sep);
    } else {
        const TDecimalForm d = EighteenDigits(magnitude);
        if (d.K > 0) {
            TPicture general;
            general.maxDecimals = MaxSignificant - 1;
            return FormatScientific(general, value, sep);
        }
        const int decimals = std::min(-d.K, p.maxDecimals);
        AppendFixed(out, value < 0, RoundHalfAway(d.N, -d.K - decimals), decimals, p.minDecimals, sep);
    }
    return QString(out.constData(), out.size());
}

} // namespace

QString FormatFloat(const QString &picture, long double value, QChar separator) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    const TPicture p = ParsePicture(picture);
    return p.scientific ? FormatScientific(p, value, separator) : FormatFixed(p, value, separator);
}

long double RoundOperatorResult(long double value) {
    if (!std::isfinite(value))
        return std::numeric_limits<long double>::quiet_NaN();
    const long double magnitude = std::fabs(value);
    if (magnitude < std::numeric_limits<long double>::min())
        return 0;
    // 18 significant digits: an integer N of 18 digits times 10^k. The
    // binary exponent gives k to within one; the range of N settles it.
    const long double *p10 = PowersOfTen();
    int k = FloorLog10OfTwoPower(ApproximateBinaryExponent(magnitude)) - (MaxSignificant - 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k <= -ExactPowers || k >= ExactPowers)
            break;
        const long double t = k < 0 ? magnitude * p10[-k] : magnitude / p10[k];
        if (t < 1e17L) {
            --k;
            continue;
        }
        if (t >= 1e18L + 0.5L) {
            ++k;
            continue;
        }
        // The nearest integer (the rounding mode's, to nearest); within an
        // ulp of a tie it is worked out on the exact value, and only an
        // exact tie is left to the text road.
        long double n = __builtin_rintl(t);
        if (std::fabs(std::fabs(t - n) - 0.5L) <= t * 1.1e-19L) { // an ulp of t at most
            quint64 exact = 0;
            if (!ExactScaledRound(magnitude, k, exact))
                break;
            n = static_cast<long double>(exact);
        }
        const long double r = k < 0 ? n / p10[-k] : n * p10[k];
        return value < 0 ? -r : r;
    }
    return ThroughText(OperatorPicture(), value);
}

QString OperatorResultText(long double value, QChar separator, bool inBrackets) {
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return inBrackets ? QStringLiteral("[0E0]") : QStringLiteral("0E0");
    if (std::isfinite(value) && magnitude >= std::numeric_limits<long double>::min()) {
        const long double *p10 = PowersOfTen();
        int k = FloorLog10OfTwoPower(BinaryExponent(magnitude)) - (MaxSignificant - 1);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (k <= -ExactPowers || k >= ExactPowers)
                break;
            const long double t = k < 0 ? magnitude * p10[-k] : magnitude / p10[k];
            if (t < 1e17L - 0.5L) {
                --k;
                continue;
            }
            if (t >= 1e18L - 0.5L) {
                ++k;
                continue;
            }
            const quint64 wholePart = WholePart(t);
            const long double fraction = t - static_cast<long double>(wholePart);
            // A value kept by RoundOperatorResult lies within a hair of its digits.
            if (fraction > 0.01L && fraction < 0.99L)
                break;
            quint64 n = wholePart + (fraction >= 0.5L ? 1 : 0);
            int exponent = k + MaxSignificant - 1;
            if (n >= 1000000000000000000ULL) {
                n /= 10;
                ++exponent;
            }
            char digits[24];
            int count = 0;
            for (quint64 m = n; m > 0; m /= 10)
                digits[count++] = char('0' + m % 10);
            // digits[count - 1] is the first digit; trailing zeros go.
            int last = 0;
            while (last < count - 1 && digits[last] == '0')
                ++last;
            // At most "[-" + 18 digits + separator + "E-4951]": one string made once.
            QChar text[40];
            int length = 0;
            if (inBrackets)
                text[length++] = QLatin1Char('[');
            if (value < 0)
                text[length++] = QLatin1Char('-');
            text[length++] = QLatin1Char(digits[count - 1]);
            if (last < count - 1) {
                text[length++] = separator;
                for (int d = count - 2; d >= last; --d)
                    text[length++] = QLatin1Char(digits[d]);
            }
            text[length++] = QLatin1Char('E');
            if (exponent < 0)
                text[length++] = QLatin1Char('-');
            char exponentDigits[8];
            int e = 0;
            for (int m = exponent < 0 ? -exponent : exponent; m > 0 || e == 0; m /= 10)
                exponentDigits[e++] = char('0' + m % 10);
            while (e > 0)
                text[length++] = QLatin1Char(exponentDigits[--e]);
            if (inBrackets)
                text[length++] = QLatin1Char(']');
            return QString(text, length);
        }
    }
    const QString t = FormatFloat(OperatorPicture(), value, separator);
    return inBrackets ? QLatin1Char('[') + t + QLatin1Char(']') : t;
}

long double RoundPlain(long double value, int maxDecimals) {
    if (!std::isfinite(value))
        return std::numeric_limits<long double>::quiet_NaN();
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return 0;
    // The digits FormatFixed writes, read back.
    const TDecimalForm d = EighteenDigits(magnitude);
    long double r = 0;
    if (d.K > 0) {
        r = DecimalValue(d.N, d.K);
    } else {
        const int decimals = std::min(-d.K, maxDecimals);
        r = DecimalValue(RoundHalfAway(d.N, -d.K - decimals), -decimals);
    }
    return value < 0 && r != 0 ? -r : r;
}

QString FormatPlain(long double value, int maxDecimals, QChar separator) {
    if (!std::isfinite(value))
        throw EEngineInvalidOp("invalid floating point operation");
    TPicture p;
    p.maxDecimals = maxDecimals;
    return FormatFixed(p, value, separator);
}

qint64 RoundToInt64(long double value) {
    if (!std::isfinite(value) || value >= 9223372036854775808.0L || value < -9223372036854775808.0L)
        throw EEngineRangeError("integer out of range");
    return std::llrintl(value); // the default rounding mode rounds ties to even
}

bool IsResidueOfPi(long double value, long double argument, long double radiansPerUnit) {
    const long double a = std::fabs(value), x = std::fabs(argument);
    if (!(a > 0 && a < 5e-18L) || !(x > 0) || !std::isfinite(x))
        return false;
    // Half a unit of the 18th digit is below 5E-18 of the argument: a value
    // of a small argument is far above that, and needs no digits counted.
    if (a > x * 5.3e-18L * radiansPerUnit)
        return false;
    // The 18-digit argument nearest to a zero of the function lies within
    // half a unit of its last digit from it; the conversion to radians adds
    // an ulp or two.
    const TDecimalForm d = EighteenDigits(x);
    const long double halfUnit = 0.5L * std::pow(10.0L, static_cast<long double>(d.K));
    return a <= (halfUnit + x * 0x1p-62L) * radiansPerUnit;
}
