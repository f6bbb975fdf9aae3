// Language files, the catalogue and the language chooser.
#include "AppTestSupport.h"
#include "fJazyk.h"
#include "uIniFile.h"
#include "uQtPreklady.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    EXPECT_FALSE(LoadLanguageFile("lang\\missing.txt"));                  // keeps the loaded one
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
                EXPECT_TRUE(other->ValueExists(section, line.section('=', 0, 0).trimmed()))
                    << S(section) << "/" << S(line);
            }
        }
    }
    EXPECT_GT(english.Lines().size(), 300);
    for (int code = 1; code <= 34; ++code)
        EXPECT_FALSE(english.ReadString("ErrorMessages", QStringLiteral("err%1").arg(code), "").isEmpty()) << code;
    EXPECT_EQ(S(english.ReadString("Info", "LanguageName", "")), "English");
}

// Opens a modal dialog through open and returns what read finds in it while
// it is shown; the dialog is then closed.
static QStringList ReadModal(const std::function<void()> &open, const std::function<QStringList(QDialog *)> &read) {
    QStringList texts;
    std::function<void()> look = [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible()) {
                texts = read(dialog);
                dialog->reject();
                return;
            }
        QTimer::singleShot(10, look);
    };
    QTimer::singleShot(0, look);
    open();
    return texts;
}

// The language of Qt's own texts under a German system: English for an
// English file, the file's language where Qt has a catalogue for it, the
// system's where it has none, and Slovak, the built-in texts', without a file.
TEST_F(LanguageTest, QtsTextsTakeTheFilesLanguageOrTheSystemsUnderAGermanSystem) {
    WriteBytes(Path("qt/qtbase_sk.qm"), "catalogue");
    const QLocale system;
    QLocale::setDefault(QLocale::German);
    const std::pair<const char *, const char *> cases[] = {{"en", "en"}, {"sk", "sk"}, {"hu", "de"}, {nullptr, "sk"}};
    for (const auto &[code, language] : cases) {
        const TIniFile file = TIniFile::FromText(QStringLiteral("[Info]\nLanguageIsoCode=") + QLatin1String(code));
        EXPECT_EQ(S(QtTextsLanguage(code ? &file : nullptr, Path("qt"))), language) << (code ? code : "no file");
    }
    QLocale::setDefault(system);
}

// What the user reads on Qt's own controls: a question's Yes and No, and a
// save dialog's "Look in", Save and Cancel, through the real seams.
TEST_F(LanguageTest, QtsOwnTextsFollowTheLanguageFile) {
    for (const char *name : {"slovak.txt", "english.txt"})
        Lang(name, ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/") + name));
    Lang("other.txt", Header("Other", "LanguageIsoCode=xx\r\n")); // no language Qt knows: the system's
    const char *slovak = "Án&o|&Nie|Hľadať v:|&Uložiť|Zrušiť";
    const char *english = "&Yes|&No|Look in:|&Save|Cancel";
    // file: empty for the built-in texts; system: the system's language
    // (C when empty); folder: Qt's catalogues when empty.
    struct Case {
        const char *file;
        const char *system;
        const char *folder;
        const char *texts;
    };
    const Case cases[] = {
        {"", "", "", slovak},
        {"lang\\english.txt", "sk_SK", "", english},
        {"lang\\slovak.txt", "", "", slovak},
        {"lang\\other.txt", "", "", english},
        {"lang\\other.txt", "sk_SK", "", slovak},
        {"lang\\slovak.txt", "", "no catalogues", english},
    };
    const QLocale system;
    for (const Case &c : cases) {
        QLocale::setDefault(*c.system ? QLocale(c.system) : system);
        AppContext().Reset(Dir.path()); // the real message boxes and file dialogs
        if (*c.folder)
            AppContext().QtTranslationsDir = Path(c.folder);
        if (*c.file) {
            ASSERT_TRUE(LoadLanguageFile(c.file));
        }
        QStringList texts = ReadModal([] { AppContext().Prompter().Show(nullptr, TMessageKind::Question, "?", "?"); },
                                      [](QDialog *d) {
                                          auto *box = qobject_cast<QMessageBox *>(d);
                                          return box ? QStringList{box->button(QMessageBox::Yes)->text(),
                                                                   box->button(QMessageBox::No)->text()}
                                                     : QStringList();
                                      });
        texts += ReadModal([] { AppContext().SaveFileName(nullptr, {}); },
                           [](QDialog *d) {
                               auto *label = d->findChild<QLabel *>("lookInLabel");
                               auto *buttons = d->findChild<QDialogButtonBox *>("buttonBox");
                               return label && buttons
                                          ? QStringList{label->text(), buttons->button(QDialogButtonBox::Save)->text(),
                                                        buttons->button(QDialogButtonBox::Cancel)->text()}
                                          : QStringList();
                           });
        EXPECT_EQ(S(texts.join('|')), c.texts) << c.file << " " << c.system << " " << c.folder;
    }
    QLocale::setDefault(system);
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
