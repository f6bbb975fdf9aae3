#include "uNastroje.h"

#include "fMnohocleny.h"
#include "uMainWindowLink.h"

// Each window comes with its own unit; until then its command does nothing.

void TNastroje::ShowGraph(const QString &) {}

void TNastroje::ShowDerivatives(const QString &) {}

void TNastroje::ShowSum(const QString &) {}

void TNastroje::ShowPolynomials() {
    if (!m_mnohocleny)
        m_mnohocleny = new TmnohoclenyFrm(m_main ? m_main->Window() : nullptr);
    m_mnohocleny->show();
    m_mnohocleny->raise();
    m_mnohocleny->activateWindow();
    if (m_main)
        m_main->GiveFormStyle(m_mnohocleny);
}

void TNastroje::ShowCombinatorics() {}

void TNastroje::ShowStatistics() {}

void TNastroje::ShowRuleOfThree() {}

void TNastroje::ApplyLanguage() {
    if (m_mnohocleny)
        m_mnohocleny->ApplyLanguage();
}
