// The expression dialog: the name, notation, description and variable
// notes of one expression, for a new expression or a change of one. It
// checks that the name and the notation are filled before it closes with OK;
// it never touches a library itself.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TPremenne;

class TUpravyVyrazuFrm : public QDialog {
    Q_OBJECT
public:
    explicit TUpravyVyrazuFrm(QWidget *parent = nullptr);

    // Empties the name, the notation, the description and the variables;
    // the list of names confirmed before stays.
    void ClearFields();
    // Fills the fields: the description as one text of lines, the variables
    // as "name=description" lines.
    void SetFields(const QString &name, const QString &notation, const QString &description,
                   const QStringList &variables);

    QString ExpressionName() const;
    QString Notation() const;
    QStringList DescriptionLines() const;
    // One "name=description" line per row.
    QStringList VariableLines() const;
    // The names confirmed with OK, oldest first.
    QStringList ConfirmedNames() const;

    // Adds a row for every variable of the notation (the part after a
    // leading "name=") that has none; rows are never removed.
    void AddVariablesFromExpression();
    // Refuses an empty name or notation with a warning; otherwise remembers
    // the name and closes with OK.
    void okBtnClick();
    void ApplyLanguage();

    QString NoExpressionNameErr;
    QString NoExpressionErr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetVariableLines(const QStringList &lines);

    TPremenne *m_variables;
    QLabel *nazovLbl;
    QComboBox *nazovCmb;
    QLabel *vyrazLbl;
    QLineEdit *vyrazEdt;
    QLabel *popisLbl;
    QPlainTextEdit *PopisMmo;
    QLabel *premenneLbl;
    QTableView *premenneVle;
    QPushButton *okBtn;
    QPushButton *zrusitBtn;
};
