// The text codec and the INI layer.
#include "AppTestSupport.h"
#include "uIniFile.h"
#include "uTextCodec.h"

TEST(TextCodec, Windows1250BytesOfTheSlovakAndCzechLetters) {
    struct Case {
        uchar byte;
        char16_t unicode;
    };
    // Letters from every range of the table where it differs from Latin-1, one that
    // agrees, ASCII, and an unused byte that stands for itself.
    const Case cases[] = {{0x8A, u'Š'}, {0x9D, u'ť'}, {0xBC, u'Ľ'},     {0xE1, u'á'},
                          {0x80, u'€'}, {0x41, u'A'}, {0x81, u'\u0081'}};
    for (const Case &c : cases) {
        EXPECT_EQ(Cp1250ToUnicode(c.byte).unicode(), c.unicode) << int(c.byte);
        uchar back = 0;
        EXPECT_TRUE(UnicodeToCp1250(QChar(c.unicode), back));
        EXPECT_EQ(back, c.byte);
    }
    uchar unused;
    EXPECT_FALSE(UnicodeToCp1250(QChar(u'ø'), unused));
}

TEST(TextCodec, ReadsUtf8WithAndWithoutMarkElseWindows1250) {
    const QString text = QStringLiteral("Uložiť históriu");
    struct Case {
        const char *what;
        QByteArray bytes;
    };
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

// Windows-1250 only when every character fits and the bytes cannot be read
// as anything else; every text reads back as it was written.
TEST(TextCodec, WritesWindows1250OnlyWhereItReadsBackElseUtf8WithMark) {
    const QByteArray mark("\xEF\xBB\xBF");
    struct Case {
        QString text;
        QByteArray cp1250;
    }; // empty cp1250: UTF-8 with the mark
    const Case cases[] = {
        {QStringLiteral("čaj € ő"), "\xE8"
                                    "aj \x80 \xF5"},
        {QStringLiteral("ÁŠ"), "\xC1\x8A"}, // C1 8A is an overlong form, no UTF-8
        {QStringLiteral("1+x"), "1+x"},
        {QStringLiteral("ČŠ =  1"), {}}, // C8 8A is the UTF-8 of one letter
        {QStringLiteral("ěšť"), {}},     // EC 9A 9D likewise
        {QStringLiteral("ď»żx"), {}},    // EF BB BF would be taken for the mark
        {QStringLiteral("\uFEFFx"), {}}, // a mark that belongs to the text
        {QStringLiteral("čaj ∑ ø"), {}}, // outside Windows-1250
    };
    for (const Case &c : cases) {
        const QByteArray bytes = EncodeFileText(c.text);
        EXPECT_EQ(bytes, c.cp1250.isEmpty() ? mark + c.text.toUtf8() : c.cp1250) << S(c.text);
        EXPECT_EQ(S(DecodeFileText(bytes)), S(c.text));
    }
}

// Texts of up to six characters from all of Windows-1250, a mark and one
// character outside it read back as written.
TEST(TextCodec, EveryGeneratedTextReadsBack) {
    QString alphabet = QStringLiteral("\uFEFF∑");
    for (int b = 0x20; b < 0x100; ++b)
        alphabet += Cp1250ToUnicode(uchar(b));
    quint32 seed = 12345;
    auto next = [&seed](int n) { return int((seed = seed * 1103515245u + 12345u) >> 16) % n; };
    for (int i = 0; i < 20000; ++i) {
        QString text;
        for (int k = 1 + next(6); k > 0; --k)
            text += alphabet.at(next(int(alphabet.size())));
        ASSERT_EQ(S(DecodeFileText(EncodeFileText(text))), S(text));
    }
}

TEST(TextCodec, SplitsLinesAtEveryKindOfBreak) {
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\nb\r\n")), QStringList({"a", "", "b"}));
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

TEST(IniRead, PrivateProfileRules) {
    const TIniFile ini = TIniFile::FromText(
        QStringLiteral("; comment=1\r\norphan=before any section\r\n[Settings]\r\nLanguageFile=lang\\english.txt\r\n"
                       "  Spaced  =  padded value  \r\nTwice=first\r\ntwice=second\r\nEquals=a=b\r\nnot a key line\r\n"
                       "[ settings ]\r\nLater=hidden by the first section\r\n[Other]\r\nTwice=other\r\n"));
    struct Case {
        const char *section;
        const char *key;
        const char *expected;
    };
    const Case cases[] = {
        {"Settings", "LanguageFile", "lang\\english.txt"},
        {"SETTINGS", "languagefile", "lang\\english.txt"},
        {"settings", "Spaced", "padded value"},
        {"Settings", "TWICE", "first"},
        {"Settings", "Equals", "a=b"},
        {"Other", "twice", "other"},
        {"Settings", "Later", "<default>"},
        {"Settings", "orphan", "<default>"},
        {"Settings", "; comment", "<default>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(S(ini.ReadString(c.section, c.key, "<default>")), c.expected) << c.section << "/" << c.key;
}

TEST(IniRead, IntegersAndBooleans) {
    const TIniFile ini =
        TIniFile::FromText(QStringLiteral("[s]\n"
                                          "neg=-60\nplus=+7\nhex=0x1F\nHEX=0XfF\nupper=0XfF\nspace= 12 \n"
                                          "abc=abc\nmixed=12a\nempty=\nbig=99999999999\nbare=0x\nbool0=0\nbool2=2\n"));
    struct Case {
        const char *key;
        qint32 expected;
    };
    const Case ints[] = {
        {"neg", -60},   {"plus", 7},  {"upper", 255}, {"space", 12},    {"mixed", 100},
        {"empty", 100}, {"big", 100}, {"bare", 100},  {"missing", 100},
    };
    for (const Case &c : ints)
        EXPECT_EQ(ini.ReadInteger("s", c.key, 100), c.expected) << c.key;
    // Keys ignore case: of "hex" and "HEX" the first line wins.
    EXPECT_EQ(ini.ReadInteger("S", "HEX", 0), 31);

    struct BoolCase {
        const char *key;
        bool def;
        bool expected;
    };
    const BoolCase bools[] = {
        {"bool0", true, false}, {"bool2", false, true}, {"hex", false, true},
        {"abc", true, true},    {"abc", false, false},
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

TEST_F(IniFileTest, WritesInPlaceAndPutsNewKeysAfterTheLastKeyOfTheirSection) {
    WriteBytes(Path("s.ini"), "; my settings\n[mainform]\ncenter = 1\nTop=5\n\n; about the next section\n"
                              "[Settings]\nunknown line\nPath=C:\\calc\\\nPATH=second\n");
    TIniFile ini(Path("s.ini"));
    struct Step {
        const char *section;
        const char *key;
        const char *value;
    };
    const Step steps[] = {
        {"MainForm", "Center", "0"},     // replaced in place, the file's spelling of the key kept
        {"MAINFORM", "Left", "60"},      // new key after Top, before the blank line and comment
        {"Settings", "Path", "D:\\x\\"}, // backslashes as they stand; only the first of two keys
        {"Memory", "Data", "1,5"},       // a new section at the end
        {"memory", "Extra", "a;b"},
    };
    for (const Step &s : steps)
        ASSERT_TRUE(ini.WriteString(s.section, s.key, s.value)) << s.key;
    EXPECT_EQ(
        ReadBytes(Path("s.ini")),
        QByteArray("; my settings\r\n[mainform]\r\ncenter=0\r\nTop=5\r\nLeft=60\r\n\r\n; about the next section\r\n"
                   "[Settings]\r\nunknown line\r\nPath=D:\\x\\\r\nPATH=second\r\n\r\n[Memory]\r\nData=1,5\r\n"
                   "Extra=a;b\r\n"));
    const TIniFile again(Path("s.ini"));
    EXPECT_EQ(S(again.ReadString("settings", "path", "")), "D:\\x\\");
    EXPECT_EQ(again.ReadInteger("MainForm", "LEFT", 0), 60);
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

// A missing file reads empty and is made by the first write, in the
// encoding its characters need.
TEST_F(IniFileTest, AMissingFileIsMadeByTheFirstWriteInTheEncodingItNeeds) {
    TIniFile ini(Path("e.ini"));
    EXPECT_EQ(S(ini.ReadString("a", "k", "def")), "def");
    EXPECT_FALSE(QFile::exists(Path("e.ini")));
    ASSERT_TRUE(ini.WriteString("a", "k", QStringLiteral("ľšč")));
    EXPECT_EQ(ReadBytes(Path("e.ini")), QByteArray("[a]\r\nk=\xBE\x9A\xE8\r\n"));
    ASSERT_TRUE(ini.WriteString("a", "r", QStringLiteral("Жук")));
    EXPECT_EQ(S(TIniFile(Path("e.ini")).ReadString("a", "r", "")), S(QStringLiteral("Жук")));
}

// That the old file is kept is the text file's rule (TextFileTest).
TEST_F(IniFileTest, AFailedWriteIsReportedAndNotTakenAsWritten) {
    WriteBytes(Path("f.ini"), "[a]\r\nk=1\r\n");
    TIniFile ini(Path("f.ini"));
    bool written;
    {
        TFileSizeLimit limit(10);
        written = ini.WriteString("a", "new", "a value that makes the file longer");
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(ini.LastError().isEmpty());
    EXPECT_FALSE(ini.ValueExists("a", "new"));
    QDir().mkpath(Path("settings.ini")); // a folder in the place of the file is not overwritten
    EXPECT_FALSE(TIniFile(Path("settings.ini")).WriteBool("a", "b", true));
    EXPECT_TRUE(QFileInfo(Path("settings.ini")).isDir());
}
