#include "uStatistika.h"

#include "uAppContext.h"
#include "uCisla.h"

#include <algorithm>
#include <cmath>

TStatistikaStav VypocitajStatistiku(const TSubor &values, TStatistickeUdaje &out) {
    if (values.empty())
        return TStatistikaStav::EmptyList;
    // The products are taken in 80 bits as well: two doubles' product may
    // lie beyond the range of double.
    long double sx = 0, px = 1, w = 0, sxy = 0;
    for (const TZaznam &v : values) {
        const long double x = v.X;
        sx += x;
        px *= x;
        w += v.Y;
        sxy += x * v.Y;
    }
    if (w == 0)
        return TStatistikaStav::ZeroWeight;
    long double q = 0;
    for (const TZaznam &v : values) {
        const long double x = v.X;
        q += x * x * v.Y / w;
    }

    const int n = int(values.size());
    out.Pocet = n;
    out.Sucet = sx;
    out.Sucin = px;
    out.APriemer = sx / n;
    out.StrednaHodnota = sxy / w;
    // Q and E^2 are rounded apart, so a list of equal values can leave a
    // dispersion a few units of the last place below 0.
    out.Rozptyl = q - out.StrednaHodnota * out.StrednaHodnota;
    if (out.Rozptyl < 0)
        out.Rozptyl = 0;
    out.Odchylka = std::sqrt(out.Rozptyl);

    // The median needs only the middle of the sorted values.
    std::vector<double> xs;
    xs.reserve(values.size());
    for (const TZaznam &v : values)
        xs.push_back(v.X);
    const auto middle = xs.begin() + n / 2;
    std::nth_element(xs.begin(), middle, xs.end());
    if (n % 2 == 1) {
        out.Median = *middle;
    } else {
        const long double below = *std::max_element(xs.begin(), middle);
        const long double above = *middle;
        out.Median = below / 2 + above / 2;
    }
    return TStatistikaStav::Ok;
}

// ---------------------------------------------------------------------------

// A cell's number as the 64-bit value the list holds; false for a text that
// is no number or a number beyond the range of double.
static bool ReadCell(const QString &text, double &value) { return TryStrToDouble(text, value, DecSep()); }

static QString OneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

TStatistika::TStatistika(QObject *parent) : QAbstractTableModel(parent) { m_rows.append(TRow()); }

int TStatistika::AppendRow(const QString &x, const QString &y) {
    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(TRow{OneLine(x), OneLine(y)});
    endInsertRows();
    return row;
}

void TStatistika::InsertRowAt(int index) {
    if (index < 0 || index > Count())
        index = Count();
    beginInsertRows(QModelIndex(), index, index);
    m_rows.insert(index, TRow());
    endInsertRows();
}

bool TStatistika::DeleteRowAt(int index) {
    if (index < 0 || index >= Count())
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.removeAt(index);
    endRemoveRows();
    return true;
}

void TStatistika::DeleteAll() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void TStatistika::SetCell(int row, int column, const QString &text) { setData(index(row, column), text, Qt::EditRole); }

TStatistika::TVystup TStatistika::ReadValues(TSubor &values) {
    values.clear();
    values.reserve(size_t(m_rows.size()));
    TVystup result;
    int firstFilled = -1, lastFilled = -1;
    for (int r = 0; r < Count(); ++r) {
        TRow &row = m_rows[r];
        TZaznam z;
        if (!ReadCell(row.X, z.X)) {
            result = TVystup{TStatistikaStav::IncorrectValue, r, ColumnX, {}};
            break;
        }
        if (row.Y.isEmpty()) {
            row.Y = QStringLiteral("1");
            if (firstFilled < 0)
                firstFilled = r;
            lastFilled = r;
        }
        if (!ReadCell(row.Y, z.Y)) {
            result = TVystup{TStatistikaStav::IncorrectValue, r, ColumnY, {}};
            break;
        }
        values.push_back(z);
    }
    if (firstFilled >= 0)
        emit dataChanged(index(firstFilled, ColumnY), index(lastFilled, ColumnY));
    return result;
}

TStatistika::TVystup TStatistika::Vypocet() {
    TSubor values;
    TVystup result = ReadValues(values);
    if (result.Stav == TStatistikaStav::Ok)
        result.Stav = VypocitajStatistiku(values, result.Udaje);
    return result;
}

QStringList TStatistika::Texty(const TStatistickeUdaje &u) const {
    const auto text = [this](long double v) {
        return std::isfinite(v) ? FormatFloat(QStringLiteral("0.###"), v, DecSep()) : Messages.OutOfRange;
    };
    return {QString::number(u.Pocet), text(u.Sucet),   text(u.Sucin),    text(u.APriemer),
            text(u.StrednaHodnota),   text(u.Rozptyl), text(u.Odchylka), text(u.Median)};
}

int TStatistika::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

int TStatistika::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 2; }

QVariant TStatistika::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const TRow &row = m_rows.at(index.row());
    return index.column() == ColumnX ? row.X : row.Y;
}

bool TStatistika::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.row() >= Count() || role != Qt::EditRole)
        return false;
    TRow &row = m_rows[index.row()];
    (index.column() == ColumnX ? row.X : row.Y) = OneLine(value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TStatistika::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TStatistika::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == ColumnX ? QStringLiteral("x") : QStringLiteral("y");
}
