#include "uNastroje.h"

#include "uMainWindowLink.h"

// Each window comes with its own unit; until then its command does nothing.

void TNastroje::ShowGraph(const QString &) {}

void TNastroje::ShowDerivatives(const QString &) {}

void TNastroje::ShowSum(const QString &) {}

void TNastroje::ShowPolynomials() {}

void TNastroje::ShowCombinatorics() {}

void TNastroje::ShowStatistics() {}

void TNastroje::ShowRuleOfThree() {}

void TNastroje::ApplyLanguage() {}
