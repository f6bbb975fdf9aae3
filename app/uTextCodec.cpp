#include "uTextCodec.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

// Bytes 0x80..0xFF. The five bytes that Windows-1250 leaves unassigned map
// to the C1 control of the same number, as the system's conversion does.
static const char16_t kCp1250High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

QChar Cp1250ToUnicode(uchar byte) { return byte < 0x80 ? QChar(byte) : QChar(kCp1250High[byte - 0x80]); }

bool UnicodeToCp1250(QChar c, uchar &byte) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
        byte = uchar(u);
        return true;
    }
    for (int i = 0; i < 128; ++i)
        if (kCp1250High[i] == u) {
            byte = uchar(0x80 + i);
            return true;
        }
    return false;
}

static const QByteArray kUtf8Bom("\xEF\xBB\xBF");

QString DecodeFileText(const QByteArray &bytes) {
    QByteArray body = bytes;
    if (body.startsWith(kUtf8Bom))
        body.remove(0, kUtf8Bom.size());
    // The one mark is gone; a second one belongs to the text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString asUtf8 = utf8.decode(body);
    if (!utf8.hasError())
        return asUtf8;
    QString text;
    text.reserve(body.size());
    for (char b : std::as_const(body))
        text.append(Cp1250ToUnicode(uchar(b)));
    return text;
}

QByteArray EncodeFileText(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        uchar b;
        if (!UnicodeToCp1250(c, b))
            return kUtf8Bom + text.toUtf8();
        out.append(char(b));
    }
    // Windows-1250 bytes that happen to be valid UTF-8 ("ČŠ" is C8 8A, the
    // UTF-8 of one letter) or begin with the mark would be read back as
    // something else: such a text goes out as UTF-8 with the mark, which
    // reads back as it is.
    if (DecodeFileText(out) != text)
        return kUtf8Bom + text.toUtf8();
    return out;
}

QStringList SplitLines(const QString &text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

bool ReadTextLines(const QString &fileName, QStringList &lines) {
    lines.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = SplitLines(DecodeFileText(file.readAll()));
    return true;
}

TWriteResult WriteFileBytes(const QString &fileName, const QByteArray &bytes) {
    TWriteResult result;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.Error = file.errorString();
        return result;
    }
    // QSaveFile::commit() does not notice a short write of its buffer (a
    // full disk, a size limit), so the data is flushed and checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        result.Error = file.errorString();
        if (file.error() == QFileDevice::NoError || result.Error.isEmpty())
            result.Error = QStringLiteral("Write error");
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.Error = file.errorString();
        return result;
    }
    result.Ok = true;
    return result;
}

TWriteResult WriteTextLines(const QString &fileName, const QStringList &lines) {
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return WriteFileBytes(fileName, EncodeFileText(text));
}
