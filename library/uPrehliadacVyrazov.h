// The set of expression libraries the browser works on, and the rules of
// its editing that do not depend on the window: which commands a selection
// allows, where a paste or a drop puts an element, and which drops make no
// sense. Also the two routines that keep multi-line descriptions on one line.
#pragma once

#include "uKniznica.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The lines joined with sep between them (none before the first or after the
// last); an empty list and a list of one empty line both give "".
QString JoinStrings(const QStringList &list, QChar sep);
// The text split at every sep: "" gives one empty line, a text ending with
// sep an empty last line.
QStringList SplitString(const QString &s, QChar sep);
// The lines of a multi-line edit's text. Line breaks at the end of the text
// end its last line and make no empty lines of their own.
QStringList MemoLines(const QString &text);

class KExpressionViewer {
public:
    KExpressionViewer();
    ~KExpressionViewer();
    KExpressionViewer(const KExpressionViewer &) = delete;
    KExpressionViewer &operator=(const KExpressionViewer &) = delete;

    int Count() const { return int(m_libraries.size()); }
    TKniznicaVyrazov *Library(int index) const { return m_libraries.at(size_t(index)).get(); }

    // Drops every library (unsaved changes too) and loads each "*.xml" entry
    // of folder in name order. Errors gets a line feed, a carriage return and
    // the entry's bare name for each entry that did not load.
    void LoadFolder(const QString &folder, QString &errors);
    // Drops every library.
    void Clear();
    bool AnyModified() const;
    // For each modified library: a line feed, a carriage return, "- " and
    // its name.
    QString GetModifiedList() const;
    // A new library at the end, filled from info and modified; nothing is
    // written before the next save.
    TKniznicaVyrazov *AddLibrary(const TInfoKniznice &info);
    // Saves every library in order, going on after a failure. The result
    // lists each failure as a line feed, a carriage return, "- ", the
    // library's name, its file in brackets, ": " and the reason; it is empty
    // when everything was saved.
    QString SaveAll();

private:
    std::vector<std::unique_ptr<TKniznicaVyrazov>> m_libraries;
};

// ---------------------------------------------------------------------------
// Editing rules.

// Which editing commands the browser offers for its selection.
struct TEditEnabling {
    bool NewChild = false; // new category, new expression
    bool Rename = false;
    bool Delete = false;
    bool Modify = false;
};
TEditEnabling EditEnabling(bool selected, TNodeKind kind);

// Whether dragged may be dropped on target. Libraries never move; nothing
// moves into itself, nor where it would nest deeper than kMaxLibraryDepth.
// A plain drop puts the element into a library or category, or before an
// expression, and is refused on any other element (it would have nowhere
// to go). With Shift it goes before the target,
// which must not be a library.
bool CanDropOn(const QDomElement &dragged, const QDomElement &target, bool shift);

// Where a drop put the element, for the tree to follow.
enum class TDropPlace { Before, Into };

// Moves dragged (an element of from) to the place a drop on target (an
// element of to) gives: a copy goes to its place in to, then dragged leaves
// from. A drop that CanDropOn refuses changes nothing and gives a null
// element. The moved element is returned.
QDomElement MoveElement(const QDomElement &dragged, TKniznicaVyrazov &from, const QDomElement &target,
                        TKniznicaVyrazov &to, bool shift, TDropPlace &place);

enum class TPasteResult {
    Nothing,  // nothing to do
    Refused,  // makes no sense here: the user hears a beep
    Inserted, // pasted is the new element
};

// Puts a new copy of the clipboard's element into library just before
// target. A library is never pasted, and nothing is pasted beside a library
// or where it would nest deeper than kMaxLibraryDepth.
TPasteResult PasteBefore(const KNodeClipboard &clipboard, const QDomElement &target, TKniznicaVyrazov &library,
                         QDomElement &pasted);
