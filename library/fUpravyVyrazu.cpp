#include "fUpravyVyrazu.h"

#include "uAppContext.h"
#include "uDisk.h"
#include "uPrehliadacVyrazov.h"
#include "uPremenne.h"
#include "uSpolocne.h"
#include "uSpolocneOkna.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TUpravyVyrazuFrm::TUpravyVyrazuFrm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("UpravyVyrazuFrm"));
    setWindowTitle(QStringLiteral("Add / modify expression"));
    setSizeGripEnabled(true);

    nazovLbl = MakeLabel(this, "nazovLbl", QStringLiteral("Nazov:"));
    nazovCmb = Named(new QComboBox(this), "nazovCmb");
    nazovCmb->setEditable(true);
    nazovCmb->setInsertPolicy(QComboBox::NoInsert);
    vyrazLbl = MakeLabel(this, "vyrazLbl", QStringLiteral("Vyraz:"));
    vyrazEdt = Named(new QLineEdit(this), "vyrazEdt");
    QFont big = vyrazEdt->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    vyrazEdt->setFont(big);
    vyrazEdt->installEventFilter(this);
    popisLbl = MakeLabel(this, "popisLbl", QStringLiteral("Popis:"));
    PopisMmo = Named(new QPlainTextEdit(this), "PopisMmo");
    premenneLbl = MakeLabel(this, "premenneLbl", QStringLiteral("Premenne:"));
    m_variables = new TPremenne(this);
    m_variables->SetColumnTitles(QStringLiteral("Nazov"), QStringLiteral("Popis"));
    premenneVle = Named(new QTableView(this), "premenneVle");
    premenneVle->setModel(m_variables);
    premenneVle->setEditTriggers(QAbstractItemView::AllEditTriggers);
    premenneVle->setSelectionMode(QAbstractItemView::SingleSelection);
    premenneVle->setTabKeyNavigation(false);
    premenneVle->verticalHeader()->hide();
    premenneVle->verticalHeader()->setDefaultSectionSize(premenneVle->fontMetrics().height() + 8);
    premenneVle->horizontalHeader()->setStretchLastSection(true);
    premenneVle->setColumnWidth(0, 90);
    premenneVle->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nazovLbl);
    layout->addWidget(nazovCmb);
    layout->addWidget(vyrazLbl);
    layout->addWidget(vyrazEdt);
    layout->addWidget(popisLbl);
    layout->addWidget(PopisMmo, 2);
    layout->addWidget(premenneLbl);
    layout->addWidget(premenneVle, 3);
    layout->addLayout(MakeOkCancelRow(this, okBtn, zrusitBtn, QStringLiteral("Zrusit"), 75));
    okBtn->setEnabled(false);
    resize(306, 386);

    auto enableOk = [this] { okBtn->setEnabled(true); };
    connect(nazovCmb, &QComboBox::editTextChanged, this, enableOk);
    connect(vyrazEdt, &QLineEdit::textChanged, this, enableOk);
    connect(PopisMmo, &QPlainTextEdit::textChanged, this, enableOk);
    connect(m_variables, &QAbstractItemModel::dataChanged, this, enableOk);
    connect(m_variables, &QAbstractItemModel::rowsInserted, this, enableOk);
    connect(m_variables, &QAbstractItemModel::rowsRemoved, this, enableOk);
    connect(okBtn, &QPushButton::clicked, this, &TUpravyVyrazuFrm::okBtnClick);

    SetVariableLines({});
    ApplyLanguage();
}

void TUpravyVyrazuFrm::SetVariableLines(const QStringList &lines) {
    m_variables->SetLines(lines);
    // An empty list still offers a row to type into.
    if (m_variables->Count() == 0)
        m_variables->AppendRow();
}

void TUpravyVyrazuFrm::ClearFields() { SetFields(QString(), QString(), QString(), {}); }

void TUpravyVyrazuFrm::SetFields(const QString &name, const QString &notation, const QString &description,
                                 const QStringList &variables) {
    nazovCmb->setEditText(name);
    vyrazEdt->setText(notation);
    PopisMmo->setPlainText(description);
    SetVariableLines(variables);
}

QString TUpravyVyrazuFrm::ExpressionName() const { return nazovCmb->currentText(); }

QString TUpravyVyrazuFrm::Notation() const { return vyrazEdt->text(); }

QStringList TUpravyVyrazuFrm::DescriptionLines() const { return MemoLines(PopisMmo->toPlainText()); }

QStringList TUpravyVyrazuFrm::VariableLines() const { return m_variables->Lines(); }

QStringList TUpravyVyrazuFrm::ConfirmedNames() const {
    QStringList names;
    for (int i = 0; i < nazovCmb->count(); ++i)
        names.append(nazovCmb->itemText(i));
    return names;
}

void TUpravyVyrazuFrm::AddVariablesFromExpression() {
    QString s = vyrazEdt->text();
    const qsizetype eq = s.indexOf(QLatin1Char('='));
    if (eq >= 0)
        s.remove(0, eq + 1);
    QStringList names;
    CollectVariableNames(s, TEvaluationContext(DecSep()), names, QString()); // the names of the real set
    if (names.isEmpty())
        return;
    // The blank row of an empty list gives way to the first real one.
    if (m_variables->Count() == 1 && m_variables->Row(0).Name.isEmpty() && m_variables->Row(0).Value.isEmpty())
        m_variables->DeleteRowAt(0);
    m_variables->AddMissingNames(names);
}

void TUpravyVyrazuFrm::okBtnClick() {
    if (WarnIfEmpty(this, nazovCmb->currentText(), NoExpressionNameErr, nazovCmb) ||
        WarnIfEmpty(this, vyrazEdt->text(), NoExpressionErr, vyrazEdt))
        return;
    nazovCmb->addItem(nazovCmb->currentText());
    accept();
}

void TUpravyVyrazuFrm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Centred on a window near the screen's edge, the dialog could open with
    // its title bar off the screen.
    KeepOnScreen(this);
    okBtn->setEnabled(false);
    nazovCmb->setFocus();
}

bool TUpravyVyrazuFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == vyrazEdt && event->type() == QEvent::FocusOut)
        AddVariablesFromExpression();
    // Rows are added with Insert or Down below the last filled row, and
    // deleted with Ctrl+Delete.
    if (watched == premenneVle && event->type() == QEvent::KeyPress &&
        HandleValueListKey(premenneVle, *m_variables, static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TUpravyVyrazuFrm::ApplyLanguage() {
    NoExpressionNameErr = QStringLiteral("You must enter the expression name.");
    NoExpressionErr = QStringLiteral("You must enter the expression.");
    if (!LanguageIni())
        return;
    const QString browser = QStringLiteral("ExpressionBrowser");
    const QString common = QStringLiteral("Common");
    TranslateWindowTitle(this, browser, QStringLiteral("AddModifyExpression"));
    NoExpressionNameErr = LanguageText(browser, QStringLiteral("NoExpressionNameErr"), NoExpressionNameErr);
    NoExpressionErr = LanguageText(browser, QStringLiteral("NoExpressionErr"), NoExpressionErr);
    TranslateText(nazovLbl, browser, QStringLiteral("ExpressionName"));
    TranslateText(vyrazLbl, browser, QStringLiteral("Expression"));
    TranslateText(popisLbl, browser, QStringLiteral("Description"));
    TranslateText(premenneLbl, browser, QStringLiteral("Variables"));
    m_variables->SetColumnTitles(
        LanguageText(common, QStringLiteral("Name"), m_variables->NameTitle()),
        LanguageText(browser, QStringLiteral("VariableDescritpion"), m_variables->ValueTitle()));
    TranslateText(okBtn, common, QStringLiteral("Ok"));
    TranslateText(zrusitBtn, common, QStringLiteral("Cancel"));
}
