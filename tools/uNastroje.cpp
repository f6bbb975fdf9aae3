#include "uNastroje.h"

#include "fGrafyFunkcii.h"
#include "uMainWindowLink.h"

// Each window comes with its own unit; until then its command does nothing.

void TNastroje::ShowGraph(const QString &function) {
    if (!m_grafyFunkcii)
        m_grafyFunkcii = new TGrafyFunkciiFrm(m_main ? m_main->Window() : nullptr);
    if (m_main)
        m_main->GiveFormStyle(m_grafyFunkcii);
    m_grafyFunkcii->SetFunction(function);
    m_grafyFunkcii->show();
    m_grafyFunkcii->raise();
    m_grafyFunkcii->activateWindow();
}

void TNastroje::ShowDerivatives(const QString &) {}

void TNastroje::ShowSum(const QString &) {}

void TNastroje::ShowPolynomials() {}

void TNastroje::ShowCombinatorics() {}

void TNastroje::ShowStatistics() {}

void TNastroje::ShowRuleOfThree() {}

void TNastroje::ApplyLanguage() {
    if (m_grafyFunkcii)
        m_grafyFunkcii->ApplyLanguage();
}
