#include "fSuma.h"

#include "uCeleCisla.h"
#include "uDisk.h"
#include "uMagneticForm.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString Sigma = QStringLiteral("Σ");
const QString Pi = QStringLiteral("Π");

// The hourglass from its creation to its end, whatever way the end comes.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

QLineEdit *MakeEdit(QWidget *parent, const char *name, const QString &text, int maxLength) {
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAlignment(Qt::AlignCenter);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    InstallEditClipboardKeys(edit);
    return edit;
}

QFont PixelFont(const QFont &base, int pixels) {
    QFont f = base;
    f.setPixelSize(pixels);
    return f;
}

} // namespace

TsumaFrm::TsumaFrm(TMainWindowLink *main, QWidget *parent, TCyklickeVypocty::TPriprava priprava)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_main(main), m_model(std::move(priprava)) {
    setObjectName(QStringLiteral("sumaFrm"));
    setWindowTitle(QStringLiteral("Súčet/súčin radu"));

    const int boundWidth = fontMetrics().horizontalAdvance(QStringLiteral("-00000000")) + 14;
    DoEdt = MakeEdit(this, "DoEdt", QStringLiteral("5"), NajdlhsiaHranica);
    DoEdt->setFixedWidth(boundWidth);
    Label1 = MakeLabel(this, "Label1", Sigma);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(PixelFont(font(), 52));
    premEdt = MakeEdit(this, "premEdt", QStringLiteral("n"), 0);
    premEdt->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("nnnn")) + 12);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("="));
    OdEdt = MakeEdit(this, "OdEdt", QStringLiteral("0"), NajdlhsiaHranica);
    OdEdt->setFixedWidth(boundWidth);
    funkciaLbl = MakeLabel(this, "funkciaLbl", QStringLiteral("0"));
    funkciaLbl->setFont(PixelFont(font(), 13));
    // A long expression is cut at the window's edge rather than widening it.
    funkciaLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    funkciaLbl->setMinimumWidth(40);
    RadioButton1 = new QRadioButton(Sigma, this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(Pi, this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    for (QRadioButton *b : {RadioButton1, RadioButton2})
        b->setFont(PixelFont(font(), 15));
    vypocetBtn = new QPushButton(QStringLiteral("Počítať"), this);
    vypocetBtn->setObjectName(QStringLiteral("vypocetBtn"));
    vypocetBtn->setDefault(true);

    InstallWholeNumberKeyFilter(DoEdt, true);
    InstallWholeNumberKeyFilter(OdEdt, true);
    for (QLineEdit *edit : {premEdt, OdEdt, DoEdt})
        connect(edit, &QLineEdit::textChanged, edit, [edit] { edit->setStyleSheet(QString()); });

    // The sign with the upper bound above it and "index = lower bound"
    // below it, then the expression, then the choice and the button.
    auto *sign = new QGridLayout;
    sign->setVerticalSpacing(0);
    sign->addWidget(DoEdt, 0, 0, 1, 3, Qt::AlignCenter);
    sign->addWidget(Label1, 1, 0, 1, 3, Qt::AlignCenter);
    sign->addWidget(premEdt, 2, 0);
    sign->addWidget(Label2, 2, 1);
    sign->addWidget(OdEdt, 2, 2);
    auto *choice = new QVBoxLayout;
    choice->addWidget(RadioButton1);
    choice->addWidget(RadioButton2);
    choice->addStretch();
    choice->addWidget(vypocetBtn);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(sign);
    layout->addSpacing(6);
    layout->addWidget(funkciaLbl, 1);
    layout->addSpacing(6);
    layout->addLayout(choice);

    setTabOrder(DoEdt, premEdt);
    setTabOrder(premEdt, OdEdt);
    setTabOrder(OdEdt, RadioButton1);
    setTabOrder(RadioButton1, vypocetBtn);

    connect(RadioButton1, &QRadioButton::clicked, this, &TsumaFrm::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TsumaFrm::RadioButton2Click);
    connect(vypocetBtn, &QPushButton::clicked, this, &TsumaFrm::vypocetBtnClick);

    FitButton(vypocetBtn);
    ApplyLanguage();
    setMinimumWidth(std::max(255, minimumSizeHint().width()));
    resize(std::max(318, minimumWidth()), sizeHint().height());
    CentreOnScreen(this);
}

void TsumaFrm::SetFunction(const QString &text) {
    funkciaLbl->setText(text);
    // The window grows to show the expression whole, up to half the screen.
    layout()->activate();
    const int missing = funkciaLbl->fontMetrics().horizontalAdvance(text) + 4 - funkciaLbl->width();
    if (missing > 0)
        resize(std::min(width() + missing, std::max(width(), PrimaryScreenSize().width() / 2)), height());
}

void TsumaFrm::RadioButton1Click() { Label1->setText(Sigma); }

void TsumaFrm::RadioButton2Click() { Label1->setText(Pi); }

void TsumaFrm::MarkRefused(QLineEdit *edit) {
    edit->setFocus();
    edit->selectAll();
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffc8c8; }"));
}

void TsumaFrm::vypocetBtnClick() {
    if (!m_main)
        return;
    using TKrok = TCyklickeVypocty::TKrok;
    const TCyklickeVypocty::TVstup in{funkciaLbl->text(), premEdt->text(), OdEdt->text(), DoEdt->text(),
                                      RadioButton2->isChecked()};
    TCyklickeVypocty::TVystup out;
    try {
        out = m_model.Priprav(in, *m_main, this);
    } catch (...) {
        out.Krok = TKrok::Chyba;
        out.Error = TChyba();
        out.Error.Set(TErrorCode::UnknownFailure);
    }
    if (out.Krok == TKrok::Pocitaj) {
        const TWaitCursor wait;
        repaint();
        out = m_model.Pocitaj(in, out.Od, out.Do);
    }
    switch (out.Krok) {
    case TKrok::Vysledok:
        m_main->TakeResult(out.Value);
        hide();
        break;
    case TKrok::ChybajuHodnoty:
        m_main->ShowError(out.Error);
        m_main->ShowVariablesWindow(in.Function, in.Index);
        hide();
        break;
    case TKrok::Chyba:
        m_main->ShowError(out.Error);
        hide();
        break;
    case TKrok::Zastavene:
    case TKrok::Pocitaj:
        if (out.Pole != TCyklickeVypocty::ZiadnePole) {
            QLineEdit *fields[] = {premEdt, OdEdt, DoEdt};
            MarkRefused(fields[out.Pole]);
        }
        break;
    }
}

void TsumaFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("Sum");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(vypocetBtn, QStringLiteral("Common"), QStringLiteral("Calculate"));
    TCyklickeVypocty::TMessages &m = m_model.Messages;
    m.DifficultCalculationCaption =
        LanguageText(form, QStringLiteral("DifficultCalculationCaption"), m.DifficultCalculationCaption);
    m.DifficultCalculation = LanguageText(form, QStringLiteral("DifficultCalculation"), m.DifficultCalculation);
    m.TooDifficultCalculation =
        LanguageText(form, QStringLiteral("TooDifficultCalculation"), m.TooDifficultCalculation);
    m.InputError = LanguageText(QStringLiteral("Common"), QStringLiteral("InputError"), m.InputError);
    m.InvalidBound = LanguageText(form, QStringLiteral("InvalidBound"), m.InvalidBound);
    m.InvalidVariable = LanguageText(form, QStringLiteral("InvalidVariable"), m.InvalidVariable);
    FitButton(vypocetBtn);
}
