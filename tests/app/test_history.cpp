// The history list, its window and "history.dat".
#include "AppTestSupport.h"
#include "fHistoria.h"
#include "uIniFile.h"
#include "uTextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

TEST(HistoriaModel, AddMovesDuplicatesIgnoringCaseAndKeepsTheCapacity) {
    THistoria h;
    h.Add("2*x =  6 [x=3;]");
    h.Add("sin(30) =  0,5");
    h.Add("SIN(30) =  0,5"); // equal to the second ignoring case: moved to the end
    EXPECT_EQ(h.Items(), QStringList({"2*x =  6 [x=3;]", "SIN(30) =  0,5"}));
    EXPECT_EQ(h.ItemIndex(), 1);
    h.Add("2*X =  6 [X=3;]");
    EXPECT_EQ(h.Items(), QStringList({"SIN(30) =  0,5", "2*X =  6 [X=3;]"}));
    EXPECT_EQ(h.IndexOf(QStringLiteral("sin(30) =  0,5")), 0);
    EXPECT_EQ(h.IndexOf(QStringLiteral("sin(30) = 0,5")), -1);
}

TEST(HistoriaModel, CapacityIsExactly200) {
    THistoria h;
    for (int i = 1; i <= 200; ++i)
        h.Add(QStringLiteral("%1 =  %1").arg(i));
    EXPECT_EQ(h.Count(), 200);
    EXPECT_EQ(S(h.Items().first()), "1 =  1");
    h.Add("201 =  201");
    EXPECT_EQ(h.Count(), 200);
    EXPECT_EQ(S(h.Items().first()), "2 =  2");
    EXPECT_EQ(S(h.Items().last()), "201 =  201");
    // A duplicate in a full list is moved, nothing else is dropped.
    h.Add("2 =  2");
    EXPECT_EQ(h.Count(), 200);
    EXPECT_EQ(S(h.Items().first()), "3 =  3");
    EXPECT_EQ(S(h.Items().last()), "2 =  2");
}

TEST(HistoriaModel, SplitEntryForUse) {
    struct Case { const char *entry; const char *expression; const char *result; };
    const Case cases[] = {
        {"2*x =  6 [x=3;]", "2*x", " 6"},
        {"a = b =  1", "a", "b =  1"},
        {"x = [x=1;]", "x", ""},          // "[" right after " = "
        {"no equals sign", "no equals sign", ""},
        {"", "", ""},
        {"y=2 =  4 [y=2;z=1;]", "y=2", " 4"},
    };
    for (const Case &c : cases) {
        QString expression = "?", result = "?";
        THistoria::SplitEntry(c.entry, expression, result);
        EXPECT_EQ(S(expression), c.expression) << c.entry;
        EXPECT_EQ(S(result), c.result) << c.entry;
    }
}

TEST(HistoriaModel, DeleteAndBackOnEveryPosition) {
    THistoria h;
    EXPECT_FALSE(h.DeleteSelected()); // empty
    EXPECT_FALSE(h.Back());
    for (const char *e : {"a", "b", "c"})
        h.Add(e);
    h.SetItemIndex(-1);
    EXPECT_FALSE(h.DeleteSelected()); // nothing selected
    EXPECT_EQ(h.Count(), 3);
    h.SetItemIndex(1);
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(S(h.Selected()), "c"); // the next one
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(S(h.Selected()), "a"); // the last was deleted: the one before
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(h.ItemIndex(), -1);
    EXPECT_TRUE(h.IsEmpty());

    for (const char *e : {"a", "b", "c"})
        h.Add(e);
    struct Step { int from; int to; };
    const Step steps[] = {{2, 1}, {1, 0}, {0, 2}, {-1, 2}};
    for (const Step &s : steps) {
        h.SetItemIndex(s.from);
        ASSERT_TRUE(h.Back());
        EXPECT_EQ(h.ItemIndex(), s.to) << s.from;
    }
    h.SetItemIndex(7);
    EXPECT_EQ(h.ItemIndex(), -1);
}

class HistoryTest : public AppTest {
protected:
    TFakeMainWindow Main;

    QStringList Rows(ThistoriaFrm &f) {
        QStringList rows;
        auto *list = Find<QListWidget>(f, "ListBox1");
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        return rows;
    }
    bool ButtonsEnabled(ThistoriaFrm &f) {
        bool all = true, any = false;
        for (const char *name : {"BtnPouzit", "BtnKopirovat", "BtnZmazat", "BtnUlozit"}) {
            const bool on = Find<QPushButton>(f, name)->isEnabled();
            all = all && on;
            any = any || on;
        }
        EXPECT_EQ(all, any) << "the four buttons go together";
        return all;
    }
    void ClickRow(ThistoriaFrm &f, int row) {
        auto *list = Find<QListWidget>(f, "ListBox1");
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
};

TEST_F(HistoryTest, AddShowsSelectsAndEnables) {
    ThistoriaFrm f(&Main);
    EXPECT_FALSE(ButtonsEnabled(f));
    f.PridajDoHistorie("1+1 =  2");
    f.PridajDoHistorie("2*x =  6 [x=3;]");
    EXPECT_EQ(Rows(f), QStringList({"1+1 =  2", "2*x =  6 [x=3;]"}));
    EXPECT_EQ(Find<QListWidget>(f, "ListBox1")->currentRow(), 1);
    EXPECT_TRUE(ButtonsEnabled(f));
    EXPECT_EQ(Main.BackEnabled.last(), true);
}

TEST_F(HistoryTest, ClickShowsTheEntryAndDoubleClickUsesIt) {
    ThistoriaFrm f(&Main);
    f.show();
    f.PridajDoHistorie("2*x =  6 [x=3;]");
    f.PridajDoHistorie("1+1 =  2");
    ClickRow(f, 0);
    EXPECT_EQ(S(Find<QLineEdit>(f, "Edit1")->text()), "2*x =  6 [x=3;]");
    QTest::mouseClick(Find<QPushButton>(f, "BtnPouzit"), Qt::LeftButton);
    EXPECT_EQ(S(Main.Input), "2*x");
    EXPECT_EQ(Main.Results, QStringList({" 6"}));
    auto *list = Find<QListWidget>(f, "ListBox1");
    ClickRow(f, 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(S(Main.Input), "1+1");
}

// Which entry a delete selects is the model's; the window follows it.
TEST_F(HistoryTest, DeleteShowsTheNeighbourAndDisablesWhenEmpty) {
    ThistoriaFrm f(&Main);
    for (const char *e : {"a =  1", "b =  2"})
        f.PridajDoHistorie(e);
    auto *del = Find<QPushButton>(f, "BtnZmazat");
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(Rows(f), QStringList({"a =  1"}));
    EXPECT_EQ(S(Find<QLineEdit>(f, "Edit1")->text()), "a =  1");
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_TRUE(Rows(f).isEmpty());
    EXPECT_FALSE(ButtonsEnabled(f));
    EXPECT_TRUE(Find<QLineEdit>(f, "Edit1")->text().isEmpty());
    EXPECT_EQ(Main.BackEnabled.last(), false);
    f.Back(); // nothing left: nothing happens
    EXPECT_EQ(S(Main.Input), "");
}

TEST_F(HistoryTest, CopyPutsTheShownEntryOnTheClipboard) {
    ThistoriaFrm f(&Main);
    f.show();
    f.PridajDoHistorie("1+1 =  2");
    ClickRow(f, 0);
    QApplication::clipboard()->setText("old");
    QTest::mouseClick(Find<QPushButton>(f, "BtnKopirovat"), Qt::LeftButton);
    EXPECT_EQ(S(QApplication::clipboard()->text()), "1+1 =  2");
}

TEST_F(HistoryTest, ClickOnTheEditSelectsTheEqualEntry) {
    ThistoriaFrm f(&Main);
    f.show();
    f.PridajDoHistorie("a =  1");
    f.PridajDoHistorie("b =  2");
    ClickRow(f, 0);
    f.PridajDoHistorie("c =  3"); // selects c, the edit still shows a
    QTest::mouseClick(Find<QLineEdit>(f, "Edit1"), Qt::LeftButton);
    EXPECT_EQ(Find<QListWidget>(f, "ListBox1")->currentRow(), 0);
}

TEST_F(HistoryTest, ExportRoundTripWithTheDialogsDefaults) {
    TFileDialogRequest asked;
    int dialogs = 0;
    AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &r) {
        ++dialogs;
        asked = r;
        return Path("export.txt");
    };
    ThistoriaFrm f(&Main);
    QTest::mouseClick(Find<QPushButton>(f, "BtnUlozit"), Qt::LeftButton); // disabled
    f.BtnUlozitClick();                                                    // empty list: no dialog
    EXPECT_EQ(dialogs, 0);
    f.PridajDoHistorie("2*x =  6 [x=3;]");
    f.PridajDoHistorie(QStringLiteral("odmocnina č. 1 =  1"));
    QTest::mouseClick(Find<QPushButton>(f, "BtnUlozit"), Qt::LeftButton);
    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(S(asked.Title), S(QStringLiteral("Uložiť históriu výpočtov")));
    EXPECT_EQ(S(asked.FileName), "historia.txt");
    EXPECT_EQ(ReadBytes(Path("export.txt")), QByteArray("2*x =  6 [x=3;]\r\nodmocnina \xE8. 1 =  1\r\n"));
    THistoria back;
    ASSERT_TRUE(back.Load(Path("export.txt")));
    EXPECT_EQ(back.Items(), f.Model().Items());
    EXPECT_TRUE(Prompter->Shown.isEmpty());
}

TEST_F(HistoryTest, FailedExportReportsAndKeepsTheOldFile) {
    WriteBytes(Path("export.txt"), "old\r\n");
    AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &) { return Path("export.txt"); };
    ThistoriaFrm f(&Main);
    f.PridajDoHistorie("a long entry that will not fit =  1");
    {
        TFileSizeLimit limit(5);
        f.BtnUlozitClick();
    }
    EXPECT_EQ(ReadBytes(Path("export.txt")), QByteArray("old\r\n"));
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::Warning);
    EXPECT_TRUE(Prompter->Shown[0].Text.contains("export.txt"));
    EXPECT_EQ(f.Model().Count(), 1);
    // A cancelled dialog writes nothing.
    AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &) { return QString(); };
    f.BtnUlozitClick();
    EXPECT_EQ(ReadBytes(Path("export.txt")), QByteArray("old\r\n"));
}

TEST_F(HistoryTest, HistoryDatIsLoadedWholeOnlyWhenKept) {
    QByteArray file;
    for (int i = 1; i <= 205; ++i)
        file += QByteArray::number(i) + " =  " + QByteArray::number(i) + "\r\n";
    WriteBytes(Path("history.dat"), file);
    {
        ThistoriaFrm off(&Main);
        EXPECT_TRUE(Rows(off).isEmpty());
    }
    KProgramSettings::Instance().SaveHistory = true;
    ThistoriaFrm f(&Main);
    EXPECT_EQ(Rows(f).size(), 205); // not trimmed
    EXPECT_EQ(Find<QListWidget>(f, "ListBox1")->currentRow(), 204);
    EXPECT_FALSE(ButtonsEnabled(f));
    EXPECT_TRUE(Find<QLineEdit>(f, "Edit1")->text().isEmpty());
    f.PridajDoHistorie("new =  1"); // the list is not at exactly 200: nothing dropped
    EXPECT_EQ(Rows(f).size(), 206);
    EXPECT_EQ(S(Rows(f).first()), "1 =  1");
}

TEST_F(HistoryTest, ApplyLanguageTranslatesButtonsAndTheDialog) {
    WriteBytes(Path("lang/en.txt"), "[HistoryForm]\r\nCaption=Calculation history\r\nSaveDialogCaption=Save history\r\n"
                                    "[Common]\r\nUse=Use\r\nTextFile=Text file\r\n");
    ThistoriaFrm f(&Main);
    ASSERT_TRUE(LoadLanguageFile("lang\\en.txt"));
    f.ApplyLanguage();
    EXPECT_EQ(S(f.windowTitle()), "Calculation history");
    EXPECT_EQ(S(Find<QPushButton>(f, "BtnPouzit")->text()), "Use");
    EXPECT_EQ(S(Find<QPushButton>(f, "BtnZmazat")->text()), S(QStringLiteral("Zmazať"))); // missing key
    EXPECT_EQ(S(f.SaveDialogTitle()), "Save history");
    EXPECT_EQ(S(DialogFilterToQt(f.SaveDialogFilter())), "Text file (*.txt)");
}
