// Combinatorics: the six counts and their messages, and the window's wiring.
#include "../app/AppTestSupport.h"
#include "kombinatorika.h"
#include "uKombinatorika.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class KombinatorikaTest : public AppTest {};

TEST_F(KombinatorikaTest, CountsAndMessages) {
    using K = TKombinatorika;
    using R = K::TVysledok;
    struct Case {
        K::TUloha uloha;
        const char *n, *k;
        R::TStav stav;
        const char *text;
    } cases[] = {
        {K::KombinacneCislo, "5", "2", R::Ok, "10"},
        {K::VariacieBezOpakovania, "5", "2", R::Ok, "20"},
        {K::VariacieSOpakovanim, "5", "2", R::Ok, "25"},
        {K::KombinacieBezOpakovania, "5", "2", R::Ok, "10"},
        {K::KombinacieSOpakovanim, "5", "2", R::Ok, "15"},
        {K::Permutacie, "5", "2", R::Ok, "120"},
        {K::KombinacneCislo, "2", "5", R::InvalidInput, "Neplatný vstup."},
        {K::VariacieSOpakovanim, "2", "5", R::Ok, "32"},
        {K::KombinacneCislo, "5", "0", R::Ok, "1"},
        {K::KombinacneCislo, "0", "0", R::Ok, "1"},
        {K::KombinacieSOpakovanim, "0", "0", R::InvalidInput, "Neplatný vstup."},
        // Exact while the products fit in the 64-bit mantissa.
        {K::KombinacneCislo, "60", "30", R::Ok, "118264581564861424"},
        // n! overflows long before n over k does.
        {K::KombinacneCislo, "2000", "3", R::Ok, "1331334000"},
        {K::KombinacneCislo, "2000", "1997", R::Ok, "1331334000"},
        {K::VariacieBezOpakovania, "2000", "3", R::Ok, "7988004000"},
        {K::VariacieSOpakovanim, "10", "4931", R::Ok, "1E4931"},
        {K::VariacieSOpakovanim, "10", "4933", R::InvalidInput, "Neplatný vstup."},
        {K::Permutacie, "1755", "0", R::InvalidInput, "Neplatný vstup."},
        {K::VariacieSOpakovanim, "65535", "1", R::Ok, "65535"},
        {K::VariacieSOpakovanim, "65536", "1", R::InvalidInput, "Neplatný vstup."},
        {K::KombinacneCislo, "1a", "1", R::InvalidInput, "Neplatný vstup."},
        {K::KombinacneCislo, "", "", R::NNotEntered, "Nie je zadané n."},
        {K::KombinacneCislo, "5", "", R::KNotEntered, "Nie je zadané k."},
    };
    const TKombinatorika model;
    for (const Case &c : cases) {
        const R r = model.Vypocet(c.uloha, c.n, c.k);
        EXPECT_EQ(r.Stav, c.stav) << c.uloha << " " << c.n << " " << c.k;
        EXPECT_EQ(S(r.Text), c.text) << c.uloha << " " << c.n << " " << c.k;
    }
}

TEST_F(KombinatorikaTest, LargestCountsThatFit) {
    long double r = 0;
    ASSERT_TRUE(TKombinatorika::Pocet(TKombinatorika::Permutacie, 1754, 0, r));
    EXPECT_NEAR(double(r / 1.979261890105010e4930L), 1.0, 1e-14);
    // Near the top of the range the last products k * (n over k) overflow
    // while n over k itself fits.
    ASSERT_TRUE(TKombinatorika::Pocet(TKombinatorika::KombinacneCislo, 65535, 2733, r));
    EXPECT_NEAR(double(std::log10(r)), 4930.80353, 1e-5);
    EXPECT_FALSE(TKombinatorika::Pocet(TKombinatorika::KombinacneCislo, 65535, 2734, r));
}

TEST_F(KombinatorikaTest, WindowTakesDigitsAndShowsResultsAndMessages) {
    TkombinatorikaFrm w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *n = Find<QLineEdit>(w, "EdtN");
    auto *k = Find<QLineEdit>(w, "EdtK");
    auto *result = Find<QLineEdit>(w, "EdtVysledok");
    auto *calculate = Find<QPushButton>(w, "vypocetBtn");
    n->clear();
    n->setFocus();
    TypeText(n, QStringLiteral("ťa- ,+")); // the 5 of the Slovak number row; "+" is 1; no space
    EXPECT_EQ(S(n->text()), "51");
    TypeText(n, QStringLiteral("234"));
    EXPECT_EQ(S(n->text()), "5123"); // four digits at most
    n->setText("5");
    k->clear();
    k->setFocus();
    TypeText(k, QStringLiteral(" 2 "));
    EXPECT_EQ(S(k->text()), "2");
    Find<QRadioButton>(w, "RadioButton3")->click();
    calculate->click();
    EXPECT_EQ(S(result->text()), "25");
    EXPECT_EQ(result->palette().color(QPalette::Text), QColor(Qt::black));
    n->clear();
    k->setFocus();
    calculate->click();
    EXPECT_EQ(S(result->text()), "Nie je zadané n.");
    EXPECT_EQ(result->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(QApplication::focusWidget(), n);
}
