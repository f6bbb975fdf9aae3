#include "uKombinatorika.h"

#include "uAppContext.h"
#include "uCisla.h"
#include "uSpolocne.h"

#include <algorithm>
#include <cmath>

// n over k by the multiplicative formula: after step i the value is
// (n-k+i) over i, an integer, so the products stay exact while they fit in
// the 64-bit mantissa. Where a product would overflow although the quotient
// fits, the division goes first.
static long double NadK(unsigned n, unsigned k) {
    k = std::min(k, n - k);
    long double r = 1;
    for (unsigned i = 1; i <= k; ++i) {
        const long double factor = n - k + i;
        const long double product = r * factor;
        r = std::isfinite(product) ? product / i : r / i * factor;
    }
    return r;
}

bool TKombinatorika::Pocet(TUloha uloha, quint16 n, quint16 k, long double &result) {
    long double r = 1;
    switch (uloha) {
    case KombinacneCislo:
    case KombinacieBezOpakovania:
        if (k > n)
            return false;
        r = NadK(n, k);
        break;
    case VariacieBezOpakovania:
        if (k > n)
            return false;
        // n (n-1) ... (n-k+1): every factor is at least 1, so the product
        // overflows only when the count does.
        for (unsigned f = n - k + 1u; f <= n; ++f)
            r *= f;
        break;
    case VariacieSOpakovanim:
        for (unsigned i = 0; i < k && std::isfinite(r); ++i)
            r *= n;
        break;
    case KombinacieSOpakovanim: {
        const int m = int(n) + int(k) - 1;
        if (m < 0 || m > 65535 || k > m)
            return false;
        r = NadK(unsigned(m), k);
        break;
    }
    case Permutacie: r = Factorial(n); break;
    }
    if (!std::isfinite(r))
        return false;
    result = r;
    return true;
}

static bool ReadCount(const QString &text, quint16 &value) {
    bool ok = false;
    const uint v = text.toUInt(&ok, 10);
    if (!ok || v > 65535)
        return false;
    value = quint16(v);
    return true;
}

TKombinatorika::TVysledok TKombinatorika::Vypocet(TUloha uloha, const QString &n, const QString &k) const {
    if (n.isEmpty())
        return {TVysledok::NNotEntered, NNotEntered};
    if (k.isEmpty())
        return {TVysledok::KNotEntered, KNotEntered};
    quint16 nv = 0, kv = 0;
    long double r = 0;
    if (!ReadCount(n, nv) || !ReadCount(k, kv) || !Pocet(uloha, nv, kv, r))
        return {TVysledok::InvalidInput, InvalidInput};
    return {TVysledok::Ok, FormatFloat(QStringLiteral("0.#"), r, DecSep())};
}
