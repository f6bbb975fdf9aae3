// An expression evaluated for one integer value of its index after another,
// as a sum or a product over a range needs it: the text is prepared once,
// when the expression is made, and each index costs only its evaluation.
#pragma once

#include "uSpolocne.h"

#include <QString>
#include <memory>

class TIndexovanyVyraz {
public:
    virtual ~TIndexovanyVyraz() = default;

    // value := the expression's value with the index set to index. False
    // when the evaluation fails; err then holds its code (without a span)
    // and value is left as it was.
    virtual bool Evaluate(qint64 index, long double &value, TChyba &err) = 0;
};

struct TEvaluationContext;
// Compiles the expression once with indexName as its free name and with
// everything the context fixes (separator, the values of the other
// variables and of the user constants); each index runs the compiled
// program and gives exactly what the real evaluator gives on the text with
// the index written in.
std::unique_ptr<TIndexovanyVyraz> PripravIndexovanyVyraz(const QString &expression, const QString &indexName,
                                                         const TEvaluationContext &context);
