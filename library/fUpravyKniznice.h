// The library dialog: a library's header and the path of its file, chosen
// through a save dialog that offers only ".xml" files. It checks that the
// name and the file are given before it closes with OK; it never touches a
// library itself.
#pragma once

#include "uKniznica.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TUpravyKnizniceFrm : public QDialog {
    Q_OBJECT
public:
    explicit TUpravyKnizniceFrm(QWidget *parent = nullptr);

    // The proposal for a new library: the default name, version "0.0.0",
    // the other fields empty.
    void ResetForNewLibrary();
    // The header of an existing library; OK waits for a change.
    void SetLibraryInfo(const TInfoKniznice &info);
    // The fields as a header, dated today.
    TInfoKniznice GetLibraryInfo() const;
    // The folder the save dialog opens in when no file is chosen yet.
    void SetInitialFolder(const QString &folder) { m_initialFolder = folder; }

    // "...": the save dialog; a confirmed path becomes the file name.
    void vyberSuborBtnClick();
    // Refuses an empty name or file name with a warning; otherwise closes
    // with OK.
    void okBtnClick();
    void ApplyLanguage();

    QString NoLibraryNameErr;
    QString NoFileNameErr;
    QString DefaultLibraryName;
    QString DefaultFileName;
    // The description of the save dialog's only filter.
    QString FilterText;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_initialFolder;
    QLabel *nazovLbl;
    QLineEdit *nazovEdt;
    QLabel *menoSuboruLbl;
    QLineEdit *menoSuboruEdt;
    QPushButton *vyberSuborBtn;
    QLabel *verziaLbl;
    QLineEdit *verziaEdt;
    QLabel *autorLbl;
    QLineEdit *autorEdt;
    QLabel *autorWebLbl;
    QLineEdit *autorWebEdt;
    QLabel *autorEmailLbl;
    QLineEdit *autorMailEdt;
    QLabel *popisLbl;
    QPlainTextEdit *popisMmo;
    QPushButton *okBtn;
    QPushButton *zrusitBtn;
};
