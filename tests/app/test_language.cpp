// Language files, the catalogue and the language chooser.
#include "AppTestSupport.h"
#include "fJazyk.h"
#include "uIniFile.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class LanguageTest : public AppTest {
protected:
    void Lang(const QString &file, const QByteArray &bytes) { WriteBytes(Path("lang/" + file), bytes); }
    static QByteArray Header(const QByteArray &name, const QByteArray &extra = {}) {
        return "[Info]\r\nLanguageName=" + name + "\r\nProgram=Tarbelon\r\nFileDate=2024\r\n" + extra;
    }
};

TEST_F(LanguageTest, LoadLanguageFileOnlyWhenTheFileExists) {
    EXPECT_EQ(S(LanguageText("Common", "ok", "current")), "current"); // no file: the current text
    Lang("english.txt", Header("English", "[Common]\r\nok=OK!\r\n"));
    for (const char *name : {"", "lang\\", "lang\\missing.txt"})
        EXPECT_FALSE(LoadLanguageFile(name)) << name;
    EXPECT_EQ(LanguageIni(), nullptr);
    ASSERT_TRUE(LoadLanguageFile("lang\\english.txt"));
    const std::shared_ptr<const TIniFile> first = LanguageIni();
    EXPECT_EQ(S(LanguageText("COMMON", "OK", "current")), "OK!");
    EXPECT_EQ(S(LanguageText("Common", "cancel", "current")), "current"); // no key
    EXPECT_FALSE(LoadLanguageFile("lang\\missing.txt")); // keeps the loaded one
    EXPECT_EQ(LanguageIni(), first);
    Lang("other.txt", Header("Other"));
    ASSERT_TRUE(LoadLanguageFile("lang/other.txt"));
    // A reader that kept the old snapshot still reads it.
    EXPECT_EQ(S(first->ReadString("Info", "LanguageName", "")), "English");
    EXPECT_EQ(S(LanguageText("Info", "LanguageName", "x")), "Other");
}

TEST_F(LanguageTest, CatalogueListsNamedFilesInReverseOrder) {
    Lang("a.txt", Header("Alfa", "[Author]\r\nname=Jana\r\nemail=jana@example.org\r\nurl=example.org\r\n"));
    Lang("b.txt", Header("Dvojník"));
    Lang("c.txt", Header("Dvojník"));
    Lang("d.txt", "[Info]\r\nProgram=no name\r\n");
    Lang("e.TXT", Header("Veľké"));
    Lang("f.dat", Header("Not a language file"));
    WriteBytes(Path("lang/w.txt"), Header("Windows-1250 \x9A"));
    TZoznamJazykov z;
    z.Load(ProgramPath("lang\\"));
    EXPECT_EQ(z.Count(), 6);
    EXPECT_EQ(z.FillStrings(), QStringList({"Windows-1250 š", "Veľké", "Dvojník", "Dvojník", "Alfa"}));
    TUdaje record;
    ASSERT_TRUE(z.Find("Dvojník", record));
    EXPECT_EQ(S(record.FileName), "c.txt"); // the one met last
    ASSERT_TRUE(z.Find("Alfa", record));
    EXPECT_EQ(S(record.AuthorEmail), "jana@example.org");
    EXPECT_FALSE(z.Find("alfa", record)); // exact match only
    z.Load(Path("no such folder"));
    EXPECT_EQ(z.Count(), 0);
}

TEST_F(LanguageTest, ShippedEnglishFileIsComplete) {
    const TIniFile english(QStringLiteral(TARBELON_SOURCE_DIR) + "/resources/lang/english.txt");
    struct Key { const char *section; const char *key; };
    const Key keys[] = {
        {"Info", "LanguageName"}, {"Info", "LanguageIsoCode"}, {"LanguageForm", "Caption"}, {"LanguageForm", "Program"},
        {"LanguageForm", "dateoffile"}, {"LanguageForm", "authoroftranslation"}, {"Common", "email"}, {"Common", "web"},
        {"Common", "ok"}, {"Common", "apply"}, {"Common", "cancel"}, {"HistoryForm", "Caption"}, {"Common", "Use"},
        {"Common", "Copy"}, {"Common", "Delete"}, {"Common", "Save"}, {"Common", "Close"},
        {"HistoryForm", "SaveDialogCaption"}, {"HistoryForm", "DefaultFileName"}, {"Common", "TextFile"},
        {"VariableForm", "Caption"}, {"Common", "Name"}, {"Common", "Value"}, {"Common", "Calculate"},
        {"VariableForm", "Refresh"}, {"Messages", "msgError"}, {"Messages", "msgCouldntSaveSettings"},
        {"ConstantForm", "Caption"}, {"ConstantForm", "ID"}, {"ConstantForm", "Description"}, {"ConstantForm", "Unit"},
        {"ConstantForm", "AddModify"}, {"ConstantForm", "DeletingConstant"}, {"ConstantForm", "ReallyDelete"},
        {"ConstantForm", "RewritingConstant"}, {"ConstantForm", "ReallyRewrite"}, {"ConstantForm", "LudolphsNumber"},
        {"ConstantForm", "EulerNumber"}, {"ConstantForm", "AddModifyAConstant"}, {"ConstantForm", "IdNotEntered"},
        {"ConstantForm", "IncorrectValue"}, {"ExpressionPreviewForm", "Caption"},
    };
    for (const Key &k : keys)
        EXPECT_FALSE(english.ReadString(k.section, k.key, "").isEmpty()) << k.section << "/" << k.key;
    for (int code = 1; code <= 34; ++code)
        EXPECT_TRUE(english.ValueExists("ErrorMessages", QStringLiteral("err%1").arg(code))) << code;
    EXPECT_EQ(S(english.ReadString("Info", "LanguageName", "")), "English");
}

class ChooserTest : public LanguageTest {
protected:
    TFakeMainWindow Main;
    void Choose(TjazykFrm &f, const QString &name) {
        auto *list = Find<QListWidget>(f, "languagesLsb");
        const QList<QListWidgetItem *> items = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << S(name);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    }
    QStringList Names(TjazykFrm &f) {
        auto *list = Find<QListWidget>(f, "languagesLsb");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
};

TEST_F(ChooserTest, AnEmptyFolderAndFilesAddedMeanwhile) {
    TjazykFrm f(&Main);
    f.show();
    EXPECT_TRUE(Names(f).isEmpty());
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(f, "okBtn"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(Main.LanguageSwitches.isEmpty());
    Lang("new.txt", Header("Nový"));
    f.show(); // the list is read at every showing
    EXPECT_EQ(Names(f), QStringList({QStringLiteral("Nový")}));
}

TEST_F(ChooserTest, ClickShowsTheHeaderAndApplySwitches) {
    Lang("english.txt", Header("English", "[Author]\r\nname=Ann\r\nemail=ann@example.org\r\nurl=example.org\r\n"
                                          "[LanguageForm]\r\nCaption=Language!\r\n"));
    Lang("slovak.txt", Header("Slovenčina"));
    TjazykFrm f(&Main);
    f.show();
    EXPECT_EQ(Names(f), QStringList({"English", "Slovenčina"})); // sorted
    Choose(f, "English");
    EXPECT_EQ(S(Find<QLabel>(f, "authorLbl")->text()), "Ann");
    ASSERT_TRUE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(f, "applyBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches, QStringList({"lang\\english.txt"}));
    EXPECT_EQ(S(KProgramSettings::Instance().LanguageFile), "lang\\english.txt");
    EXPECT_EQ(S(f.windowTitle()), "Language!");
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    // The link labels open their addresses.
    QTest::mouseClick(Find<QLabel>(f, "emailLbl"), Qt::LeftButton);
    ASSERT_EQ(OpenedUrls.size(), 1);
    EXPECT_EQ(S(OpenedUrls[0].toString()), "mailto:ann@example.org");
}

TEST_F(ChooserTest, ShowingSelectsTheLoadedLanguageAndDisablesApply) {
    Lang("english.txt", Header("English"));
    Lang("slovak.txt", Header("Slovenčina"));
    ASSERT_TRUE(LoadLanguageFile("lang\\slovak.txt"));
    TjazykFrm f(&Main);
    f.show();
    const auto selected = Find<QListWidget>(f, "languagesLsb")->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(S(selected.first()->text()), S(QStringLiteral("Slovenčina")));
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    // Ok after a click applies, then closes; Cancel would not.
    Choose(f, "English");
    QTest::mouseClick(Find<QPushButton>(f, "okBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches, QStringList({"lang\\english.txt"}));
    EXPECT_FALSE(f.isVisible());
    f.show();
    Choose(f, QStringLiteral("Slovenčina"));
    QTest::mouseClick(Find<QPushButton>(f, "cancelBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches.size(), 1);
}

TEST_F(ChooserTest, AFileThatVanishedChangesNothing) {
    Lang("gone.txt", Header("Gone"));
    TjazykFrm f(&Main);
    f.show();
    Choose(f, "Gone");
    QFile::remove(Path("lang/gone.txt"));
    QTest::mouseClick(Find<QPushButton>(f, "applyBtn"), Qt::LeftButton);
    EXPECT_EQ(LanguageIni(), nullptr);
    EXPECT_EQ(S(f.windowTitle()), "Language");
    EXPECT_TRUE(Prompter->Shown.isEmpty());
}

