#include "fPrehliadacVyrazov.h"

#include "dPrehliadacVyrazov.h"
#include "fUpravyKniznice.h"
#include "fUpravyVyrazu.h"
#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uPremenne.h"
#include "uSpolocneOkna.h"

#include <QCloseEvent>
#include <QDrag>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

const QChar kSep = QLatin1Char('|');
const QString kLineBreak = QStringLiteral("\n\r");
const QString kName = QStringLiteral("name");
const QString kVar = QStringLiteral("var");

// The fields of the selected node: read-only, with the edit's own keys.
QLineEdit *MakeInfoEdit(QWidget *parent, const char *name) {
    auto *edit = Named(new QLineEdit(parent), name);
    edit->setReadOnly(true);
    return edit;
}

QPlainTextEdit *MakeMemo(QWidget *parent, const char *name) {
    auto *memo = Named(new QPlainTextEdit(parent), name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return memo;
}

TNodeKind KindOf(const QTreeWidgetItem *item) {
    const TUzolStromu *node = TUzolStromu::Of(item);
    return node ? node->Kind() : OtherKind;
}

// Libraries first, then categories, then expressions; a stable sort keeps
// nodes of one kind in document order.
void SortByKind(QList<QTreeWidgetItem *> &items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const QTreeWidgetItem *a, const QTreeWidgetItem *b) { return KindOf(a) < KindOf(b); });
}

// Puts item among parent's children as if it were inserted at index and
// the children then sorted by kind (they are sorted already).
void InsertSorted(QTreeWidgetItem *parent, QTreeWidgetItem *item, int index) {
    const TNodeKind kind = KindOf(item);
    int at = 0;
    for (int i = 0; i < parent->childCount(); ++i) {
        const TNodeKind k = KindOf(parent->child(i));
        if (k < kind || (k == kind && i < index))
            ++at;
    }
    parent->insertChild(at, item);
}

// A node's caption, with the whole name as its tooltip: a narrow tree
// cuts long names short.
void SetCaption(QTreeWidgetItem *item, const QString &name) {
    item->setText(0, name);
    item->setToolTip(0, name);
}

const QString kDragFormat = QStringLiteral("application/x-tarbelon-library-node");

// The tree: a node is dragged onto another of the same tree, and the
// window decides whether the drop may happen and carries it out.
class TStromVyrazov : public QTreeWidget {
public:
    explicit TStromVyrazov(QWidget *parent) : QTreeWidget(parent) {
        setDragEnabled(true);
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDropIndicatorShown(false);
    }

    std::function<bool(QTreeWidgetItem *dragged, QTreeWidgetItem *target)> AcceptsDrop;
    std::function<void(QTreeWidgetItem *dragged, QTreeWidgetItem *target)> Drop;

protected:
    void mousePressEvent(QMouseEvent *event) override {
        // The drag takes the node under the press, whatever is selected.
        m_pressed = indexAt(event->position().toPoint());
        QTreeWidget::mousePressEvent(event);
    }

    void startDrag(Qt::DropActions) override {
        m_dragged = itemFromIndex(m_pressed);
        if (!m_dragged)
            return;
        auto *data = new QMimeData;
        data->setData(kDragFormat, QByteArray());
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->setPixmap(viewport()->grab(visualItemRect(m_dragged)));
        drag->exec(Qt::MoveAction);
        m_dragged = nullptr;
    }

    void dragEnterEvent(QDragEnterEvent *event) override {
        if (event->source() == this && m_dragged)
            event->acceptProposedAction();
        else
            event->ignore();
    }

    void dragMoveEvent(QDragMoveEvent *event) override {
        QTreeWidget::dragMoveEvent(event); // scrolls near the edges; the verdict is ours
        if (Accepts(event)) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    void dropEvent(QDropEvent *event) override {
        stopAutoScroll();
        setState(NoState);
        viewport()->update();
        if (!Accepts(event)) {
            event->ignore();
            return;
        }
        QTreeWidgetItem *dragged = m_dragged;
        QTreeWidgetItem *target = itemAt(event->position().toPoint());
        m_dragged = nullptr;
        event->setDropAction(Qt::MoveAction);
        event->accept();
        if (Drop)
            Drop(dragged, target);
    }

private:
    bool Accepts(const QDropEvent *event) const {
        return event->source() == this && m_dragged && AcceptsDrop &&
               AcceptsDrop(m_dragged, itemAt(event->position().toPoint()));
    }

    QPersistentModelIndex m_pressed;
    QTreeWidgetItem *m_dragged = nullptr;
};

} // namespace

TPrehliadacVyrazovFrm::TPrehliadacVyrazovFrm(TMainWindowLink *main, QWidget *parent)
    : QWidget(parent, ToolWindowFlags), m_main(main) {
    setObjectName(QStringLiteral("PrehliadacVyrazovFrm"));
    setWindowTitle(QStringLiteral("Expression browser"));
    CreateControls();
    resize(566, 380);
    setMinimumSize(352, 356);
    if (parent) {
        const QRect owner = parent->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
        KeepOnScreen(this);
    }

    ApplyLanguage();
    UpdateToolButtons();
}

TPrehliadacVyrazovFrm::~TPrehliadacVyrazovFrm() {
    // The tree's references must go before the documents they point into.
    ClearTree();
}

void TPrehliadacVyrazovFrm::CreateControls() {
    m_dta = new TPrehliadacVyrazovDta(this);

    // The tree with its hidden tool bar.
    stromPnl = Named(new QWidget(this), "stromPnl");
    ToolBar1 = Named(new QToolBar(stromPnl), "ToolBar1");
    auto toolButton = [this](const char *name, QAction *item) {
        auto *button = Named(new QToolButton(ToolBar1), name);
        button->setIcon(item->icon());
        button->setToolTip(item->text());
        ToolBar1->addWidget(button);
        connect(button, &QToolButton::clicked, item, &QAction::trigger);
        return button;
    };
    newLibraryTBtn = toolButton("newLibraryTBtn", m_dta->novaKniznicaMni);
    newCategoryTbtn = toolButton("newCategoryTbtn", m_dta->novaKategoriaMni);
    newExpressionTBtn = toolButton("newExpressionTBtn", m_dta->novyVyrazMni);
    modifyTBtn = toolButton("modifyTBtn", m_dta->upravitMni);
    deleteTbtn = toolButton("deleteTbtn", m_dta->odstranitMni);
    ToolBar1->hide();

    auto *tree = Named(new TStromVyrazov(stromPnl), "stromVyrazovTrv");
    tree->AcceptsDrop = [this](QTreeWidgetItem *dragged, QTreeWidgetItem *target) {
        return AcceptsDrop(dragged, target);
    };
    tree->Drop = [this](QTreeWidgetItem *dragged, QTreeWidgetItem *target) { DropNode(dragged, target); };
    stromVyrazovTrv = tree;
    stromVyrazovTrv->setHeaderHidden(true);
    stromVyrazovTrv->setColumnCount(1);
    stromVyrazovTrv->setIndentation(19);
    stromVyrazovTrv->setSelectionMode(QAbstractItemView::SingleSelection);
    stromVyrazovTrv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stromVyrazovTrv->setContextMenuPolicy(Qt::CustomContextMenu);
    stromVyrazovTrv->installEventFilter(this);
    auto *treeLayout = new QVBoxLayout(stromPnl);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(0);
    treeLayout->addWidget(ToolBar1);
    treeLayout->addWidget(stromVyrazovTrv);

    // The expression's details.
    vyrazPnl = Named(new QWidget(this), "vyrazPnl");
    nazovLbl = MakeLabel(vyrazPnl, "nazovLbl", QStringLiteral("Name:"));
    nazovEdt = MakeInfoEdit(vyrazPnl, "nazovEdt");
    vyrazLbl = MakeLabel(vyrazPnl, "vyrazLbl", QStringLiteral("Expression:"));
    vyrazEdt = MakeInfoEdit(vyrazPnl, "vyrazEdt");
    QFont big = vyrazEdt->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    vyrazEdt->setFont(big);
    popisLbl = MakeLabel(vyrazPnl, "popisLbl", QStringLiteral("Description:"));
    PopisMmo = MakeMemo(vyrazPnl, "PopisMmo");
    premenneLbl = MakeLabel(vyrazPnl, "premenneLbl", QStringLiteral("Variables:"));
    m_variables = new TPremenne(this);
    m_variables->SetColumnTitles(QStringLiteral("Name"), QStringLiteral("Description"));
    m_variables->SetLines({});
    premenneVle = Named(new QTableView(vyrazPnl), "premenneVle");
    premenneVle->setModel(m_variables);
    premenneVle->setEditTriggers(QAbstractItemView::NoEditTriggers);
    premenneVle->setSelectionBehavior(QAbstractItemView::SelectRows);
    premenneVle->setSelectionMode(QAbstractItemView::SingleSelection);
    premenneVle->verticalHeader()->hide();
    premenneVle->verticalHeader()->setDefaultSectionSize(premenneVle->fontMetrics().height() + 6);
    premenneVle->horizontalHeader()->setStretchLastSection(true);
    premenneVle->setColumnWidth(0, 80);
    auto *expressionLayout = new QVBoxLayout(vyrazPnl);
    expressionLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w :
         {static_cast<QWidget *>(nazovLbl), static_cast<QWidget *>(nazovEdt), static_cast<QWidget *>(vyrazLbl),
          static_cast<QWidget *>(vyrazEdt), static_cast<QWidget *>(popisLbl)})
        expressionLayout->addWidget(w);
    expressionLayout->addWidget(PopisMmo, 2);
    expressionLayout->addWidget(premenneLbl);
    expressionLayout->addWidget(premenneVle, 3);

    // The library's details.
    kniznicaPnl = Named(new QWidget(this), "kniznicaPnl");
    nazovKnizniceNadpisLbl = MakeLabel(kniznicaPnl, "nazovKnizniceNadpisLbl", QStringLiteral("Library:"));
    nazovKnizniceEdt = MakeInfoEdit(kniznicaPnl, "nazovKnizniceEdt");
    nazovSuboruNadpisLbl = MakeLabel(kniznicaPnl, "nazovSuboruNadpisLbl", QStringLiteral("File name:"));
    suborEdt = MakeInfoEdit(kniznicaPnl, "suborEdt");
    verziaNadpisLbl = MakeLabel(kniznicaPnl, "verziaNadpisLbl", QStringLiteral("Version:"));
    verziaLbl = MakeLabel(kniznicaPnl, "verziaLbl");
    autorNadpisLbl = MakeLabel(kniznicaPnl, "autorNadpisLbl", QStringLiteral("Author"));
    autorLbl = MakeLabel(kniznicaPnl, "autorLbl");
    webNadpisLbl = MakeLabel(kniznicaPnl, "webNadpisLbl", QStringLiteral("Web:"));
    webLbl = Named(new TLinkLabel(kniznicaPnl), "webLbl");
    emailNadpisLbl = MakeLabel(kniznicaPnl, "emailNadpisLbl", QStringLiteral("Email:"));
    emailLbl = Named(new TLinkLabel(kniznicaPnl), "emailLbl");
    popisKnizniceNadpisLbl = MakeLabel(kniznicaPnl, "popisKnizniceNadpisLbl", QStringLiteral("Description:"));
    popisKnizniceMmo = MakeMemo(kniznicaPnl, "popisKnizniceMmo");
    auto *header = new QFormLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addRow(nazovKnizniceNadpisLbl, nazovKnizniceEdt);
    header->addRow(nazovSuboruNadpisLbl, suborEdt);
    header->addRow(verziaNadpisLbl, verziaLbl);
    header->addRow(autorNadpisLbl, autorLbl);
    header->addRow(webNadpisLbl, webLbl);
    header->addRow(emailNadpisLbl, emailLbl);
    auto *libraryLayout = new QVBoxLayout(kniznicaPnl);
    libraryLayout->setContentsMargins(0, 0, 0, 0);
    libraryLayout->addLayout(header);
    libraryLayout->addWidget(popisKnizniceNadpisLbl);
    libraryLayout->addWidget(popisKnizniceMmo, 1);

    auto *details = new QWidget(this);
    auto *detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(4, 0, 0, 0);
    detailsLayout->addWidget(kniznicaPnl);
    detailsLayout->addWidget(vyrazPnl);
    vyrazPnl->hide();

    Splitter1 = Named(new QSplitter(Qt::Horizontal, this), "Splitter1");
    Splitter1->addWidget(stromPnl);
    Splitter1->addWidget(details);
    Splitter1->setChildrenCollapsible(false);
    stromPnl->setMinimumWidth(170);
    details->setMinimumWidth(170);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({246, 320});

    // The buttons.
    tlacitkaPnl = Named(new QWidget(this), "tlacitkaPnl");
    pouzitBtn = Named(new QPushButton(QStringLiteral("Use"), tlacitkaPnl), "pouzitBtn");
    SetBold(pouzitBtn);
    pouzitBtn->setEnabled(false);
    zatvoritBtn = Named(new QPushButton(QStringLiteral("Close"), tlacitkaPnl), "zatvoritBtn");
    Button1 = Named(new QPushButton(QStringLiteral("Nacitaj"), tlacitkaPnl), "Button1");
    Button1->hide();
    pouzitBtn->setMinimumWidth(80);
    zatvoritBtn->setMinimumWidth(80);
    auto *buttons = new QHBoxLayout(tlacitkaPnl);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(pouzitBtn);
    buttons->addWidget(zatvoritBtn);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(tlacitkaPnl);

    connect(stromVyrazovTrv, &QTreeWidget::itemSelectionChanged, this, &TPrehliadacVyrazovFrm::SelectionChange);
    connect(stromVyrazovTrv, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (KindOf(SelectedItem()) == ExpressionKind)
            UseSelectedExpression();
    });
    connect(stromVyrazovTrv, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_dta->stromVyrazovPmn->popup(stromVyrazovTrv->viewport()->mapToGlobal(pos));
    });
    // The items are enabled as the menu opens, however it is opened.
    connect(m_dta->stromVyrazovPmn, &QMenu::aboutToShow, this, &TPrehliadacVyrazovFrm::PopupEnabling);
    connect(pouzitBtn, &QPushButton::clicked, this, &TPrehliadacVyrazovFrm::UseSelectedExpression);
    connect(zatvoritBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(Button1, &QPushButton::clicked, this, &TPrehliadacVyrazovFrm::LoadLibraries);
    connect(webLbl, &TLinkLabel::clicked, this, [this] { OpenWebLink(webLbl); });
    connect(emailLbl, &TLinkLabel::clicked, this, [this] { OpenMailLink(emailLbl); });
    connect(m_dta->reloadMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::ReloadLibraries);
    connect(m_dta->saveMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::SaveLibraries);
    connect(m_dta->novaKniznicaMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::NewLibraryClick);
    connect(m_dta->novaKategoriaMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::NewCategory);
    connect(m_dta->novyVyrazMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::NewExpressionClick);
    connect(m_dta->premenovatMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::RenameClick);
    connect(m_dta->odstranitMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::DeleteSelectedItem);
    connect(m_dta->upravitMni, &QAction::triggered, this, &TPrehliadacVyrazovFrm::ModifyClick);

    // In-place renaming: an accepted edit renames the edited node's
    // element; any end of the edit makes the tree read-only again.
    connect(stromVyrazovTrv, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && item == m_editedItem)
            RenameEnd(item);
    });
    connect(stromVyrazovTrv->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (m_editedItem) {
            SetEditable(m_editedItem, false);
            m_editedItem = nullptr;
        }
    });
}

void TPrehliadacVyrazovFrm::SetBuiltInTexts() {
    LibraryPath = QStringLiteral("lib\\");
    SaveChangesCaption = QStringLiteral("Save changes");
    SaveChanges = QStringLiteral("Some libraries have been modified: #1 Save changes?");
    ReallyDeleteCaption = QStringLiteral("Delete item");
    ReallyDelete = QStringLiteral("Really delete selected item?");
    NewCategoryText = QStringLiteral("New category");
    LoadErrorCaption = QStringLiteral("Error while loading libraries");
    LoadError = QStringLiteral("Some files in the library directory could not be loaded:");
    NoLibraries = QStringLiteral("No libraries found in the library folder.");
    ReallyReloadCaption = QStringLiteral("Reload libraries");
    ReallyReload = QStringLiteral("Reloading will cause loss of changes in these modified libraries:#1Really reload?");
    SaveErrorCaption = QStringLiteral("Error while saving libraries");
    SaveError = QStringLiteral("These libraries could not be saved and are still modified:");
}

void TPrehliadacVyrazovFrm::ApplyLanguage() {
    SetBuiltInTexts();
    if (LanguageIni()) {
        const QString browser = QStringLiteral("ExpressionBrowser");
        const QString common = QStringLiteral("Common");
        auto text = [](const QString &section, const char *key, QString &field) {
            field = LanguageText(section, QLatin1String(key), field);
        };
        text(QStringLiteral("Addresses"), "LibraryPath", LibraryPath);
        text(browser, "SaveChangesCaption", SaveChangesCaption);
        text(browser, "SaveChanges", SaveChanges);
        text(browser, "ReallyDeleteCaption", ReallyDeleteCaption);
        text(browser, "ReallyDelete", ReallyDelete);
        text(browser, "NewCategory", NewCategoryText);
        text(browser, "LoadErrorCaption", LoadErrorCaption);
        text(browser, "LoadError", LoadError);
        text(browser, "NoLibraries", NoLibraries);
        text(browser, "ReallyReloadCaption", ReallyReloadCaption);
        text(browser, "ReallyReload", ReallyReload);
        TranslateWindowTitle(this, browser, QStringLiteral("Caption"));
        TranslateText(pouzitBtn, common, QStringLiteral("Use"));
        TranslateText(zatvoritBtn, common, QStringLiteral("Close"));
        TranslateText(nazovKnizniceNadpisLbl, browser, QStringLiteral("Library"));
        TranslateText(nazovSuboruNadpisLbl, browser, QStringLiteral("FileName"));
        TranslateText(verziaNadpisLbl, browser, QStringLiteral("FileVersion"));
        TranslateText(autorNadpisLbl, common, QStringLiteral("Author"));
        TranslateText(webNadpisLbl, common, QStringLiteral("Web"));
        TranslateText(emailNadpisLbl, common, QStringLiteral("Email"));
        TranslateText(popisKnizniceNadpisLbl, browser, QStringLiteral("Description"));
        TranslateText(nazovLbl, browser, QStringLiteral("ExpressionName"));
        TranslateText(vyrazLbl, browser, QStringLiteral("Expression"));
        popisLbl->setText(popisKnizniceNadpisLbl->text());
        TranslateText(premenneLbl, browser, QStringLiteral("Variables"));
        m_variables->SetColumnTitles(
            LanguageText(common, QStringLiteral("Name"), m_variables->NameTitle()),
            LanguageText(browser, QStringLiteral("VariableDescritpion"), m_variables->ValueTitle()));
        // Not among the original keys: the warning of a failed save.
        text(browser, "SaveErrorCaption", SaveErrorCaption);
        text(browser, "SaveError", SaveError);
    }
    m_dta->ApplyLanguage();
    if (m_expressionDialog)
        m_expressionDialog->ApplyLanguage();
    if (m_libraryDialog)
        m_libraryDialog->ApplyLanguage();
    // A new language file may move the library folder.
    if (!m_viewer.AnyModified())
        LoadLibraries();
}

// ---------------------------------------------------------------------------
// Loading and the tree

void TPrehliadacVyrazovFrm::LoadLibraries() {
    ClearTree();
    QString errors;
    m_viewer.LoadFolder(ProgramPath(LibraryPath), errors);
    RebuildTree();
    if (!errors.isEmpty())
        ShowWarningBox(LoadErrorCaption, LoadError + kLineBreak + errors, this);
    else if (stromVyrazovTrv->topLevelItemCount() == 0)
        ShowWarningBox(LoadErrorCaption, NoLibraries, this);
}

void TPrehliadacVyrazovFrm::ClearTree() {
    m_editedItem = nullptr;
    {
        const QSignalBlocker blocker(stromVyrazovTrv);
        stromVyrazovTrv->clear();
    }
    UpdateToolButtons();
}

void TPrehliadacVyrazovFrm::RebuildTree() {
    QList<QTreeWidgetItem *> top;
    for (int i = 0; i < m_viewer.Count(); ++i)
        CollectNodes(m_viewer.Library(i)->GetRoot(), m_viewer.Library(i), true, top);
    SortByKind(top);
    stromVyrazovTrv->addTopLevelItems(top);
}

void TPrehliadacVyrazovFrm::AddLibraryToTree(TKniznicaVyrazov *library) {
    QList<QTreeWidgetItem *> nodes;
    CollectNodes(library->GetRoot(), library, true, nodes);
    QTreeWidgetItem *top = stromVyrazovTrv->invisibleRootItem();
    for (QTreeWidgetItem *node : std::as_const(nodes))
        InsertSorted(top, node, top->childCount());
}

void TPrehliadacVyrazovFrm::CollectNodes(const QDomElement &element, TKniznicaVyrazov *library, bool lookThroughUnnamed,
                                         QList<QTreeWidgetItem *> &out) const {
    const bool shown = element.hasAttribute(kName) && element.tagName() != kVar;
    if (!shown && !lookThroughUnnamed)
        return;
    QList<QTreeWidgetItem *> children;
    QList<QTreeWidgetItem *> &target = shown ? children : out;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        CollectNodes(child, library, lookThroughUnnamed, target);
    if (!shown)
        return;
    TUzolStromu *node = CreateTreeNode(element, library);
    SortByKind(children);
    node->addChildren(children);
    out.append(node);
}

TUzolStromu *TPrehliadacVyrazovFrm::CreateTreeNode(const QDomElement &element, TKniznicaVyrazov *library) const {
    auto *node = new TUzolStromu({element, library});
    SetCaption(node, element.attribute(kName));
    node->setIcon(0, m_dta->PictureOf(node->Kind()));
    return node;
}

// ---------------------------------------------------------------------------
// Selection and details

TUzolStromu *TPrehliadacVyrazovFrm::SelectedItem() const {
    const QList<QTreeWidgetItem *> selected = stromVyrazovTrv->selectedItems();
    return TUzolStromu::Of(selected.isEmpty() ? nullptr : selected.constFirst());
}

QDomElement TPrehliadacVyrazovFrm::SelectedNode() const {
    const TUzolStromu *item = SelectedItem();
    return item ? item->Reference.Node : QDomElement();
}

TKniznicaVyrazov *TPrehliadacVyrazovFrm::SelectedLibrary() const {
    const TUzolStromu *item = SelectedItem();
    return item ? item->Reference.Library : nullptr;
}

void TPrehliadacVyrazovFrm::SelectionChange() {
    ShowNodeDetails();
    UpdateToolButtons();
}

void TPrehliadacVyrazovFrm::ShowNodeDetails(bool showEmptyForCategory) {
    const TUzolStromu *item = SelectedItem();
    if (!item)
        return;
    const TXMLNodeReference &reference = item->Reference;
    switch (item->Kind()) {
    case ExpressionKind: {
        QString name, notation, desc;
        QStringList vars;
        reference.Library->ReadExpression(reference.Node, name, notation, desc, vars);
        nazovEdt->setText(name);
        vyrazEdt->setText(notation);
        vyrazEdt->setCursorPosition(0);
        m_variables->SetLines(vars);
        PopisMmo->setPlainText(SplitString(desc, kSep).join(QLatin1Char('\n')));
        vyrazPnl->show();
        kniznicaPnl->hide();
        pouzitBtn->setEnabled(true);
        break;
    }
    case LibraryKind: {
        TInfoKniznice info;
        reference.Library->GetLibraryInfo(info);
        nazovKnizniceEdt->setText(info.Name);
        suborEdt->setText(QDir::toNativeSeparators(info.FileName));
        verziaLbl->setText(info.Version);
        autorLbl->setText(info.Author);
        webLbl->setText(info.AuthorWeb);
        emailLbl->setText(info.AuthorEmail);
        popisKnizniceMmo->setPlainText(SplitString(info.Description, kSep).join(QLatin1Char('\n')));
        vyrazPnl->hide();
        kniznicaPnl->show();
        pouzitBtn->setEnabled(false);
        break;
    }
    default: // a category
        if (showEmptyForCategory) {
            nazovEdt->clear();
            vyrazEdt->clear();
            PopisMmo->clear();
            m_variables->SetLines({});
            vyrazPnl->show();
            kniznicaPnl->hide();
            pouzitBtn->setEnabled(false);
        }
        break;
    }
}

void TPrehliadacVyrazovFrm::Beep() const {
    if (AppContext().Beep)
        AppContext().Beep();
}

TEditEnabling TPrehliadacVyrazovFrm::CurrentEnabling() const {
    const TUzolStromu *item = SelectedItem();
    return EditEnabling(item != nullptr, KindOf(item));
}

void TPrehliadacVyrazovFrm::UpdateToolButtons() {
    const TEditEnabling e = CurrentEnabling();
    newCategoryTbtn->setEnabled(e.NewChild);
    newExpressionTBtn->setEnabled(e.NewChild);
    deleteTbtn->setEnabled(e.Delete);
    modifyTBtn->setEnabled(e.Modify);
}

void TPrehliadacVyrazovFrm::PopupEnabling() { m_dta->EnableItems(CurrentEnabling(), m_viewer.AnyModified()); }

void TPrehliadacVyrazovFrm::UseSelectedExpression() {
    if (m_main)
        m_main->UseExpression(vyrazEdt->text());
}

// ---------------------------------------------------------------------------
// Editing

TUzolStromu *TPrehliadacVyrazovFrm::InsertSubtree(QTreeWidgetItem *parent, int index, const QDomElement &element,
                                                  TKniznicaVyrazov *library) {
    TUzolStromu *node = CreateTreeNode(element, library);
    QList<QTreeWidgetItem *> children;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        CollectNodes(child, library, false, children);
    SortByKind(children);
    node->addChildren(children);
    InsertSorted(parent, node, index);
    return node;
}

void TPrehliadacVyrazovFrm::DeleteTreeNode(QTreeWidgetItem *item) {
    for (QTreeWidgetItem *i = m_editedItem; i; i = i->parent())
        if (i == item)
            m_editedItem = nullptr;
    delete item;
}

void TPrehliadacVyrazovFrm::SetEditable(QTreeWidgetItem *item, bool editable) {
    const QSignalBlocker blocker(stromVyrazovTrv);
    item->setFlags(editable ? item->flags() | Qt::ItemIsEditable : item->flags() & ~Qt::ItemIsEditable);
}

void TPrehliadacVyrazovFrm::StartRename(QTreeWidgetItem *item) {
    SetEditable(item, true);
    m_editedItem = item;
    stromVyrazovTrv->editItem(item, 0);
}

void TPrehliadacVyrazovFrm::RenameEnd(QTreeWidgetItem *item) {
    SetEditable(item, false);
    m_editedItem = nullptr;
    {
        const QSignalBlocker blocker(stromVyrazovTrv);
        item->setToolTip(0, item->text(0));
    }
    if (const TUzolStromu *node = TUzolStromu::Of(item))
        node->Reference.Library->RenameNode(node->Reference.Node, item->text(0));
}

void TPrehliadacVyrazovFrm::RenameClick() {
    TUzolStromu *item = SelectedItem();
    if (item && item->Kind() != ExpressionKind)
        StartRename(item);
}

void TPrehliadacVyrazovFrm::NewLibrary(const TInfoKniznice &info) { AddLibraryToTree(m_viewer.AddLibrary(info)); }

void TPrehliadacVyrazovFrm::NewLibraryClick() {
    TUpravyKnizniceFrm *dialog = GetUpravyKnizniceFrm();
    dialog->ResetForNewLibrary();
    dialog->SetInitialFolder(ProgramPath(LibraryPath));
    if (dialog->exec() == QDialog::Accepted)
        NewLibrary(dialog->GetLibraryInfo());
}

void TPrehliadacVyrazovFrm::NewCategory() {
    TUzolStromu *item = SelectedItem();
    if (!item || item->Kind() == ExpressionKind)
        return;
    const TXMLNodeReference reference = item->Reference;
    QDomElement category;
    reference.Library->AddCategory(reference.Node, NewCategoryText, category);
    if (category.isNull()) {
        Beep(); // the library may nest no deeper
        return;
    }
    item->setExpanded(true);
    TUzolStromu *node = InsertSubtree(item, item->childCount(), category, reference.Library);
    stromVyrazovTrv->setCurrentItem(node);
    StartRename(node);
}

void TPrehliadacVyrazovFrm::NewExpressionClick() {
    TUzolStromu *item = SelectedItem();
    if (!item || item->Kind() == ExpressionKind)
        return;
    TUpravyVyrazuFrm *dialog = GetUpravyVyrazuFrm();
    dialog->ClearFields();
    if (dialog->exec() == QDialog::Accepted)
        NewExpression(dialog->ExpressionName(), dialog->Notation(), dialog->DescriptionLines(),
                      dialog->VariableLines());
}

void TPrehliadacVyrazovFrm::NewExpression(const QString &name, const QString &notation, const QStringList &descLines,
                                          const QStringList &vars) {
    TUzolStromu *item = SelectedItem();
    if (!item || item->Kind() == ExpressionKind)
        return;
    const TXMLNodeReference reference = item->Reference;
    QDomElement expr;
    reference.Library->AddExpression(reference.Node, name, notation, JoinStrings(descLines, kSep), vars, expr);
    if (expr.isNull()) {
        Beep(); // the library may nest no deeper
        return;
    }
    item->setExpanded(true);
    stromVyrazovTrv->setCurrentItem(InsertSubtree(item, item->childCount(), expr, reference.Library));
}

void TPrehliadacVyrazovFrm::ModifyClick() {
    TUzolStromu *item = SelectedItem();
    if (!item)
        return;
    const TXMLNodeReference reference = item->Reference;
    switch (item->Kind()) {
    case LibraryKind: {
        TInfoKniznice header;
        reference.Library->GetLibraryInfo(header);
        TUpravyKnizniceFrm *dialog = GetUpravyKnizniceFrm();
        dialog->SetLibraryInfo(header);
        dialog->SetInitialFolder(ProgramPath(LibraryPath));
        if (dialog->exec() != QDialog::Accepted || SelectedItem() != item)
            return;
        header = dialog->GetLibraryInfo();
        reference.Library->SetLibraryInfo(header);
        {
            const QSignalBlocker blocker(stromVyrazovTrv);
            SetCaption(item, header.Name);
        }
        ShowNodeDetails();
        break;
    }
    case ExpressionKind: {
        TUpravyVyrazuFrm *dialog = GetUpravyVyrazuFrm();
        dialog->SetFields(nazovEdt->text(), vyrazEdt->text(), PopisMmo->toPlainText(), m_variables->Lines());
        if (dialog->exec() == QDialog::Accepted && SelectedItem() == item)
            ApplyExpressionEdit(dialog->ExpressionName(), dialog->Notation(), dialog->DescriptionLines(),
                                dialog->VariableLines());
        break;
    }
    default: break;
    }
}

void TPrehliadacVyrazovFrm::ApplyExpressionEdit(const QString &name, const QString &notation,
                                                const QStringList &descLines, const QStringList &vars) {
    TUzolStromu *item = SelectedItem();
    if (!item || item->Kind() != ExpressionKind)
        return;
    item->Reference.Library->ModifyExpression(item->Reference.Node, name, notation, JoinStrings(descLines, kSep), vars);
    {
        const QSignalBlocker blocker(stromVyrazovTrv);
        SetCaption(item, name);
    }
    ShowNodeDetails();
}

void TPrehliadacVyrazovFrm::DeleteSelectedItem() {
    TUzolStromu *item = SelectedItem();
    if (!item)
        return;
    if (AppContext().Prompter().Show(this, TMessageKind::Question, ReallyDeleteCaption, ReallyDelete) != TAnswer::Yes)
        return;
    const TXMLNodeReference reference = item->Reference;
    if (item->Kind() == LibraryKind)
        reference.Library->SetDeleteOnSave(true);
    else
        reference.Library->DeleteNode(reference.Node);
    DeleteTreeNode(item);
    stromVyrazovTrv->clearSelection();
    stromVyrazovTrv->setCurrentItem(nullptr);
    UpdateToolButtons();
}

void TPrehliadacVyrazovFrm::CopySelectedNode() {
    if (TUzolStromu *item = SelectedItem())
        m_clipboard.Copy(item->Reference.Node);
}

void TPrehliadacVyrazovFrm::CutSelectedNode() {
    if (!SelectedItem())
        return;
    CopySelectedNode();
    DeleteSelectedItem();
}

void TPrehliadacVyrazovFrm::PasteNode() {
    TUzolStromu *item = SelectedItem();
    if (m_clipboard.IsEmpty() || !item)
        return;
    const TXMLNodeReference reference = item->Reference;
    QDomElement pasted;
    switch (PasteBefore(m_clipboard, reference.Node, *reference.Library, pasted)) {
    case TPasteResult::Nothing: break;
    case TPasteResult::Refused: Beep(); break;
    case TPasteResult::Inserted: {
        QTreeWidgetItem *parent = item->parent() ? item->parent() : stromVyrazovTrv->invisibleRootItem();
        InsertSubtree(parent, parent->indexOfChild(item), pasted, reference.Library);
        break;
    }
    }
}

bool TPrehliadacVyrazovFrm::AcceptsDrop(QTreeWidgetItem *dragged, QTreeWidgetItem *target) const {
    const TUzolStromu *from = TUzolStromu::Of(dragged);
    const TUzolStromu *to = TUzolStromu::Of(target);
    return from && to && CanDropOn(from->Reference.Node, to->Reference.Node, IsKeyDown(VK_SHIFT));
}

void TPrehliadacVyrazovFrm::DropNode(QTreeWidgetItem *dragged, QTreeWidgetItem *target) {
    const TUzolStromu *draggedNode = TUzolStromu::Of(dragged);
    const TUzolStromu *targetNode = TUzolStromu::Of(target);
    if (!draggedNode || !targetNode)
        return;
    const bool shift = IsKeyDown(VK_SHIFT);
    const TXMLNodeReference from = draggedNode->Reference;
    const TXMLNodeReference to = targetNode->Reference;
    TDropPlace place;
    // A drop that may not happen moves nothing.
    const QDomElement moved = MoveElement(from.Node, *from.Library, to.Node, *to.Library, shift, place);
    if (moved.isNull())
        return;
    TUzolStromu *node;
    if (place == TDropPlace::Into) {
        node = InsertSubtree(target, 0, moved, to.Library);
    } else {
        QTreeWidgetItem *parent = target->parent() ? target->parent() : stromVyrazovTrv->invisibleRootItem();
        node = InsertSubtree(parent, parent->indexOfChild(target), moved, to.Library);
    }
    DeleteTreeNode(dragged);
    stromVyrazovTrv->setCurrentItem(shift ? node : target);
    // The details, Use and the commands follow the node selected now, not
    // the dragged one the press had shown.
    ShowNodeDetails(true);
    UpdateToolButtons();
}

TUpravyKnizniceFrm *TPrehliadacVyrazovFrm::GetUpravyKnizniceFrm() {
    if (!m_libraryDialog)
        m_libraryDialog = new TUpravyKnizniceFrm(this);
    return m_libraryDialog;
}

TUpravyVyrazuFrm *TPrehliadacVyrazovFrm::GetUpravyVyrazuFrm() {
    if (!m_expressionDialog)
        m_expressionDialog = new TUpravyVyrazuFrm(this);
    return m_expressionDialog;
}

bool TPrehliadacVyrazovFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == stromVyrazovTrv &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool control = key->modifiers().testFlag(Qt::ControlModifier);
        std::function<void()> command;
        if (key->key() == Qt::Key_Delete && !control)
            command = [this] { DeleteSelectedItem(); };
        else if (control && key->key() == Qt::Key_C)
            command = [this] { CopySelectedNode(); };
        else if (control && key->key() == Qt::Key_X)
            command = [this] { CutSelectedNode(); };
        else if (control && key->key() == Qt::Key_V)
            command = [this] { PasteNode(); };
        if (command) {
            // The tree's own copy and the window's shortcuts do not get these keys.
            if (event->type() == QEvent::ShortcutOverride)
                event->accept();
            else
                command();
            return event->type() == QEvent::KeyPress;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Reload, save and close

QString TPrehliadacVyrazovFrm::WithModifiedList(const QString &text) const {
    QString result = text;
    const qsizetype at = result.indexOf(QLatin1String("#1"));
    if (at >= 0)
        result.replace(at, 2, kLineBreak + m_viewer.GetModifiedList() + kLineBreak + kLineBreak);
    return result;
}

void TPrehliadacVyrazovFrm::ReloadLibraries() {
    if (!m_viewer.AnyModified()) {
        LoadLibraries();
        return;
    }
    const TAnswer answer = AppContext().Prompter().Show(this, TMessageKind::QuestionWithCancel, ReallyReloadCaption,
                                                        WithModifiedList(ReallyReload));
    if (answer == TAnswer::Yes)
        LoadLibraries();
}

void TPrehliadacVyrazovFrm::ShowSaveFailures(const QString &failures) {
    ShowWarningBox(SaveErrorCaption, SaveError + kLineBreak + failures, this);
}

bool TPrehliadacVyrazovFrm::SaveLibraries() {
    const QString failures = m_viewer.SaveAll();
    if (failures.isEmpty())
        return true;
    ShowSaveFailures(failures);
    return false;
}

void TPrehliadacVyrazovFrm::closeEvent(QCloseEvent *event) {
    if (!m_viewer.AnyModified()) {
        event->accept();
        return;
    }
    const TAnswer answer = AppContext().Prompter().Show(this, TMessageKind::QuestionWithCancel, SaveChangesCaption,
                                                        WithModifiedList(SaveChanges));
    switch (answer) {
    case TAnswer::Yes:
        // What could not be saved keeps the window open with its changes.
        if (SaveLibraries())
            event->accept();
        else
            event->ignore();
        break;
    case TAnswer::No: event->accept(); break;
    default: event->ignore(); break;
    }
}

// ---------------------------------------------------------------------------

TPrehliadacVyrazovLink::~TPrehliadacVyrazovLink() {
    // Without an owner window the browser is ours to free.
    if (m_frm && !m_frm->parent())
        delete m_frm;
}

TPrehliadacVyrazovFrm *TPrehliadacVyrazovLink::GetPrehliadacVyrazovFrm() {
    if (!m_frm)
        m_frm = new TPrehliadacVyrazovFrm(m_main, m_main ? m_main->Window() : nullptr);
    return m_frm;
}

void TPrehliadacVyrazovLink::ShowExpressionBrowser() {
    TPrehliadacVyrazovFrm *frm = GetPrehliadacVyrazovFrm();
    if (m_main)
        m_main->GiveFormStyle(frm);
    frm->show();
    frm->raise();
    frm->activateWindow();
}

void TPrehliadacVyrazovLink::ApplyLanguage() {
    if (m_frm)
        m_frm->ApplyLanguage();
}
