// The combinatorics window: n and k, the six counts to choose from, and the
// result.
#pragma once

#include "uKombinatorika.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TkombinatorikaFrm : public QWidget {
    Q_OBJECT
public:
    explicit TkombinatorikaFrm(QWidget *parent = nullptr);

    const TKombinatorika &Model() const { return m_kombinatorika; }
    // The chosen count.
    TKombinatorika::TUloha Uloha() const;

    void ApplyLanguage();

    void vypocetBtnClick();

private:
    // The fixed size: the designed one, or more when the texts need it.
    void FitSize();

    TKombinatorika m_kombinatorika;

    QLineEdit *EdtN;
    QLineEdit *EdtK;
    QLineEdit *EdtVysledok;
    QLabel *vysledokLbl;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QRadioButton *RadioButton5;
    QRadioButton *RadioButton6;
    QPushButton *vypocetBtn;
};
