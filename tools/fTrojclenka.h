// The rule-of-three window: a, b and c in the scheme of a proportion, direct
// or inverse, and the unknown X.
#pragma once

#include "uTrojclenka.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TtrojclenkaFrm : public QWidget {
    Q_OBJECT
public:
    explicit TtrojclenkaFrm(QWidget *parent = nullptr);

    const TTrojclenka &Model() const { return m_trojclenka; }

    void ApplyLanguage();

    void Button1Click();

private:
    // The fixed size: the designed one, or more when the texts need it.
    void FitSize();

    void RadioButton1Click();
    void RadioButton2Click();

    TTrojclenka m_trojclenka;

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *resultEdt;
    QLabel *Image1;
    QLabel *Image2;
    QLabel *Image3;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QPushButton *Button1;
};
