// The variables window: the name and value of every user variable.
#pragma once

#include "uMagneticForm.h"
#include "uPremenne.h"

class QPushButton;
class QTableView;
class TMainWindowLink;

class TpremenneFrm : public TMagneticForm {
    Q_OBJECT
public:
    // Publishes the list as the engine's variables and places the window
    // beside the main window when there is room.
    explicit TpremenneFrm(TMainWindowLink *main, QWidget *parent = nullptr);
    ~TpremenneFrm() override;

    TPremenne &Model() { return m_premenne; }
    QTableView *Editor() const { return ValueListEditor1; }
    // Puts the keyboard focus into the editor (after error 15), on the value
    // cell of the first of names that has a row without a value.
    void FocusEditor(const QStringList &names = {});

    void ApplyLanguage();

    void Button1Click(); // refresh from the main window's input
    void Button3Click(); // calculate

private:
    bool eventFilter(QObject *watched, QEvent *event) override;

    TMainWindowLink *m_main;
    TPremenne m_premenne;
    QTableView *ValueListEditor1;
    QPushButton *Button3;
    QPushButton *Button1;
    QPushButton *Button2;
};
