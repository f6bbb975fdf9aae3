// The rule of three: results, messages and focus, and the window's wiring.
#include "../app/AppTestSupport.h"
#include "fTrojclenka.h"
#include "uTrojclenka.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TrojclenkaTest : public AppTest {};

TEST_F(TrojclenkaTest, ResultsMessagesAndFocus) {
    const char *invalid = "Neplatný vstup";
    const char *missing = "Nie sú zadané všetky čísla";
    struct Case {
        const char *a, *b, *c;
        bool priama;
        bool ok;
        const char *text;
        int focus;
    } cases[] = {
        // 5 kg cost 20, so 10 kg cost 40; 5 workers take 20 days, so 10 take 10.
        {"5", "20", "10", true, true, "40", -1},
        {"5", "20", "10", false, true, "10", -1},
        {"3", "1", "7", true, true, "2,3333", -1},
        {"3", "1", "7", false, true, "0,4286", -1},
        {"32", "1", "1", true, true, "0,0313", -1}, // 0,03125: a half away from zero
        {"-1,5", "2", "4", false, true, "-0,75", -1},
        // A division by zero puts the focus on the divisor: a for direct, c for inverse.
        {"0", "20", "10", true, false, invalid, 0},
        {"5", "20", "0", false, false, invalid, 2},
        {"5", "20", "0", true, true, "0", -1},
        {"0", "20", "10", false, true, "0", -1},
        {"0", "0", "0", true, false, invalid, -1},
        {"1E4000", "1", "1", true, false, invalid, -1},
        {"1E-100", "1E200", "1E200", true, false, invalid, -1},
        {"1E200", "1E200", "1E200", true, true, "1E200", -1}, // the double's own digits
        // Below the 64-bit range is no number, as above it; a zero is 0.
        {"1E308", "1E-400", "1", false, false, invalid, -1},
        {"1", "1", "1E-400", true, false, invalid, -1},
        {"5", "20", "1E-400", false, false, invalid, -1},
        {"1", "-0", "0E5", true, true, "0", -1},
        {"5", "1.5", "2", true, false, invalid, -1},
        {"", "20", "10", true, false, missing, 0},
        {"5", "", "", false, false, missing, 1},
        {"5", "20", "", true, false, missing, 2},
    };
    const TTrojclenka model;
    for (const Case &c : cases) {
        const TTrojclenka::TVysledok r = model.Vypocet(c.a, c.b, c.c, c.priama);
        const std::string name = std::string(c.a) + " " + c.b + " " + c.c + (c.priama ? " direct" : " inverse");
        EXPECT_EQ(r.Ok, c.ok) << name;
        EXPECT_EQ(S(r.Text), c.text) << name;
        EXPECT_EQ(r.Focus, c.focus) << name;
    }
}

TEST_F(TrojclenkaTest, WindowFiltersKeysAndShowsResultsAndMessages) {
    TtrojclenkaFrm w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *a = Find<QLineEdit>(w, "Edit1");
    auto *b = Find<QLineEdit>(w, "Edit2");
    auto *c = Find<QLineEdit>(w, "Edit3");
    auto *result = Find<QLineEdit>(w, "resultEdt");
    auto *calculate = Find<QPushButton>(w, "Button1");
    a->setFocus();
    TypeText(a, QStringLiteral("-ť.x5-.")); // number row, one separator, one leading minus
    EXPECT_EQ(S(a->text()), "-5,5");
    b->setText("2");
    c->setText("4");
    calculate->click();
    EXPECT_EQ(S(result->text()), "-1,4545");
    c->setText("3");
    EXPECT_TRUE(result->text().isEmpty()); // a change clears the result

    // Each proportion, with a result (the focus stays in b) and with its
    // divisor 0 (the focus goes there); the arrow on the left points up for
    // direct, down for inverse.
    const struct {
        const char *choice, *a, *c, *text;
        QLineEdit *focus;
    } rows[] = {
        {"RadioButton1", "5", "10", "4", b},
        {"RadioButton1", "0", "10", "Neplatný vstup", a},
        {"RadioButton2", "5", "10", "1", b},
        {"RadioButton2", "5", "0", "Neplatný vstup", c},
    };
    for (const auto &r : rows) {
        Find<QRadioButton>(w, r.choice)->click();
        const bool direct = std::string(r.choice) == "RadioButton1";
        EXPECT_TRUE(Find<QLabel>(w, "Image2")->isVisible() == direct &&
                    Find<QLabel>(w, "Image3")->isVisible() != direct);
        a->setText(r.a);
        c->setText(r.c);
        b->setFocus();
        calculate->click();
        EXPECT_EQ(S(result->text()), r.text) << r.choice << ' ' << r.a << ' ' << r.c;
        const bool ok = r.focus == b;
        EXPECT_EQ(result->palette().color(QPalette::Text), QColor(ok ? Qt::black : Qt::red)) << r.choice;
        EXPECT_EQ(QApplication::focusWidget(), r.focus) << r.choice << ' ' << r.a << ' ' << r.c;
    }
    b->setText("1e4000"); // pasted: beyond the 64-bit numbers
    calculate->click();
    EXPECT_EQ(S(result->text()), "Neplatný vstup");
}
