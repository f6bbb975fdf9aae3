// The language chooser: the language files of the "lang" folder with their
// headers; Apply and Ok switch the whole program to the chosen one.
#pragma once

#include "uZoznamJazykov.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class TLinkLabel;
class TMainWindowLink;

class TjazykFrm : public QWidget {
    Q_OBJECT
public:
    explicit TjazykFrm(TMainWindowLink *main, QWidget *parent = nullptr);

    void ApplyLanguage();

    void languagesLsbClick();
    void applyBtnClick();
    void okBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    TMainWindowLink *m_main;
    TZoznamJazykov m_zoznam;

    QListWidget *languagesLsb;
    QLabel *authorTitleLbl;
    QLabel *programTitleLbl;
    QLabel *dateOfFileTitleLbl;
    QLabel *emailTitleLbl;
    QLabel *webTitleLbl;
    QLabel *authorLbl;
    QLabel *programLbl;
    QLabel *datumLbl;
    TLinkLabel *emailLbl;
    TLinkLabel *webLbl;
    QPushButton *okBtn;
    QPushButton *applyBtn;
    QPushButton *cancelBtn;
};
