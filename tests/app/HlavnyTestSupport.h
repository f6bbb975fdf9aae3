// The main window with its companions, in a temporary program folder.
#pragma once

#include "AppTestSupport.h"
#include "fHistoria.h"
#include "fHlavny.h"
#include "fKonstanty.h"
#include "fPremenne.h"
#include "uOkna.h"
#include "uOvladace.h"
#include "uPremenne.h"
#include "uToolWindowsLink.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

// Tool windows and a browser that log, in one list, what the main window
// asks of them.
struct TLoggingTools : TToolWindowsLink {
    QStringList Log;
    const ThlavnyFrm *Main = nullptr;
    void Attach(TMainWindowLink *) override {}
    void ShowGraph(const QString &function) override { Log << "graph " + function; }
    void ShowDerivatives(const QString &function) override { Log << "derivatives " + function; }
    void ShowSum(const QString &function) override { Log << "sum " + function; }
    void ShowPolynomials() override { Log << "polynomials"; }
    void ShowCombinatorics() override {}
    void ShowStatistics() override {}
    void ShowRuleOfThree() override {}
    // The main window's code is already the new one when the tools follow.
    void ApplyLanguage() override { Log << "tools " + Main->Texts().LanguageCode; }
};
struct TLoggingBrowser : TBrowserLink {
    QStringList &Log;
    explicit TLoggingBrowser(QStringList &log) : Log(log) {}
    void Attach(TMainWindowLink *) override {}
    void ShowExpressionBrowser() override { Log << "browser"; }
    void ApplyLanguage() override { Log << "browser language"; }
};

class HlavnyTest : public AppTest {
protected:
    std::unique_ptr<TProgramWindows> Windows;
    ThlavnyFrm *W = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        // A fixed clock for the user id.
        AppContext().UtcNow = [] { return QDateTime(QDate(2026, 12, 5), QTime(20, 25, 43), Qt::UTC); };
        StartProgram();
    }

    void TearDown() override {
        Windows.reset();
        W = nullptr;
        AppTest::TearDown();
    }

    // Creates the windows as the program does at start.
    void StartProgram() {
        Windows = std::make_unique<TProgramWindows>();
        W = &Windows->Main();
    }
    // Closes the main window (saving) and destroys the windows.
    void EndProgram() {
        W->close();
        Windows.reset();
        W = nullptr;
    }

    QPushButton *Btn(const char *name) { return Find<QPushButton>(*W, name); }
    QToolButton *Mode(const char *name) { return Find<QToolButton>(*W, name); }
    TRiadkovyVstup *Input() { return Find<TRiadkovyVstup>(*W, "vstupRdt"); }
    QLineEdit *ResultField() { return Find<QLineEdit>(*W, "vysledokEdt"); }
    QString ErrorText() { return Find<QLabel>(*W, "LblChyba")->text(); }
    // The shown result, or "<hidden>".
    QString Shown() { return ResultField()->isHidden() ? QStringLiteral("<hidden>") : ResultField()->text(); }

    // Clears the input and types text into it key by key.
    void Type(const QString &text) {
        Input()->SetText(QString());
        QTest::keyClicks(Input(), text);
    }
    void Equals() { QTest::mouseClick(Btn("BtnRovnaSa"), Qt::LeftButton); }
    void Calculate(const QString &text) {
        Type(text);
        Equals();
    }
    void SetVariable(const QString &name, const QString &value) {
        TPremenne &rows = Premenne()->Model();
        const int row = rows.IndexOfName(name);
        if (row >= 0) {
            rows.SetValue(row, value);
        } else {
            rows.AppendRow(name, value);
        }
    }
    TpremenneFrm *Premenne() { return Windows->Companions().Get<TpremenneFrm>(TCompanion::Variables); }
    ThistoriaFrm *Historia() { return Windows->Companions().Get<ThistoriaFrm>(TCompanion::History); }
    TkonstantyFrm *Konstanty() { return Windows->Companions().Get<TkonstantyFrm>(TCompanion::Constants); }
    QStringList History() { return Historia()->Model().Items(); }
};
