#include "uZoznamJazykov.h"

#include "uIniFile.h"

#include <QDir>

const QString TZoznamJazykov::NoName = QStringLiteral("nil");

TPolozkaJazyka::TPolozkaJazyka(const QString &folder, const QString &fileName) {
    QString path = folder;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const TIniFile ini(path + fileName);
    m_udaje.LanguageName =
        ini.ReadString(QStringLiteral("Info"), QStringLiteral("LanguageName"), TZoznamJazykov::NoName);
    m_udaje.Program = ini.ReadString(QStringLiteral("Info"), QStringLiteral("Program"), QString());
    m_udaje.FileDate = ini.ReadString(QStringLiteral("Info"), QStringLiteral("FileDate"), QString());
    m_udaje.AuthorName = ini.ReadString(QStringLiteral("Author"), QStringLiteral("name"), QString());
    m_udaje.AuthorEmail = ini.ReadString(QStringLiteral("Author"), QStringLiteral("email"), QString());
    m_udaje.AuthorUrl = ini.ReadString(QStringLiteral("Author"), QStringLiteral("url"), QString());
    m_udaje.FileName = fileName;
}

void TZoznamJazykov::Load(const QString &folder) {
    Clear();
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.txt")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString &name : dir.entryList())
        m_items.prepend(TPolozkaJazyka(folder, name));
}

QStringList TZoznamJazykov::FillStrings() const {
    QStringList names;
    for (const TPolozkaJazyka &item : m_items)
        if (item.Udaje().LanguageName != NoName)
            names.append(item.Udaje().LanguageName);
    return names;
}

bool TZoznamJazykov::Find(const QString &name, TUdaje &record) const {
    for (const TPolozkaJazyka &item : m_items)
        if (item.Udaje().LanguageName == name) {
            record = item.Udaje();
            return true;
        }
    return false;
}
