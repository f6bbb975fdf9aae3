#include "uRezimy.h"

#include "Zlomky.h"

bool IsEnabledForMode(int tag, TNumberSet numberSet, quint8 radix) {
    switch (tag) {
    case TagVzdy: return true;
    case TagCislice2az7: return radix == 8 || radix == 10 || radix == 16;
    case TagCislice8a9: return radix == 10 || radix == 16;
    case TagHexa: return radix == 16;
    case TagRealne: return numberSet == TNumberSet::Real;
    case TagKomplexne: return numberSet == TNumberSet::Complex;
    case TagRealneAKomplexne: return numberSet == TNumberSet::Real || numberSet == TNumberSet::Complex;
    default: return false;
    }
}

quint16 StepModulus(TPrvocisla &primes, quint16 position, int newValue, bool up) {
    if (primes.NeedsGenerate())
        primes.Generate(ModulusPrimesLimit);
    const std::vector<qint32> &list = primes.Values(); // largest first
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        const qint32 p = list[i];
        const qint32 q = list[i + 1];
        if (up && q < newValue && newValue <= p)
            return quint16(p);
        if (!up && q <= newValue && newValue <= p)
            return quint16(q);
    }
    return position;
}
