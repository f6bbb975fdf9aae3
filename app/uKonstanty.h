// The user constants: a symbol such as "$g", a name, a value and a unit
// each, kept in a text file of one constant a line (symbol#name#value#unit)
// and read by the engine as its constants. The rules of the constant
// editor's fields live here too, so that they hold without a window.
#pragma once

#include "uSpolocne.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct TWriteResult;

// One constant as the user sees it: the value with the engine's decimal
// separator.
struct TKonstanta {
    QString Symbol; // "$" followed by the symbol's letters and digits
    QString Name;
    QString Value;
    QString Unit;
    bool operator==(const TKonstanta &) const = default;
};

class TKonstanty : public QAbstractTableModel, public TConstantSource {
    Q_OBJECT
public:
    // The lengths of the editor's fields (rows read from the file are taken
    // as they stand, whatever their length).
    static constexpr int SymbolLength = 6;
    static constexpr int NameLength = 40;
    static constexpr int ValueLength = 20;
    static constexpr int UnitLength = 10;

    explicit TKonstanty(QObject *parent = nullptr);

    // TConstantSource: the symbol and the value (with the engine's decimal
    // separator) of a row.
    int Count() const override { return int(m_rows.size()); }
    QString Caption(int index) const override;
    QString Value(int index) const override;

    // A row with its value in the engine's decimal separator.
    TKonstanta Row(int index) const;

    // The last row whose symbol equals symbol exactly (case counts), or -1.
    // Rows are counted in int, so the list has no limit of its own: a 257th
    // constant and any after it are added and found like the first.
    int IndexOfSymbol(const QString &symbol) const;

    // Adds constant, or when a row has its symbol already, asks
    // confirmOverwrite(row) and replaces that row on true. The list counts
    // as modified either way. Returns the row added or replaced, or -1 when
    // the answer kept the row as it was.
    int AddOrModify(const TKonstanta &constant, const std::function<bool(int row)> &confirmOverwrite);
    void Append(const TKonstanta &constant);
    // Removes a row and marks the list modified; false for no such row.
    bool Delete(int index);

    bool Modified() const { return m_modified; }

    // Replaces the rows with those of fileName (a missing file gives none),
    // then appends $pi and $e under the given names when no row has their
    // symbol. Leaves Modified as it was.
    void Load(const QString &fileName, const QString &piName, const QString &eName);
    // Writes every row to fileName when the list is modified (an empty list
    // as an empty file) and then clears Modified; does nothing otherwise.
    // A failed write keeps the old file and leaves the list modified.
    TWriteResult SaveIfModified(const QString &fileName);

    void SetColumnTitles(const QStringList &titles);
    QString ColumnTitle(int column) const { return m_titles.value(column); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Rows hold their value with "." as the decimal separator, as the file
    // does; they are shown with the engine's.
    QList<TKonstanta> m_rows;
    bool m_modified = false;
    QStringList m_titles;
};

// --- The editor's fields. ---------------------------------------------------
// The key rules return the key to type, or QChar() when it is swallowed.
// The cleaning rules take every change of a field, pasted text included,
// and move caret along with the characters they drop.

// The symbol field takes Backspace, Tab, "0" to "9" and "a" to "z".
QChar FilterSymbolKey(QChar key);
// The value field: the Slovak number row as digits, "," and "." as the
// decimal separator, upper case; then only Backspace, Tab, the separator,
// "-", digits and "E"; one separator and one "E"; "-" at the start of a text
// without one, or right after the "E" when no "-" follows the caret.
QChar FilterValueKey(const QString &text, int caret, QChar key);

// The symbol always begins with "$" (put in front, the caret moving along) and a
// text longer than "$" does not end with another "$". A user's edit (strict)
// also drops everything after the first "$" that is not "a" to "z" or "0" to
// "9".
QString CleanSymbolText(const QString &text, int &caret, bool strict);
// The name and the unit: no "#" (the file's field separator) and no line
// breaks or other control characters.
QString CleanNameText(const QString &text, int &caret);
// The value: "," and "." as the decimal separator, "e" as "E", and nothing
// but digits, the separator, "-" and "E".
QString CleanValueText(const QString &text, int &caret);
// A value the editor accepts: a number in the engine's decimal separator.
bool IsConstantValue(const QString &text);

// The file of the constants that a language file names: a relative path
// inside the program folder in the stored form ("const.dat", "data\c.dat")
// is taken as it stands; anything else (empty, absolute, with a drive, a
// ".." step or naming a folder) gives "const.dat".
QString SafeConstantFile(const QString &name);

// The value texts of the two built-in constants, with "." as separator.
QString PiValueText();
QString EValueText();
