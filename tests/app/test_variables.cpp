// The variables window and its name=value list.
#include "AppTestSupport.h"
#include "fPremenne.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

TEST(PremenneModel, StartsWithOneEmptyRowAndGivesNameValueLines) {
    TPremenne p;
    EXPECT_EQ(p.Lines(), QStringList({"="}));
    p.SetName(0, "x");
    p.SetValue(0, "3,5");
    p.AppendRow("Y", "-2");
    EXPECT_EQ(p.Lines(), QStringList({"x=3,5", "Y=-2"}));
    EXPECT_EQ(S(ValueOfName(p.Lines(), "y")), "-2");
}

TEST(PremenneModel, LookupIgnoresCaseAndFirstRowWins) {
    TPremenne p;
    p.AppendRow("Alfa", "1");
    p.AppendRow("ALFA", "2");
    struct Case { const char *name; int index; const char *value; };
    const Case cases[] = {{"alfa", 1, "1"}, {"ALFA", 1, "1"}, {"aLfA", 1, "1"}, {"beta", -1, ""}, {"", 0, ""}};
    for (const Case &c : cases) {
        EXPECT_EQ(p.IndexOfName(c.name), c.index) << c.name;
        EXPECT_EQ(S(p.ValueOf(c.name)), c.value) << c.name;
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

TEST_F(VariablesTest, TheModelIsTheEnginesVariableSource) {
    TpremenneFrm f(&Main);
    const TVariableSource &source = f.Model();
    f.Model().SetName(0, "x");
    f.Model().SetValue(0, "4");
    EXPECT_EQ(source.Lines(), QStringList({"x=4"}));
}

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

TEST_F(VariablesTest, RefreshAsksTheMainWindowForTheInputsVariables) {
    TpremenneFrm f(&Main);
    Main.Input = "a*b+a";
    Main.OnAddMissing = [&](const QString &, const QString &) { f.Model().AddMissingNames({"a", "b"}); };
    QTest::mouseClick(Button(f, "Button1"), Qt::LeftButton);
    QTest::mouseClick(Button(f, "Button1"), Qt::LeftButton);
    ASSERT_EQ(Main.AddMissingCalls.size(), 2);
    EXPECT_EQ(S(Main.AddMissingCalls[0].first), "a*b+a");
    EXPECT_TRUE(Main.AddMissingCalls[0].second.isEmpty());
    EXPECT_EQ(f.Model().Lines(), QStringList({"=", "a=", "b="}));
    EXPECT_EQ(Editor(f)->model()->rowCount(), 3);
}

TEST_F(VariablesTest, CloseOnlyHides) {
    TpremenneFrm f(&Main);
    f.show();
    f.Model().AppendRow("z", "1");
    QTest::mouseClick(Button(f, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.Model().Lines().last(), "z=1");
    EXPECT_EQ(f.Master(), &Main.Frame);
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

TEST_F(VariablesTest, PlacedBesideTheMainWindowWhenThereIsRoom) {
    const QSize screen = PrimaryScreenSize();
    Main.Frame.setGeometry(50, 40, 200, 150);
    {
        TpremenneFrm f(&Main);
        const QRect m = Main.Frame.frameGeometry();
        EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(m.x() + m.width(), m.y()));
    }
    Main.Frame.setGeometry(10, 40, screen.width() - 20, 150);
    {
        TpremenneFrm f(&Main);
        const QRect r = f.frameGeometry();
        EXPECT_EQ(r.topLeft(), QPoint((screen.width() - r.width()) / 2, (screen.height() - r.height()) / 2));
    }
}

TEST_F(VariablesTest, ApplyLanguage) {
    WriteBytes(Path("lang/en.txt"),
               "[VariableForm]\r\nCaption=User variables\r\nRefresh=Refresh\r\n[Common]\r\nName=Name\r\nCalculate=Calculate\r\n");
    TpremenneFrm f(&Main);
    ASSERT_TRUE(LoadLanguageFile("lang\\en.txt"));
    f.ApplyLanguage();
    EXPECT_EQ(S(f.windowTitle()), "User variables");
    EXPECT_EQ(S(Button(f, "Button3")->text()), "Calculate");
    EXPECT_EQ(S(Button(f, "Button2")->text()), S(QStringLiteral("Zatvoriť")));
    EXPECT_EQ(S(Editor(f)->model()->headerData(0, Qt::Horizontal).toString()), "Name");
    EXPECT_EQ(S(Editor(f)->model()->headerData(1, Qt::Horizontal).toString()), "Hodnota");
}
