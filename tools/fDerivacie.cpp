#include "fDerivacie.h"

#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uOvladace.h"
#include "uSpolocneOkna.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

// The result field shows an error text in red.
const char *const FieldStyle = R"(
QLineEdit[chyba="true"] { color: #d00000; }
)";

// The picture of the preview button: a fraction bar with a box above and
// below it, as the preview draws an expression.
QIcon PreviewIcon() {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x3b, 0x23, 0x66), 1.4));
    p.drawLine(QPointF(3, 10), QPointF(17, 10));
    p.setPen(QPen(QColor(0x4d, 0x6f, 0xb3), 1.2));
    p.drawRect(QRectF(6.5, 2.5, 7, 5));
    p.drawRect(QRectF(6.5, 12.5, 7, 5));
    return QIcon(pm);
}

} // namespace

TderivacieFrm::TderivacieFrm(TMainWindowLink *main, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_main(main) {
    setObjectName(QStringLiteral("derivacieFrm"));
    setWindowTitle(QStringLiteral("Function derivative"));
    setStyleSheet(QString::fromLatin1(FieldStyle));

    premennaLbl = MakeLabel(this, "premennaLbl", QStringLiteral("Variable:"));
    premenneCmb = new QComboBox(this);
    premenneCmb->setObjectName(QStringLiteral("premenneCmb"));
    premenneCmb->setEditable(false);
    premenneCmb->setMinimumContentsLength(6);
    premenneCmb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    stupenLbl = MakeLabel(this, "stupenLbl", QStringLiteral("Order:"));
    stupenDerivacieEdt = MakeReadOnlyEdit(this, "stupenDerivacieEdt", QStringLiteral("1"));
    stupenDerivacieEdt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stupenDerivacieEdt->setFixedWidth(stupenDerivacieEdt->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    stupenDerivacieUpd = new TUpDown(this);
    stupenDerivacieUpd->setObjectName(QStringLiteral("stupenDerivacieUpd"));
    stupenDerivacieUpd->Min = 1;
    stupenDerivacieUpd->Max = MaxDerivativeOrder;
    stupenDerivacieUpd->SetPosition(1);
    stupenDerivacieUpd->SetAssociate(stupenDerivacieEdt);
    stupenDerivacieUpd->setFixedSize(16, stupenDerivacieEdt->sizeHint().height());
    funkciaLbl = MakeLabel(this, "funkciaLbl", QStringLiteral("Function:"));
    funkciaEdt = MakeReadOnlyEdit(this, "funkciaEdt", QStringLiteral("0"));
    derivaciaLbl = MakeLabel(this, "derivaciaLbl", QStringLiteral("Derivative:"));
    vysledokEdt = MakeReadOnlyEdit(this, "vysledokEdt", QString());
    vypocetBtn = new QPushButton(QStringLiteral("Calculate"), this);
    vypocetBtn->setObjectName(QStringLiteral("vypocetBtn"));
    SetBold(vypocetBtn);
    vypocetBtn->setDefault(true);
    nahladBtn = new QToolButton(this);
    nahladBtn->setObjectName(QStringLiteral("nahladBtn"));
    nahladBtn->setIcon(PreviewIcon());
    nahladBtn->setIconSize(QSize(20, 20));
    nahladBtn->setAutoRaise(true);

    auto *order = new QHBoxLayout;
    order->setSpacing(0);
    order->addWidget(stupenDerivacieEdt);
    order->addWidget(stupenDerivacieUpd);
    auto *grid = new QGridLayout(this);
    grid->addWidget(premennaLbl, 0, 0);
    auto *choices = new QHBoxLayout;
    choices->addWidget(premenneCmb);
    choices->addSpacing(16);
    choices->addWidget(stupenLbl);
    choices->addLayout(order);
    choices->addStretch();
    grid->addLayout(choices, 0, 1, 1, 2);
    grid->addWidget(funkciaLbl, 1, 0);
    grid->addWidget(funkciaEdt, 1, 1, 1, 2);
    grid->addWidget(derivaciaLbl, 2, 0);
    grid->addWidget(vysledokEdt, 2, 1);
    grid->addWidget(nahladBtn, 2, 2);
    grid->addWidget(vypocetBtn, 3, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    setTabOrder(premenneCmb, vypocetBtn);
    setTabOrder(vypocetBtn, vysledokEdt);
    setTabOrder(vysledokEdt, nahladBtn);
    setTabOrder(nahladBtn, funkciaEdt);

    connect(vypocetBtn, &QPushButton::clicked, this, &TderivacieFrm::vypocetBtnClick);
    connect(nahladBtn, &QToolButton::clicked, this, &TderivacieFrm::nahladBtnClick);

    FitButton(vypocetBtn);
    ApplyLanguage();
    setMinimumWidth(std::max(320, minimumSizeHint().width()));
    setFixedHeight(sizeHint().height());
    resize(440, height());
    // Centred on the main window.
    if (parent)
        move(parent->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TderivacieFrm::SetFunction(const QString &text) {
    funkciaEdt->setText(text);
    funkciaEdt->setCursorPosition(0);
    const TDerivacie::TPremenneFunkcie variables = TDerivacie::VariablesOf(text);
    const QSignalBlocker quiet(premenneCmb);
    premenneCmb->clear();
    premenneCmb->addItems(variables.Names);
    premenneCmb->setCurrentIndex(variables.Selected);
}

void TderivacieFrm::vypocetBtnClick() {
    const TDerivacie::TVysledok r =
        m_model.Calculate(funkciaEdt->text(), premenneCmb->currentText(), stupenDerivacieUpd->Position());
    // The error text in red, a result in the normal colour.
    if (vysledokEdt->property("chyba").toBool() == r.Ok) {
        vysledokEdt->setProperty("chyba", !r.Ok);
        vysledokEdt->style()->unpolish(vysledokEdt);
        vysledokEdt->style()->polish(vysledokEdt);
    }
    vysledokEdt->setText(r.Text);
    vysledokEdt->setCursorPosition(0);
}

void TderivacieFrm::nahladBtnClick() {
    if (m_main)
        m_main->ShowExpressionPreview(vysledokEdt->text());
}

void TderivacieFrm::ApplyLanguage() {
    // A key missing from the file gives the built-in message.
    m_model.ErrorText = TDerivacie().ErrorText;
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("Derivatives");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(premennaLbl, form, QStringLiteral("Variable"));
    TranslateText(stupenLbl, form, QStringLiteral("Order"));
    TranslateText(funkciaLbl, form, QStringLiteral("Function"));
    TranslateText(derivaciaLbl, form, QStringLiteral("Derivative"));
    TranslateText(vypocetBtn, QStringLiteral("Common"), QStringLiteral("Calculate"));
    m_model.ErrorText = LanguageText(form, QStringLiteral("Error"), m_model.ErrorText);
    FitButton(vypocetBtn);
}
