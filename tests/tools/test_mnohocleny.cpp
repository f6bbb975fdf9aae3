// The polynomial window: its commands, their messages and red edits, the
// drawing of results and of the Horner scheme, and the keys.
#include "../app/AppTestSupport.h"
#include "fMnohocleny.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <map>

class MnohoclenyTest : public AppTest {
protected:
    std::unique_ptr<TmnohoclenyFrm> W;

    void SetUp() override {
        AppTest::SetUp();
        W = std::make_unique<TmnohoclenyFrm>();
        W->show();
    }
    void TearDown() override {
        W.reset();
        AppTest::TearDown();
    }

    QLineEdit *Edit(const char *name) { return Find<QLineEdit>(*W, name); }
    void Click(const char *name) { Find<QPushButton>(*W, name)->click(); }
    TPlatnoMnohoclena *Image() { return Find<TPlatnoMnohoclena>(*W, "vysImg"); }
    QString Error() {
        QLabel *l = Find<QLabel>(*W, "chybaLbl");
        return l->isHidden() ? QString() : l->text();
    }
    bool Red(const char *name) { return Edit(name)->palette().color(QPalette::Base) == QColor(0xFF, 0x66, 0x66); }

    // The drawing read left to right, a raised piece (an exponent: smaller
    // and at the same top) written after "^".
    QString Drawn() {
        QString s;
        int height = 0;
        for (const TPlatnoMnohoclena::TText &t : Image()->Texts()) {
            if (height && t.Height < height && !t.Text.isEmpty())
                s += QLatin1Char('^');
            else
                height = t.Height;
            s += t.Text;
        }
        return s;
    }

    // The drawing's rows from the top, each with its cells from the left, a
    // bold one marked "*": "1* -6*|2 2".
    std::string Table() {
        std::map<int, std::map<int, QString>> rows;
        for (const TPlatnoMnohoclena::TText &t : Image()->Texts())
            rows[t.Rect.top()][t.Rect.left()] = t.Text + (t.Bold ? "*" : "");
        QStringList lines;
        for (const auto &[y, cells] : rows) {
            QStringList line;
            for (const auto &[x, cell] : cells)
                line.append(cell);
            lines.append(line.join(' '));
        }
        return S(lines.join('|'));
    }
};

TEST_F(MnohoclenyTest, CommandsDrawAndWriteTheirResults) {
    const struct {
        const char *button, *drawn, *text;
    } rows[] = {
        {"scitanieBtn", "(5x^3-3x^2+6x) + (x^2+3) = 5x^3-2x^2+6x+3", "5x^3-2x^2+6x+3"},
        {"odcitanieBtn", "(5x^3-3x^2+6x) - (x^2+3) = 5x^3-4x^2+6x-3", "5x^3-4x^2+6x-3"},
        {"nasobenieBtn", "(5x^3-3x^2+6x) . (x^2+3) = 5x^5+21x^3-3x^4-9x^2+18x", "5x^5+21x^3-3x^4-9x^2+18x"},
        {"delenieBtn", "(5x^3-3x^2+6x) / (x^2+3) = 5x-3 zvyšok: -9x+9", "5x-3"},
        {"umocniPBtn", "(5x^3-3x^2+6x)^2 = 25x^6-30x^5+69x^4-36x^3+36x^2", "25x^6-30x^5+69x^4-36x^3+36x^2"},
    };
    for (const auto &r : rows) {
        Click(r.button);
        EXPECT_EQ(S(Drawn()), r.drawn) << r.button;
        EXPECT_EQ(S(Edit("vysEdt")->text()), r.text) << r.button;
        EXPECT_EQ(S(Error()), "") << r.button;
    }
}

TEST_F(MnohoclenyTest, RefusedCommandsShowTheirMessages) {
    const struct {
        QString p, q, m;
        const char *button, *message, *red = nullptr;
        int n = 2;
    } rows[] = {
        {"x*2", "x", "0", "scitanieBtn", "Chyba v zápise výrazu P.", "pEdt"},
        {"x", "x+", "0", "odcitanieBtn", "Chyba v zápise výrazu Q.", "qEdt"},
        {"x", "x+", "0", "hornerBtn", "Chyba v zápise výrazu Q.", "qEdt"},
        {"x", "", "0", "delenieBtn", "Nepovolená operácia: Delenie nulou."},
        {"abcdef", "x", "0", "umocniPBtn", "Vo výraze P môže byť najviac 5 premenných."},
        {"abc", "def", "0", "nasobenieBtn", "V oboch výrazoch môže byť spolu najviac 5 premenných."},
        {"x", "xy", "0", "hornerBtn", "Vo výraze Q môže byť najviac jedna premenná."},
        {"x", "x^11", "0", "hornerBtn", "Pre výpočet Hornerovej schémy musí byť stupeň polynóm Q maximálne 10."},
        {"x", "x^-1+1", "0", "hornerBtn", "Pre výpočet Hornerovej schémy nesmie mať polynóm Q záporné indexy."},
        {"x", "x^2", "1,2,3", "hornerBtn", "Nesprávne zadaná hodnota.", "bodEdt"},
        {"x", "x^2+1", "1" + QString(300, u'0'), "hornerBtn", "Chyba výpočtu: Príliš vysoké číslo."},
        {"x^3", "xy+1", "0", "delenieBtn",
         "Najvyšší člen deliteľa Q podľa premennej x musí byť jediný a bez inej premennej."},
        {"x^20000", "x^20000", "0", "nasobenieBtn", "Exponent musí byť z rozsahu -32768 až 32767."},
        {"a+b+c+d+e", "x", "0", "umocniPBtn", "Výsledok by mal viac ako 10000 členov.", nullptr, 30},
    };
    for (const auto &r : rows) {
        Edit("pEdt")->setText(r.p);
        Edit("qEdt")->setText(r.q);
        Edit("bodEdt")->setText(r.m);
        Find<QSpinBox>(*W, "UpDown1")->setValue(r.n);
        Click(r.button);
        EXPECT_EQ(S(Error()), r.message) << S(r.p) << ' ' << r.button << ' ' << S(r.q);
        EXPECT_TRUE(Image()->Texts().isEmpty()) << r.button;
        for (const char *edit : {"pEdt", "qEdt", "bodEdt"})
            EXPECT_EQ(Red(edit), r.red && std::string(r.red) == edit) << edit << " after " << r.button;
    }
}

TEST_F(MnohoclenyTest, RedEditTurnsWhiteAndShowsItsPolynomialWhenChanged) {
    Edit("pEdt")->setText(QStringLiteral("x++"));
    Click("scitanieBtn");
    ASSERT_TRUE(Red("pEdt"));
    QLineEdit *p = Edit("pEdt");
    p->end(false);
    QTest::keyClick(p, Qt::Key_Backspace);
    TypeText(p, QStringLiteral("1"));
    EXPECT_FALSE(Red("pEdt"));
    EXPECT_EQ(S(Drawn()), "P = x+1");
    EXPECT_EQ(S(Error()), "");
}

TEST_F(MnohoclenyTest, HornerSchemeIsDrawnAsATable) {
    Edit("qEdt")->setText(QStringLiteral("x^3-6x^2+11x-6"));
    Edit("bodEdt")->setText(QStringLiteral("2"));
    Click("hornerBtn");
    EXPECT_TRUE(Edit("vysEdt")->isHidden());
    EXPECT_EQ(Table(), "1* -6* 11* -6*|2 2 -8 6|1 -4 3 0*|2 2 -4|1 -2 -1*|2 2|1 0*|2|1*");
    // The columns are right-aligned: the derivative at 2 stands under 11.
    QMap<QString, int> right;
    for (const TPlatnoMnohoclena::TText &t : Image()->Texts())
        right[t.Text + (t.Bold ? "*" : "")] = t.Rect.right();
    EXPECT_EQ(right.value("-1*"), right.value("11*"));
    // The table has its vertical rule and a line under each row of products;
    // a pass takes 36 pixels.
    EXPECT_EQ(Image()->Lines().size(), 5);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Image()->height(), 174);

    Edit("pEdt")->setText(QStringLiteral("x"));
    EXPECT_FALSE(Edit("vysEdt")->isHidden());
}

// Columns stand 60 pixels apart; only a column with a number that would
// come within a thin space (4 pixels) of its left neighbour moves further
// right.
TEST_F(MnohoclenyTest, HornerColumnsWidenOnlyWhereANumberNeedsIt) {
    const struct {
        const char *q, *m;
        std::vector<int> distances; // of the columns' right edges; 0: wider than 60
    } rows[] = {
        {"15132x^2+x+1", "1", {60, 60}},
        {"x^3+100000000x^2+1", "0", {0, 60, 60}},
        {"x^2+x+100000000", "0", {60, 0}},
        {"123456789012x^2-x", "1000", {0, 0}},
    };
    for (const auto &r : rows) {
        Edit("qEdt")->setText(r.q);
        Edit("bodEdt")->setText(r.m);
        Click("hornerBtn");
        // The cells of each row from the left: no number comes within a
        // thin space of the one before it.
        std::map<int, std::map<int, QRect>> cells;
        for (const TPlatnoMnohoclena::TText &t : Image()->Texts())
            cells[t.Rect.top()][t.Rect.left()] = t.Rect;
        for (const auto &[y, row] : cells)
            for (auto it = row.begin(); std::next(it) != row.end(); ++it)
                EXPECT_GE(std::next(it)->second.left() - it->second.right() - 1, 4) << r.q << " row " << y;
        std::vector<int> distances;
        const auto &header = cells.begin()->second;
        for (auto it = header.begin(); std::next(it) != header.end(); ++it) {
            const int d = std::next(it)->second.right() - it->second.right();
            distances.push_back(d > 60 ? 0 : d);
        }
        EXPECT_EQ(distances, r.distances) << r.q;
    }
}

TEST_F(MnohoclenyTest, EditsTakeOnlyPolynomialCharacters) {
    QLineEdit *p = Edit("pEdt");
    p->clear();
    p->setFocus();
    TypeText(p, QStringLiteral("2X*x.5+ý"));
    EXPECT_EQ(S(p->text()), "2x,5+7");
}

TEST_F(MnohoclenyTest, PowerKeyCopyAndSwapButtons) {
    QLineEdit *p = Edit("pEdt"), *q = Edit("qEdt");
    p->setText(QStringLiteral("x2"));
    p->setCursorPosition(1);
    Click("mocnina1Btn");
    EXPECT_EQ(S(p->text()), "x^2");
    Click("scitanieBtn");
    Click("kopirovatVysledokDoQBtn");
    EXPECT_EQ(S(q->text()), "2x^2+3");
    Click("vymenaBtn");
    EXPECT_EQ(S(p->text()), "2x^2+3");
    EXPECT_EQ(S(q->text()), "x^2");
    Click("kopirovatVysledokDoPBtn");
    EXPECT_EQ(S(p->text()), "2x^2+3");
}

TEST_F(MnohoclenyTest, WorksWithThePointAsDecimalSeparator) {
    SetDecSep(QLatin1Char('.'));
    Edit("pEdt")->setText(QStringLiteral("2.5x"));
    Edit("qEdt")->setText(QStringLiteral("0.25x"));
    Click("scitanieBtn");
    EXPECT_EQ(S(Edit("vysEdt")->text()), "2.75x");
}
