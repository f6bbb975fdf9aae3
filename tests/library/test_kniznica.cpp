// One library file: loading, the header, expressions, edits and saving.
#include "LibraryTestSupport.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString ReadExpr(const TKniznicaVyrazov &lib, const QDomElement &e) {
    QString name = QStringLiteral("<kept>"), notation, desc;
    QStringList vars;
    lib.ReadExpression(e, name, notation, desc, vars);
    return name + QLatin1Char('|') + notation + QLatin1Char('|') + desc + QLatin1Char('|') + vars.join(QLatin1Char(';'));
}

} // namespace

class KniznicaTest : public LibraryTest {};

TEST_F(KniznicaTest, SaveWritesTheFixedFormInUtf8) {
    TKniznicaVyrazov lib;
    lib.CreateNew(SampleInfo(LibPath("new.xml")));
    EXPECT_TRUE(lib.Modified);
    QDomElement category, expr;
    lib.AddCategory(lib.GetRoot(), "Mechanics", category);
    lib.AddExpression(category, "Work", "W=F*s", "force along|path", {"F=force", "=", "s="}, expr);
    ASSERT_TRUE(lib.Save().Ok);
    EXPECT_FALSE(lib.Modified);
    EXPECT_EQ(ReadBytes(LibPath("new.xml")).toStdString(),
              R"(<?xml version="1.0" encoding="UTF-8"?>
<library name="Physics" version="1.2.0" date="5. 12. 2026" author="Ann" author-web="example.org" author-email="ann@example.org">
  <desc>one|two</desc>
  <category name="Mechanics">
    <expr name="Work" notation="W=F*s">
      <desc>force along|path</desc>
      <var name="F" description="force"/>
      <var name="s" description=""/>
    </expr>
  </category>
</library>
)");
}

TEST_F(KniznicaTest, SaveKeepsAttributeOrderAndPutsTheLibraryDescriptionFirst) {
    // Attributes in another order, one unknown, the description last and an
    // encoding declaration of the file's own: all written our way.
    WriteLibrary("a.xml", "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n"
                          "<library zeta=\"z\" author=\"A\" name=\"N\"><expr notation=\"1\" name=\"e\"/>"
                          "<desc>d</desc></library>");
    TKniznicaVyrazov lib;
    ASSERT_TRUE(lib.LoadFromFile(LibPath("a.xml")));
    TInfoKniznice info;
    lib.GetLibraryInfo(info);
    EXPECT_EQ(S(info.Description), "d");
    EXPECT_EQ(lib.ToXml().toStdString(), R"(<?xml version="1.0" encoding="UTF-8"?>
<library name="N" author="A" zeta="z">
  <desc>d</desc>
  <expr name="e" notation="1"/>
</library>
)");
}

TEST_F(KniznicaTest, TextsSurviveASaveAndALoad) {
    struct Case {
        const char *text;
        const char *readBack;
    } cases[] = {
        {"plain", "plain"},
        {"čšžťľ ∑ 😀", "čšžťľ ∑ 😀"},
        {"a & b < c > d \"q\" 'a'", "a & b < c > d \"q\" 'a'"},
        {"tab\there", "tab\there"},
        {"two\r\nlines\rand\nmore", "two\r\nlines\rand\nmore"},
        {"bell\x07 and nul-free \x1b controls", "bell and nul-free  controls"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        TKniznicaVyrazov lib;
        TInfoKniznice info = SampleInfo(LibPath("t.xml"));
        info.Name = text;
        lib.CreateNew(info);
        QDomElement e;
        lib.AddExpression(lib.GetRoot(), text, text, text, {"x=" + text}, e);
        ASSERT_TRUE(lib.Save().Ok) << c.text;

        TKniznicaVyrazov back;
        ASSERT_TRUE(back.LoadFromFile(LibPath("t.xml"))) << c.text;
        TInfoKniznice read;
        back.GetLibraryInfo(read);
        const QString expected = QString::fromUtf8(c.readBack);
        EXPECT_EQ(S(read.Name), S(expected)) << c.text;
        EXPECT_EQ(S(ReadExpr(back, back.GetRoot().firstChildElement("expr"))),
                  S(expected + "|" + expected + "|" + expected + "|x=" + expected))
            << c.text;
    }
}

TEST_F(KniznicaTest, LoadAcceptsOnlyWellFormedLibraries) {
    struct Case {
        const char *file;
        QByteArray bytes;
        bool loads;
        const char *header; // name|version|date|author|web|email|description
    } cases[] = {
        {"good.xml", kSampleLibrary, true, "Sample|1.0|1.1.2025|Bob|bob.example|bob@example.org|First line|Second line"},
        {"empty.xml", "<library name=\"E\"/>", true, "E||||||"},
        {"noname.xml", "<library version=\"2\"><expr name=\"x\" notation=\"1\"/></library>", true, "|2|||||"},
        {"cp1250.xml", "<?xml version=\"1.0\" encoding=\"windows-1250\"?><library name=\"\x9a\xe8\"/>", true,
         "\xc5\xa1\xc4\x8d||||||"},
        {"unknown.xml", "<?xml version=\"1.0\" encoding=\"x-no-such\"?><library name=\"\xc5\xa1\"/>", true,
         "\xc5\xa1||||||"},
        {"capital.xml", "<Library name=\"L\"/>", false, ""},
        {"broken.xml", "<library name=\"B\"><expr></library>", false, ""},
        {"missing.xml", QByteArray(), false, ""},
    };
    for (const Case &c : cases) {
        if (!c.bytes.isNull())
            WriteLibrary(c.file, c.bytes);
        TKniznicaVyrazov lib;
        EXPECT_EQ(lib.LoadFromFile(LibPath(c.file)), c.loads) << c.file;
        EXPECT_FALSE(lib.Modified) << c.file;
        EXPECT_EQ(S(lib.FileName), S(LibPath(c.file)));
        if (!c.loads)
            continue;
        TInfoKniznice info;
        lib.GetLibraryInfo(info);
        const QStringList header{info.Name, info.Version, info.Date, info.Author, info.AuthorWeb, info.AuthorEmail,
                                 info.Description};
        EXPECT_EQ(S(header.join('|')), c.header) << c.file;
    }
}

TEST_F(KniznicaTest, ReadExpressionTakesTheLastDescriptionAndEveryVariable) {
    QDomDocument doc;
    doc.setContent(QByteArray("<r><expr name=\"n\" notation=\"a+b\"><desc>first</desc><var name=\"a\" description=\"d\"/>"
                              "<desc>second</desc><var/><other/></expr><category name=\"c\"/><expr/></r>"));
    TKniznicaVyrazov lib;
    const QDomElement root = doc.documentElement();
    EXPECT_EQ(S(ReadExpr(lib, root.firstChildElement("expr"))), "n|a+b|second|a=d;=");
    EXPECT_EQ(S(ReadExpr(lib, root.firstChildElement("category"))), "<kept>|||");
    EXPECT_EQ(S(ReadExpr(lib, root.lastChildElement("expr"))), "|||");
}

TEST_F(KniznicaTest, AddAndModifyKeepTheDescriptionBeforeTheVariables) {
    const struct {
        bool modify;
        const char *target;
        const char *desc;
        QStringList vars;
        const char *xml;
    } cases[] = {
        {false, "Mechanics/Inner", "", {"x=one", "=", "y="},
         R"(<expr name="n" notation="x"><var name="x" description="one"/><var name="y" description=""/></expr>)"},
        {false, "", "d", {"x=a", "x=b", "plain"}, // each line keeps its own description
         R"(<expr name="n" notation="x"><desc>d</desc><var name="x" description="a"/><var name="x" description="b"/>)"
         R"(<var name="plain" description=""/></expr>)"},
        {true, "Mechanics/Work", "changed", {"a=angle"},
         R"(<expr name="n" notation="x"><desc>changed</desc><var name="a" description="angle"/></expr>)"},
        {true, "Mechanics/Work", "", {}, R"(<expr name="n" notation="x"><desc/></expr>)"},
        {true, "Top", "new", {"x=v"}, R"(<expr name="n" notation="x"><desc>new</desc><var name="x" description="v"/></expr>)"},
    };
    WriteLibrary("s.xml", kSampleLibrary);
    for (const auto &c : cases) {
        TKniznicaVyrazov lib;
        ASSERT_TRUE(lib.LoadFromFile(LibPath("s.xml")));
        QDomElement e = ElementAt(lib.GetRoot(), c.target);
        if (c.modify)
            lib.ModifyExpression(e, "n", "x", c.desc, c.vars);
        else
            lib.AddExpression(e, "n", "x", c.desc, c.vars, e);
        EXPECT_TRUE(lib.Modified) << c.xml;
        EXPECT_EQ(QString::fromUtf8(ElementToXml(e)).remove(QRegularExpression("\\n *")).toStdString(), c.xml);
    }
}

TEST_F(KniznicaTest, TheRootIsNeverDeletedNorACategoryRewritten) {
    WriteLibrary("s.xml", kSampleLibrary);
    TKniznicaVyrazov lib;
    ASSERT_TRUE(lib.LoadFromFile(LibPath("s.xml")));
    const QString before = Outline(lib.GetRoot());
    lib.DeleteNode(lib.GetRoot());
    lib.ModifyExpression(ElementAt(lib.GetRoot(), "Mechanics/Inner"), "x", "y", "z", {"a=b"});
    EXPECT_EQ(Outline(lib.GetRoot()), before);
    EXPECT_FALSE(lib.Modified);

    // An emptied library description keeps its element.
    TInfoKniznice info;
    lib.GetLibraryInfo(info);
    info.Description.clear();
    lib.SetLibraryInfo(info);
    EXPECT_EQ(ElementToXml(lib.GetRoot().firstChildElement("desc")).trimmed(), "<desc/>");
}

TEST_F(KniznicaTest, AFailedSaveIsReportedAndTheOldFileSurvives) {
    WriteLibrary("s.xml", kSampleLibrary);
    TKniznicaVyrazov lib;
    ASSERT_TRUE(lib.LoadFromFile(LibPath("s.xml")));
    lib.RenameNode(lib.GetRoot(), QString(4096, QLatin1Char('n')));
    {
        const TFileSizeLimit limit(100);
        const TWriteResult r = lib.Save();
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.isEmpty());
    }
    EXPECT_TRUE(lib.Modified);
    EXPECT_EQ(ReadBytes(LibPath("s.xml")), kSampleLibrary);

    lib.FileName = Path("no/such/folder/s.xml");
    EXPECT_FALSE(lib.Save().Ok);
    EXPECT_TRUE(lib.Modified);
}

TEST_F(KniznicaTest, SaveGoesToTheNewNameAndDeletesOnlyTheLibrarysOwnFile) {
    WriteLibrary("s.xml", kSampleLibrary);
    WriteLibrary("other.xml", "<library name=\"O\"/>");

    // A new name: the next save writes there and the old file stays.
    TKniznicaVyrazov lib;
    ASSERT_TRUE(lib.LoadFromFile(LibPath("s.xml")));
    TInfoKniznice info;
    lib.GetLibraryInfo(info);
    info.FileName = LibPath("moved.xml");
    lib.SetLibraryInfo(info);
    ASSERT_TRUE(lib.Save().Ok);
    EXPECT_TRUE(QFile::exists(LibPath("moved.xml")));
    EXPECT_EQ(ReadBytes(LibPath("s.xml")), kSampleLibrary);

    // Deleted: the file it was saved to goes; a second save does nothing.
    lib.SetDeleteOnSave(true);
    EXPECT_TRUE(lib.Modified);
    ASSERT_TRUE(lib.Save().Ok);
    EXPECT_FALSE(QFile::exists(LibPath("moved.xml")));
    EXPECT_FALSE(lib.Modified);
    EXPECT_TRUE(lib.DeleteOnSave);
    EXPECT_TRUE(lib.Save().Ok);

    // A library that never was on disk deletes nothing, whatever its name.
    TKniznicaVyrazov fresh;
    fresh.CreateNew(SampleInfo(LibPath("other.xml")));
    fresh.SetDeleteOnSave(true);
    EXPECT_TRUE(fresh.Save().Ok);
    EXPECT_TRUE(QFile::exists(LibPath("other.xml")));
}

TEST_F(KniznicaTest, AFailedDeletionIsReported) {
    WriteLibrary("s.xml", kSampleLibrary);
    TKniznicaVyrazov lib;
    ASSERT_TRUE(lib.LoadFromFile(LibPath("s.xml")));
    // Something that cannot be removed as a file now stands at its path.
    ASSERT_TRUE(QFile::remove(LibPath("s.xml")));
    ASSERT_TRUE(QDir(Path("lib")).mkpath("s.xml/inside"));
    lib.SetDeleteOnSave(true);
    EXPECT_FALSE(lib.Save().Ok);
    EXPECT_TRUE(lib.Modified);
}
