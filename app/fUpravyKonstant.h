// The constant editor: a modal window with the symbol, name, value and unit
// of one constant.
#pragma once

#include "uKonstanty.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TuprKonstFrm : public QDialog {
    Q_OBJECT
public:
    // columns: the constants list whose column titles the labels take when a
    // language is applied (may be null).
    explicit TuprKonstFrm(const TKonstanty *columns, QWidget *parent = nullptr);

    // The fields' contents, the value in the engine's decimal separator.
    TKonstanta Constant() const;
    void SetConstant(const TKonstanta &constant);

    void ApplyLanguage();

    // Closes with Ok when the symbol and the value are valid; otherwise
    // tells what is wrong and puts the focus on that field.
    void okBtnClick();

    // The two messages, as the language sets them.
    QString IdNotEntered;
    QString IncorrectValue;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Writes a cleaned text back into edit, keeping the caret with it.
    void Clean(QLineEdit *edit, const std::function<QString(const QString &, int &)> &rule);

    const TKonstanty *m_columns;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLineEdit *Edit1; // symbol
    QLineEdit *Edit3; // name
    QLineEdit *Edit2; // value
    QLineEdit *Edit4; // unit
    QPushButton *okBtn;
    QPushButton *zrusitBtn;
};
