#include "fPremenne.h"

#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TpremenneFrm::TpremenneFrm(TMainWindowLink *main, QWidget *parent) : TMagneticForm(parent), m_main(main) {
    setObjectName(QStringLiteral("premenneFrm"));
    setWindowTitle(QStringLiteral("Vlastné premenné"));
    setMinimumSize(305, 150);
    resize(297, 198);

    ValueListEditor1 = new QTableView(this);
    ValueListEditor1->setObjectName(QStringLiteral("ValueListEditor1"));
    ValueListEditor1->setModel(&m_premenne);
    ValueListEditor1->setItemDelegate(new TDigitKeyDelegate(false, ValueListEditor1));
    ValueListEditor1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    ValueListEditor1->setSelectionBehavior(QAbstractItemView::SelectItems);
    ValueListEditor1->setSelectionMode(QAbstractItemView::SingleSelection);
    ValueListEditor1->setTabKeyNavigation(true);
    ValueListEditor1->verticalHeader()->hide();
    ValueListEditor1->verticalHeader()->setDefaultSectionSize(ValueListEditor1->fontMetrics().height() + 8);
    ValueListEditor1->setColumnWidth(0, 131);
    ValueListEditor1->horizontalHeader()->setStretchLastSection(true);
    ValueListEditor1->installEventFilter(this);
    // Keys typed on a cell that is not being edited open its editor with the
    // key; the translation applies to those too.
    InstallDigitKeyTranslation(ValueListEditor1, false);

    Button3 = new QPushButton(QStringLiteral("Počítať"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    SetBold(Button3);
    Button1 = new QPushButton(QStringLiteral("Obnoviť"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Zatvoriť"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ValueListEditor1, 1);
    layout->addLayout(buttons);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, ValueListEditor1);

    connect(Button3, &QPushButton::clicked, this, &TpremenneFrm::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TpremenneFrm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);

    // Creation: snapping, placement, the language.
    SetMaster(m_main ? m_main->Window() : nullptr);
    SetSnapDistance(5);
    CentreOnScreen(this);
    QPoint beside;
    if (Master() && PlaceBeside(Master()->frameGeometry(), frameGeometry().size(), PrimaryScreenSize().width(), beside))
        move(beside);
    ApplyLanguage();
}

TpremenneFrm::~TpremenneFrm() = default;

void TpremenneFrm::FocusEditor(const QStringList &names) {
    ValueListEditor1->setFocus();
    // The value the calculation waits for, so that what is typed cannot land
    // in another variable's row.
    for (const QString &name : names)
        if (const int row = m_premenne.IndexOfName(name); row >= 0 && m_premenne.Row(row).Value.isEmpty()) {
            ValueListEditor1->setCurrentIndex(m_premenne.index(row, 1));
            return;
        }
    if (!ValueListEditor1->currentIndex().isValid() && m_premenne.Count() > 0)
        ValueListEditor1->setCurrentIndex(m_premenne.index(0, 1));
}

void TpremenneFrm::Button1Click() {
    if (m_main)
        m_main->AddMissingVariables(m_main->InputText(), QString());
}

void TpremenneFrm::Button3Click() {
    // A value still in its cell editor counts.
    static_cast<TDigitKeyDelegate *>(ValueListEditor1->itemDelegate())->CommitOpenEditor();
    if (m_main)
        m_main->Calculate();
}

bool TpremenneFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ValueListEditor1 && event->type() == QEvent::KeyPress &&
        HandleValueListKey(ValueListEditor1, m_premenne, static_cast<QKeyEvent *>(event)))
        return true;
    return TMagneticForm::eventFilter(watched, event);
}

void TpremenneFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("VariableForm");
    const QString common = QStringLiteral("Common");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    m_premenne.SetColumnTitles(LanguageText(common, QStringLiteral("Name"), m_premenne.NameTitle()),
                               LanguageText(common, QStringLiteral("Value"), m_premenne.ValueTitle()));
    TranslateText(Button3, common, QStringLiteral("Calculate"));
    TranslateText(Button1, form, QStringLiteral("Refresh"));
    TranslateText(Button2, common, QStringLiteral("Close"));
}
