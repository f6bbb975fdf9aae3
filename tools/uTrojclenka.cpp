#include "uTrojclenka.h"

#include "uCisla.h"

#include <cmath>

TTrojclenka::TVysledok TTrojclenka::Vypocet(const QString &a, const QString &b, const QString &c, bool priama) const {
    const QString *texts[] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i)
        if (texts[i]->isEmpty())
            return {false, ValueNotEntered, i};
    long double values[3];
    for (int i = 0; i < 3; ++i)
        if (!TryStrToFloat(*texts[i], values[i]))
            return {false, InvalidInput, -1};
    // Direct divides by the lower-left number c, inverse by the upper-left a.
    const int divisorField = priama ? 2 : 0;
    const long double numerator = priama ? values[0] * values[1] : values[1] * values[2];
    const long double divisor = values[divisorField];
    if (divisor == 0)
        return {false, InvalidInput, numerator == 0 ? -1 : divisorField};
    const long double x = numerator / divisor;
    if (!std::isfinite(x))
        return {false, InvalidInput, -1};
    return {true, FormatFloat(QStringLiteral("0.####"), x), -1};
}
