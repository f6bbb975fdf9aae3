// The statistics window: a grid of values and weights and their summary.
#pragma once

#include "uStatistika.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QGroupBox;

class TstatistikaFrm : public QWidget {
    Q_OBJECT
public:
    explicit TstatistikaFrm(QWidget *parent = nullptr);

    TStatistika &Model() { return m_statistika; }

    void ApplyLanguage();

    void novyBtnClick();
    void zmazatBtnClick();
    void zmazatVsetkoBtnClick();
    void vypocetBtnClick();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A value still in its cell editor goes to the model.
    void CommitOpenEditor();

    TStatistika m_statistika;

    QTableView *hodnotyVle;
    QPushButton *novyBtn;
    QPushButton *zmazatBtn;
    QPushButton *zmazatVsetkoBtn;
    QPushButton *vypocetBtn;
    QGroupBox *statistikaGbx;
    QLabel *pocetLbl;
    QLabel *sucetLbl;
    QLabel *sucinLbl;
    QLabel *APriemerLbl;
    QLabel *strednaHodnotaLbl;
    QLabel *vazenyPriemerLbl;
    QLabel *rozptylLbl;
    QLabel *odchylkaLbl;
    QLabel *medianLbl;
    QLineEdit *pocetEdt;
    QLineEdit *sucetEdt;
    QLineEdit *sucinEdt;
    QLineEdit *APriemerEdt;
    QLineEdit *strednaHodnotaEdt;
    QLineEdit *rozptylEdt;
    QLineEdit *odchylkaEdt;
    QLineEdit *medianEdt;
};
