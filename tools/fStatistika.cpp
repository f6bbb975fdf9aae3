#include "fStatistika.h"

#include "uDisk.h"
#include "uSpolocneOkna.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit *MakeResultEdit(QWidget *parent, const char *name) {
    QLineEdit *edit = MakeReadOnlyEdit(parent, name);
    edit->setMinimumWidth(96);
    return edit;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text) {
    return Named(new QPushButton(text, parent), name);
}

} // namespace

TstatistikaFrm::TstatistikaFrm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("statistikaFrm"));
    setWindowTitle(QStringLiteral("Štatistika"));

    hodnotyVle = new QTableView(this);
    hodnotyVle->setObjectName(QStringLiteral("hodnotyVle"));
    hodnotyVle->setModel(&m_statistika);
    hodnotyVle->setItemDelegate(new TDigitKeyDelegate(true, hodnotyVle));
    hodnotyVle->setEditTriggers(QAbstractItemView::AllEditTriggers);
    hodnotyVle->setSelectionBehavior(QAbstractItemView::SelectItems);
    hodnotyVle->setSelectionMode(QAbstractItemView::SingleSelection);
    hodnotyVle->setTabKeyNavigation(true);
    hodnotyVle->verticalHeader()->hide();
    hodnotyVle->verticalHeader()->setDefaultSectionSize(hodnotyVle->fontMetrics().height() + 8);
    hodnotyVle->horizontalHeader()->setDefaultSectionSize(57);
    hodnotyVle->horizontalHeader()->setStretchLastSection(true);
    hodnotyVle->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    hodnotyVle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    hodnotyVle->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    hodnotyVle->setFixedWidth(57 + 57 + hodnotyVle->verticalScrollBar()->sizeHint().width() +
                              2 * hodnotyVle->frameWidth());
    hodnotyVle->installEventFilter(this);
    // Keys typed on a cell that is not being edited open its editor with the
    // key; the translation applies to those too.
    InstallDigitKeyTranslation(hodnotyVle, true);

    novyBtn = MakeButton(this, "novyBtn", QStringLiteral("Pridať"));
    zmazatBtn = MakeButton(this, "zmazatBtn", QStringLiteral("Odstrániť"));
    zmazatVsetkoBtn = MakeButton(this, "zmazatVsetkoBtn", QStringLiteral("Odstrániť všetko"));
    vypocetBtn = MakeButton(this, "vypocetBtn", QStringLiteral("Výpočet"));
    SetBold(vypocetBtn);

    statistikaGbx = new QGroupBox(QStringLiteral("Štatistika"), this);
    statistikaGbx->setObjectName(QStringLiteral("statistikaGbx"));
    pocetLbl = MakeLabel(statistikaGbx, "pocetLbl", QStringLiteral("Počet"));
    sucetLbl = MakeLabel(statistikaGbx, "sucetLbl", QStringLiteral("Súčet"));
    sucinLbl = MakeLabel(statistikaGbx, "sucinLbl", QStringLiteral("Súčin"));
    APriemerLbl = MakeLabel(statistikaGbx, "APriemerLbl", QStringLiteral("Aritmetický priemer"));
    strednaHodnotaLbl = MakeLabel(statistikaGbx, "strednaHodnotaLbl", QStringLiteral("Stredná hodnota"));
    vazenyPriemerLbl = MakeLabel(statistikaGbx, "vazenyPriemerLbl", QStringLiteral("Vážený priemer"));
    rozptylLbl = MakeLabel(statistikaGbx, "rozptylLbl", QStringLiteral("Rozptyl"));
    odchylkaLbl = MakeLabel(statistikaGbx, "odchylkaLbl", QStringLiteral("Smerodajná odchýlka"));
    medianLbl = MakeLabel(statistikaGbx, "medianLbl", QStringLiteral("Medián"));
    pocetEdt = MakeResultEdit(statistikaGbx, "pocetEdt");
    sucetEdt = MakeResultEdit(statistikaGbx, "sucetEdt");
    sucinEdt = MakeResultEdit(statistikaGbx, "sucinEdt");
    APriemerEdt = MakeResultEdit(statistikaGbx, "APriemerEdt");
    strednaHodnotaEdt = MakeResultEdit(statistikaGbx, "strednaHodnotaEdt");
    rozptylEdt = MakeResultEdit(statistikaGbx, "rozptylEdt");
    odchylkaEdt = MakeResultEdit(statistikaGbx, "odchylkaEdt");
    medianEdt = MakeResultEdit(statistikaGbx, "medianEdt");

    // Name, symbol and field in three columns; the expected value takes two
    // lines of names ("Stredná hodnota /" over "Vážený priemer").
    auto *grid = new QGridLayout(statistikaGbx);
    grid->setVerticalSpacing(4);
    int row = 0;
    const auto addRow = [&](QLabel *name, const char *symbol, QLineEdit *edit) {
        grid->addWidget(name, row, 0);
        if (symbol)
            grid->addWidget(MakeLabel(statistikaGbx, nullptr, QString::fromUtf8(symbol)), row, 1, Qt::AlignRight);
        grid->addWidget(edit, row, 2);
        ++row;
    };
    addRow(pocetLbl, "n =", pocetEdt);
    addRow(sucetLbl, nullptr, sucetEdt);
    addRow(sucinLbl, nullptr, sucinEdt);
    addRow(APriemerLbl, nullptr, APriemerEdt);
    auto *expected = new QHBoxLayout;
    expected->setSpacing(3);
    expected->addWidget(strednaHodnotaLbl);
    expected->addWidget(MakeLabel(statistikaGbx, nullptr, QStringLiteral("/")));
    expected->addStretch();
    grid->addLayout(expected, row, 0);
    grid->addWidget(vazenyPriemerLbl, row + 1, 0);
    grid->addWidget(MakeLabel(statistikaGbx, nullptr, QStringLiteral("E(x) =")), row, 1, 2, 1, Qt::AlignRight);
    grid->addWidget(strednaHodnotaEdt, row, 2, 2, 1, Qt::AlignVCenter);
    row += 2;
    addRow(rozptylLbl, "D(x) =", rozptylEdt);
    addRow(odchylkaLbl, "s =", odchylkaEdt);
    addRow(medianLbl, nullptr, medianEdt);
    grid->setColumnStretch(2, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(hodnotyVle, 1);
    left->addWidget(novyBtn);
    left->addWidget(zmazatBtn);
    left->addWidget(zmazatVsetkoBtn);
    auto *calculate = new QHBoxLayout;
    calculate->addStretch();
    calculate->addWidget(vypocetBtn);
    auto *right = new QVBoxLayout;
    right->addWidget(statistikaGbx);
    right->addStretch();
    right->addLayout(calculate);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    setTabOrder(hodnotyVle, novyBtn);
    setTabOrder(novyBtn, zmazatBtn);
    setTabOrder(zmazatBtn, zmazatVsetkoBtn);
    setTabOrder(zmazatVsetkoBtn, vypocetBtn);

    connect(novyBtn, &QPushButton::clicked, this, &TstatistikaFrm::novyBtnClick);
    connect(zmazatBtn, &QPushButton::clicked, this, &TstatistikaFrm::zmazatBtnClick);
    connect(zmazatVsetkoBtn, &QPushButton::clicked, this, &TstatistikaFrm::zmazatVsetkoBtnClick);
    connect(vypocetBtn, &QPushButton::clicked, this, &TstatistikaFrm::vypocetBtnClick);

    ApplyLanguage();
    resize(std::max(400, sizeHint().width()), std::max(293, sizeHint().height()));
    CentreOnScreen(this);
}

void TstatistikaFrm::CommitOpenEditor() {
    static_cast<TDigitKeyDelegate *>(hodnotyVle->itemDelegate())->CommitOpenEditor();
}

void TstatistikaFrm::novyBtnClick() {
    CommitOpenEditor();
    const int row = m_statistika.AppendRow(QStringLiteral(" "), QStringLiteral("1"));
    hodnotyVle->setFocus();
    hodnotyVle->setCurrentIndex(m_statistika.index(row, TStatistika::ColumnX));
    hodnotyVle->scrollTo(hodnotyVle->currentIndex());
}

void TstatistikaFrm::zmazatBtnClick() {
    CommitOpenEditor();
    m_statistika.DeleteRowAt(hodnotyVle->currentIndex().row());
    hodnotyVle->setFocus();
}

void TstatistikaFrm::zmazatVsetkoBtnClick() { m_statistika.DeleteAll(); }

void TstatistikaFrm::vypocetBtnClick() {
    CommitOpenEditor();
    const TStatistika::TVystup out = m_statistika.Vypocet();
    const TStatistika::TMessages &m = m_statistika.Messages;
    switch (out.Stav) {
    case TStatistikaStav::Ok: break;
    case TStatistikaStav::IncorrectValue:
        hodnotyVle->setCurrentIndex(m_statistika.index(out.Row, out.Column));
        hodnotyVle->scrollTo(hodnotyVle->currentIndex());
        ShowWarningBox(m.InputError, m.IncorrectValue, this);
        hodnotyVle->setFocus();
        return;
    case TStatistikaStav::EmptyList:
    case TStatistikaStav::ZeroWeight:
        ShowWarningBox(m.InputError, out.Stav == TStatistikaStav::EmptyList ? m.EmptyList : m.ZeroWeight, this);
        hodnotyVle->setFocus();
        return;
    }
    const QStringList texts = m_statistika.Texty(out.Udaje);
    QLineEdit *edits[] = {pocetEdt,          sucetEdt,   sucinEdt,    APriemerEdt,
                          strednaHodnotaEdt, rozptylEdt, odchylkaEdt, medianEdt};
    for (int i = 0; i < 8; ++i) {
        edits[i]->setText(texts.at(i));
        edits[i]->setCursorPosition(0);
    }
}

bool TstatistikaFrm::eventFilter(QObject *watched, QEvent *event) {
    // The grid adds a row with Insert (before the current one) and with the
    // Down key on a filled last row, and deletes one with Ctrl+Delete.
    if (watched == hodnotyVle && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int row = hodnotyVle->currentIndex().row();
        const int column = std::max(hodnotyVle->currentIndex().column(), 0);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            const int at = row < 0 ? 0 : row;
            m_statistika.InsertRowAt(at);
            hodnotyVle->setCurrentIndex(m_statistika.index(at, column));
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier)) {
            m_statistika.DeleteRowAt(row);
            return true;
        }
        if (key->key() == Qt::Key_Down && row == m_statistika.Count() - 1) {
            const bool filled =
                row < 0 || !m_statistika.Row(row).X.trimmed().isEmpty() || !m_statistika.Row(row).Y.trimmed().isEmpty();
            if (filled) {
                m_statistika.AppendRow(QString(), QString());
                hodnotyVle->setCurrentIndex(m_statistika.index(row + 1, column));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TstatistikaFrm::ApplyLanguage() {
    // A key missing from the file gives the built-in message.
    m_statistika.Messages = TStatistika::TMessages();
    if (!LanguageIni())
        return;
    const QString common = QStringLiteral("Common");
    const QString form = QStringLiteral("Statistics");
    TStatistika::TMessages &m = m_statistika.Messages;
    m.InputError = LanguageText(common, QStringLiteral("InputError"), m.InputError);
    m.IncorrectValue = LanguageText(common, QStringLiteral("IncorrectValue"), m.IncorrectValue);
    m.EmptyList = LanguageText(form, QStringLiteral("EmptyList"), m.EmptyList);
    m.ZeroWeight = LanguageText(form, QStringLiteral("ZeroWeight"), m.ZeroWeight);
    m.OutOfRange = LanguageText(form, QStringLiteral("OutOfRange"), m.OutOfRange);
    TranslateText(vypocetBtn, common, QStringLiteral("Calculate"));
    TranslateText(novyBtn, common, QStringLiteral("Add"));
    TranslateText(zmazatBtn, common, QStringLiteral("Remove"));
    TranslateText(zmazatVsetkoBtn, common, QStringLiteral("RemoveAll"));
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    statistikaGbx->setTitle(LanguageText(form, QStringLiteral("Caption"), statistikaGbx->title()));
    TranslateText(pocetLbl, form, QStringLiteral("Count"));
    TranslateText(sucetLbl, form, QStringLiteral("Sum"));
    TranslateText(sucinLbl, form, QStringLiteral("Product"));
    TranslateText(APriemerLbl, form, QStringLiteral("ArithmeticMean"));
    TranslateText(strednaHodnotaLbl, form, QStringLiteral("ExpectedValue"));
    TranslateText(vazenyPriemerLbl, form, QStringLiteral("WeightedMean"));
    TranslateText(rozptylLbl, form, QStringLiteral("Dispersion"));
    TranslateText(odchylkaLbl, form, QStringLiteral("StandardDeviation"));
    TranslateText(medianLbl, form, QStringLiteral("Median"));
}
