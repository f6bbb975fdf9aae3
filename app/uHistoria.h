// The history list: every successful calculation as one line, newest last.
#pragma once

#include <QString>
#include <QStringList>

struct TWriteResult;

class THistoria {
public:
    // The most entries the list keeps.
    static constexpr int Capacity = 200;

    const QStringList &Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.isEmpty(); }

    // The selected entry's index, or -1.
    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);
    QString Selected() const;

    // Index of the first entry equal to s without regard to case, or -1.
    int IndexOf(const QString &s) const;

    // Adds an entry: an equal one is removed first, then the oldest when the
    // list is full; the new entry is appended and selected.
    void Add(const QString &s);
    // Removes the selected entry and selects the next one, else the one
    // before; false when nothing was selected.
    bool DeleteSelected();
    // Selects the entry above the selected one (from the first to the last);
    // false when the list is empty.
    bool Back();
    void Clear();

    // Replaces the list with the lines of fileName (whole, not trimmed to
    // the capacity) and selects the last; false when it cannot be read.
    bool Load(const QString &fileName);
    // Writes the list to fileName, replacing it whole.
    TWriteResult Save(const QString &fileName) const;

    // An entry split for "use": the expression before the first " = " (the
    // whole entry when there is none) and the result after it, without the
    // variable list that starts at the first "[".
    static void SplitEntry(const QString &entry, QString &expression, QString &result);

private:
    QStringList m_items;
    int m_itemIndex = -1;
};
