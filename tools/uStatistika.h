// The statistics of a weighted list of values: the rows as the user types
// them (value x, weight y) and the summary computed from them.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// One value and its weight, held in 64 bits: a number beyond the range of
// double is not a value.
struct TZaznam {
    double X = 0;
    double Y = 1;
};
using TSubor = std::vector<TZaznam>;

// The summary of a list. The values are 64-bit, but everything is summed in
// 80-bit floating point, so a sum or product may lie beyond the range of
// double.
struct TStatistickeUdaje {
    int Pocet = 0;                  // n
    long double Sucet = 0;          // sum of x
    long double Sucin = 1;          // product of x
    long double APriemer = 0;       // sum of x / n, the weights ignored
    long double StrednaHodnota = 0; // E = sum of x*y / sum of y
    long double Rozptyl = 0;        // D = sum of x^2*y/W - E^2, never below 0
    long double Odchylka = 0;       // square root of D
    long double Median = 0;         // middle value of the sorted x, weights ignored
};

// Why a list has no summary.
enum class TStatistikaStav { Ok, IncorrectValue, EmptyList, ZeroWeight };

// The summary of values; EmptyList for no values, ZeroWeight when the
// weights add up to 0 (the weighted results would divide by it).
TStatistikaStav VypocitajStatistiku(const TSubor &values, TStatistickeUdaje &out);

// The grid's rows as texts, and the calculation over them.
class TStatistika : public QAbstractTableModel {
    Q_OBJECT
public:
    struct TRow {
        QString X;
        QString Y;
    };
    enum { ColumnX = 0, ColumnY = 1 };

    // The outcome of Vypocet: on IncorrectValue, Row and Column name the
    // first cell that is not a number.
    struct TVystup {
        TStatistikaStav Stav = TStatistikaStav::Ok;
        int Row = -1;
        int Column = -1;
        TStatistickeUdaje Udaje;
    };

    // The messages, with their built-in texts; the window's language sets
    // them.
    struct TMessages {
        QString InputError = QStringLiteral("Chyba vstupu");
        QString IncorrectValue = QStringLiteral("Zle zadaná hodnota.");
        QString EmptyList = QStringLiteral("Zoznam hodnôt je prázdny.");
        QString ZeroWeight = QStringLiteral("Súčet váh je 0.");
        QString OutOfRange = QStringLiteral("mimo rozsahu");
    };
    TMessages Messages;

    // Starts with one empty row.
    explicit TStatistika(QObject *parent = nullptr);

    int Count() const { return int(m_rows.size()); }
    const TRow &Row(int index) const { return m_rows.at(index); }

    // Appends a row and returns its index.
    int AppendRow(const QString &x, const QString &y);
    void InsertRowAt(int index);
    // False (and nothing changes) for an index that names no row.
    bool DeleteRowAt(int index);
    void DeleteAll();
    void SetCell(int row, int column, const QString &text);

    // Reads every row in order. An empty weight becomes "1" in its cell. A
    // cell that is not a number, or one beyond the range of double, stops
    // the reading (IncorrectValue with its row and column).
    TVystup ReadValues(TSubor &values);
    // ReadValues, then the summary of the values.
    TVystup Vypocet();

    // The texts of the eight results in the order count, sum, product,
    // arithmetic mean, E, D, s, median: the count as an integer, the rest
    // with at most three decimals; a result beyond the number range shows
    // Messages.OutOfRange.
    QStringList Texty(const TStatistickeUdaje &udaje) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<TRow> m_rows;
};
