// INI files with the rules of the Windows private-profile functions:
// - section and key names ignore case; the first matching section and the
//   first matching key in it win;
// - values are taken as they stand (trimmed of surrounding blanks; a
//   backslash or a comma is just a character);
// - comments, blank lines and lines that are no key are kept as they are;
// - a write replaces the key's line in place; a new key goes after the last
//   key of its section, a new section at the end of the file;
// - every write goes straight to the file (read anew, changed, written whole
//   through QSaveFile with CR LF line ends), and a failed write is reported.
#pragma once

#include <QString>
#include <QStringList>

class TIniFile {
public:
    // Opens the file and reads it; a missing or unreadable file reads as
    // empty and is created by the first write.
    explicit TIniFile(const QString &fileName);
    // An INI object over the given text, tied to no file (for reading).
    static TIniFile FromText(const QString &text);

    const QString &FileName() const { return m_fileName; }
    const QStringList &Lines() const { return m_lines; }

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X", with an optional sign;
    // anything else (or a value outside 32 bits) gives the default.
    qint32 ReadInteger(const QString &section, const QString &key, qint32 defaultValue) const;
    // An integer other than 0 is true; no integer gives the default.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // Each returns false when the file could not be written; LastError()
    // then tells why, and the file on disk is the one from before.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, qint32 value);
    bool WriteBool(const QString &section, const QString &key, bool value);
    const QString &LastError() const { return m_lastError; }

    // Reads the file again; false when it exists but cannot be read.
    bool Reload();

private:
    TIniFile() = default;
    // Index of the section header line, or -1.
    int FindSection(const QString &section) const;
    // Index of the key's line in the section starting at header, or -1.
    int FindKey(int header, const QString &key) const;
    bool FindValue(const QString &section, const QString &key, QString &value) const;

    QString m_fileName;
    QStringList m_lines;
    QString m_lastError;
};

// The integer rule of ReadInteger, on its own.
bool ParseIniInteger(const QString &text, qint32 &value);
