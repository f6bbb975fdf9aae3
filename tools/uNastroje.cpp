#include "uNastroje.h"

#include "fGrafyFunkcii.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"
#include "uMainWindowLink.h"

#include <QWidget>

QWidget *TNastroje::MainWindow() const { return m_main ? m_main->Window() : nullptr; }

// Makes a window visible and brings it to the front.
static void ShowToolWindow(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Each window comes with its own unit; until then its command does nothing.

void TNastroje::ShowGraph(const QString &function) {
    if (!m_grafyFunkcii)
        m_grafyFunkcii = new TGrafyFunkciiFrm(MainWindow());
    if (m_main)
        m_main->GiveFormStyle(m_grafyFunkcii);
    m_grafyFunkcii->SetFunction(function);
    ShowToolWindow(m_grafyFunkcii);
}

void TNastroje::ShowDerivatives(const QString &) {}

void TNastroje::ShowSum(const QString &) {}

void TNastroje::ShowPolynomials() {
    if (!m_mnohocleny)
        m_mnohocleny = new TmnohoclenyFrm(MainWindow());
    ShowToolWindow(m_mnohocleny);
    if (m_main)
        m_main->GiveFormStyle(m_mnohocleny);
}

void TNastroje::ShowCombinatorics() {
    if (!m_kombinatorika)
        m_kombinatorika = new TkombinatorikaFrm(MainWindow());
    ShowToolWindow(m_kombinatorika);
}

void TNastroje::ShowStatistics() {
    if (!m_statistika)
        m_statistika = new TstatistikaFrm(MainWindow());
    ShowToolWindow(m_statistika);
}

void TNastroje::ShowRuleOfThree() {
    if (!m_trojclenka)
        m_trojclenka = new TtrojclenkaFrm(MainWindow());
    ShowToolWindow(m_trojclenka);
    if (m_main)
        m_main->GiveFormStyle(m_trojclenka);
}

void TNastroje::ApplyLanguage() {
    if (m_grafyFunkcii)
        m_grafyFunkcii->ApplyLanguage();
    if (m_mnohocleny)
        m_mnohocleny->ApplyLanguage();
    if (m_kombinatorika)
        m_kombinatorika->ApplyLanguage();
    if (m_statistika)
        m_statistika->ApplyLanguage();
    if (m_trojclenka)
        m_trojclenka->ApplyLanguage();
}
