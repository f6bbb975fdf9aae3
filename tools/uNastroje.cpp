#include "uNastroje.h"

#include "fDerivacie.h"
#include "fGrafyFunkcii.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
#include "fSuma.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"
#include "uAppContext.h"
#include "uMainWindowLink.h"
#include "uVzorkovanie.h"

#include <QWidget>

QWidget *TNastroje::MainWindow() const { return m_main ? m_main->Window() : nullptr; }

// Makes a window visible and brings it to the front.
static void ShowToolWindow(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void TNastroje::ShowGraph(const QString &function) {
    if (!m_grafyFunkcii)
        // Each function is compiled with the main window's context as it is
        // then: its angle unit, variables and constants.
        m_grafyFunkcii = new TGrafyFunkciiFrm(MainWindow(), [this](const QString &text) {
            return CompileFunction(text, QStringLiteral("x"),
                                   m_main ? m_main->EvaluationContext() : TEvaluationContext(DecSep()));
        });
    if (m_main)
        m_main->GiveFormStyle(m_grafyFunkcii);
    m_grafyFunkcii->SetFunction(function);
    ShowToolWindow(m_grafyFunkcii);
}

void TNastroje::ShowDerivatives(const QString &function) {
    if (!m_derivacie)
        m_derivacie = new TderivacieFrm(m_main, MainWindow());
    m_derivacie->SetFunction(function);
    ShowToolWindow(m_derivacie);
}

void TNastroje::ShowSum(const QString &function) {
    if (!m_suma)
        m_suma = new TsumaFrm(m_main, MainWindow());
    m_suma->SetFunction(function);
    ShowToolWindow(m_suma);
}

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
    if (m_derivacie)
        m_derivacie->ApplyLanguage();
    if (m_suma)
        m_suma->ApplyLanguage();
}
