#include "uIniFile.h"

#include "uTextCodec.h"

#include <QFile>

// A header is "[name]" after optional blanks; a header without "]" names
// everything up to the end of the line.
static bool IsSectionHeader(const QString &line, QString *name = nullptr) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    if (name) {
        qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 0)
            close = t.size();
        *name = t.mid(1, close - 1).trimmed();
    }
    return true;
}

// A key line is "key=value" outside comments; the key is what stands before
// the first "=".
static bool SplitKeyLine(const QString &line, QString *key, QString *value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (key)
        *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

// A value must stay on its own line.
static QString OneLine(QString value) {
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

bool ParseIniInteger(const QString &text, qint32 &value) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i + 1 < t.size() && t.at(i) == QLatin1Char('0') &&
        (t.at(i + 1) == QLatin1Char('x') || t.at(i + 1) == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    qint64 magnitude = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (base == 16 && c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        else if (base == 16 && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > qint64(1) << 32)
            return false;
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return false;
    value = qint32(signedValue);
    return true;
}

TIniFile::TIniFile(const QString &fileName) : m_fileName(fileName) { Reload(); }

TIniFile TIniFile::FromText(const QString &text) {
    TIniFile ini;
    ini.m_lines = SplitLines(text);
    if (!ini.m_lines.isEmpty() && ini.m_lines.first().startsWith(QChar(0xFEFF)))
        ini.m_lines.first().remove(0, 1);
    return ini;
}

bool TIniFile::Reload() {
    if (m_fileName.isEmpty())
        return true;
    // A missing file is an empty one; a file that exists but cannot be read
    // must not be replaced by a write.
    return ReadTextLines(m_fileName, m_lines) || !QFile::exists(m_fileName);
}

int TIniFile::FindSection(const QString &section) const {
    QString name;
    for (int i = 0; i < m_lines.size(); ++i)
        if (IsSectionHeader(m_lines.at(i), &name) && name.compare(section.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TIniFile::FindKey(int header, const QString &key) const {
    QString name;
    for (int i = header + 1; i < m_lines.size() && !IsSectionHeader(m_lines.at(i)); ++i)
        if (SplitKeyLine(m_lines.at(i), &name, nullptr) && name.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TIniFile::FindValue(const QString &section, const QString &key, QString &value) const {
    const int header = FindSection(section);
    if (header < 0)
        return false;
    const int line = FindKey(header, key);
    if (line < 0)
        return false;
    return SplitKeyLine(m_lines.at(line), nullptr, &value);
}

bool TIniFile::SectionExists(const QString &section) const { return FindSection(section) >= 0; }

bool TIniFile::ValueExists(const QString &section, const QString &key) const {
    QString value;
    return FindValue(section, key, value);
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const {
    QString value;
    return FindValue(section, key, value) ? value : defaultValue;
}

qint32 TIniFile::ReadInteger(const QString &section, const QString &key, qint32 defaultValue) const {
    QString text;
    qint32 value;
    if (FindValue(section, key, text) && ParseIniInteger(text, value))
        return value;
    return defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    m_lastError.clear();
    if (!Reload()) {
        m_lastError = QStringLiteral("Cannot read \"%1\"").arg(m_fileName);
        return false;
    }
    QStringList lines = m_lines;
    const QString keyName = key.trimmed();
    const QString newLine = keyName + QLatin1Char('=') + OneLine(value);
    const int header = FindSection(section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        lines.append(newLine);
    } else {
        const int at = FindKey(header, keyName);
        if (at >= 0) {
            QString oldKey;
            SplitKeyLine(lines.at(at), &oldKey, nullptr);
            lines[at] = oldKey + QLatin1Char('=') + OneLine(value);
        } else {
            int last = header;
            for (int i = header + 1; i < lines.size() && !IsSectionHeader(lines.at(i)); ++i)
                if (SplitKeyLine(lines.at(i), nullptr, nullptr))
                    last = i;
            lines.insert(last + 1, newLine);
        }
    }
    if (m_fileName.isEmpty()) {
        m_lines = lines;
        return true;
    }
    const TWriteResult result = WriteTextLines(m_fileName, lines);
    if (!result) {
        m_lastError = result.Error;
        return false;
    }
    m_lines = lines;
    return true;
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, qint32 value) {
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value) {
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
