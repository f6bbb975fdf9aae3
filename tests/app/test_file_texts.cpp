// Every file the program writes gives its texts back as they were, whichever
// encoding their characters need.
#include "AppTestSupport.h"
#include "fHistoria.h"
#include "uHistoria.h"
#include "uIniFile.h"
#include "uKonstanty.h"
#include "uTextCodec.h"

#include <QListWidget>
#include <functional>

class FileTextsTest : public AppTest {
protected:
    TFakeMainWindow Main;
};

TEST_F(FileTextsTest, EveryFileReadsBackTheTextsItWasGiven) {
    // Bytes that happen to be UTF-8, plain Windows-1250, and characters
    // outside Windows-1250.
    const QString texts[] = {QStringLiteral("ČŠ =  1"), QStringLiteral("čaj € ő ľ"), QStringLiteral("∑ ø Ľ")};
    // write puts text into every text field of the file the way the program
    // does; read gives back the fields the program reads from it.
    struct Row {
        const char *file;
        std::function<void(const QString &)> write;
        std::function<QStringList()> read;
    };
    const Row rows[] = {
        {"settings.ini",
         [&](const QString &text) {
             KProgramSettings s;
             s.SaveMemoryData = true;
             s.Memory = text;
             s.LanguageFile = QStringLiteral("lang\\") + text;
             ASSERT_TRUE(s.Save(&SettingsIni()));
         },
         [&] {
             const TIniFile ini(Path("settings.ini"));
             KProgramSettings s;
             s.Load(&ini);
             return QStringList{s.Memory, s.LanguageFile.mid(5)};
         }},
        {"const.dat",
         [&](const QString &text) {
             TKonstanty list;
             list.AddOrModify({QStringLiteral("$a"), text, QStringLiteral("1"), text}, nullptr);
             ASSERT_TRUE(list.SaveIfModified(Path("const.dat")).Ok);
         },
         [&] {
             TKonstanty list;
             list.Load(Path("const.dat"), QStringLiteral("pi"), QStringLiteral("e"));
             return QStringList{list.Row(0).Name, list.Row(0).Unit};
         }},
        {"history.dat",
         [&](const QString &text) {
             ThistoriaFrm f(&Main);
             f.PridajDoHistorie(text);
             ASSERT_TRUE(f.SaveHistoryFile());
         },
         [&] {
             KProgramSettings::Instance().SaveHistory = true;
             ThistoriaFrm f(&Main);
             QStringList entries;
             if (const QListWidget *list = f.findChild<QListWidget *>(QStringLiteral("ListBox1")))
                 for (int i = 0; i < list->count(); ++i)
                     entries << list->item(i)->text();
             return entries;
         }},
        {"export.txt",
         [&](const QString &text) {
             AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &) { return Path("export.txt"); };
             ThistoriaFrm f(&Main);
             f.PridajDoHistorie(text);
             f.BtnUlozitClick();
         },
         [&] {
             THistoria h;
             h.Load(Path("export.txt"));
             return h.Items();
         }},
    };
    for (const Row &row : rows)
        for (const QString &text : texts) {
            QFile::remove(Path(row.file));
            KProgramSettings::Instance().SaveHistory = false; // no window reads "history.dat" unasked
            row.write(text);
            const QStringList fields = row.read();
            EXPECT_FALSE(fields.isEmpty()) << row.file;
            for (const QString &field : fields)
                EXPECT_EQ(S(field), S(text)) << row.file;
        }
}
