#include "uIndexovanyVyraz.h"

#include "uKompilovanyVyraz.h"

std::unique_ptr<TIndexovanyVyraz> PripravIndexovanyVyraz(const QString &expression, const QString &indexName) {
    // The program's separator, no other variables, no constants.
    return PripravIndexovanyVyraz(expression, indexName, TEvaluationContext());
}
