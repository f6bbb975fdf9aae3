#include "uPremenne.h"

// A name or value stays on one line and must not carry the "=" that
// separates them in the evaluators' lines; the name is cut there, as a
// value-list line is.
static QString OneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

TPremenne::TPremenne(QObject *parent) : QAbstractTableModel(parent) {
    m_rows.append(TRow());
    m_lines.append(LineOf(m_rows.back()));
}

QStringList TPremenne::Lines() const { return m_lines; }

void TPremenne::SetLines(const QStringList &lines) {
    while (Count() > 0)
        DeleteRowAt(Count() - 1);
    for (const QString &line : lines) {
        QString name, value;
        SplitLine(line, name, value);
        AppendRow(name, value);
    }
}

void TPremenne::SplitLine(const QString &line, QString &name, QString &value) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    name = eq < 0 ? line : line.left(eq);
    value = eq < 0 ? QString() : line.mid(eq + 1);
}

int TPremenne::IndexOfName(const QString &name) const {
    if (!m_indexed) {
        m_names.Clear();
        for (int i = 0; i < Count(); ++i)
            m_names.Add(m_rows.at(i).Name, i);
        m_indexed = true;
    }
    return m_names.Find(name);
}

QString TPremenne::ValueOf(const QString &name) const {
    const int i = IndexOfName(name);
    return i >= 0 ? m_rows.at(i).Value : QString();
}

void TPremenne::AddMissingNames(const QStringList &names) {
    for (const QString &name : names)
        if (!name.isEmpty() && IndexOfName(name) < 0)
            AppendRow(name);
}

void TPremenne::AppendRow(const QString &name, const QString &value) {
    beginInsertRows(QModelIndex(), Count(), Count());
    m_rows.append(TRow{OneLine(name), OneLine(value)});
    if (m_indexed)
        m_names.Add(m_rows.constLast().Name, Count() - 1);
    m_lines.append(LineOf(m_rows.back()));
    endInsertRows();
}

void TPremenne::InsertRowAt(int index) {
    if (index < 0 || index > Count())
        index = Count();
    beginInsertRows(QModelIndex(), index, index);
    m_rows.insert(index, TRow());
    NamesChanged();
    m_lines.insert(index, LineOf(m_rows.at(index)));
    endInsertRows();
}

void TPremenne::DeleteRowAt(int index) {
    if (index < 0 || index >= Count())
        return;
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.removeAt(index);
    NamesChanged();
    m_lines.removeAt(index);
    endRemoveRows();
}

void TPremenne::SetName(int index, const QString &name) { setData(this->index(index, 0), name, Qt::EditRole); }

void TPremenne::SetValue(int index, const QString &value) { setData(this->index(index, 1), value, Qt::EditRole); }

void TPremenne::SetColumnTitles(const QString &name, const QString &value) {
    m_nameTitle = name;
    m_valueTitle = value;
    emit headerDataChanged(Qt::Horizontal, 0, 1);
}

int TPremenne::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

int TPremenne::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 2; }

QVariant TPremenne::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const TRow &row = m_rows.at(index.row());
    return index.column() == 0 ? row.Name : row.Value;
}

bool TPremenne::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.row() >= Count() || role != Qt::EditRole)
        return false;
    TRow &row = m_rows[index.row()];
    QString text = OneLine(value.toString());
    if (index.column() == 0) {
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        if (eq >= 0)
            text.truncate(eq);
        row.Name = text;
        NamesChanged();
    } else {
        row.Value = text;
    }
    m_lines[index.row()] = LineOf(row);
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TPremenne::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TPremenne::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? m_nameTitle : m_valueTitle;
}
