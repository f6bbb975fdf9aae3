// The constants window: the user constants, put into the main window's
// input, added, modified and deleted, and kept in their file.
#pragma once

#include "uKonstanty.h"
#include "uMagneticForm.h"

#include <QPointer>

class QPushButton;
class QTableView;
class TMainWindowLink;
class TuprKonstFrm;

class TkonstantyFrm : public TMagneticForm {
    Q_OBJECT
public:
    // Loads the constants; the main window reads them through Model(). main
    // (may be null) is the main window it serves.
    explicit TkonstantyFrm(TMainWindowLink *main, QWidget *parent = nullptr);
    ~TkonstantyFrm() override;

    TKonstanty &Model() { return m_konstanty; }
    // The editor that add / modify opens; it is created after this window.
    void SetEditor(TuprKonstFrm *editor);

    // The file of the constants, relative to the program folder.
    QString ConstantFile() const { return m_constantFile; }

    // Texts, then the file again (changes not yet written are written to the
    // file named so far first, so a switch of language loses none).
    void ApplyLanguage();
    void NacitajKonstanty();
    // Writes the list when it was changed; a failure is shown and gives
    // false, and the list stays changed for the next try.
    bool UlozKonstanty();
    // The same without a message (the program's shut-down reports its own);
    // the reason goes to error.
    bool SaveConstants(QString *error = nullptr);

    void BtnPouzitClick();
    void BtnNovaClick();
    void BtnOdstranitClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int SelectedRow() const;
    void KeepColumnMinimum(int column, int width);

    TMainWindowLink *m_main;
    QPointer<TuprKonstFrm> m_editor;
    TKonstanty m_konstanty;
    QString m_constantFile = QStringLiteral("const.dat");
    QString m_deleteCaption;
    QString m_deleteText;
    QString m_rewriteCaption;
    QString m_rewriteText;
    QString m_piName;
    QString m_eName;

    QTableView *ListView1;
    QPushButton *BtnPouzit;
    QPushButton *BtnNova;
    QPushButton *BtnOdstranit;
    QPushButton *BtnZavriet;
};
