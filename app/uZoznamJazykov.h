// The catalogue of the language files in the "lang" folder.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct TUdaje {
    QString FileName; // without folder
    QString LanguageName;
    QString Program;
    QString FileDate;
    QString AuthorName;
    QString AuthorEmail;
    QString AuthorUrl;
};

class TPolozkaJazyka {
public:
    // Reads the header of the file fileName in folder; a missing name reads
    // as "nil".
    TPolozkaJazyka(const QString &folder, const QString &fileName);
    const TUdaje &Udaje() const { return m_udaje; }

private:
    TUdaje m_udaje;
};

class TZoznamJazykov {
public:
    // The name of a file that gives none; such files are not listed.
    static const QString NoName;

    // Empties the list and reads every "*.txt" of folder. The files are met
    // in the order of their names and each is put at the head of the list,
    // so the list holds them in the reverse order.
    void Load(const QString &folder);
    // The language names in list order, without the nameless files.
    QStringList FillStrings() const;
    // The record of the first item called name (exact match); false when
    // there is none.
    bool Find(const QString &name, TUdaje &record) const;
    void Clear() { m_items.clear(); }
    int Count() const { return int(m_items.size()); }

private:
    QList<TPolozkaJazyka> m_items; // head first
};
