// The history window: the list of calculations, put back into the main
// window, copied, deleted and exported.
#pragma once

#include "uHistoria.h"
#include "uMagneticForm.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class TMainWindowLink;

class ThistoriaFrm : public TMagneticForm {
    Q_OBJECT
public:
    // Creates the window beside no one; main (may be null) is the main
    // window it serves. Loads "history.dat" when the history is kept.
    explicit ThistoriaFrm(TMainWindowLink *main, QWidget *parent = nullptr);

    const THistoria &Model() const { return m_historia; }

    // Adds an entry (called after each evaluation).
    void PridajDoHistorie(const QString &s);
    void PovolTlacitka(bool enable);
    // The main window's Back: the entry above the selected one, then use.
    void Back();
    // Writes the list to ProgramDir + "history.dat"; false (with the
    // reason) when the file could not be written.
    bool SaveHistoryFile(QString *error = nullptr) const;

    void ApplyLanguage();

    // The export dialog's texts, as the language sets them.
    QString SaveDialogTitle() const { return m_dialogTitle; }
    QString SaveDialogFilter() const { return m_dialogFilter; }

    void BtnPouzitClick();
    void BtnKopirovatClick();
    void BtnZmazatClick();
    void BtnUlozitClick();

private:
    static constexpr int MinimumWidth = 422;

    void ShowList();
    void FitButtons();
    void ListBox1Click();
    void Edit1Click();

    bool eventFilter(QObject *watched, QEvent *event) override;

    TMainWindowLink *m_main;
    THistoria m_historia;

    QListWidget *ListBox1;
    QLineEdit *Edit1;
    QPushButton *BtnPouzit;
    QPushButton *BtnKopirovat;
    QPushButton *BtnZmazat;
    QPushButton *BtnUlozit;
    QPushButton *BtnZatvorit;

    QString m_dialogTitle = QStringLiteral("Uložiť históriu výpočtov");
    QString m_dialogFileName = QStringLiteral("historia.txt");
    QString m_dialogFilter = QStringLiteral("Textový súbor|*.txt");
};

// A filter in the "description|mask|description|mask" form as a Qt file
// dialog filter ("description (mask);;...").
QString DialogFilterToQt(const QString &filter);
