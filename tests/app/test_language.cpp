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

// Every key of one shipped file is in the other, and every error has its text.
TEST_F(LanguageTest, ShippedFilesHoldTheSameKeys) {
    const QString folder = QStringLiteral(TARBELON_SOURCE_DIR) + "/resources/lang/";
    const TIniFile english(folder + "english.txt"), slovak(folder + "slovak.txt");
    for (const auto &[file, other] : {std::pair{&english, &slovak}, std::pair{&slovak, &english}}) {
        QString section;
        for (const QString &line : file->Lines()) {
            if (line.startsWith('[')) {
                section = line.mid(1, line.indexOf(']') - 1);
            } else if (line.contains('=') && !line.startsWith(';')) {
                EXPECT_TRUE(other->ValueExists(section, line.section('=', 0, 0).trimmed())) << S(section) << "/" << S(line);
            }
        }
    }
    EXPECT_GT(english.Lines().size(), 300);
    for (int code = 1; code <= 34; ++code)
        EXPECT_FALSE(english.ReadString("ErrorMessages", QStringLiteral("err%1").arg(code), "").isEmpty()) << code;
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

TEST_F(ChooserTest, AnEmptyFolderFilesAddedMeanwhileAndAFileThatVanished) {
    TjazykFrm f(&Main);
    f.show();
    EXPECT_TRUE(Names(f).isEmpty());
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(f, "okBtn"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(Main.LanguageSwitches.isEmpty());
    Lang("gone.txt", Header("Gone"));
    f.show(); // the list is read at every showing
    EXPECT_EQ(Names(f), QStringList({"Gone"}));
    Choose(f, "Gone");
    QFile::remove(Path("lang/gone.txt"));
    QTest::mouseClick(Find<QPushButton>(f, "applyBtn"), Qt::LeftButton);
    EXPECT_EQ(LanguageIni(), nullptr); // nothing changes
    EXPECT_EQ(S(f.windowTitle()), "Language");
    EXPECT_TRUE(Prompter->Shown.isEmpty());
}

TEST_F(ChooserTest, ShowingSelectsTheLoadedLanguageAndApplyOrOkSwitch) {
    Lang("english.txt", Header("English", "[Author]\r\nname=Ann\r\nemail=ann@example.org\r\nurl=example.org\r\n"
                                          "[LanguageForm]\r\nCaption=Language!\r\n"));
    Lang("slovak.txt", Header("Slovenčina"));
    ASSERT_TRUE(LoadLanguageFile("lang\\slovak.txt"));
    TjazykFrm f(&Main);
    f.show();
    EXPECT_EQ(Names(f), QStringList({"English", "Slovenčina"})); // sorted
    const auto selected = Find<QListWidget>(f, "languagesLsb")->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(S(selected.first()->text()), S(QStringLiteral("Slovenčina")));
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    Choose(f, "English");
    EXPECT_EQ(S(Find<QLabel>(f, "authorLbl")->text()), "Ann");
    QTest::mouseClick(Find<QPushButton>(f, "applyBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches, QStringList({"lang\\english.txt"}));
    EXPECT_EQ(S(f.windowTitle()), "Language!");
    EXPECT_FALSE(Find<QPushButton>(f, "applyBtn")->isEnabled());
    QTest::mouseClick(Find<QLabel>(f, "emailLbl"), Qt::LeftButton); // the link labels open their addresses
    ASSERT_EQ(OpenedUrls.size(), 1);
    EXPECT_EQ(S(OpenedUrls[0].toString()), "mailto:ann@example.org");
    // Ok after a click applies, then closes; Cancel does not.
    Choose(f, QStringLiteral("Slovenčina"));
    QTest::mouseClick(Find<QPushButton>(f, "okBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches.size(), 2);
    EXPECT_FALSE(f.isVisible());
    f.show();
    Choose(f, "English");
    QTest::mouseClick(Find<QPushButton>(f, "cancelBtn"), Qt::LeftButton);
    EXPECT_EQ(Main.LanguageSwitches.size(), 2);
}
