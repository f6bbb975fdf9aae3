// The modes of the main window: which controls a number set and a base
// leave usable, and the modulus that steps through the primes.
#pragma once

#include "uSpolocne.h"

#include <QtGlobal>

class TPrvocisla;

// Tags of the main window's controls: the modes in which each is usable.
constexpr int TagVzdy = 10;             // always
constexpr int TagCislice2az7 = 20;      // bases 8, 10 and 16
constexpr int TagCislice8a9 = 30;       // bases 10 and 16
constexpr int TagHexa = 40;             // base 16
constexpr int TagRealne = 50;           // the real number set
constexpr int TagKomplexne = 60;        // the complex number set
constexpr int TagRealneAKomplexne = 70; // the real and the complex sets
constexpr int TagNikdy = 0;             // never

// Whether a control with the tag is enabled in the number set and the base
// (2, 8, 10, 16).
bool IsEnabledForMode(int tag, TNumberSet numberSet, quint8 radix);

// The modulus selector: from the position, a step to newValue (up or down)
// gives the smallest prime not below newValue (up) or the largest prime not
// above newValue (down), both from 2 to 97; outside that the position stays.
// The list is generated up to 97 on first use.
quint16 StepModulus(TPrvocisla &primes, quint16 position, int newValue, bool up);
