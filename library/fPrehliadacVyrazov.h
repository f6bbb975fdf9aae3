// The expression browser: every library of the library folder as a tree
// (libraries, their categories, then their expressions) beside the details
// of the selected library or expression. Use, or a double click on an
// expression, hands the expression to the main window. Closing only hides
// the window; unsaved libraries are asked about then.
#pragma once

#include "uKniznica.h"
#include "uPrehliadacVyrazov.h"
#include "uToolWindowsLink.h"

#include <QPointer>
#include <QTreeWidgetItem>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TLinkLabel;
class TMainWindowLink;
class TPremenne;
class TPrehliadacVyrazovDta;
class TUpravyKnizniceFrm;
class TUpravyVyrazuFrm;

// What a tree node shows: an element and the library that holds it.
struct TXMLNodeReference {
    QDomElement Node;
    TKniznicaVyrazov *Library = nullptr;
};

// A node of the browser's tree; it owns its reference, which goes with it.
class TUzolStromu : public QTreeWidgetItem {
public:
    static constexpr int ItemType = QTreeWidgetItem::UserType + 1;
    explicit TUzolStromu(const TXMLNodeReference &reference)
        : QTreeWidgetItem(ItemType), Reference(reference), m_kind(TKniznicaVyrazov::GetNodeKind(reference.Node)) {}
    TXMLNodeReference Reference;
    TNodeKind Kind() const { return m_kind; }

    // The item as a node of the browser's tree; null for none or another
    // kind of item.
    static TUzolStromu *Of(QTreeWidgetItem *item) {
        return item && item->type() == ItemType ? static_cast<TUzolStromu *>(item) : nullptr;
    }
    static const TUzolStromu *Of(const QTreeWidgetItem *item) {
        return item && item->type() == ItemType ? static_cast<const TUzolStromu *>(item) : nullptr;
    }

private:
    TNodeKind m_kind; // an element never changes its name
};

class TPrehliadacVyrazovFrm : public QWidget {
    Q_OBJECT
public:
    // FormCreate: the viewer, the popup menu, the language (which loads the
    // libraries) and the tool buttons. The window belongs to parent.
    explicit TPrehliadacVyrazovFrm(TMainWindowLink *main, QWidget *parent = nullptr);
    ~TPrehliadacVyrazovFrm() override;

    // Built-in texts, then the loaded language file's; loads the libraries
    // again when none is modified.
    void ApplyLanguage();

    // Loads every library of the library folder (unsaved changes are lost)
    // and shows them; warns of files that did not load, or of none at all.
    void LoadLibraries();
    // Reload command: asks first when libraries are modified.
    void ReloadLibraries();
    // Save command: saves the modified libraries; warns of any that failed.
    // True when everything was saved.
    bool SaveLibraries();
    // Hands the shown expression to the main window.
    void UseSelectedExpression();

    // --- editing -------------------------------------------------------------
    // The commands of the popup menu; those with a dialog show it modally.
    void NewLibraryClick();
    void NewExpressionClick();
    void RenameClick();
    void ModifyClick();
    // A new library at the end of the tree; its file is written at the next
    // save.
    void NewLibrary(const TInfoKniznice &info);
    // A category under the selected library or category, selected and open
    // for its name to be typed.
    void NewCategory();
    // An expression under the selected library or category, selected.
    void NewExpression(const QString &name, const QString &notation, const QStringList &descLines,
                       const QStringList &vars);
    // Rewrites the selected expression.
    void ApplyExpressionEdit(const QString &name, const QString &notation, const QStringList &descLines,
                             const QStringList &vars);
    // After a question: a library is marked for deletion at the next save,
    // anything else leaves its library. Nothing is selected afterwards.
    void DeleteSelectedItem();
    void CopySelectedNode();
    void CutSelectedNode();
    // A copy of the clipboard's element just before the selected node.
    void PasteNode();
    // Whether the dragged node may be dropped on target now (Shift read from
    // the keyboard), and the move itself.
    bool AcceptsDrop(QTreeWidgetItem *dragged, QTreeWidgetItem *target) const;
    void DropNode(QTreeWidgetItem *dragged, QTreeWidgetItem *target);

    TUpravyKnizniceFrm *GetUpravyKnizniceFrm();
    TUpravyVyrazuFrm *GetUpravyVyrazuFrm();
    bool UpravyKnizniceFrmExists() const { return m_libraryDialog != nullptr; }
    bool UpravyVyrazuFrmExists() const { return m_expressionDialog != nullptr; }
    const KNodeClipboard &Clipboard() const { return m_clipboard; }

    // The element and library of the selected tree node; none without one,
    // so that no command reaches an element the user does not see.
    QDomElement SelectedNode() const;
    TKniznicaVyrazov *SelectedLibrary() const;
    KExpressionViewer &Viewer() { return m_viewer; }

    // The library folder relative to the program folder.
    QString LibraryPath;
    // Message texts.
    QString SaveChangesCaption;
    QString SaveChanges;
    QString ReallyDeleteCaption;
    QString ReallyDelete;
    QString NewCategoryText;
    QString LoadErrorCaption;
    QString LoadError;
    QString NoLibraries;
    QString ReallyReloadCaption;
    QString ReallyReload;
    QString SaveErrorCaption;
    QString SaveError;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void SetBuiltInTexts();
    // Empties the tree; nothing is selected afterwards.
    void ClearTree();
    // Fills the empty tree with the viewer's libraries.
    void RebuildTree();
    void AddLibraryToTree(TKniznicaVyrazov *library);
    // The tree nodes of element's subtree with library. At loading, elements
    // without a name are looked through (their named descendants hang on
    // the nearest shown ancestor); otherwise they are skipped whole.
    void CollectNodes(const QDomElement &element, TKniznicaVyrazov *library, bool lookThroughUnnamed,
                      QList<QTreeWidgetItem *> &out) const;
    TUzolStromu *CreateTreeNode(const QDomElement &element, TKniznicaVyrazov *library) const;
    // A node for element with the nodes of its named descendants (the copy
    // walk), placed among parent's children at index, then in order.
    TUzolStromu *InsertSubtree(QTreeWidgetItem *parent, int index, const QDomElement &element,
                               TKniznicaVyrazov *library);
    // The selected tree node, or none.
    TUzolStromu *SelectedItem() const;
    void StartRename(QTreeWidgetItem *item);
    void RenameEnd(QTreeWidgetItem *item);
    void SetEditable(QTreeWidgetItem *item, bool editable);
    // Deletes a node with its descendants and their references.
    void DeleteTreeNode(QTreeWidgetItem *item);
    void SelectionChange();
    // Shows the selected library or expression. A selected category leaves
    // the panel as it was, unless showEmptyForCategory: then the panel is
    // emptied and Use disabled (after a drop, which selects a node the user
    // did not pick).
    void ShowNodeDetails(bool showEmptyForCategory = false);
    void Beep() const;
    void UpdateToolButtons();
    void PopupEnabling();
    TEditEnabling CurrentEnabling() const;
    // The question text with "#1" replaced by the modified libraries.
    QString WithModifiedList(const QString &text) const;
    void ShowSaveFailures(const QString &failures);

    TMainWindowLink *m_main;
    KExpressionViewer m_viewer;
    KNodeClipboard m_clipboard;
    TPrehliadacVyrazovDta *m_dta = nullptr;
    TPremenne *m_variables = nullptr;
    TUpravyKnizniceFrm *m_libraryDialog = nullptr;
    TUpravyVyrazuFrm *m_expressionDialog = nullptr;
    // The node whose caption is being edited in place.
    QTreeWidgetItem *m_editedItem = nullptr;

    QWidget *stromPnl;
    QTreeWidget *stromVyrazovTrv;
    QToolBar *ToolBar1;
    QToolButton *newLibraryTBtn;
    QToolButton *newCategoryTbtn;
    QToolButton *newExpressionTBtn;
    QToolButton *modifyTBtn;
    QToolButton *deleteTbtn;
    QSplitter *Splitter1;
    QWidget *vyrazPnl;
    QLabel *nazovLbl;
    QLineEdit *nazovEdt;
    QLabel *vyrazLbl;
    QLineEdit *vyrazEdt;
    QLabel *popisLbl;
    QPlainTextEdit *PopisMmo;
    QLabel *premenneLbl;
    QTableView *premenneVle;
    QWidget *kniznicaPnl;
    QLabel *nazovKnizniceNadpisLbl;
    QLineEdit *nazovKnizniceEdt;
    QLabel *nazovSuboruNadpisLbl;
    QLineEdit *suborEdt;
    QLabel *verziaNadpisLbl;
    QLabel *verziaLbl;
    QLabel *autorNadpisLbl;
    QLabel *autorLbl;
    QLabel *webNadpisLbl;
    TLinkLabel *webLbl;
    QLabel *emailNadpisLbl;
    TLinkLabel *emailLbl;
    QLabel *popisKnizniceNadpisLbl;
    QPlainTextEdit *popisKnizniceMmo;
    QWidget *tlacitkaPnl;
    QPushButton *pouzitBtn;
    QPushButton *zatvoritBtn;
    QPushButton *Button1;
};

// The browser as the main window reaches it: created on first use as a
// window of the main window (so it lives until the program ends) and shown.
class TPrehliadacVyrazovLink : public TBrowserLink {
public:
    ~TPrehliadacVyrazovLink() override;
    void Attach(TMainWindowLink *main) override { m_main = main; }
    void ShowExpressionBrowser() override;
    void ApplyLanguage() override;

    TPrehliadacVyrazovFrm *GetPrehliadacVyrazovFrm();
    bool PrehliadacVyrazovFrmExists() const { return !m_frm.isNull(); }

private:
    TMainWindowLink *m_main = nullptr;
    QPointer<TPrehliadacVyrazovFrm> m_frm;
};
