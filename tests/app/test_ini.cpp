// The text codec and the INI layer.
#include "AppTestSupport.h"
#include "uIniFile.h"
#include "uTextCodec.h"

// --- Codec ------------------------------------------------------------------

TEST(TextCodec, Windows1250BytesOfTheSlovakAndCzechLetters) {
    struct Case { uchar byte; char16_t unicode; };
    // Letters from every range of the table where it differs from Latin-1, one that
    // agrees, ASCII, and an unused byte that stands for itself.
    const Case cases[] = {
        {0x8A, u'Š'}, {0x9D, u'ť'}, {0xBC, u'Ľ'}, {0xBE, u'ľ'}, {0xC8, u'Č'}, {0xE1, u'á'},
        {0xEC, u'ě'}, {0xF9, u'ů'}, {0x80, u'€'}, {0x41, u'A'}, {0x81, u'\u0081'},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Cp1250ToUnicode(c.byte).unicode(), c.unicode) << int(c.byte);
        uchar back = 0;
        EXPECT_TRUE(UnicodeToCp1250(QChar(c.unicode), back));
        EXPECT_EQ(back, c.byte);
    }
    uchar unused;
    EXPECT_FALSE(UnicodeToCp1250(QChar(u'ø'), unused));
    EXPECT_FALSE(UnicodeToCp1250(QChar(u'Ж'), unused));
}

TEST(TextCodec, ReadsUtf8WithAndWithoutMarkElseWindows1250) {
    const QString text = QStringLiteral("Uložiť históriu");
    struct Case { const char *what; QByteArray bytes; };
    const Case cases[] = {
        {"utf-8", text.toUtf8()},
        {"utf-8 with mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"windows-1250", QByteArray("Ulo\x9Ei\x9D hist\xF3riu")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(S(DecodeFileText(c.bytes)), S(text)) << c.what;
    // A mark followed by bytes that are no UTF-8 still disappears.
    EXPECT_EQ(S(DecodeFileText(QByteArray("\xEF\xBB\xBF\x9A"))), S(QStringLiteral("š")));
}

TEST(TextCodec, WritesWindows1250WhenEveryCharacterFitsElseUtf8WithMark) {
    EXPECT_EQ(EncodeFileText(QStringLiteral("čaj")), QByteArray("\xE8" "aj"));
    EXPECT_EQ(EncodeFileText(QStringLiteral("abc")), QByteArray("abc"));
    const QString foreign = QStringLiteral("čaj Ж");
    EXPECT_EQ(EncodeFileText(foreign), QByteArray("\xEF\xBB\xBF") + foreign.toUtf8());
    EXPECT_EQ(S(DecodeFileText(EncodeFileText(foreign))), S(foreign));
}

TEST(TextCodec, SplitsLinesAtEveryKindOfBreak) {
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\nb\r\n")), QStringList({"a", "", "b"}));
    EXPECT_TRUE(SplitLines(QString()).isEmpty());
}

class TextFileTest : public AppTest {};

TEST_F(TextFileTest, FailedWriteKeepsTheOldFileAndSaysWhy) {
    WriteBytes(Path("a.txt"), "old contents\r\n");
    TWriteResult result;
    {
        TFileSizeLimit limit(4);
        result = WriteTextLines(Path("a.txt"), {"a line much longer than four bytes"});
    }
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_EQ(ReadBytes(Path("a.txt")), QByteArray("old contents\r\n"));
    // Into a folder that does not exist.
    EXPECT_FALSE(WriteTextLines(Path("missing/a.txt"), {"x"}).Ok);
}

// --- Reading ------------------------------------------------------------------

TEST(IniRead, PrivateProfileRules) {
    const TIniFile ini = TIniFile::FromText(QStringLiteral(
        "; comment=1\r\n"
        "orphan=before any section\r\n"
        "[Settings]\r\n"
        "LanguageFile=lang\\english.txt\r\n"
        "  Spaced  =  padded value  \r\n"
        "Empty=\r\n"
        "Twice=first\r\n"
        "twice=second\r\n"
        "Equals=a=b\r\n"
        "not a key line\r\n"
        "[ settings ]\r\n"
        "Later=hidden by the first section\r\n"
        "[Other]\r\n"
        "Twice=other\r\n"));
    struct Case { const char *section; const char *key; const char *expected; };
    const Case cases[] = {
        {"Settings", "LanguageFile", "lang\\english.txt"},
        {"SETTINGS", "languagefile", "lang\\english.txt"},
        {"settings", "Spaced", "padded value"},
        {"Settings", "Empty", ""},
        {"Settings", "TWICE", "first"},
        {"Settings", "Equals", "a=b"},
        {"Other", "twice", "other"},
        {"Settings", "Later", "<default>"},
        {"Settings", "orphan", "<default>"},
        {"Settings", "; comment", "<default>"},
        {"Missing", "Twice", "<default>"},
        {"Settings", "not a key line", "<default>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(S(ini.ReadString(c.section, c.key, "<default>")), c.expected) << c.section << "/" << c.key;
}

TEST(IniRead, IntegersAndBooleans) {
    const TIniFile ini = TIniFile::FromText(QStringLiteral(
        "[s]\n"
        "dec=50\nneg=-60\nplus=+7\nhex=0x1F\nHEX=0XfF\nupper=0XfF\nspace= 12 \n"
        "abc=abc\nmixed=12a\nempty=\nfrac=1,5\nbig=99999999999\nbare=0x\nbool0=0\nbool2=2\nboolneg=-1\n"));
    struct Case { const char *key; qint32 expected; };
    const Case ints[] = {
        {"dec", 50}, {"neg", -60}, {"plus", 7}, {"upper", 255}, {"space", 12},
        {"mixed", 100}, {"empty", 100}, {"frac", 100}, {"big", 100}, {"bare", 100}, {"missing", 100},
    };
    for (const Case &c : ints)
        EXPECT_EQ(ini.ReadInteger("s", c.key, 100), c.expected) << c.key;
    // Keys ignore case: of "hex" and "HEX" the first line wins.
    EXPECT_EQ(ini.ReadInteger("S", "HEX", 0), 31);

    struct BoolCase { const char *key; bool def; bool expected; };
    const BoolCase bools[] = {
        {"bool0", true, false}, {"bool2", false, true}, {"boolneg", false, true}, {"hex", false, true},
        {"abc", true, true}, {"abc", false, false}, {"missing", false, false},
    };
    for (const BoolCase &c : bools)
        EXPECT_EQ(ini.ReadBool("s", c.key, c.def), c.expected) << c.key;
}

class IniFileTest : public AppTest {};

TEST_F(IniFileTest, ByteOrderMarkDoesNotHideTheFirstSection) {
    WriteBytes(Path("x.ini"), QByteArray("\xEF\xBB\xBF[Info]\r\nLanguageName=Slovensk\xC3\xA1\r\n"));
    const TIniFile ini(Path("x.ini"));
    EXPECT_EQ(S(ini.ReadString("Info", "LanguageName", "nil")), S(QStringLiteral("Slovenská")));
    EXPECT_EQ(S(TIniFile::FromText(QStringLiteral("\uFEFF[A]\nk=v")).ReadString("a", "k", "")), "v");
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
    TIniFile ini(Path("settings.ini"));
    EXPECT_EQ(S(ini.ReadString("a", "b", "def")), "def");
    EXPECT_FALSE(QFile::exists(Path("settings.ini")));
    ASSERT_TRUE(ini.WriteString("Main", "Key", "v"));
    EXPECT_EQ(ReadBytes(Path("settings.ini")), QByteArray("[Main]\r\nKey=v\r\n"));
}

// --- Writing --------------------------------------------------------------

TEST_F(IniFileTest, WritesInPlaceAndPutsNewKeysAfterTheLastKeyOfTheirSection) {
    WriteBytes(Path("s.ini"), QByteArray(
        "; my settings\n"
        "[mainform]\n"
        "center = 1\n"
        "Top=5\n"
        "\n"
        "; about the next section\n"
        "[Settings]\n"
        "unknown line\n"
        "Path=C:\\calc\\\n"));
    TIniFile ini(Path("s.ini"));
    struct Step { const char *section; const char *key; const char *value; };
    const Step steps[] = {
        {"MainForm", "Center", "0"},      // replaced in place, the file's spelling of the key kept
        {"MAINFORM", "Left", "60"},       // new key after Top, before the blank line and comment
        {"Settings", "Path", "D:\\x\\"},  // backslashes written as they stand
        {"Memory", "Data", "1,5"},        // a new section at the end
        {"memory", "Extra", "a;b"},
    };
    for (const Step &s : steps)
        ASSERT_TRUE(ini.WriteString(s.section, s.key, s.value)) << s.key;
    EXPECT_EQ(ReadBytes(Path("s.ini")), QByteArray(
        "; my settings\r\n"
        "[mainform]\r\n"
        "center=0\r\n"
        "Top=5\r\n"
        "Left=60\r\n"
        "\r\n"
        "; about the next section\r\n"
        "[Settings]\r\n"
        "unknown line\r\n"
        "Path=D:\\x\\\r\n"
        "\r\n"
        "[Memory]\r\n"
        "Data=1,5\r\n"
        "Extra=a;b\r\n"));
    const TIniFile again(Path("s.ini"));
    EXPECT_EQ(S(again.ReadString("settings", "path", "")), "D:\\x\\");
    EXPECT_EQ(again.ReadInteger("MainForm", "LEFT", 0), 60);
}

TEST_F(IniFileTest, WriteOnlyChangesTheFirstOfDuplicateKeys) {
    WriteBytes(Path("d.ini"), "[a]\r\nk=1\r\nK=2\r\n");
    TIniFile ini(Path("d.ini"));
    ASSERT_TRUE(ini.WriteInteger("A", "k", 3));
    EXPECT_EQ(ReadBytes(Path("d.ini")), QByteArray("[a]\r\nk=3\r\nK=2\r\n"));
}

TEST_F(IniFileTest, ValueWithALineBreakStaysOnOneLine) {
    TIniFile ini(Path("n.ini"));
    ASSERT_TRUE(ini.WriteString("a", "k", "x\r\n[b]\ny"));
    EXPECT_FALSE(TIniFile(Path("n.ini")).SectionExists("b"));
}

TEST_F(IniFileTest, WriteSeesChangesMadeToTheFileMeanwhile) {
    TIniFile ini(Path("m.ini"));
    ASSERT_TRUE(ini.WriteString("a", "one", "1"));
    WriteBytes(Path("m.ini"), "[a]\r\none=1\r\nbyhand=yes\r\n");
    ASSERT_TRUE(ini.WriteString("a", "two", "2"));
    EXPECT_EQ(ReadBytes(Path("m.ini")), QByteArray("[a]\r\none=1\r\nbyhand=yes\r\ntwo=2\r\n"));
}

TEST_F(IniFileTest, EncodingOfTheWrittenFileFollowsItsCharacters) {
    TIniFile ini(Path("e.ini"));
    ASSERT_TRUE(ini.WriteString("a", "k", QStringLiteral("ľšč")));
    EXPECT_EQ(ReadBytes(Path("e.ini")), QByteArray("[a]\r\nk=\xBE\x9A\xE8\r\n"));
    ASSERT_TRUE(ini.WriteString("a", "r", QStringLiteral("Жук")));
    EXPECT_TRUE(ReadBytes(Path("e.ini")).startsWith("\xEF\xBB\xBF[a]\r\n"));
    EXPECT_EQ(S(TIniFile(Path("e.ini")).ReadString("a", "k", "")), S(QStringLiteral("ľšč")));
}

TEST_F(IniFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    const QByteArray old("[a]\r\nk=1\r\n");
    WriteBytes(Path("f.ini"), old);
    TIniFile ini(Path("f.ini"));
    bool written;
    {
        TFileSizeLimit limit(old.size());
        written = ini.WriteString("a", "new", "a value that makes the file longer");
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(ini.LastError().isEmpty());
    EXPECT_EQ(ReadBytes(Path("f.ini")), old);
    EXPECT_FALSE(ini.ValueExists("a", "new"));
}

TEST_F(IniFileTest, AFolderInThePlaceOfTheFileIsNotOverwritten) {
    QDir().mkpath(Path("settings.ini"));
    TIniFile ini(Path("settings.ini"));
    EXPECT_FALSE(ini.WriteBool("a", "b", true));
    EXPECT_TRUE(QFileInfo(Path("settings.ini")).isDir());
}
