#include "fPremenne.h"

#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Cell editors translate the number row of the Slovak keyboard into digits.
class TDigitKeyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        InstallDigitKeyTranslation(editor, false);
        m_editor = editor;
        return editor;
    }
    // Hands the text of an open cell editor to the model.
    void CommitOpenEditor() {
        // A closed editor is hidden until it is deleted.
        if (m_editor && !m_editor->isHidden())
            emit commitData(m_editor);
    }

private:
    mutable QPointer<QWidget> m_editor;
};

} // namespace

TpremenneFrm::TpremenneFrm(TMainWindowLink *main, QWidget *parent) : TMagneticForm(parent), m_main(main) {
    setObjectName(QStringLiteral("premenneFrm"));
    setWindowTitle(QStringLiteral("Vlastné premenné"));
    setMinimumSize(305, 150);
    resize(297, 198);

    ValueListEditor1 = new QTableView(this);
    ValueListEditor1->setObjectName(QStringLiteral("ValueListEditor1"));
    ValueListEditor1->setModel(&m_premenne);
    ValueListEditor1->setItemDelegate(new TDigitKeyDelegate(ValueListEditor1));
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
    QFont bold = Button3->font();
    bold.setBold(true);
    Button3->setFont(bold);
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
    const QSize screen = PrimaryScreenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    QPoint beside;
    if (Master() && PlaceBeside(Master()->frameGeometry(), frameGeometry().size(), screen.width(), beside))
        move(beside);
    ApplyLanguage();
}

TpremenneFrm::~TpremenneFrm() = default;

void TpremenneFrm::FocusEditor() {
    ValueListEditor1->setFocus();
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
    if (watched == ValueListEditor1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int row = ValueListEditor1->currentIndex().row();
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            m_premenne.InsertRowAt(row < 0 ? 0 : row);
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier)) {
            m_premenne.DeleteRowAt(row);
            return true;
        }
        if (key->key() == Qt::Key_Down && row == m_premenne.Count() - 1 && row >= 0) {
            const TPremenne::TRow &last = m_premenne.Row(row);
            if (!last.Name.isEmpty() || !last.Value.isEmpty()) {
                m_premenne.AppendRow();
                ValueListEditor1->setCurrentIndex(m_premenne.index(row + 1, ValueListEditor1->currentIndex().column()));
                return true;
            }
        }
    }
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
