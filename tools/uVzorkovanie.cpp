#include "uVzorkovanie.h"

#include "uKompilovanyVyraz.h"

std::unique_ptr<TFunctionSampler> CompileFunction(const QString &text, const QString &varName) {
    // The program's separator, degrees, no variables and no constants.
    return CompileFunction(text, varName, TEvaluationContext());
}
