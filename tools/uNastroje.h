// The tool windows as the main window reaches them: each is created on first
// use as a window of the main window (so it is destroyed with it) and shown.
#pragma once

#include "uToolWindowsLink.h"

#include <QPointer>

class QWidget;
class TderivacieFrm;
class TGrafyFunkciiFrm;
class TmnohoclenyFrm;
class TkombinatorikaFrm;
class TstatistikaFrm;
class TsumaFrm;
class TtrojclenkaFrm;

class TNastroje : public TToolWindowsLink {
public:
    void Attach(TMainWindowLink *main) override { m_main = main; }
    void ShowGraph(const QString &function) override;
    void ShowDerivatives(const QString &function) override;
    void ShowSum(const QString &function) override;
    void ShowPolynomials() override;
    void ShowCombinatorics() override;
    void ShowStatistics() override;
    void ShowRuleOfThree() override;
    void ApplyLanguage() override;

private:
    QWidget *MainWindow() const;

    TMainWindowLink *m_main = nullptr;
    QPointer<TGrafyFunkciiFrm> m_grafyFunkcii;
    QPointer<TmnohoclenyFrm> m_mnohocleny;
    QPointer<TkombinatorikaFrm> m_kombinatorika;
    QPointer<TstatistikaFrm> m_statistika;
    QPointer<TtrojclenkaFrm> m_trojclenka;
    QPointer<TderivacieFrm> m_derivacie;
    QPointer<TsumaFrm> m_suma;
};
