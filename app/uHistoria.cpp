#include "uHistoria.h"

#include "uTextCodec.h"

void THistoria::SetItemIndex(int index) { m_itemIndex = (index >= 0 && index < Count()) ? index : -1; }

QString THistoria::Selected() const { return m_itemIndex >= 0 ? m_items.at(m_itemIndex) : QString(); }

int THistoria::IndexOf(const QString &s) const {
    for (int i = 0; i < Count(); ++i)
        if (m_items.at(i).compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void THistoria::Add(const QString &s) {
    const int existing = IndexOf(s);
    if (existing >= 0)
        m_items.removeAt(existing);
    if (Count() == Capacity)
        m_items.removeFirst();
    m_items.append(s);
    m_itemIndex = Count() - 1;
}

bool THistoria::DeleteSelected() {
    if (m_itemIndex < 0 || m_itemIndex >= Count())
        return false;
    const int i = m_itemIndex;
    m_items.removeAt(i);
    if (i < Count())
        m_itemIndex = i;
    else
        m_itemIndex = i - 1; // -1 when the list is now empty
    return true;
}

bool THistoria::Back() {
    if (IsEmpty())
        return false;
    m_itemIndex = m_itemIndex > 0 ? m_itemIndex - 1 : Count() - 1;
    return true;
}

void THistoria::Clear() {
    m_items.clear();
    m_itemIndex = -1;
}

bool THistoria::Load(const QString &fileName) {
    QStringList lines;
    if (!ReadTextLines(fileName, lines))
        return false;
    m_items = lines;
    m_itemIndex = Count() - 1;
    return true;
}

TWriteResult THistoria::Save(const QString &fileName) const { return WriteTextLines(fileName, m_items); }

void THistoria::SplitEntry(const QString &entry, QString &expression, QString &result) {
    static const QString kEquals = QStringLiteral(" = ");
    const qsizetype at = entry.indexOf(kEquals);
    if (at < 0) {
        expression = entry;
        result.clear();
        return;
    }
    expression = entry.left(at);
    result = entry.mid(at + kEquals.size());
    const qsizetype bracket = result.indexOf(QLatin1Char('['));
    if (bracket >= 0)
        result.truncate(bracket > 0 ? bracket - 1 : 0);
}
