#include "fUpravyKonstant.h"

#include "uDisk.h"
#include "uMagneticForm.h"
#include "uSpolocneOkna.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

static QLineEdit *MakeEdit(QWidget *parent, const char *name, int maxLength) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

static QLabel *MakeBuddyLabel(QWidget *parent, const char *name, const QString &text, QLineEdit *buddy) {
    QLabel *label = MakeLabel(parent, name, text);
    label->setBuddy(buddy);
    return label;
}

TuprKonstFrm::TuprKonstFrm(const TKonstanty *columns, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_columns(columns) {
    setObjectName(QStringLiteral("uprKonstFrm"));
    setWindowTitle(QStringLiteral("Pridať / upraviť konštantu"));
    setModal(true);

    Edit1 = MakeEdit(this, "Edit1", TKonstanty::SymbolLength);
    Edit1->setText(QStringLiteral("$"));
    Edit3 = MakeEdit(this, "Edit3", TKonstanty::NameLength);
    Edit2 = MakeEdit(this, "Edit2", TKonstanty::ValueLength);
    Edit4 = MakeEdit(this, "Edit4", TKonstanty::UnitLength);
    Label1 = MakeBuddyLabel(this, "Label1", QStringLiteral("Značka"), Edit1);
    Label2 = MakeBuddyLabel(this, "Label2", QStringLiteral("Názov"), Edit3);
    Label3 = MakeBuddyLabel(this, "Label3", QStringLiteral("Hodnota"), Edit2);
    Label4 = MakeBuddyLabel(this, "Label4", QStringLiteral("Jednotka"), Edit4);

    // Each label stands above its field: the symbol beside the name, the
    // value beside the unit; each field is wide enough for its longest text.
    auto *fields = new QGridLayout;
    fields->setVerticalSpacing(2);
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Label2, 0, 1, 1, 2);
    fields->addWidget(Edit1, 1, 0);
    fields->addWidget(Edit3, 1, 1, 1, 2);
    fields->setRowMinimumHeight(2, 6);
    fields->addWidget(Label3, 3, 0, 1, 2);
    fields->addWidget(Label4, 3, 2);
    fields->addWidget(Edit2, 4, 0, 1, 2);
    fields->addWidget(Edit4, 4, 2);
    const QFontMetrics metrics = Edit1->fontMetrics();
    const int margin = 2 * metrics.horizontalAdvance(QLatin1Char(' ')) + 8;
    fields->setColumnMinimumWidth(0, metrics.horizontalAdvance(QStringLiteral("$wwwww")) + margin);
    fields->setColumnMinimumWidth(1, metrics.horizontalAdvance(QStringLiteral("-0,00000000000000")) + margin);
    fields->setColumnMinimumWidth(2, metrics.horizontalAdvance(QStringLiteral("mmmmmmmmmm")) + margin);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(MakeOkCancelRow(this, okBtn, zrusitBtn, QStringLiteral("Zrušiť")));
    setTabOrder(Edit1, Edit3);
    setTabOrder(Edit3, Edit2);
    setTabOrder(Edit2, Edit4);
    setTabOrder(Edit4, okBtn);
    setTabOrder(okBtn, zrusitBtn);
    resize(QSize(275, 141).expandedTo(sizeHint()));

    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
        edit->installEventFilter(this);
    // Pasted or dropped text passes no key filter: every change is cleaned.
    // The symbol's "$" rule holds for every change; its character rule for
    // the user's (a row taken from the file shows as it stands).
    connect(Edit1, &QLineEdit::textChanged, this,
            [this] { Clean(Edit1, [](const QString &t, int &c) { return CleanSymbolText(t, c, false); }); });
    connect(Edit1, &QLineEdit::textEdited, this,
            [this] { Clean(Edit1, [](const QString &t, int &c) { return CleanSymbolText(t, c, true); }); });
    connect(Edit2, &QLineEdit::textEdited, this, [this] { Clean(Edit2, CleanValueText); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Clean(Edit3, CleanNameText); });
    connect(Edit4, &QLineEdit::textChanged, this, [this] { Clean(Edit4, CleanNameText); });
    connect(okBtn, &QPushButton::clicked, this, &TuprKonstFrm::okBtnClick);

    // FormCreate: the two messages, then the language.
    IdNotEntered = QStringLiteral("Musíte zadať značku konštanty");
    IncorrectValue = QStringLiteral("Nesprávne zadaná hodnota konštanty");
    ApplyLanguage();
}

void TuprKonstFrm::Clean(QLineEdit *edit, const std::function<QString(const QString &, int &)> &rule) {
    const QString text = edit->text();
    int caret = edit->cursorPosition();
    const QString cleaned = rule(text, caret);
    if (cleaned == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(cleaned);
    edit->setCursorPosition(caret);
}

TKonstanta TuprKonstFrm::Constant() const {
    return TKonstanta{Edit1->text(), Edit3->text(), Edit2->text(), Edit4->text()};
}

void TuprKonstFrm::SetConstant(const TKonstanta &constant) {
    Edit1->setText(constant.Symbol);
    Edit3->setText(constant.Name);
    Edit2->setText(constant.Value);
    Edit4->setText(constant.Unit);
}

void TuprKonstFrm::okBtnClick() {
    QLineEdit *wrong = nullptr;
    QString message;
    if (Edit1->text().size() < 2) {
        wrong = Edit1;
        message = IdNotEntered;
    } else if (!IsConstantValue(Edit2->text())) {
        wrong = Edit2;
        message = IncorrectValue;
    }
    if (!wrong) {
        accept();
        return;
    }
    ShowWarningBox(windowTitle(), message, this);
    wrong->setFocus();
}

void TuprKonstFrm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    const QSize screen = PrimaryScreenSize();
    move((screen.width() - frameGeometry().width()) / 2, (screen.height() - frameGeometry().height()) / 2);
    Edit1->setFocus();
}

bool TuprKonstFrm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *edit = qobject_cast<QLineEdit *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    // Only typed characters are filtered: Enter, Escape, Backspace and the
    // Ctrl chords go on as usual.
    if (!edit || key->text().size() != 1 || key->text().at(0).unicode() < 32 || key->text().at(0).unicode() == 127)
        return QDialog::eventFilter(watched, event);
    const QChar typed = key->text().at(0);
    QChar accepted = typed;
    if (edit == Edit1) {
        accepted = FilterSymbolKey(typed);
    } else if (edit == Edit2) {
        const int caret = edit->hasSelectedText() ? int(edit->selectionStart()) : edit->cursorPosition();
        accepted = FilterValueKey(edit->text(), caret, typed);
    } else if (typed == QLatin1Char('#')) {
        accepted = QChar();
    }
    if (accepted.isNull())
        return true;
    if (accepted != typed) {
        edit->insert(QString(accepted));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TuprKonstFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("ConstantForm");
    const QString common = QStringLiteral("Common");
    TranslateWindowTitle(this, form, QStringLiteral("AddModifyAConstant"));
    if (m_columns) {
        QLabel *labels[] = {Label1, Label2, Label3, Label4};
        for (int i = 0; i < 4; ++i)
            labels[i]->setText(m_columns->ColumnTitle(i));
    }
    IdNotEntered = LanguageText(form, QStringLiteral("IdNotEntered"), IdNotEntered);
    IncorrectValue = LanguageText(form, QStringLiteral("IncorrectValue"), IncorrectValue);
    TranslateText(okBtn, common, QStringLiteral("ok"));
    TranslateText(zrusitBtn, common, QStringLiteral("cancel"));
}
