#include "fKonstanty.h"

#include "fUpravyKonstant.h"
#include "uAppContext.h"
#include "uChyby.h"
#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"
#include "uTextCodec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Column widths and their minima: the name takes what the others leave.
// A font wider than the one the widths were made for widens the symbol, the
// value and the unit so that their longest texts still show whole.
constexpr int kSymbolWidth = 50;
constexpr int kNameMinimum = 150;
constexpr int kValueWidth = 135;
constexpr int kValueMinimum = 100;
constexpr int kUnitWidth = 70;

int TextWidth(const QFontMetrics &metrics, const QString &longest) {
    return metrics.horizontalAdvance(longest) + 2 * metrics.horizontalAdvance(QLatin1Char(' ')) + 6;
}

} // namespace

TkonstantyFrm::TkonstantyFrm(TMainWindowLink *main, QWidget *parent) : TMagneticForm(parent), m_main(main) {
    setObjectName(QStringLiteral("konstantyFrm"));
    setWindowTitle(QStringLiteral("Konštanty"));

    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(&m_konstanty);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 6);
    // The selection stays visible while the list has no focus.
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(palette);
    QHeaderView *header = ListView1->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(kSymbolWidth);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    const QFontMetrics metrics = ListView1->fontMetrics();
    const int widths[] = {qMax(kSymbolWidth, TextWidth(metrics, QStringLiteral("$wwwww"))), kNameMinimum,
                          qMax(kValueWidth, TextWidth(metrics, QStringLiteral("-0,00000000000000000"))),
                          qMax(kUnitWidth, TextWidth(metrics, QStringLiteral("mmmmmmmmmm")))};
    header->resizeSection(0, widths[0]);
    header->resizeSection(2, widths[2]);
    header->resizeSection(3, widths[3]);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { KeepColumnMinimum(column, width); });

    BtnPouzit = new QPushButton(QStringLiteral("Použiť"), this);
    BtnPouzit->setObjectName(QStringLiteral("BtnPouzit"));
    BtnNova = new QPushButton(QStringLiteral("Pridať / upraviť"), this);
    BtnNova->setObjectName(QStringLiteral("BtnNova"));
    BtnOdstranit = new QPushButton(QStringLiteral("Odstrániť"), this);
    BtnOdstranit->setObjectName(QStringLiteral("BtnOdstranit"));
    BtnZavriet = new QPushButton(QStringLiteral("Zatvoriť"), this);
    BtnZavriet->setObjectName(QStringLiteral("BtnZavriet"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtnPouzit);
    buttons->addWidget(BtnNova);
    buttons->addWidget(BtnOdstranit);
    buttons->addStretch();
    buttons->addWidget(BtnZavriet);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);

    // Room for every column at its width, the name at its minimum.
    const int columns = widths[0] + widths[1] + widths[2] + widths[3];
    const int frame = 2 * ListView1->frameWidth() + ListView1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QMargins margins = layout->contentsMargins();
    setMinimumSize(columns + frame + margins.left() + margins.right(), 180);
    resize(minimumWidth() + 40, 260);

    connect(ListView1, &QTableView::doubleClicked, this, [this] { BtnPouzit->click(); });
    connect(BtnPouzit, &QPushButton::clicked, this, &TkonstantyFrm::BtnPouzitClick);
    connect(BtnNova, &QPushButton::clicked, this, &TkonstantyFrm::BtnNovaClick);
    connect(BtnOdstranit, &QPushButton::clicked, this, &TkonstantyFrm::BtnOdstranitClick);
    connect(BtnZavriet, &QPushButton::clicked, this, &QWidget::close);

    // FormCreate: snapping, the language (which loads the file).
    SetMaster(m_main ? m_main->Window() : nullptr);
    SetSnapDistance(5);
    CentreOnScreen(this);
    ApplyLanguage();
}

TkonstantyFrm::~TkonstantyFrm() = default;

void TkonstantyFrm::SetEditor(TuprKonstFrm *editor) { m_editor = editor; }

void TkonstantyFrm::KeepColumnMinimum(int column, int width) {
    const int minimum = column == 2 ? kValueMinimum : column == 3 ? kUnitWidth : kSymbolWidth;
    if (column != 1 && width < minimum)
        ListView1->horizontalHeader()->resizeSection(column, minimum);
}

int TkonstantyFrm::SelectedRow() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TkonstantyFrm::BtnPouzitClick() {
    const int row = SelectedRow();
    if (row >= 0 && m_main) {
        m_main->InsertIntoInput(m_konstanty.Caption(row));
        // The expression goes on in the main window, not in this list.
        m_main->ActivateInput();
    }
}

void TkonstantyFrm::BtnNovaClick() {
    if (!m_editor)
        return;
    const int selected = SelectedRow();
    if (selected >= 0)
        m_editor->SetConstant(m_konstanty.Row(selected));
    if (m_editor->exec() != QDialog::Accepted)
        return;
    const TKonstanta constant = m_editor->Constant();
    const int row = m_konstanty.AddOrModify(constant, [this, &constant](int) {
        return AppContext().Prompter().Show(this, TMessageKind::Question, m_rewriteCaption,
                                            FillPlaceholder(m_rewriteText, QLatin1String("#1"), constant.Symbol)) ==
               TAnswer::Yes;
    });
    if (row >= 0)
        ListView1->selectRow(row);
}

void TkonstantyFrm::BtnOdstranitClick() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    const TAnswer answer =
        AppContext().Prompter().Show(this, TMessageKind::Question, m_deleteCaption,
                                     FillPlaceholder(m_deleteText, QLatin1String("#1"), m_konstanty.Caption(row)));
    if (answer == TAnswer::Yes)
        m_konstanty.Delete(row);
}

void TkonstantyFrm::NacitajKonstanty() { m_konstanty.Load(ProgramPath(m_constantFile), m_piName, m_eName); }

bool TkonstantyFrm::SaveConstants(QString *error) {
    const TWriteResult result = m_konstanty.SaveIfModified(ProgramPath(m_constantFile));
    if (!result && error)
        *error = result.Error;
    return result.Ok;
}

bool TkonstantyFrm::UlozKonstanty() {
    QString error;
    if (SaveConstants(&error))
        return true;
    ShowWarningBox(QApplication::applicationName(),
                   QStringLiteral("Cannot create file \"%1\". %2")
                       .arg(QDir::toNativeSeparators(ProgramPath(m_constantFile)), error),
                   this);
    return false;
}

void TkonstantyFrm::closeEvent(QCloseEvent *event) {
    UlozKonstanty();
    TMagneticForm::closeEvent(event);
}

void TkonstantyFrm::ApplyLanguage() {
    // The reload below would drop changes not yet written; when they cannot
    // be written either, the list stays as it is instead.
    const bool saved = UlozKonstanty();

    m_deleteCaption = QStringLiteral("Odstránenie konštanty");
    m_deleteText = QStringLiteral("Naozaj chcete odstrániť túto konštantu ?");
    m_rewriteCaption = QStringLiteral("Prepísanie konštanty");
    m_rewriteText = QStringLiteral("Naozaj chcete prepísať konštantu #1 ?");
    m_piName = QStringLiteral("Ludolfovo číslo");
    m_eName = QStringLiteral("Eulerovo číslo");
    m_constantFile = QStringLiteral("const.dat");
    if (LanguageIni()) {
        const QString form = QStringLiteral("ConstantForm");
        const QString common = QStringLiteral("Common");
        TranslateWindowTitle(this, form, QStringLiteral("Caption"));
        m_konstanty.SetColumnTitles({LanguageText(form, QStringLiteral("ID"), m_konstanty.ColumnTitle(0)),
                                     LanguageText(form, QStringLiteral("Description"), m_konstanty.ColumnTitle(1)),
                                     LanguageText(common, QStringLiteral("Value"), m_konstanty.ColumnTitle(2)),
                                     LanguageText(form, QStringLiteral("Unit"), m_konstanty.ColumnTitle(3))});
        TranslateText(BtnPouzit, common, QStringLiteral("Use"));
        TranslateText(BtnNova, form, QStringLiteral("AddModify"));
        TranslateText(BtnOdstranit, common, QStringLiteral("Delete"));
        TranslateText(BtnZavriet, common, QStringLiteral("Close"));
        m_deleteCaption = LanguageText(form, QStringLiteral("DeletingConstant"), m_deleteCaption);
        m_deleteText = LanguageText(form, QStringLiteral("ReallyDelete"), m_deleteText);
        m_rewriteCaption = LanguageText(form, QStringLiteral("RewritingConstant"), m_rewriteCaption);
        m_rewriteText = LanguageText(form, QStringLiteral("ReallyRewrite"), m_rewriteText);
        m_piName = LanguageText(form, QStringLiteral("LudolphsNumber"), m_piName);
        m_eName = LanguageText(form, QStringLiteral("EulerNumber"), m_eName);
        m_constantFile =
            SafeConstantFile(LanguageText(QStringLiteral("Addresses"), QStringLiteral("ConstantFile"), m_constantFile));
    }
    if (saved)
        NacitajKonstanty();
}
