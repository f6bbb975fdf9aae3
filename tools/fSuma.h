// The sum window: the sum or the product of the main window's expression
// over an index range, put into the main window as its result and ANS.
#pragma once

#include "uCyklickeVypocty.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TMainWindowLink;

class TsumaFrm : public QWidget {
    Q_OBJECT
public:
    // main: the main window that checks the variables and takes the result;
    // priprava: how the expression is prepared for its index.
    explicit TsumaFrm(TMainWindowLink *main, QWidget *parent = nullptr, TCyklickeVypocty::TPriprava priprava = {});

    const TCyklickeVypocty &Model() const { return m_model; }

    // The checked expression of the main window (numbers in base 10).
    void SetFunction(const QString &text);

    void vypocetBtnClick();
    void ApplyLanguage();

private:
    void RadioButton1Click();
    void RadioButton2Click();
    // A refused field: the focus, and a light red background until its
    // text changes.
    void MarkRefused(QLineEdit *edit);

    TMainWindowLink *m_main;
    TCyklickeVypocty m_model;

    QLabel *Label1;
    QLineEdit *DoEdt;
    QLineEdit *premEdt;
    QLabel *Label2;
    QLineEdit *OdEdt;
    QLabel *funkciaLbl;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QPushButton *vypocetBtn;
};
