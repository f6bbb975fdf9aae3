// The derivative window: the derivative of the main window's expression
// with respect to a chosen variable, of a chosen order.
#pragma once

#include "uDerivacie.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TMainWindowLink;
class TUpDown;

class TderivacieFrm : public QWidget {
    Q_OBJECT
public:
    // main: the main window, whose preview shows the result (may be null).
    explicit TderivacieFrm(TMainWindowLink *main, QWidget *parent = nullptr);

    // The checked expression of the main window (numbers in base 10): shown,
    // with its variables to choose from ("x" chosen when it is one of them).
    // The order and the last result stay.
    void SetFunction(const QString &text);

    void vypocetBtnClick();
    void nahladBtnClick();
    void ApplyLanguage();

private:
    TMainWindowLink *m_main;
    TDerivacie m_model;

    QLabel *premennaLbl;
    QComboBox *premenneCmb;
    QLabel *stupenLbl;
    QLineEdit *stupenDerivacieEdt;
    TUpDown *stupenDerivacieUpd;
    QLabel *funkciaLbl;
    QLineEdit *funkciaEdt;
    QLabel *derivaciaLbl;
    QLineEdit *vysledokEdt;
    QPushButton *vypocetBtn;
    QToolButton *nahladBtn;
};
