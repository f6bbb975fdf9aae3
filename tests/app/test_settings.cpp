// Settings, program state and the user id.
#include "AppTestSupport.h"
#include "uIniFile.h"

class SettingsTest : public AppTest {};

TEST_F(SettingsTest, MalformedValuesGiveTheDefaultsAndMissingKeysKeepTheCurrentValues) {
    WriteBytes(Path("settings.ini"), "[mainform]\r\ncenter=no\r\nTOP=abc\r\nleft=0x20\r\nOnTop=2\r\n"
                                     "[SETTINGS]\r\nsavememorydata=\r\nSaveHistory=yes\r\ncheckupdatesatstart=0X0\r\n"
                                     "garbage line\r\n[memory]\r\ndata=  7  \r\n");
    const TIniFile ini(Path("settings.ini"));
    KProgramSettings s;
    s.LanguageFile = "lang\\x.txt";
    s.Load(nullptr); // no file: nothing changes
    EXPECT_EQ(S(s.LanguageFile), "lang\\x.txt");
    s.Load(&ini);
    EXPECT_TRUE(s.Center);
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 32);
    EXPECT_TRUE(s.OnTop);
    EXPECT_FALSE(s.SaveMemoryData);
    EXPECT_FALSE(s.SaveHistory);
    EXPECT_FALSE(s.CheckUpdatesAtStart);
    EXPECT_EQ(S(s.Memory), "7");                 // read whatever SaveMemoryData says
    EXPECT_EQ(S(s.LanguageFile), "lang\\x.txt"); // no such key
}

TEST_F(SettingsTest, CentredAndUnkeptMemoryLeaveTheOldLinesAlone) {
    WriteBytes(Path("settings.ini"), "[MainForm]\r\nCenter=0\r\nTop=50\r\nLeft=60\r\nOnTop=0\r\n"
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

TEST_F(SettingsTest, SaveReportsAFailedWrite) {
    QDir().mkpath(Path("settings.ini")); // a folder where the file should be
    SettingsIni().Reload();
    EXPECT_FALSE(KProgramSettings().Save(&SettingsIni()));
    EXPECT_FALSE(SettingsIni().LastError().isEmpty());
}

TEST_F(SettingsTest, UserIdFromTheUtcClockWhenNoneIsStored) {
    AppContext().UtcNow = [] { return QDateTime(QDate(2024, 1, 5), QTime(7, 8, 9), Qt::UTC); };
    struct Case {
        const char *file;
        const char *expected;
    };
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
