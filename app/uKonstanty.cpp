#include "uKonstanty.h"

#include "uAppContext.h"
#include "uCisla.h"
#include "uSpolocneOkna.h"
#include "uTextCodec.h"

#include <QFileInfo>
#include <numbers>

namespace {

const QChar kSeparator = QLatin1Char('#');

// The value as the file holds it: "." and "," both become ".".
QString StoredValue(QString value) {
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    return value;
}

QString ShownValue(QString value) {
    value.replace(QLatin1Char('.'), DecSep());
    return value;
}

// No field may carry the file's separator or break its line, whatever
// called the model.
QString FieldText(QString text) {
    text.remove(kSeparator);
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

TKonstanta Stored(const TKonstanta &k) {
    return TKonstanta{FieldText(k.Symbol), FieldText(k.Name), StoredValue(FieldText(k.Value)), FieldText(k.Unit)};
}

// symbol#name#value#unit; missing fields are empty, anything after a
// fourth "#" is ignored.
TKonstanta ParseLine(const QString &line) {
    const QStringList f = line.split(kSeparator);
    return TKonstanta{f.value(0), f.value(1), StoredValue(f.value(2)), f.value(3)};
}

bool IsLowerLetterOrDigit(QChar c) { return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || IsAsciiDigit(c); }

// Removes the characters that keep() refuses and moves caret along.
template <class F>
QString KeepOnly(const QString &text, int &caret, F keep) {
    QString out;
    out.reserve(text.size());
    int newCaret = caret;
    for (int i = 0; i < text.size(); ++i) {
        if (keep(i, text.at(i)))
            out += text.at(i);
        else if (i < caret)
            --newCaret;
    }
    caret = qBound(0, newCaret, int(out.size()));
    return out;
}

} // namespace

TKonstanty::TKonstanty(QObject *parent) : QAbstractTableModel(parent) {
    m_titles = {QStringLiteral("Značka"), QStringLiteral("Názov"), QStringLiteral("Hodnota"),
                QStringLiteral("Jednotka")};
}

QString TKonstanty::Caption(int index) const { return m_rows.at(index).Symbol; }

QString TKonstanty::Value(int index) const { return ShownValue(m_rows.at(index).Value); }

TKonstanta TKonstanty::Row(int index) const {
    TKonstanta k = m_rows.at(index);
    k.Value = ShownValue(k.Value);
    return k;
}

int TKonstanty::IndexOfSymbol(const QString &symbol) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (m_rows.at(i).Symbol == symbol)
            return i;
    return -1;
}

void TKonstanty::Append(const TKonstanta &constant) {
    beginInsertRows(QModelIndex(), Count(), Count());
    m_rows.append(Stored(constant));
    endInsertRows();
}

int TKonstanty::AddOrModify(const TKonstanta &constant, const std::function<bool(int row)> &confirmOverwrite) {
    m_modified = true;
    const int row = IndexOfSymbol(FieldText(constant.Symbol));
    if (row < 0) {
        Append(constant);
        return Count() - 1;
    }
    if (!confirmOverwrite || !confirmOverwrite(row))
        return -1;
    m_rows[row] = Stored(constant);
    emit dataChanged(index(row, 0), index(row, 3));
    return row;
}

bool TKonstanty::Delete(int index) {
    if (index < 0 || index >= Count())
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.removeAt(index);
    endRemoveRows();
    m_modified = true;
    return true;
}

void TKonstanty::Load(const QString &fileName, const QString &piName, const QString &eName) {
    beginResetModel();
    m_rows.clear();
    QStringList lines;
    if (QFileInfo(fileName).isFile() && ReadTextLines(fileName, lines))
        for (const QString &line : std::as_const(lines))
            m_rows.append(ParseLine(line));
    if (IndexOfSymbol(QStringLiteral("$pi")) < 0)
        m_rows.append(TKonstanta{QStringLiteral("$pi"), piName, PiValueText(), QString()});
    if (IndexOfSymbol(QStringLiteral("$e")) < 0)
        m_rows.append(TKonstanta{QStringLiteral("$e"), eName, EValueText(), QString()});
    endResetModel();
}

TWriteResult TKonstanty::SaveIfModified(const QString &fileName) {
    if (!m_modified)
        return TWriteResult{true, QString()};
    QStringList lines;
    lines.reserve(m_rows.size());
    for (const TKonstanta &k : std::as_const(m_rows))
        lines.append(k.Symbol + kSeparator + k.Name + kSeparator + k.Value + kSeparator + k.Unit);
    TWriteResult result = WriteTextLines(fileName, lines);
    if (result)
        m_modified = false;
    return result;
}

void TKonstanty::SetColumnTitles(const QStringList &titles) {
    for (int i = 0; i < m_titles.size() && i < titles.size(); ++i)
        m_titles[i] = titles.at(i);
    emit headerDataChanged(Qt::Horizontal, 0, int(m_titles.size()) - 1);
}

int TKonstanty::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

int TKonstanty::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 4; }

QVariant TKonstanty::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count() || role != Qt::DisplayRole)
        return QVariant();
    const TKonstanta &k = m_rows.at(index.row());
    switch (index.column()) {
    case 0: return k.Symbol;
    case 1: return k.Name;
    case 2: return ShownValue(k.Value);
    default: return k.Unit;
    }
}

Qt::ItemFlags TKonstanty::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant TKonstanty::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_titles.value(section);
}

// ---------------------------------------------------------------------------

QChar FilterSymbolKey(QChar key) {
    return key == QChar(8) || key == QChar(9) || IsLowerLetterOrDigit(key) ? key : QChar();
}

QChar FilterValueKey(const QString &text, int caret, QChar key) {
    TranslateDigitKey(key, true);
    key = key.toUpper();
    const QChar sep = DecSep();
    const QChar minus = QLatin1Char('-');
    const QChar exponent = QLatin1Char('E');
    if (!(key == QChar(8) || key == QChar(9) || key == sep || key == minus || IsAsciiDigit(key) || key == exponent))
        return QChar();
    // One decimal separator, whichever the locale's is.
    if (key == sep && text.contains(sep))
        return QChar();
    if (key == exponent && text.contains(exponent))
        return QChar();
    if (key == minus) {
        if (caret > 0) {
            const qsizetype e = text.indexOf(exponent);
            const bool afterExponent = e >= 0 && e == caret - 1;
            const bool minusFollows = caret < text.size() && text.at(caret) == minus;
            if (!afterExponent || minusFollows)
                return QChar();
        } else if (text.startsWith(minus)) {
            return QChar();
        }
    }
    return key;
}

QString CleanSymbolText(const QString &text, int &caret, bool strict) {
    QString out = text;
    if (!out.startsWith(QLatin1Char('$'))) {
        // The caret stays with the text it was in.
        out.prepend(QLatin1Char('$'));
        caret = qBound(1, caret + 1, int(out.size()));
    }
    if (strict)
        out = KeepOnly(out, caret, [](int i, QChar c) { return i == 0 || IsLowerLetterOrDigit(c); });
    if (out.size() > 1 && out.endsWith(QLatin1Char('$'))) {
        out.chop(1);
        caret = qMin(caret, int(out.size()));
    }
    return out;
}

QString CleanNameText(const QString &text, int &caret) {
    return KeepOnly(text, caret,
                    [](int, QChar c) { return c != kSeparator && c.unicode() >= 32 && c.unicode() != 127; });
}

QString CleanValueText(const QString &text, int &caret) {
    QString value = text;
    for (QChar &c : value) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = DecSep();
        else if (c == QLatin1Char('e'))
            c = QLatin1Char('E');
    }
    return KeepOnly(value, caret, [](int, QChar c) {
        return IsAsciiDigit(c) || c == DecSep() || c == QLatin1Char('-') || c == QLatin1Char('E');
    });
}

bool IsConstantValue(const QString &text) {
    long double value;
    return TryStrToFloat(text, value, DecSep());
}

QString SafeConstantFile(const QString &name) {
    static const QString kDefault = QStringLiteral("const.dat");
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.trimmed().isEmpty() || path.startsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('/')) ||
        path.contains(QLatin1Char(':')))
        return kDefault;
    for (QChar c : std::as_const(path))
        if (c.unicode() < 32 || c.unicode() == 127)
            return kDefault;
    const QStringList steps = path.split(QLatin1Char('/'));
    for (const QString &step : steps)
        if (step.trimmed() == QLatin1String("..") || step.isEmpty())
            return kDefault;
    return name;
}

QString PiValueText() {
    return FormatFloat(QStringLiteral("0.###################"), std::numbers::pi_v<long double>, QLatin1Char('.'));
}

QString EValueText() {
    return FormatFloat(QStringLiteral("0.###################"), std::numbers::e_v<long double>, QLatin1Char('.'));
}
