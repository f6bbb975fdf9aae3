#include "uSpolocne.h"

#include <QLocale>

const TCharSet DigitChars = QStringLiteral("0123456789");
const TCharSet LetterChars = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const TCharSet DigitsAndLetters = DigitChars + LetterChars;
const TCharSet WordTailReal = QStringLiteral("+,-.0123456789");
const TCharSet WordTailWithExp = QStringLiteral("+,-.0123456789Ee");

QChar SystemDecimalSeparator() {
    const QString sep = QLocale::system().decimalPoint();
    return sep == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

static QStringList BuiltInFunctionNames();

void TEngineContext::Reset() {
    *this = TEngineContext();
    DecimalSeparator = SystemDecimalSeparator();
    FunctionNames = BuiltInFunctionNames();
}

TEngineContext &Engine() {
    static TEngineContext context = [] {
        TEngineContext c;
        c.Reset();
        return c;
    }();
    return context;
}

void LoadFunctionNames() { Engine().FunctionNames = BuiltInFunctionNames(); }

// The order matters: names are found by plain substring search in list
// order, so each name stands before every shorter name it contains.
static QStringList BuiltInFunctionNames() {
    return QStringList{
        QStringLiteral("arccoth"), QStringLiteral("arccotgh"), QStringLiteral("arccotg"), QStringLiteral("arccot"),
        QStringLiteral("arctanh"), QStringLiteral("arctgh"),   QStringLiteral("arctan"),  QStringLiteral("arctg"),
        QStringLiteral("cotanh"),  QStringLiteral("cotgh"),    QStringLiteral("cotan"),   QStringLiteral("cotg"),
        QStringLiteral("tanh"),    QStringLiteral("tgh"),      QStringLiteral("tan"),     QStringLiteral("tg"),
        QStringLiteral("arcsinh"), QStringLiteral("arcsin"),   QStringLiteral("arccosh"), QStringLiteral("arccos"),
        QStringLiteral("sinh"),    QStringLiteral("cosh"),     QStringLiteral("sin"),     QStringLiteral("cos"),
        QStringLiteral("abs"),     QStringLiteral("sign"),     QStringLiteral("logy"),    QStringLiteral("log"),
        QStringLiteral("ln"),      QStringLiteral("sqrt"),     QStringLiteral("sqr"),     QStringLiteral("deg"),
        QStringLiteral("dms"),     QStringLiteral("rnd")};
}

QString ValueOfName(const QStringList &lines, const QString &name) {
    for (const QString &line : lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}

// --- 1-based helpers -------------------------------------------------------

int Pos(const QString &sub, const QString &s) {
    if (sub.isEmpty())
        return 0;
    return int(s.indexOf(sub)) + 1;
}

int PosEx(const QString &sub, const QString &s, int from) {
    if (sub.isEmpty() || from < 1 || from > s.size())
        return 0;
    return int(s.indexOf(sub, from - 1)) + 1;
}

int LastPos(const QString &sub, const QString &s) {
    if (sub.isEmpty())
        return 0;
    return int(s.lastIndexOf(sub)) + 1;
}

QString Copy(const QString &s, int index, int count) {
    if (index < 1)
        index = 1;
    if (count <= 0 || index > s.size())
        return QString();
    return s.mid(index - 1, count);
}

void Delete(QString &s, int index, int count) {
    if (index < 1 || index > s.size() || count <= 0)
        return;
    s.remove(index - 1, count);
}

void Insert(const QString &sub, QString &s, int index) {
    if (index < 1)
        index = 1;
    if (index > s.size() + 1)
        index = int(s.size()) + 1;
    s.insert(index - 1, sub);
}

QString AsciiLower(const QString &s) {
    QString r = s;
    for (QChar &c : r)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return r;
}

QString AsciiUpper(const QString &s) {
    QString r = s;
    for (QChar &c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return r;
}
