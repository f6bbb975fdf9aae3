// The bracket-group step shared by the fraction, modulo and complex evaluators.
#pragma once

#include "uSpolocne.h"
namespace legacy {

// Evaluates one group's inner text (recursively, without preparing it).
using TGroupEvaluator = void (*)(QString inner, TChyba &err, QString &r);
// Puts a group's result in place of the group's text.
using TGroupReplacer = void (*)(QString &expr, const QString &group, const QString &value);

// Replaces every bracket group of Expr, the innermost first (the last "("
// and the first ")" after it), by its value. Returns false when the
// evaluation has to stop, with R emptied: a group's error is copied into
// Err; an empty group gives code 9, a "(" left open code 11 and a ")" that
// closes nothing code 10.
bool ReplaceBracketGroups(QString &expr, TChyba &err, QString &r, TGroupEvaluator evaluate,
                          TGroupReplacer replace);

} // namespace legacy