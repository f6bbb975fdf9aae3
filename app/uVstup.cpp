#include "uVstup.h"

#include "uAppContext.h"
#include "uCisla.h"
#include "uSpolocne.h"
#include "uSpolocneOkna.h"

#include <utility>

QChar RewriteTypedChar(QChar c) {
    switch (c.unicode()) {
    case u'\u00FA': // ú
        return QLatin1Char('/');
    case u'\u00E4': // ä
        return QLatin1Char('(');
    case u'\u0148': // ň
        return QLatin1Char(')');
    case u'\u00A7': // §
        return QLatin1Char('!');
    case u'&': return QLatin1Char('*');
    case u'\u011B': // ě and ř: digits in other fields, but not of this row
    case u'\u0159': return c;
    default: TranslateDigitKey(c, false); return c;
    }
}

bool IsAcceptedTypedChar(QChar c) { return InSet(c, ExpressionChars); }

bool ContinuesFromAns(const QString &text) {
    if (text.isEmpty())
        return false;
    if (InSet(text.at(0), OperatorChars))
        return true;
    // A word operator key's text: the word between two blanks.
    for (int k = 0; k < WordOperatorCount; ++k)
        if (text.size() == WordOperatorName(k).size() + 2 && text.startsWith(QLatin1Char(' ')) &&
            text.endsWith(QLatin1Char(' ')) && QStringView(text).mid(1, text.size() - 2) == WordOperatorName(k))
            return true;
    return false;
}

int InsertAtCaret(QString &s, int selStart, int selLength, const QString &text) {
    const int start = qBound(0, selStart, int(s.size()));
    const int length = qBound(0, selLength, int(s.size()) - start);
    s.replace(start, length, text);
    return start + int(text.size());
}

int DeleteCharBeforeCaret(QString &s, int caret) {
    caret = qBound(0, caret, int(s.size()));
    if (caret == 0)
        return 0;
    s.remove(caret - 1, 1);
    return caret - 1;
}

QString OperatorKeyText(const QString &caption) {
    static const std::pair<char16_t, const char *> texts[] = {
        {u'/', "/"}, {u'x', "*"}, {u'-', "-"}, {u'+', "+"}, {u'd', " div "}, {u'm', " mod "},
    };
    if (!caption.isEmpty())
        for (const auto &[first, text] : texts)
            if (caption.at(0).unicode() == first)
                return QString::fromLatin1(text);
    return QString();
}

QString FunctionKeyText(const QString &caption, bool hyperbolic) {
    return caption + (hyperbolic ? QStringLiteral("h(") : QStringLiteral("("));
}

QString DecimalCommaText(int caret) { return caret == 0 ? QLatin1Char('0') + QString(DecSep()) : QString(DecSep()); }

QString RandomNumberText(long double value) { return FormatFloat(QStringLiteral("0.######"), value, DecSep()); }

QString FirstInputLine(const QString &text) {
    QString line = text;
    // Line feeds, carriage returns and the paragraph and line separators of
    // rich text all end a line.
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t u = line.at(i).unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029) {
            line.truncate(i);
            break;
        }
    }
    return line;
}
