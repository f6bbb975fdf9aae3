// Statistics of a weighted list: the model's rules and the window's wiring.
#include "../app/AppTestSupport.h"
#include "fStatistika.h"
#include "uStatistika.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <cmath>

namespace {

using TRows = QList<QPair<QString, QString>>;

void Fill(TStatistika &model, const TRows &rows) {
    model.DeleteAll();
    for (const auto &row : rows)
        model.AppendRow(row.first, row.second);
}

TRows Repeated(const QString &value, int count) {
    TRows rows;
    for (int i = 0; i < count; ++i)
        rows.append({value, "1"});
    return rows;
}

} // namespace

class StatistikaTest : public AppTest {};

TEST_F(StatistikaTest, SummaryOfValidLists) {
    // count, sum, product, arithmetic mean, E, D, s, median
    struct Case {
        const char *name;
        TRows rows;
        QStringList texts;
    } cases[] = {
        {"empty weights count as 1",
         {{"1", ""}, {"2", ""}, {"3", ""}},
         {"3", "6", "6", "2", "2", "0,667", "0,816", "2"}},
        {"weights", {{"10", "3"}, {"20", "1"}}, {"2", "30", "200", "15", "12,5", "18,75", "4,33", "15"}},
        {"even count, unsorted",
         {{"4", "1"}, {"1", "1"}, {"3", "1"}, {"2", "1"}},
         {"4", "10", "24", "2,5", "2,5", "1,25", "1,118", "2,5"}},
        {"negative and fractional",
         {{"-1,5", "2"}, {" 4 ", "0,5"}, {"1E1", "1"}},
         {"3", "12,5", "-60", "4,167", "2,571", "25,531", "5,053", "4"}},
        // Rounding leaves Q - E^2 of three equal values below 0.
        {"dispersion never below 0",
         {{"0,011", "1"}, {"0,011", "1"}, {"0,011", "1"}},
         {"3", "0,033", "0", "0,011", "0,011", "0", "0", "0,011"}},
        {"zeros are no underflow", {{"0", "1"}, {"-0", "1"}, {"0E5", "1"}}, {"3", "0", "0", "0", "0", "0", "0", "0"}},
        {"past 255 rows",
         Repeated("1", 150) + Repeated("2", 150),
         {"300", "450", "1,42724769270595988E45", "1,5", "1,5", "0,25", "0,5", "1,5"}},
        // 2^32 512 times: every sum exact, the product 2^16384 beyond 80 bits.
        {"product beyond the range",
         Repeated("4294967296", 512),
         {"512", "2199023255552", "mimo rozsahu", "4294967296", "4294967296", "0", "0", "4294967296"}},
    };
    for (const Case &c : cases) {
        TStatistika model;
        Fill(model, c.rows);
        const TStatistika::TVystup out = model.Vypocet();
        ASSERT_EQ(out.Stav, TStatistikaStav::Ok) << c.name;
        EXPECT_EQ(S(model.Texty(out.Udaje).join(" | ")), S(c.texts.join(" | "))) << c.name;
    }
}

TEST_F(StatistikaTest, SumsOfDoublesAreHeldBeyondTheRangeOfDouble) {
    const double big = std::ldexp(1.0, 1000);
    TStatistickeUdaje u;
    ASSERT_EQ(VypocitajStatistiku({{big, big}, {big, big}}, u), TStatistikaStav::Ok);
    EXPECT_EQ(u.Sucin, std::ldexp(1.0L, 2000));
    EXPECT_EQ(u.StrednaHodnota, big);
    EXPECT_EQ(u.Rozptyl, 0);
}

TEST_F(StatistikaTest, FilledWeightsAreAnnouncedToTheView) {
    struct Case {
        TRows rows;
        int first, last;
    } cases[] = {{{{"1", ""}, {"2", "5"}, {"3", ""}}, 0, 2}, {{{"1", "2"}, {"2", ""}}, 1, 1}, {{{"1", "2"}}, -1, -1}};
    for (const Case &c : cases) {
        TStatistika model;
        Fill(model, c.rows);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.Vypocet();
        ASSERT_EQ(changed.size(), c.first < 0 ? 0 : 1) << c.first;
        if (c.first >= 0) {
            EXPECT_TRUE(changed.at(0).at(0) == model.index(c.first, TStatistika::ColumnY) &&
                        changed.at(0).at(1) == model.index(c.last, TStatistika::ColumnY))
                << c.first;
        }
    }
}

TEST_F(StatistikaTest, ListsWithoutSummary) {
    struct Case {
        const char *name;
        TRows rows;
        TStatistikaStav stav;
        int row, column;
    } cases[] = {
        {"blank left by the add button",
         {{"1", "1"}, {" ", "1"}},
         TStatistikaStav::IncorrectValue,
         1,
         TStatistika::ColumnX},
        {"bad weight", {{"1", "1"}, {"2", "a"}, {"x", "1"}}, TStatistikaStav::IncorrectValue, 1, TStatistika::ColumnY},
        {"other decimal point", {{"1.5", "1"}}, TStatistikaStav::IncorrectValue, 0, TStatistika::ColumnX},
        {"value beyond double",
         {{"1", "1"}, {"1E4000", "1"}},
         TStatistikaStav::IncorrectValue,
         1,
         TStatistika::ColumnX},
        {"weight beyond double", {{"1", "-1,8E308"}}, TStatistikaStav::IncorrectValue, 0, TStatistika::ColumnY},
        {"value below double",
         {{"1E308", "1"}, {"1E-400", "1"}},
         TStatistikaStav::IncorrectValue,
         1,
         TStatistika::ColumnX},
        {"weight below double", {{"1", "-1E-310"}}, TStatistikaStav::IncorrectValue, 0, TStatistika::ColumnY},
        {"no rows", {}, TStatistikaStav::EmptyList, -1, -1},
        {"weights cancel", {{"1", "1"}, {"2", "-1"}}, TStatistikaStav::ZeroWeight, -1, -1},
    };
    for (const Case &c : cases) {
        TStatistika model;
        Fill(model, c.rows);
        const TStatistika::TVystup out = model.Vypocet();
        EXPECT_EQ(out.Stav, c.stav) << c.name;
        EXPECT_EQ(out.Row, c.row) << c.name;
        EXPECT_EQ(out.Column, c.column) << c.name;
    }
}

TEST_F(StatistikaTest, WindowCalculatesTypedRowsAndReportsBadOnes) {
    TstatistikaFrm w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    auto *grid = Find<QTableView>(w, "hodnotyVle");
    auto *pocet = Find<QLineEdit>(w, "pocetEdt");
    auto *median = Find<QLineEdit>(w, "medianEdt");
    grid->setFocus();
    grid->setCurrentIndex(w.Model().index(0, TStatistika::ColumnX));
    TypeText(grid, QStringLiteral("ť")); // the 5 of the Slovak number row
    Find<QPushButton>(w, "novyBtn")->click();
    EXPECT_EQ(grid->currentIndex(), w.Model().index(1, TStatistika::ColumnX));
    TypeText(grid, QStringLiteral("7,5"));
    Find<QPushButton>(w, "vypocetBtn")->click();
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    EXPECT_EQ(S(pocet->text()), "2");
    EXPECT_EQ(S(median->text()), "6,25");
    EXPECT_EQ(S(w.Model().Row(0).Y), "1");

    w.Model().SetCell(1, TStatistika::ColumnY, "1e4000"); // beyond the 64-bit values
    Find<QPushButton>(w, "vypocetBtn")->click();
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_TRUE(Prompter->Shown.at(0).Kind == TMessageKind::Warning && Prompter->Shown.at(0).Caption == "Chyba vstupu");
    EXPECT_EQ(S(Prompter->Shown.at(0).Text), "Zle zadaná hodnota.");
    EXPECT_EQ(grid->currentIndex(), w.Model().index(1, TStatistika::ColumnY));

    Find<QPushButton>(w, "zmazatBtn")->click();
    EXPECT_EQ(w.Model().Count(), 1);
    Find<QPushButton>(w, "zmazatVsetkoBtn")->click();
    Find<QPushButton>(w, "vypocetBtn")->click();
    ASSERT_EQ(Prompter->Shown.size(), 2);
    EXPECT_EQ(S(Prompter->Shown.at(1).Text), "Zoznam hodnôt je prázdny.");
}
