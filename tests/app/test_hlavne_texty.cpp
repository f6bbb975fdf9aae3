// The main window's messages and addresses from a language file, and the
// rules that keep a file from pointing them elsewhere.
#include "AppTestSupport.h"
#include "uHlavneTexty.h"
#include "uIniFile.h"

TEST(MainTexts, AFileReplacesKeyByKeyAndAMissingKeyGivesTheBuiltInText) {
    THlavneTexty texts;
    const THlavneTexty builtIn;
    texts.Apply(TIniFile::FromText(
        "[Messages]\nmsgError=Fehler\n[Addresses]\nHomePage=https://www.tarbelon.example/de/\n"
        "ManualFile=\\manual\\de\\manual.html\nDownloadPage=https://evil.example/?q=tarbelon.example\n"
        "[Info]\nLanguageIsoCode=deu\n"));
    EXPECT_EQ(S(texts.msgError), "Fehler");
    EXPECT_EQ(texts.msgUpdateCheck, builtIn.msgUpdateCheck);
    EXPECT_EQ(S(texts.HomePage), "https://www.tarbelon.example/de/");
    EXPECT_EQ(texts.DownloadPage, builtIn.DownloadPage); // outside the maker's domain
    EXPECT_EQ(S(texts.ManualFile), "\\manual\\de\\manual.html");
    EXPECT_EQ(S(texts.LanguageCode), "de"); // two characters at most

    // The next file lacks the keys: the built-in texts, not the last file's.
    texts.Reset();
    texts.Apply(TIniFile::FromText("[Info]\nLanguageName=X\n"));
    EXPECT_EQ(texts.msgError, builtIn.msgError);
    EXPECT_EQ(texts.HomePage, builtIn.HomePage);
    EXPECT_EQ(S(texts.LanguageCode), "e2");
}

TEST(MainTexts, OnlyTheMakersHostOrItsSubdomainsPass) {
    struct Case {
        const char *address;
        bool ok;
    };
    const Case cases[] = {
        {"https://tarbelon.example/", true},
        {"http://docs.TARBELON.example/en/index.html", true},
        {"https://tarbelon.example.evil.example/", false},
        {"https://eviltarbelon.example/", false},
        {"https://tarbelon.example@evil.example/", false},
        {"ftp://tarbelon.example/", false},
        {"tarbelon.example", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsMakersAddress(QString::fromUtf8(c.address)), c.ok) << c.address;
}

TEST_F(AppTest, TheManualMustBeAFileInsideTheProgramFolder) {
    const QString program = Path("program/");
    WriteBytes(program + "manual/en/manual.html", "<html></html>");
    WriteBytes(Path("outside.html"), "<html></html>");
    QDir().mkpath(program + "manual/folder.html");
    QFile::link(Path("outside.html"), program + "manual/link.html");
    struct Case {
        const char *manualFile, *found;
    }; // found: under the program folder, "" for none
    const Case cases[] = {
        {"\\manual\\en\\manual.html", "manual/en/manual.html"},
        {"\\manual\\en\\..\\en\\manual.html", "manual/en/manual.html"},
        {"\\manual\\sk\\manual.html", ""}, // missing
        {"\\manual\\folder.html", ""},     // a folder
        {"\\..\\outside.html", ""},        // above the program folder
        {"\\manual\\link.html", ""},       // a link that leads out
        {"C:\\Windows\\notepad.exe", ""},
    };
    const QString real = QFileInfo(program).canonicalFilePath() + QLatin1Char('/');
    for (const Case &c : cases) {
        const QString expected = *c.found ? real + QLatin1String(c.found) : QString();
        EXPECT_EQ(S(ManualPath(program, QString::fromUtf8(c.manualFile))), S(expected)) << c.manualFile;
    }
    const QString absolute = QFileInfo(Path("outside.html")).absoluteFilePath();
    EXPECT_EQ(S(ManualPath(program, absolute)), ""); // read below the folder, where there is no such file
}
