// The user variables: rows of name and value, read by the evaluators as
// "name=value" lines.
#pragma once

#include "uSpolocne.h"

#include <QAbstractTableModel>
#include <QList>

class TPremenne : public QAbstractTableModel, public TVariableSource {
    Q_OBJECT
public:
    struct TRow {
        QString Name;
        QString Value;
    };

    // Starts with one row of empty name and value.
    explicit TPremenne(QObject *parent = nullptr);

    // TVariableSource: "name=value" for every row, in order.
    QStringList Lines() const override;
    // Replaces every row, one by one, by the rows of "name=value" lines.
    void SetLines(const QStringList &lines);
    // The name of a "name=value" line is the part before the first "=", the
    // value the rest; a line without "=" is a name.
    static void SplitLine(const QString &line, QString &name, QString &value);

    int Count() const { return int(m_rows.size()); }
    const TRow &Row(int index) const { return m_rows.at(index); }
    // Index of the first row whose name equals name without regard to case,
    // or -1.
    int IndexOfName(const QString &name) const;
    // The value of the first row called name; empty when there is none.
    QString ValueOf(const QString &name) const;

    // Appends a row for each name that has none; never removes a row or
    // changes a value.
    void AddMissingNames(const QStringList &names);
    void AppendRow(const QString &name = QString(), const QString &value = QString());
    void InsertRowAt(int index);
    void DeleteRowAt(int index);
    void SetName(int index, const QString &name);
    void SetValue(int index, const QString &value);

    void SetColumnTitles(const QString &name, const QString &value);
    QString NameTitle() const { return m_nameTitle; }
    QString ValueTitle() const { return m_valueTitle; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The rows' names, indexed for IndexOfName: a long list is looked up
    // once per name rather than searched through. Appending a row adds its
    // name; any other change of the names rebuilds the index at the next
    // lookup.
    void NamesChanged() { m_indexed = false; }
    mutable TNameIndex m_names;
    mutable bool m_indexed = false;

    QList<TRow> m_rows;
    // The rows as "name=value" lines, kept in step with m_rows: every
    // evaluation reads them, and building them anew each time cost more
    // than the evaluation itself.
    QStringList m_lines;
    static QString LineOf(const TRow &row) { return row.Name + QLatin1Char('=') + row.Value; }
    QString m_nameTitle = QStringLiteral("Názov");
    QString m_valueTitle = QStringLiteral("Hodnota");
};
