// What the evaluators of the four number sets share, and the entry points
// the compiled expression calls. Internal to the engine: callers use
// TCompiledExpression (uKompilovanyVyraz.h).
//
// Each evaluator runs a compiled program's instructions in order with a
// register file of its own number type; the first instruction that fails
// stops it with its code.
#pragma once

#include "PresnyZlomok.h"
#include "uKompilovanyVyraz.h"

#include <limits>
#include <span>
#include <vector>

namespace vypocet {

using prekladac::TInstruction;
using prekladac::TOp;
using prekladac::TProgram;

constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

// Whether v is finite, as std::isfinite, but without loading the largest
// 80-bit value from memory, which costs more than an addition: v - v is 0
// exactly for a finite v, NaN for an infinity or a NaN.
inline bool Finite80(long double v) { return v - v == 0; }

// A whole value within the 64-bit range, which the 80-bit format holds
// exactly: where the program's ExactWholeNumbers is set, such a result is
// kept as it is instead of rounded to 18 significant digits.
inline bool WholeIn64Bits(long double v) {
    return v >= -9223372036854775808.0L && v < 9223372036854775808.0L && v == __builtin_rintl(v);
}

// Registers of up to this many values live on the stack.
constexpr qint32 StackRegisters = 96;

template <typename T>
struct TRegisters {
    T small[StackRegisters];
    T *data;
    explicit TRegisters(qint32 count) {
        if (count <= StackRegisters) {
            data = small;
        } else {
            // A long text: the thread's own buffer, kept for the next one, so
            // that a large register file is not mapped and unmapped each time.
            static thread_local std::vector<T> large;
            if (large.size() < size_t(count))
                large.resize(size_t(count));
            data = large.data();
        }
    }
};

// --- the real set (uVypocetRealne.cpp) ---

// A literal of the real set: its value, NaN for a text that is no number.
long double RealLiteral(QStringView text, QChar sep);

// Runs code (the program's own or the sampling road's) on registers that
// hold the literals, slots, invalid parts (NaN) and zeros already. Exact:
// each result rounded as the "=" road shows it. slotsAreNumbers: no free
// name's value is NaN. On success result holds the value.
template <bool Exact>
bool RunReal(const TProgram &p, const std::vector<TInstruction> &code, long double *R, TChyba &err, long double &result,
             bool slotsAreNumbers = false);

// The program's own code on registers filled here: the literals as read
// (literals, or read from the text when it holds none), then the values
// of the free names.
template <bool Exact>
TErrorCode RunRealProgram(const TProgram &p, const std::vector<TInstruction> &code,
                          const std::vector<long double> &literals, std::span<const long double> values, TChyba &err,
                          long double &result);

// --- exact fractions (uVypocetZlomky.cpp) ---

// The value in lowest terms; false with the code in err.
bool RunFractionProgram(const TProgram &p, TChyba &err, TExactFraction &value);

// --- the complex set (uVypocetKomplexne.cpp) ---

// The value and its token text; false with the code in err.
bool RunComplexProgram(const TProgram &p, TChyba &err, TComplexNumber &value, QString &token);

// --- integers modulo n (uVypocetModulo.cpp) ---

// The residue; false with the code in err.
bool RunModuloProgram(const TProgram &p, TChyba &err, qint64 &value);

} // namespace vypocet
