// The windows that the main window opens but cannot name: the tool windows
// (tools/) and the expression browser (library/) are built on top of this
// library. The program's start hands the main window one object of each
// interface; a window whose link is missing stays unreachable.
#pragma once

#include <QString>

class TMainWindowLink;

class TToolWindowsLink {
public:
    virtual ~TToolWindowsLink() = default;

    // The main window the tool windows belong to (they are destroyed with
    // it) and report back to. Called once, before any Show.
    virtual void Attach(TMainWindowLink *main) = 0;

    // The graph, derivative and sum windows take the main window's checked
    // expression, already written in base 10.
    virtual void ShowGraph(const QString &function) = 0;
    virtual void ShowDerivatives(const QString &function) = 0;
    virtual void ShowSum(const QString &function) = 0;
    virtual void ShowPolynomials() = 0;
    virtual void ShowCombinatorics() = 0;
    virtual void ShowStatistics() = 0;
    virtual void ShowRuleOfThree() = 0;

    // Re-applies the loaded language file to the tool windows that exist,
    // in the program's order.
    virtual void ApplyLanguage() = 0;
};

class TBrowserLink {
public:
    virtual ~TBrowserLink() = default;
    virtual void Attach(TMainWindowLink *main) = 0;
    virtual void ShowExpressionBrowser() = 0;
    // Re-applies the language file to the browser when it exists.
    virtual void ApplyLanguage() = 0;
};
