// Settings, program state and the user id.
#include "AppTestSupport.h"
#include "uIniFile.h"

class SettingsTest : public AppTest {
protected:
    KProgramSettings Loaded(const QByteArray &file) {
        WriteBytes(Path("settings.ini"), file);
        const TIniFile ini(Path("settings.ini"));
        KProgramSettings s;
        s.Load(&ini);
        return s;
    }
};

TEST_F(SettingsTest, DefaultsWithoutAFile) {
    KProgramSettings s;
    s.Load(&SettingsIni());
    EXPECT_TRUE(s.Center);
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 100);
    EXPECT_FALSE(s.OnTop);
    EXPECT_FALSE(s.SaveMemoryData);
    EXPECT_EQ(S(s.Memory), "0");
    EXPECT_FALSE(s.SaveHistory);
    EXPECT_TRUE(s.CheckUpdatesAtStart);
    EXPECT_TRUE(s.LanguageFile.isEmpty());
    EXPECT_EQ(&KProgramSettings::Instance(), &KProgramSettings::Instance());
    EXPECT_FALSE(KProgramState::Instance().JustEvaluated);
}

TEST_F(SettingsTest, SettingsIniLivesInTheProgramFolder) {
    EXPECT_TRUE(ProgramDir().endsWith('/'));
    EXPECT_EQ(S(SettingsIni().FileName()), S(Path("settings.ini")));
    EXPECT_EQ(S(ProgramPath("lang\\english.txt")), S(Path("lang/english.txt")));
    EXPECT_EQ(S(ProgramPath("lib\\")), S(Path("lib/")));
}

TEST_F(SettingsTest, CompleteFile) {
    const KProgramSettings s = Loaded(
        "[MainForm]\r\nCenter=0\r\nTop=50\r\nLeft=60\r\nOnTop=1\r\n"
        "[Settings]\r\nSaveMemoryData=1\r\nSaveHistory=1\r\nCheckUpdatesAtStart=0\r\n"
        "LanguageFile=lang\\english.txt\r\nUID=240115103000\r\n"
        "[Memory]\r\nData=1,5E-3\r\n");
    EXPECT_FALSE(s.Center);
    EXPECT_EQ(s.Top, 50);
    EXPECT_EQ(s.Left, 60);
    EXPECT_TRUE(s.OnTop);
    EXPECT_TRUE(s.SaveMemoryData);
    EXPECT_EQ(S(s.Memory), "1,5E-3");
    EXPECT_TRUE(s.SaveHistory);
    EXPECT_FALSE(s.CheckUpdatesAtStart);
    EXPECT_EQ(S(s.LanguageFile), "lang\\english.txt");
}

TEST_F(SettingsTest, MalformedValuesGiveTheDefaults) {
    const KProgramSettings s = Loaded(
        "[mainform]\r\ncenter=no\r\nTOP=abc\r\nleft=0x20\r\nOnTop=2\r\n"
        "[SETTINGS]\r\nsavememorydata=\r\nSaveHistory=yes\r\ncheckupdatesatstart=0X0\r\n"
        "garbage line\r\n[memory]\r\ndata=  7  \r\n");
    EXPECT_TRUE(s.Center);
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 32);
    EXPECT_TRUE(s.OnTop);
    EXPECT_FALSE(s.SaveMemoryData);
    EXPECT_FALSE(s.SaveHistory);
    EXPECT_FALSE(s.CheckUpdatesAtStart);
    EXPECT_EQ(S(s.Memory), "7"); // read whatever SaveMemoryData says
}

TEST_F(SettingsTest, LoadKeepsTheCurrentValuesForMissingKeysAndIgnoresNoFile) {
    KProgramSettings s;
    s.Top = 7;
    s.LanguageFile = "lang\\x.txt";
    s.Load(nullptr);
    EXPECT_EQ(s.Top, 7);
    WriteBytes(Path("p.ini"), "[MainForm]\r\nLeft=3\r\n");
    const TIniFile ini(Path("p.ini"));
    s.Load(&ini);
    EXPECT_EQ(s.Top, 7);
    EXPECT_EQ(s.Left, 3);
    EXPECT_EQ(S(s.LanguageFile), "lang\\x.txt");
}

TEST_F(SettingsTest, FirstRunWritesTheFixedOrder) {
    KProgramSettings s;
    ASSERT_TRUE(s.Save(&SettingsIni()));
    ASSERT_TRUE(WriteUserId(SettingsIni(), "240115103000"));
    EXPECT_EQ(ReadBytes(Path("settings.ini")), QByteArray(
        "[MainForm]\r\nCenter=1\r\nOnTop=0\r\n"
        "\r\n[Settings]\r\nSaveMemoryData=0\r\nSaveHistory=0\r\nCheckUpdatesAtStart=1\r\nLanguageFile=\r\nUID=240115103000\r\n"));
}

TEST_F(SettingsTest, LastPositionAndKeptMemoryAreWrittenInTheirPlaces) {
    KProgramSettings s;
    s.Center = false;
    s.Top = 50;
    s.Left = -60;
    s.SaveMemoryData = true;
    s.Memory = "3,25";
    s.LanguageFile = "lang\\english.txt";
    ASSERT_TRUE(s.Save(&SettingsIni()));
    EXPECT_EQ(ReadBytes(Path("settings.ini")), QByteArray(
        "[MainForm]\r\nCenter=0\r\nTop=50\r\nLeft=-60\r\nOnTop=0\r\n"
        "\r\n[Settings]\r\nSaveMemoryData=1\r\nSaveHistory=0\r\nCheckUpdatesAtStart=1\r\nLanguageFile=lang\\english.txt\r\n"
        "\r\n[Memory]\r\nData=3,25\r\n"));
    KProgramSettings back;
    back.Load(&SettingsIni());
    EXPECT_FALSE(back.Center);
    EXPECT_EQ(back.Left, -60);
    EXPECT_EQ(S(back.Memory), "3,25");
    EXPECT_EQ(S(back.LanguageFile), "lang\\english.txt");
}

TEST_F(SettingsTest, CentredAndUnkeptMemoryLeaveTheOldLinesAlone) {
    WriteBytes(Path("settings.ini"),
               "[MainForm]\r\nCenter=0\r\nTop=50\r\nLeft=60\r\nOnTop=0\r\n"
               "[Settings]\r\nSaveMemoryData=1\r\n[Memory]\r\nData=42\r\n");
    SettingsIni().Reload();
    KProgramSettings s;
    s.Load(&SettingsIni());
    s.Center = true;
    s.Top = 1;
    s.Left = 2;
    s.SaveMemoryData = false;
    s.Memory = "0";
    ASSERT_TRUE(s.Save(&SettingsIni()));
    const TIniFile file(Path("settings.ini"));
    EXPECT_EQ(file.ReadInteger("MainForm", "Top", 0), 50);
    EXPECT_EQ(file.ReadInteger("MainForm", "Left", 0), 60);
    EXPECT_EQ(S(file.ReadString("Memory", "Data", "")), "42");
    KProgramSettings next;
    next.Load(&file);
    EXPECT_EQ(S(next.Memory), "42");
    EXPECT_FALSE(next.SaveMemoryData);
}

TEST_F(SettingsTest, SaveStopsAtAFailedWriteAndKeepsTheFile) {
    const QByteArray old("[MainForm]\r\nCenter=1\r\n");
    WriteBytes(Path("settings.ini"), old);
    SettingsIni().Reload();
    KProgramSettings s;
    bool saved;
    {
        TFileSizeLimit limit(old.size());
        saved = s.Save(&SettingsIni());
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(SettingsIni().LastError().isEmpty());
    EXPECT_EQ(ReadBytes(Path("settings.ini")), old);
}

TEST_F(SettingsTest, UserIdFromTheUtcClockWhenNoneIsStored) {
    AppContext().UtcNow = [] { return QDateTime(QDate(2024, 1, 5), QTime(7, 8, 9), Qt::UTC); };
    struct Case { const char *file; const char *expected; };
    const Case cases[] = {
        {"", "240105070809"},
        {"[Settings]\r\nUID=none\r\n", "240105070809"},
        {"[settings]\r\nuid=231231235959\r\n", "231231235959"},
        {"[Settings]\r\nUID=None\r\n", "None"},
    };
    for (const Case &c : cases) {
        WriteBytes(Path("settings.ini"), c.file);
        const TIniFile ini(Path("settings.ini"));
        EXPECT_EQ(S(ReadOrCreateUserId(ini)), c.expected) << c.file;
    }
    // Local time zones do not matter.
    const QDateTime local = QDateTime(QDate(2023, 12, 31), QTime(23, 30, 0), Qt::UTC).toOffsetFromUtc(3600);
    EXPECT_EQ(S(MakeUserId(local)), "231231233000");
}
