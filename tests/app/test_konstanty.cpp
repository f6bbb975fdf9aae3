// The user constants, their file, the constants window and the editor.
#include "AppTestSupport.h"
#include "fKonstanty.h"
#include "fUpravyKonstant.h"
#include "uTextCodec.h"

#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

QString RowText(const TKonstanta &k) { return k.Symbol + '|' + k.Name + '|' + k.Value + '|' + k.Unit; }

QStringList Rows(const TKonstanty &list) {
    QStringList rows;
    for (int i = 0; i < list.Count(); ++i)
        rows << RowText(list.Row(i));
    return rows;
}

const QString kPi = QStringLiteral("$pi|Ludolfovo číslo|3~14159265358979324|");
const QString kE = QStringLiteral("$e|Eulerovo číslo|2~71828182845904524|");

} // namespace

class KonstantyModelTest : public AppTest {
protected:
    TKonstanty List;
    void Load() { List.Load(Path("const.dat"), QStringLiteral("Ludolfovo číslo"), QStringLiteral("Eulerovo číslo")); }
};

TEST_F(KonstantyModelTest, LoadsTheFileInBothSeparatorsAndWritesItWithPoints) {
    // file nullptr: no file; in rows "~" stands for the decimal separator;
    // saved: the file after one more constant was added.
    struct Case {
        const char *file;
        QStringList rows;
        QByteArray saved;
    };
    const QByteArray builtIn = "$pi#Ludolfovo \xe8\xedslo#3.14159265358979324#\r\n"
                               "$e#Eulerovo \xe8\xedslo#2.71828182845904524#\r\n";
    const Case cases[] = {
        {nullptr, {kPi, kE}, builtIn + "$x#x#1#\r\n"},
        {"$g#gravity#9,81#m/s2\r\n",
         {"$g|gravity|9~81|m/s2", kPi, kE},
         "$g#gravity#9.81#m/s2\r\n" + builtIn + "$x#x#1#\r\n"},
        // Three fields, one field, a blank line, fields past the fourth.
        {"$g#gravity#9.81\n$h\n\n$c#c#3e8#m/s#more#x",
         {"$g|gravity|9~81|", "$h|||", "|||", "$c|c|3e8|m/s", kPi, kE},
         "$g#gravity#9.81#\r\n$h###\r\n###\r\n$c#c#3e8#m/s\r\n" + builtIn + "$x#x#1#\r\n"},
        // The built-ins that the file holds are not appended again.
        {"$e#mine#2,7#\r\n$pi#pi#3#\r\n", {"$e|mine|2~7|", "$pi|pi|3|"}, "$e#mine#2.7#\r\n$pi#pi#3#\r\n$x#x#1#\r\n"},
    };
    for (const QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
        SetDecSep(sep);
        for (const Case &c : cases) {
            QFile::remove(Path("const.dat"));
            if (c.file)
                WriteBytes(Path("const.dat"), c.file);
            Load();
            QStringList expected;
            for (const QString &row : c.rows)
                expected << QString(row).replace('~', sep);
            EXPECT_EQ(Rows(List), expected) << c.file << " " << sep.toLatin1();
            EXPECT_FALSE(List.Modified());
            List.AddOrModify({"$x", "x", "1", ""}, nullptr);
            ASSERT_TRUE(List.SaveIfModified(Path("const.dat")).Ok);
            EXPECT_EQ(ReadBytes(Path("const.dat")), c.saved) << c.file << " " << sep.toLatin1();
            // What was written reads back as it was.
            const QStringList before = Rows(List);
            Load();
            EXPECT_EQ(Rows(List), before);
        }
    }
}

TEST_F(KonstantyModelTest, AddOrModifyAsksAboutTheLastRowOfTheSymbol) {
    // asked: the row asked about, -1 for no question
    struct Case {
        const char *symbol;
        bool answer;
        int asked, result;
        QStringList rows;
    };
    const Case cases[] = {
        {"$A", true, -1, 3, {"$a|1|1|", "$b|2|2|", "$a|3|3|", "$A|new|5|u"}}, // case counts
        {"$a", true, 2, 2, {"$a|1|1|", "$b|2|2|", "$a|new|5|u"}},
        {"$a", false, 2, -1, {"$a|1|1|", "$b|2|2|", "$a|3|3|"}},
    };
    for (const Case &c : cases) {
        TKonstanty list;
        for (const char *row : {"$a|1", "$b|2", "$a|3"})
            list.Append({QString(row).section('|', 0, 0), QString(row).mid(3), QString(row).mid(3), ""});
        int asked = -1;
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted), changed(&list, &QAbstractItemModel::dataChanged);
        const int result = list.AddOrModify({c.symbol, "new", "5", "u"}, [&](int row) {
            asked = row;
            return c.answer;
        });
        // The view hears of the added or the overwritten row.
        EXPECT_EQ(inserted.size(), c.asked < 0 ? 1 : 0) << c.symbol;
        EXPECT_EQ(changed.size(), c.asked >= 0 && c.answer ? 1 : 0) << c.symbol;
        EXPECT_EQ(asked, c.asked) << c.symbol << c.answer;
        EXPECT_EQ(result, c.result) << c.symbol << c.answer;
        EXPECT_EQ(Rows(list).mid(0, c.rows.size()), c.rows) << c.symbol << c.answer;
        EXPECT_EQ(list.Count(), c.rows.size());
        EXPECT_TRUE(list.Modified()); // a No counts as a change too
    }
}

// Rows are counted in int: nothing changes past 255 or 256 constants.
TEST_F(KonstantyModelTest, ThreeHundredConstantsAreAddedAndFound) {
    Load();
    for (int i = 1; i <= 300; ++i)
        List.AddOrModify({QStringLiteral("$c%1").arg(i), "n", QString::number(i), ""}, nullptr);
    int asked = -1;
    EXPECT_EQ(List.AddOrModify({"$c300", "last", "0", ""}, [&](int row) { return asked = row, true; }), 301);
    EXPECT_EQ(asked, 301);
    EXPECT_EQ(List.IndexOfSymbol("$c256"), 257);
    EXPECT_EQ(List.Count(), 302);
}

TEST_F(KonstantyModelTest, NoFieldCanBreakTheFileFormat) {
    List.Append({"$a#b", "x#y\r\nz", "1,5", "m#\n"});
    List.AddOrModify({"$q", "#", "2", "#"}, nullptr);
    ASSERT_TRUE(List.SaveIfModified(Path("const.dat")).Ok);
    EXPECT_EQ(ReadBytes(Path("const.dat")), QByteArray("$ab#xy  z#1.5#m \r\n$q##2#\r\n"));
}

TEST(KonstantyEditorRules, SymbolAndValueKeys) {
    for (const QChar key : {QChar('g'), QChar('9'), QChar(8)})
        EXPECT_EQ(FilterSymbolKey(key), key) << int(key.unicode());
    for (const QChar key : {QChar('A'), QChar('$'), QChar(0xE1)})
        EXPECT_TRUE(FilterSymbolKey(key).isNull()) << int(key.unicode());
    struct Case {
        char sep;
        const char *text;
        int caret;
        QChar key;
        QChar result;
    };
    const Case cases[] = {
        {',', "1,5", 3, ',', QChar()}, // a second separator
        {',', "1,5", 3, '.', QChar()}, // "." is the separator too
        {',', "1E5", 3, 'e', QChar()}, // a second exponent
        {',', "12", 1, '-', QChar()},  // in the middle of the digits
        {',', "12", 0, '-', '-'},       {',', "-12", 0, '-', QChar()}, {',', "1E5", 2, '-', '-'}, // right after the "E"
        {',', "1E-5", 2, '-', QChar()},                                                           // a "-" follows
        {',', "1", 1, 'x', QChar()},    {',', "", 0, '+', '1'},        {'.', "1.5", 3, '.', QChar()},
        {'.', "1.5", 3, ',', QChar()},  {'.', "1", 1, ',', '.'},
    };
    for (const Case &c : cases) {
        SetDecSep(QLatin1Char(c.sep));
        EXPECT_EQ(FilterValueKey(c.text, c.caret, c.key), c.result)
            << c.sep << " " << c.text << " " << int(c.key.unicode());
    }
    SetDecSep(SystemDecimalSeparator());
}

TEST(KonstantyEditorRules, FieldsAreCleanedOnEveryChange) {
    SetDecSep(QLatin1Char(','));
    struct Case {
        const char *rule;
        const char *text;
        int caret;
        const char *result;
        int newCaret;
    };
    const Case cases[] = {
        {"symbol", "g", 1, "$g", 2},     {"symbol", "", 0, "$", 1},
        {"symbol", "$g$", 3, "$g", 2},   {"strict", "$Ab#c9", 6, "$bc9", 4},
        {"strict", "x#y", 3, "$xy", 3},  {"loose", "$Gx", 3, "$Gx", 3}, // a row of the file shows as it stands
        {"name", "a#b\nc", 5, "abc", 3}, {"value", "9.81e-3 m#", 10, "9,81E-3", 7},
    };
    for (const Case &c : cases) {
        int caret = c.caret;
        const std::string rule = c.rule;
        const QString out = rule == "name"    ? CleanNameText(c.text, caret)
                            : rule == "value" ? CleanValueText(c.text, caret)
                                              : CleanSymbolText(c.text, caret, rule == "strict");
        EXPECT_EQ(S(out), c.result) << c.rule << " " << c.text;
        EXPECT_EQ(caret, c.newCaret) << c.rule << " " << c.text;
    }
    SetDecSep(SystemDecimalSeparator());
}

TEST(KonstantyEditorRules, OnlyARelativeFileInsideTheProgramFolder) {
    struct Case {
        const char *name;
        const char *result;
    };
    const Case cases[] = {
        {"const.dat", "const.dat"},
        {"data\\moje.dat", "data\\moje.dat"},
        {"", "const.dat"},
        {"c:\\const.dat", "const.dat"},
        {"/etc/x", "const.dat"},
        {"\\\\server\\x", "const.dat"},
        {"..\\const.dat", "const.dat"},
        {"a\\..\\..\\x", "const.dat"},
        {"lang\\", "const.dat"},
        {"a\\\\b", "const.dat"},
        {"moje konstanty.dat", "moje konstanty.dat"},
        {"moje\tkonstanty.dat", "const.dat"},
        {"moje\x7f.dat", "const.dat"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(S(SafeConstantFile(c.name)), c.result) << c.name;
}

// ---------------------------------------------------------------------------
// The windows.

class KonstantyTest : public AppTest {
protected:
    TFakeMainWindow Main;
    std::unique_ptr<TkonstantyFrm> Window;
    std::unique_ptr<TuprKonstFrm> Editor;

    void Open() {
        Window = std::make_unique<TkonstantyFrm>(&Main);
        Editor = std::make_unique<TuprKonstFrm>(&Window->Model());
        Window->SetEditor(Editor.get());
        Window->show();
    }
    void TearDown() override {
        Editor.reset();
        Window.reset();
        AppTest::TearDown();
    }
    QLineEdit *Field(const char *name) { return Find<QLineEdit>(*Editor, name); }
    QTableView *List() { return Find<QTableView>(*Window, "ListView1"); }
    void Click(const char *button) { QTest::mouseClick(Find<QPushButton>(*Window, button), Qt::LeftButton); }

    // Replaces the field's text by typing, one key event at a time.
    void Type(const char *field, const QString &text) {
        QLineEdit *edit = Field(field);
        edit->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, c.unicode() < 128 ? c.toUpper().unicode() : int(Qt::Key_unknown),
                            Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }
    // Clicks "add / modify"; in the editor types symbol, name, value and unit
    // (a null text leaves its field alone) and clicks Ok (then Cancel, should
    // the editor stay open).
    void AddOrModify(const QStringList &typed) {
        QTimer::singleShot(0, Editor.get(), [this, typed] {
            const char *fields[] = {"Edit1", "Edit3", "Edit2", "Edit4"};
            for (int i = 0; i < typed.size(); ++i)
                if (!typed[i].isNull())
                    Type(fields[i], typed[i]);
            QTest::mouseClick(Find<QPushButton>(*Editor, "okBtn"), Qt::LeftButton);
            if (Editor->isVisible())
                Editor->reject();
        });
        Click("BtnNova");
    }
};

TEST_F(KonstantyTest, TheEditorAddsOrOverwritesAndTheCloseSaves) {
    Open();
    AddOrModify({"g", "gravity", "9,81", QStringLiteral("m/s²")});
    EXPECT_EQ(List()->currentIndex().row(), 2);
    EXPECT_FALSE(QFileInfo::exists(Path("const.dat")));
    // The editor takes the selected row ($pi); which row the answer replaces
    // is the model's, the window asks.
    List()->selectRow(0);
    Prompter->Answers = {TAnswer::Yes};
    AddOrModify({"e"});
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(S(Prompter->Shown[0].Text), S(QStringLiteral("Naozaj chcete prepísať konštantu $e ?")));
    Window->close();
    const QStringList lines = SplitLines(DecodeFileText(ReadBytes(Path("const.dat"))));
    const QString pi = QStringLiteral("#Ludolfovo číslo#3.14159265358979324#");
    EXPECT_EQ(lines, QStringList({"$pi" + pi, "$e" + pi, QStringLiteral("$g#gravity#9.81#m/s²")}));
}

TEST_F(KonstantyTest, OnlyAChangeIsSavedAndDeletingEveryConstantToo) {
    WriteBytes(Path("const.dat"), "$g#g#9.81#\r\n"); // a write would add $pi and $e
    Open();
    QTimer::singleShot(0, Editor.get(), [this] { Editor->reject(); });
    Click("BtnNova"); // cancelled
    List()->selectRow(0);
    Prompter->Answers = {TAnswer::No};
    Click("BtnOdstranit"); // not confirmed
    Window->close();
    EXPECT_EQ(ReadBytes(Path("const.dat")), QByteArray("$g#g#9.81#\r\n"));
    Window->show();
    for (int i = 0; i < 3; ++i) {
        List()->selectRow(0);
        Click("BtnOdstranit");
    }
    Click("BtnOdstranit"); // nothing selected: no question
    EXPECT_EQ(Prompter->Shown.size(), 4);
    Click("BtnZavriet");
    EXPECT_TRUE(Window->isHidden());
    EXPECT_EQ(ReadBytes(Path("const.dat")), QByteArray());
}

TEST_F(KonstantyTest, UsePutsTheSymbolIntoTheMainWindowsInput) {
    Open();
    Click("BtnPouzit"); // nothing selected
    List()->selectRow(1);
    Click("BtnPouzit");
    const QRect cell = List()->visualRect(Window->Model().index(0, 1));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(S(Main.Input), "$e$pi");
}

TEST_F(KonstantyTest, AFailedSaveIsReportedAndKeepsTheOldFileAndTheChange) {
    WriteBytes(Path("const.dat"), "$g#g#9.81#\r\n");
    Open();
    Window->Model().Delete(0);
    {
        TFileSizeLimit limit(20);
        Window->close();
    }
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::Warning);
    EXPECT_TRUE(Prompter->Shown[0].Text.contains("const.dat"));
    EXPECT_EQ(ReadBytes(Path("const.dat")), QByteArray("$g#g#9.81#\r\n"));
    EXPECT_TRUE(Window->Model().Modified()); // the next save tries again
}

TEST_F(KonstantyTest, TheEditorsFieldsFollowTheirRules) {
    Open();
    Type("Edit2", "1.5e-3,E-");
    EXPECT_EQ(S(Field("Edit2")->text()), "1,5E-3");
    // Pasted text passes no key filter but is cleaned all the same.
    const struct {
        const char *field, *pasted, *result;
    } cases[] = {{"Edit1", "X#y$", "$y"}, {"Edit3", "grav#ity\nx", "gravityx"}};
    for (const auto &c : cases) {
        QApplication::clipboard()->setText(c.pasted);
        Field(c.field)->selectAll();
        Field(c.field)->paste();
        EXPECT_EQ(S(Field(c.field)->text()), c.result) << c.field;
    }
}

TEST_F(KonstantyTest, TheEditorRefusesAMissingSymbolOrAWrongValue) {
    Open();
    const struct {
        const char *symbol, *value, *message, *focus;
    } cases[] = {
        {"$", "1", "Musíte zadať značku konštanty", "Edit1"},
        {"$g", "1,5,5", "Nesprávne zadaná hodnota konštanty", "Edit2"},
    };
    for (const auto &c : cases) {
        Prompter->Shown.clear();
        Editor->SetConstant({c.symbol, "n", c.value, ""});
        Editor->show();
        Editor->okBtnClick();
        EXPECT_TRUE(Editor->isVisible()) << c.symbol << c.value;
        ASSERT_EQ(Prompter->Shown.size(), 1);
        EXPECT_EQ(S(Prompter->Shown[0].Text), S(QString::fromUtf8(c.message)));
        EXPECT_EQ(S(Editor->focusWidget()->objectName()), c.focus);
        Editor->hide();
    }
}

TEST_F(KonstantyTest, ALanguageSwitchTranslatesSavesFirstAndNamesTheFile) {
    WriteBytes(Path("lang/en.txt"),
               "[ConstantForm]\r\nCaption=Constants\r\nID=Symbol\r\nLudolphsNumber=Ludolph's number\r\n"
               "[Addresses]\r\nConstantFile=data\\moje konstanty.dat\r\n");
    WriteBytes(Path("lang/bad.txt"), "[Addresses]\r\nConstantFile=..\\outside.dat\r\n");
    WriteBytes(Path("data/moje konstanty.dat"), "$h#planck#6.626E-34#J.s\r\n");
    Open();
    Window->Model().AddOrModify({"$g", "gravity", "9,81", ""}, nullptr); // not written yet
    ASSERT_TRUE(LoadLanguageFile("lang\\en.txt"));
    Window->ApplyLanguage();
    Editor->ApplyLanguage();
    EXPECT_TRUE(ReadBytes(Path("const.dat")).endsWith("$g#gravity#9.81#\r\n")); // the file named so far
    EXPECT_EQ(S(Window->ConstantFile()), "data\\moje konstanty.dat");
    EXPECT_EQ(S(RowText(Window->Model().Row(0))), "$h|planck|6,626E-34|J.s");
    EXPECT_EQ(S(Window->Model().Row(1).Name), "Ludolph's number");
    EXPECT_EQ(S(Window->windowTitle()), "Constants");
    EXPECT_EQ(S(Find<QLabel>(*Editor, "Label1")->text()), "Symbol"); // the editor's labels are the columns' titles
    // A file outside the program folder is not taken.
    ASSERT_TRUE(LoadLanguageFile("lang\\bad.txt"));
    Window->ApplyLanguage();
    EXPECT_EQ(S(Window->ConstantFile()), "const.dat");
    EXPECT_EQ(Window->Model().IndexOfSymbol("$g"), 2);
}

// The widths grow with the font, so the 18-digit pi fits.
TEST_F(KonstantyTest, TheValueColumnShowsPiWhole) {
    Open();
    EXPECT_GT(List()->horizontalHeader()->sectionSize(2),
              List()->fontMetrics().horizontalAdvance(Window->Model().Value(0)));
}
