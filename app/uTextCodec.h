// The program's text files ("settings.ini", the language files, "const.dat",
// "history.dat" and the history export) share one codec: they are read as
// UTF-8 (with or without a byte-order mark) when the bytes are valid UTF-8
// and as Windows-1250 otherwise; they are written in Windows-1250 when every
// character fits and those bytes read back as the same text (they are no
// valid UTF-8), and as UTF-8 with a byte-order mark otherwise, so whatever is
// written reads back identically. Lines end
// with CR LF. Every file is written whole through QSaveFile, so a failed
// write leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Windows-1250 single characters.
QChar Cp1250ToUnicode(uchar byte);
// The Windows-1250 byte of c; false when c has none.
bool UnicodeToCp1250(QChar c, uchar &byte);

QString DecodeFileText(const QByteArray &bytes);
QByteArray EncodeFileText(const QString &text);

// Splits text into lines at CR LF, LF or a lone CR; a final line break does
// not start another line.
QStringList SplitLines(const QString &text);

// The outcome of a whole-file write.
struct TWriteResult {
    bool Ok = false;
    QString Error; // the system's description of the failure
    explicit operator bool() const { return Ok; }
};

// Reads the lines of fileName; false (and no lines) when it cannot be read.
bool ReadTextLines(const QString &fileName, QStringList &lines);
// Writes lines, each ended by CR LF, replacing fileName whole.
TWriteResult WriteTextLines(const QString &fileName, const QStringList &lines);
// Replaces fileName whole with bytes.
TWriteResult WriteFileBytes(const QString &fileName, const QByteArray &bytes);
