// Start and shut-down: the settings, the position, the language, the user
// id, the history file, and the one warning when something cannot be saved.
#include "HlavnyTestSupport.h"
#include "uIniFile.h"
#include "uTextCodec.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

class StartTest : public HlavnyTest {
protected:
    // A new start of the program: the files as they are now on disk.
    void Restart() {
        Windows.reset();
        KProgramSettings::Instance().Reset();
        SettingsIni().Reload();
        AppContext().SetLanguageIni(nullptr);
        StartProgram();
    }
    // The non-empty lines of a file.
    QStringList Lines(const QString &name) {
        QStringList lines;
        ReadTextLines(Path(name), lines);
        lines.removeAll(QString());
        return lines;
    }
    QAction *Act(const char *name) { return Find<QAction>(*W, name); }
    void CopyEnglish() {
        WriteBytes(Path("lang/english.txt"),
                   ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR) + "/resources/lang/english.txt"));
    }
    QRect PrimaryScreen() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(StartTest, FirstStartItsShutDownAndTheMenuSwitches) {
    Restart();
    EXPECT_TRUE(Act("VStredeObrazovkyAct")->isChecked());
    EXPECT_FALSE(Act("VPoslednejPoloheAct")->isChecked());
    const QRect screen = PrimaryScreen();
    EXPECT_EQ(W->geometry().center().x() / 2, screen.center().x() / 2);
    EXPECT_EQ(W->geometry().center().y() / 2, screen.center().y() / 2);
    EXPECT_FALSE(W->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(S(W->UserId()), "261205202543"); // from the clock, in UTC

    Calculate(QStringLiteral("1+1"));
    EndProgram();
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    EXPECT_EQ(Lines("settings.ini"),
              QStringList({"[MainForm]", "Center=1", "OnTop=0", "[Settings]", "SaveMemoryData=0", "SaveHistory=0",
                           "CheckUpdatesAtStart=1", "LanguageFile=", "UID=261205202543"}));
    EXPECT_FALSE(QFileInfo::exists(Path("history.dat"))); // the history is not kept

    // The next start reads the same id, although the clock has moved on;
    // the menu switches change what is saved at exit.
    AppContext().UtcNow = [] { return QDateTime(QDate(2027, 1, 1), QTime(0, 0), Qt::UTC); };
    Restart();
    EXPECT_EQ(S(W->UserId()), "261205202543");
    for (const char *name : {"UkladatHodnotuVPamatiAct", "PamatatSiHistoriuVypoctovAct",
                             "KontrolovatAktualizaciePriStarteProgramuAct", "VPoslednejPoloheAct"})
        Act(name)->trigger();
    EXPECT_FALSE(Act("VStredeObrazovkyAct")->isChecked());
    Calculate(QStringLiteral("6*7"));
    Btn("BtnMS")->click();
    EndProgram();
    const QStringList lines = Lines("settings.ini");
    for (const char *line : {"Center=0", "SaveMemoryData=1", "CheckUpdatesAtStart=0"})
        EXPECT_TRUE(lines.contains(line)) << line;
    EXPECT_EQ(Lines("history.dat"), QStringList({"6*7 =  42"}));
    Restart(); // the kept memory comes back without its leading spaces
    EXPECT_EQ(S(Find<QLabel>(*W, "LabelPamat")->text()), "42");
}

TEST_F(StartTest, StartWithCompleteSettingsAndShutDownInOrder) {
    CopyEnglish();
    WriteBytes(Path("settings.ini"), "[MainForm]\r\nCenter=0\r\nTop=120\r\nLeft=140\r\nOnTop=1\r\n"
                                     "[Settings]\r\nSaveMemoryData=1\r\nSaveHistory=1\r\nCheckUpdatesAtStart=0\r\n"
                                     "LanguageFile=lang\\english.txt\r\nUID=123456789012\r\n"
                                     "[Memory]\r\nData=42\r\n");
    WriteBytes(Path("history.dat"), "1+1 =  2\r\n");
    Restart();
    EXPECT_EQ(W->pos(), QPoint(140, 120));
    EXPECT_TRUE(Act("VPoslednejPoloheAct")->isChecked());
    EXPECT_TRUE(Act("VzdyNavrchuAct")->isChecked());
    EXPECT_TRUE(W->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(S(Find<QLabel>(*W, "LabelPamat")->text()), "42");
    EXPECT_TRUE(Act("UkladatHodnotuVPamatiAct")->isChecked());
    EXPECT_TRUE(Act("PamatatSiHistoriuVypoctovAct")->isChecked());
    EXPECT_FALSE(Act("KontrolovatAktualizaciePriStarteProgramuAct")->isChecked());
    EXPECT_EQ(S(W->UserId()), "123456789012");
    EXPECT_EQ(S(W->Texts().LanguageCode), "en");
    EXPECT_EQ(History(), QStringList({"1+1 =  2"}));

    Calculate(QStringLiteral("2+3"));
    Find<QLabel>(*W, "LabelPamat")->setText(QStringLiteral("7"));
    W->move(150, 130);
    EndProgram();
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    EXPECT_EQ(Lines("settings.ini"),
              QStringList({"[MainForm]", "Center=0", "Top=130", "Left=150", "OnTop=1", "[Settings]", "SaveMemoryData=1",
                           "SaveHistory=1", "CheckUpdatesAtStart=0", "LanguageFile=lang\\english.txt",
                           "UID=123456789012", "[Memory]", "Data=7"}));
    EXPECT_EQ(Lines("history.dat"), QStringList({"1+1 =  2", "2+3 =  5"}));
}

// Back is usable from the start when the kept history holds an entry, and
// steps up through it from the last entry, which the history selects.
TEST_F(StartTest, BackAtStartStepsThroughTheKeptHistory) {
    WriteBytes(Path("settings.ini"), "[Settings]\r\nSaveHistory=1\r\n");
    for (const char *kept : {"", "1+1 =  2\r\n2+2 =  4\r\n3+3 =  6\r\n"}) {
        WriteBytes(Path("history.dat"), kept);
        Restart();
        EXPECT_EQ(Btn("BtnSpat")->isEnabled(), *kept != '\0') << kept;
    }
    for (const char *expression : {"2+2", "1+1", "3+3"}) {
        QTest::mouseClick(Btn("BtnSpat"), Qt::LeftButton);
        EXPECT_EQ(S(Input()->Text()), expression);
    }
}

// The shut-down tries every write, then warns once; a user constant is
// used at once and saved at exit.
TEST_F(StartTest, AFailedWriteAtShutDownWarnsOnceAndSavesTheRest) {
    const QString files[] = {"settings.ini", "history.dat", "const.dat"};
    for (const QString &blocked : files) {
        SCOPED_TRACE(S(blocked));
        for (const QString &file : files) {
            QDir(Path(file)).removeRecursively();
            QFile::remove(Path(file));
        }
        QDir().mkpath(Path(blocked)); // a folder where the file should be
        Restart();
        Act("PamatatSiHistoriuVypoctovAct")->trigger();
        Konstanty()->Model().AddOrModify({"$g", "gravity", "9,81", ""}, nullptr);
        Calculate(QStringLiteral("2*$g"));
        Prompter->Shown.clear();
        EndProgram();
        ASSERT_EQ(Prompter->Shown.size(), 1);
        EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::Warning);
        EXPECT_EQ(S(Prompter->Shown[0].Caption), "Chyba");
        EXPECT_EQ(S(Prompter->Shown[0].Text), "Nepodarilo sa uložiť nastavenia");
        EXPECT_EQ(Lines("settings.ini").contains("UID=261205202543"), blocked != files[0]);
        EXPECT_EQ(Lines("history.dat") == QStringList({"2*$g =  19,62"}), blocked != files[1]);
        EXPECT_EQ(Lines("const.dat").size() == 3, blocked != files[2]);
    }
}

// The title strip must keep 20 by 10 pixels on a screen.
TEST_F(StartTest, APositionOffEveryScreenIsBroughtBack) {
    struct Case {
        int left, top;
        bool stays;
    };
    const Case cases[] = {{5000, 5000, false}, {100, -300, false}, {20 - HlavnyWidth, 100, true}};
    for (const Case &c : cases) {
        WriteBytes(Path("settings.ini"),
                   QStringLiteral("[MainForm]\r\nCenter=0\r\nTop=%1\r\nLeft=%2\r\n").arg(c.top).arg(c.left).toLatin1());
        Restart();
        if (c.stays) {
            EXPECT_EQ(W->pos(), QPoint(c.left, c.top)) << c.left << "," << c.top;
        } else {
            EXPECT_TRUE(PrimaryScreen().contains(QRect(W->pos(), QSize(W->width(), 24)))) << c.left << "," << c.top;
        }
    }
}

TEST_F(StartTest, TheWindowIsBorderlessWithARoundedOutline) {
    EXPECT_TRUE(W->windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRegion mask = W->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(W->width() - 1, W->height() - 1)));
    EXPECT_TRUE(mask.contains(QPoint(W->width() / 2, 0)));
    // The keys' look comes from the built-in style sheet: the "=" key is white on blue.
    auto *equals = Find<QPushButton>(*W, "BtnRovnaSa");
    equals->ensurePolished();
    EXPECT_EQ(equals->palette().color(QPalette::ButtonText), QColor(0xff, 0xff, 0xff));
}

// --- language ---------------------------------------------------------------------

TEST_F(StartTest, ALanguageFileReplacesTheTextsOfTheWindowAndItsMessages) {
    CopyEnglish();
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\english.txt")));
    EXPECT_EQ(S(KProgramSettings::Instance().LanguageFile), "lang\\english.txt");
    auto *decimals = Find<QLabel>(*W, "Label4");
    EXPECT_EQ(S(decimals->text()), "Decimals:");
    EXPECT_EQ(S(Btn("BtnTG")->text()), "tan");
    // The longer captions still fit between the base keys and the decimals
    // field, and "hyp" between the tool keys and Back.
    const QRect hyp = Find<QCheckBox>(*W, "CheckBoxHyp")->geometry();
    const QRect fractions = Find<QCheckBox>(*W, "CheckBoxZlomky")->geometry();
    EXPECT_GE(fractions.width(), Find<QCheckBox>(*W, "CheckBoxZlomky")->sizeHint().width());
    EXPECT_GE(hyp.width(), Find<QCheckBox>(*W, "CheckBoxHyp")->sizeHint().width());
    EXPECT_GE(decimals->width(), decimals->fontMetrics().horizontalAdvance(decimals->text()));
    EXPECT_LT(Find<QToolButton>(*W, "sbBin")->geometry().right(), fractions.left());
    EXPECT_LT(fractions.right(), decimals->geometry().left());
    EXPECT_LT(decimals->geometry().right(), Find<QLineEdit>(*W, "EditDesM")->geometry().left());
    EXPECT_LT(Btn("sumaBtn")->geometry().right(), hyp.left());
    EXPECT_LT(hyp.right(), Btn("BtnSpat")->geometry().left());
    Calculate(QStringLiteral("sin+1"));
    EXPECT_EQ(S(ErrorText()), "Function \"sin\" has no argument.");

    // A file that does not exist changes nothing.
    EXPECT_FALSE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\missing.txt")));
    EXPECT_EQ(S(KProgramSettings::Instance().LanguageFile), "lang\\english.txt");
    EXPECT_EQ(S(Btn("BtnTG")->text()), "tan");
}
