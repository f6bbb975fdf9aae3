// The set of expression libraries the browser works on, which editing
// commands a selection allows, and the two routines that keep multi-line
// descriptions on one line.
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
