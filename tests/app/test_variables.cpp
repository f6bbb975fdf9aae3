// The variables window and its name=value list.
#include "AppTestSupport.h"
#include "fPremenne.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <functional>

TEST(PremenneModel, NameValueLinesAndALookupThatIgnoresCase) {
    TPremenne p;
    EXPECT_EQ(p.Lines(), QStringList({"="})); // one empty row to start with
    p.SetName(0, "x");
    p.SetValue(0, "3,5");
    p.AppendRow("Alfa", "1");
    p.AppendRow("ALFA", "2");
    EXPECT_EQ(p.Lines(), QStringList({"x=3,5", "Alfa=1", "ALFA=2"}));
    EXPECT_EQ(S(ValueOfName(p.Lines(), "alfa")), "1");
    struct Case {
        const char *name;
        int index;
        const char *value;
    };
    const Case cases[] = {{"aLfA", 1, "1"}, {"beta", -1, ""}, {"X", 0, "3,5"}};
    for (const Case &c : cases) {
        EXPECT_EQ(p.IndexOfName(c.name), c.index) << c.name;
        EXPECT_EQ(S(p.ValueOf(c.name)), c.value) << c.name;
    }
}

TEST(PremenneModel, TheLookupFollowsEveryChangeOfTheRows) {
    // Oracle: the first row whose name matches without regard to case.
    TPremenne p;
    auto search = [&p](const QString &name) {
        for (int i = 0; i < p.Count(); ++i)
            if (p.Row(i).Name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const std::function<void()> steps[] = {
        [&] { p.AppendRow("a", "1"); },
        [&] { p.AppendRow("B"); },
        [&] { p.AppendRow("A", "2"); },
        [&] { p.SetName(1, "c"); },
        [&] { p.InsertRowAt(0); },
        [&] { p.SetName(0, "b"); },
        [&] { p.DeleteRowAt(2); },
        [&] {
            p.SetLines({"x=1", "B=2", "b=3"});
        },
        [&] {
            p.AddMissingNames({"a", "X", "c"});
        },
    };
    for (size_t step = 0; step < std::size(steps); ++step) {
        steps[step]();
        for (const char *name : {"a", "A", "b", "c", "x", ""})
            EXPECT_EQ(p.IndexOfName(name), search(name)) << "step " << step << " name " << name;
    }
}

TEST(PremenneModel, AddMissingNamesNeverRemovesOrChanges) {
    TPremenne p;
    p.SetName(0, "a");
    p.SetValue(0, "5");
    p.AppendRow("old", "7"); // no longer used: stays
    p.AddMissingNames({"A", "b", "c", "b"});
    p.AddMissingNames({"b", "c", ""});
    p.AddMissingNames({});
    EXPECT_EQ(p.Lines(), QStringList({"a=5", "old=7", "b=", "c="}));
}

TEST(PremenneModel, EditingKeepsLinesWhole) {
    TPremenne p;
    p.SetName(0, "x=1");
    p.SetValue(0, "2\n3");
    EXPECT_EQ(p.Lines(), QStringList({"x=2 3"}));
    p.InsertRowAt(0);
    p.DeleteRowAt(1);
    p.DeleteRowAt(5);
    EXPECT_EQ(p.Lines(), QStringList({"="}));
    p.DeleteRowAt(0);
    EXPECT_TRUE(p.Lines().isEmpty());
}

class VariablesTest : public AppTest {
protected:
    TFakeMainWindow Main;
    QTableView *Editor(TpremenneFrm &f) { return f.findChild<QTableView *>("ValueListEditor1"); }
    QPushButton *Button(TpremenneFrm &f, const char *name) { return f.findChild<QPushButton *>(name); }
};

TEST_F(VariablesTest, TypedValuesAreTranslatedAndSeenAtOnce) {
    SetDecSep(QLatin1Char('.'));
    TpremenneFrm f(&Main);
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTableView *editor = Editor(f);
    editor->setFocus();
    editor->setCurrentIndex(f.Model().index(0, 0));
    TypeText(editor, "x");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    TypeText(editor, QStringLiteral("čé,+ľ"));
    QTest::mouseClick(Button(f, "Button3"), Qt::LeftButton);
    EXPECT_EQ(Main.Calculations, 1);
    EXPECT_EQ(f.Model().Lines(), QStringList({"x=40.+2"}));
}

TEST_F(VariablesTest, RefreshAsksTheMainWindowAndCloseOnlyHides) {
    TpremenneFrm f(&Main);
    f.show();
    Main.Input = "a*b+a";
    Main.OnAddMissing = [&](const QString &, const QString &) { f.Model().AddMissingNames({"a", "b"}); };
    QTest::mouseClick(Button(f, "Button1"), Qt::LeftButton);
    ASSERT_EQ(Main.AddMissingCalls.size(), 1);
    EXPECT_EQ(S(Main.AddMissingCalls[0].first), "a*b+a");
    EXPECT_TRUE(Main.AddMissingCalls[0].second.isEmpty());
    EXPECT_EQ(Editor(f)->model()->rowCount(), 3);
    QTest::mouseClick(Button(f, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.Model().Lines(), QStringList({"=", "a=", "b="}));
}

TEST_F(VariablesTest, KeysAddAndDeleteRows) {
    TpremenneFrm f(&Main);
    f.show();
    QTableView *editor = Editor(f);
    editor->setFocus();
    f.Model().SetName(0, "a");
    editor->setCurrentIndex(f.Model().index(0, 1));
    QTest::keyClick(editor, Qt::Key_Down); // below a filled last row: a new row
    EXPECT_EQ(f.Model().Count(), 2);
    QTest::keyClick(editor, Qt::Key_Down); // the new row is empty: no more
    EXPECT_EQ(f.Model().Count(), 2);
    QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(f.Model().Lines(), QStringList({"a="}));
    QTest::keyClick(editor, Qt::Key_Insert);
    EXPECT_EQ(f.Model().Lines(), QStringList({"=", "a="}));
}

// Where it goes is SnapGeometry's rule; here the window takes it.
TEST_F(VariablesTest, PlacedBesideTheMainWindowWhenThereIsRoom) {
    Main.Frame.setGeometry(50, 40, 200, 150);
    TpremenneFrm f(&Main);
    const QRect m = Main.Frame.frameGeometry();
    EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(m.x() + m.width(), m.y()));
}
