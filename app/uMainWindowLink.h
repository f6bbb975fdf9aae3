// What the companion windows ask of the main window. The main window
// implements it and hands itself to each companion it creates.
#pragma once

#include "uKontrola.h"
#include "uSpolocne.h"

#include <QString>

class QWidget;

class TMainWindowLink {
public:
    virtual ~TMainWindowLink() = default;

    // The main window itself: the master of the snapping companions.
    virtual QWidget *Window() = 0;

    // The text of the input field.
    virtual QString InputText() const = 0;
    // Replaces the text of the input field.
    virtual void SetInputText(const QString &text) = 0;
    // Puts text into the input at the caret, as a key of the keypad does.
    virtual void InsertIntoInput(const QString &text) = 0;
    // Shows a result text in the result field and clears the error label.
    virtual void ShowResult(const QString &result) = 0;
    // Runs "=" exactly as if the key had been pressed.
    virtual void Calculate() = 0;
    // Adds a row for every variable of expression that the variables
    // window lacks (excludedName skipped).
    virtual void AddMissingVariables(const QString &expression, const QString &excludedName) = 0;
    // Puts an expression chosen in the expression browser into the input
    // (only what follows a leading "name=") and adds its variables to the
    // variables window, without evaluating it.
    virtual void UseExpression(const QString &text) = 0;
    // Checks the values of the variables of expression (excludedName
    // skipped) in the given mode: code 15, 31 or 17 in err.
    virtual void ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                        TKontrola mode) = 0;
    // Shows the message of err in the error label and selects its span.
    virtual void ShowError(const TChyba &err) = 0;
    // Brings up the variables window with the main window's form style and
    // the focus in its list, for the values error 15 asks for: on the value
    // of the first variable of expression (excludedName skipped) that has
    // none.
    virtual void ShowVariablesWindow(const QString &expression, const QString &excludedName) = 0;
    // Makes the main window the active window with the keyboard focus in its
    // input (the caret where the last change of the text left it), so that
    // what the user types next goes on into the expression.
    virtual void ActivateInput() = 0;
    // A value calculated by a tool window: written in the main window's
    // decimals and base, it becomes ANS and is shown as the result. A value
    // that cannot be written in the base is shown as an error instead.
    virtual void TakeResult(long double value) = 0;
    // Gives a window the main window's form style (always on top or normal).
    virtual void GiveFormStyle(QWidget *window) const = 0;
    // Enables or disables the Back button of the history.
    virtual void SetBackEnabled(bool enabled) = 0;
    // Loads the language file (relative to the program folder) and applies
    // it to every window; false when it could not be loaded.
    virtual bool ApplyLanguageToAllForms(const QString &fileName) = 0;
    // Shows text in the expression preview window in textbook notation:
    // "0" for an empty text, "???" for one that fails the syntax check.
    virtual void ShowExpressionPreview(const QString &text) = 0;
    // What an evaluation of the main window's expression depends on now
    // (number set, angle unit, separator, variables, constants, modulus),
    // for the tools that evaluate it themselves. Every main window says it:
    // a default would silently evaluate in degrees and the real set.
    virtual TEvaluationContext EvaluationContext() const = 0;
};
