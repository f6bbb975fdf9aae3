#include "uTrojclenka.h"

#include "uAppContext.h"
#include "uCisla.h"

#include <charconv>
#include <cmath>

TTrojclenka::TVysledok TTrojclenka::Vypocet(const QString &a, const QString &b, const QString &c, bool priama) const {
    const QString *texts[] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i)
        if (texts[i]->isEmpty())
            return {false, ValueNotEntered, i};
    // The numbers and X are 64-bit: a number beyond the range of double is
    // no input, and X must fit as well. The product is taken in 80 bits, so
    // that only X itself decides.
    double values[3];
    for (int i = 0; i < 3; ++i)
        if (!TryStrToDouble(*texts[i], values[i], DecSep()))
            return {false, InvalidInput, -1};
    // Direct proportion: X / c = b / a, so X = b*c/a divides by a; inverse:
    // X * c = a * b, so X = a*b/c divides by c.
    const int divisorField = priama ? 0 : 2;
    const long double va = values[0], vb = values[1], vc = values[2];
    const long double numerator = priama ? vb * vc : va * vb;
    const double divisor = values[divisorField];
    if (divisor == 0)
        return {false, InvalidInput, numerator == 0 ? -1 : divisorField};
    const double x = double(numerator / divisor);
    if (!std::isfinite(x))
        return {false, InvalidInput, -1};
    // X is shown with the digits that name its double, no more: 1E200 is
    // "1E200", not the 18 digits of the double nearest to it.
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, x);
    long double shown = x;
    std::from_chars(digits, written.ptr, shown);
    return {true, FormatFloat(QStringLiteral("0.####"), shown, DecSep()), -1};
}
