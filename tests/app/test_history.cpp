// The history list, its window and "history.dat".
#include "AppTestSupport.h"
#include "fHistoria.h"

#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

TEST(HistoriaModel, AddMovesDuplicatesIgnoringCaseAndKeepsTwoHundred) {
    THistoria h;
    h.Add("2*x =  6 [x=3;]");
    h.Add("sin(30) =  0,5");
    h.Add("SIN(30) =  0,5"); // equal to the second ignoring case: moved to the end
    EXPECT_EQ(h.Items(), QStringList({"2*x =  6 [x=3;]", "SIN(30) =  0,5"}));
    EXPECT_EQ(h.ItemIndex(), 1);
    for (int i = 1; i <= 199; ++i)
        h.Add(QStringLiteral("%1 =  %1").arg(i));
    EXPECT_EQ(h.Count(), 200);
    EXPECT_EQ(S(h.Items().first()), "SIN(30) =  0,5");
    h.Add("1 =  1"); // a duplicate in a full list is moved, nothing else is dropped
    EXPECT_EQ(S(h.Items().first()), "SIN(30) =  0,5");
    h.Add("200 =  200");
    EXPECT_EQ(h.Count(), 200);
    EXPECT_EQ(S(h.Items().first()), "2 =  2");
    EXPECT_EQ(S(h.Items().last()), "200 =  200");
}

TEST(HistoriaModel, SplitEntryForUse) {
    struct Case {
        const char *entry;
        const char *expression;
        const char *result;
    };
    const Case cases[] = {
        {"2*x =  6 [x=3;]", "2*x", " 6"},
        {"a = b =  1", "a", "b =  1"},
        {"x = [x=1;]", "x", ""}, // "[" right after " = "
        {"no equals sign", "no equals sign", ""},
        {"", "", ""},
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
    h.SetItemIndex(1);
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(S(h.Selected()), "c"); // the next one
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(S(h.Selected()), "a"); // the last was deleted: the one before
    ASSERT_TRUE(h.DeleteSelected());
    EXPECT_EQ(h.ItemIndex(), -1);

    for (const char *e : {"a", "b", "c"})
        h.Add(e);
    struct Step {
        int from;
        int to;
    };
    const Step steps[] = {{2, 1}, {0, 2}, {-1, 2}};
    for (const Step &s : steps) {
        h.SetItemIndex(s.from);
        ASSERT_TRUE(h.Back());
        EXPECT_EQ(h.ItemIndex(), s.to) << s.from;
    }
}

class HistoryTest : public AppTest {
protected:
    TFakeMainWindow Main;

    QListWidget *List(ThistoriaFrm &f) { return Find<QListWidget>(f, "ListBox1"); }
    QString Shown(ThistoriaFrm &f) { return Find<QLineEdit>(f, "Edit1")->text(); }
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
    void ClickRow(ThistoriaFrm &f, int row, bool twice = false) {
        const QPoint at = List(f)->visualItemRect(List(f)->item(row)).center();
        QTest::mouseClick(List(f)->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(List(f)->viewport(), Qt::LeftButton, {}, at);
    }
    void Click(ThistoriaFrm &f, const char *button) { QTest::mouseClick(Find<QPushButton>(f, button), Qt::LeftButton); }
};

TEST_F(HistoryTest, ClickShowsUseCopyAndDoubleClickTakeAndDeleteFollowsTheModel) {
    ThistoriaFrm f(&Main);
    f.show();
    EXPECT_FALSE(ButtonsEnabled(f));
    f.PridajDoHistorie("2*x =  6 [x=3;]");
    f.PridajDoHistorie("1+1 =  2");
    EXPECT_EQ(List(f)->currentRow(), 1);
    EXPECT_TRUE(ButtonsEnabled(f));
    EXPECT_EQ(Main.BackEnabled.last(), true);
    ClickRow(f, 0);
    EXPECT_EQ(S(Shown(f)), "2*x =  6 [x=3;]");
    Click(f, "BtnPouzit");
    EXPECT_EQ(S(Main.Input), "2*x");
    EXPECT_EQ(Main.Results, QStringList({" 6"}));
    Click(f, "BtnKopirovat");
    EXPECT_EQ(S(QApplication::clipboard()->text()), "2*x =  6 [x=3;]");
    ClickRow(f, 1, true);
    EXPECT_EQ(S(Main.Input), "1+1");
    // A click on the field selects the entry it shows.
    f.PridajDoHistorie("c =  3");
    QTest::mouseClick(Find<QLineEdit>(f, "Edit1"), Qt::LeftButton);
    EXPECT_EQ(List(f)->currentRow(), 1);
    // Which entry a delete selects is the model's; the window shows it.
    Click(f, "BtnZmazat");
    EXPECT_EQ(S(Shown(f)), "c =  3");
    Click(f, "BtnZmazat");
    Click(f, "BtnZmazat");
    EXPECT_EQ(List(f)->count(), 0);
    EXPECT_FALSE(ButtonsEnabled(f));
    EXPECT_TRUE(Shown(f).isEmpty());
    EXPECT_EQ(Main.BackEnabled.last(), false);
}

// Each button is as wide as its glyph and caption need, in the built-in
// texts and in each shipped language.
TEST_F(HistoryTest, TheButtonsHoldTheirWholeCaptions) {
    for (const char *name : {"slovak.txt", "english.txt"})
        WriteBytes(Path(QStringLiteral("lang/") + name),
                   ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/") + name));
    ThistoriaFrm f(&Main);
    f.show();
    for (const char *file : {"", "lang\\english.txt", "lang\\slovak.txt"}) {
        if (*file) {
            ASSERT_TRUE(LoadLanguageFile(file));
            f.ApplyLanguage();
        }
        QApplication::processEvents(); // the window's new size
        f.layout()->activate();
        for (QPushButton *button : f.findChildren<QPushButton *>())
            EXPECT_GE(button->width(), button->sizeHint().width()) << file << " " << S(button->text());
    }
}

TEST_F(HistoryTest, ExportWritesTheListOrReportsAFailure) {
    int dialogs = 0;
    QString chosen = Path("export.txt");
    AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &) { return ++dialogs, chosen; };
    ThistoriaFrm f(&Main);
    f.BtnUlozitClick(); // empty list: no dialog
    EXPECT_EQ(dialogs, 0);
    f.PridajDoHistorie("2*x =  6 [x=3;]");
    f.PridajDoHistorie(QStringLiteral("odmocnina č. 1 =  1"));
    Click(f, "BtnUlozit");
    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(ReadBytes(Path("export.txt")), QByteArray("2*x =  6 [x=3;]\r\nodmocnina \xE8. 1 =  1\r\n"));
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    chosen = Path("folder"); // a folder where the file should be
    QDir().mkpath(chosen);
    f.BtnUlozitClick();
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::Warning);
    EXPECT_TRUE(Prompter->Shown[0].Text.contains("folder"));
    chosen.clear(); // a cancelled dialog writes nothing
    f.BtnUlozitClick();
    EXPECT_EQ(Prompter->Shown.size(), 1);
}

TEST_F(HistoryTest, HistoryDatIsLoadedWholeOnlyWhenKept) {
    QByteArray file;
    for (int i = 1; i <= 205; ++i)
        file += QByteArray::number(i) + " =  " + QByteArray::number(i) + "\r\n";
    WriteBytes(Path("history.dat"), file);
    EXPECT_EQ(List(*std::make_unique<ThistoriaFrm>(&Main))->count(), 0); // not kept: not read
    EXPECT_EQ(Main.BackEnabled.last(), false);
    KProgramSettings::Instance().SaveHistory = true;
    ThistoriaFrm f(&Main);
    EXPECT_EQ(List(f)->count(), 205); // not trimmed
    EXPECT_FALSE(ButtonsEnabled(f));
    EXPECT_EQ(Main.BackEnabled.last(), true); // the main window's Back steps through it at once
    f.PridajDoHistorie("new =  1");           // the list is not at exactly 200: nothing dropped
    EXPECT_EQ(List(f)->count(), 206);
}
