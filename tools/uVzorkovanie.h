// Sampling a function of one variable: the text is made ready once, then
// evaluated for many values of the variable (the graph's x).
#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class TFunctionSampler {
public:
    virtual ~TFunctionSampler() = default;

    // The function's value at x: returns 0 and sets y, or returns the code
    // of the real evaluator's failure (y then untouched). A value that is
    // not a finite number is never handed out: it is code 20. Nothing is
    // thrown, and the engine's flags are as they were before the call.
    virtual quint8 Sample(long double x, long double &y) = 0;
};

// Makes text, a function of varName, ready for sampling with the engine's
// current variables and constants; every other setting (angle unit, decimal
// separator) is read at each sample. A text that cannot be made ready gives
// a sampler whose every sample fails.
std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName);

#if __has_include("uKompilovanyVyraz.h")
struct TEvaluationContext;
// Compiles text, a function of varName, once with everything the context
// fixes (angle unit, separator, the values of the other variables and of the
// user constants); each sample runs the compiled program.
std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName,
                                                  const TEvaluationContext &context);
#endif
