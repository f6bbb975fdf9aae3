// One library file: loading, the header, expressions, edits and saving.
#include "LibraryTestSupport.h"

#include <QThread>
#include <QXmlStreamReader>

class KniznicaTest : public LibraryTest {
protected:
    TKniznicaVyrazov Lib;
    static QString ReadExpr(const TKniznicaVyrazov &lib, const QDomElement &e) {
        QString name = QStringLiteral("<kept>"), notation, desc;
        QStringList vars;
        lib.ReadExpression(e, name, notation, desc, vars);
        return name + '|' + notation + '|' + desc + '|' + vars.join(';');
    }
    void LoadSample() {
        WriteLibrary("s.xml", kSampleLibrary);
        ASSERT_TRUE(Lib.LoadFromFile(LibPath("s.xml")));
    }
};

TEST_F(KniznicaTest, SaveWritesTheFixedFormInUtf8) {
    // Attributes in another order, one unknown, the description last and a
    // legacy encoding declaration: all written our way.
    WriteLibrary("a.xml", "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<library zeta=\"z\" author-email=\"m\" "
                          "author-web=\"w\" author=\"A\" date=\"d\" version=\"v\" name=\"N\"><expr notation=\"1\" "
                          "name=\"e\"/><desc>d</desc></library>");
    ASSERT_TRUE(Lib.LoadFromFile(LibPath("a.xml")));
    QDomElement category, expr;
    Lib.AddCategory(Lib.GetRoot(), "Mechanics", category);
    // An empty row is skipped; a name given twice keeps each description.
    Lib.AddExpression(category, "Work", "W=F*s", "force along|path", {"F=force", "=", "s", "F=again"}, expr);
    Lib.AddExpression(category, "Empty", "1", "", {}, expr);
    EXPECT_TRUE(Lib.Modified);
    ASSERT_TRUE(Lib.Save().Ok);
    EXPECT_FALSE(Lib.Modified);
    EXPECT_EQ(ReadBytes(LibPath("a.xml")).toStdString(), R"(<?xml version="1.0" encoding="UTF-8"?>
<library name="N" version="v" date="d" author="A" author-web="w" author-email="m" zeta="z">
  <desc>d</desc>
  <expr name="e" notation="1"/>
  <category name="Mechanics">
    <expr name="Work" notation="W=F*s">
      <desc>force along|path</desc>
      <var name="F" description="force"/>
      <var name="s" description=""/>
      <var name="F" description="again"/>
    </expr>
    <expr name="Empty" notation="1"/>
  </category>
</library>
)");
}

TEST_F(KniznicaTest, TextsSurviveASaveAndALoad) {
    // Markup characters, line ends and characters beyond 16 bits come back;
    // controls that XML cannot carry are dropped rather than spoil the file.
    const QString text = QString::fromUtf8("čš ∑ 😀 & < > \"q\" 'a'\ttab\r\nCRLF\rCR\nLF bell\x07 esc\x1b.");
    const QString expected = QString::fromUtf8("čš ∑ 😀 & < > \"q\" 'a'\ttab\r\nCRLF\rCR\nLF bell esc.");
    TInfoKniznice info = SampleInfo(LibPath("t.xml"));
    info.Name = text;
    Lib.CreateNew(info);
    QDomElement e;
    Lib.AddExpression(Lib.GetRoot(), text, text, text, {"x=" + text}, e);
    ASSERT_TRUE(Lib.Save().Ok);

    TKniznicaVyrazov back;
    ASSERT_TRUE(back.LoadFromFile(LibPath("t.xml")));
    back.GetLibraryInfo(info);
    EXPECT_EQ(S(Header(info)), S(expected + "|1.2.0|5. 12. 2026|Ann|example.org|ann@example.org|one|two"));
    EXPECT_EQ(S(ReadExpr(back, back.GetRoot().firstChildElement("expr"))),
              S(expected + "|" + expected + "|" + expected + "|x=" + expected));
}

TEST_F(KniznicaTest, CommentsXmlCannotHoldAreSavedSoThatTheFileLoads) {
    LoadSample();
    for (const char *text : {"note-", "a--b", "x--", "a---b"})
        Lib.GetRoot().appendChild(Lib.GetRoot().ownerDocument().createComment(text));
    Lib.Modified = true;
    ASSERT_TRUE(Lib.Save().Ok);
    TKniznicaVyrazov back;
    ASSERT_TRUE(back.LoadFromFile(LibPath("s.xml")));
    QStringList comments;
    for (QDomNode n = back.GetRoot().firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isComment())
            comments << n.nodeValue();
    EXPECT_EQ(S(comments.join('|')), "note- |a- -b|x- - |a- - -b");
}

TEST_F(KniznicaTest, LoadAcceptsOnlyWellFormedLibraries) {
    const struct {
        const char *file;
        QByteArray bytes;
        bool loads;
        const char *header;
    } cases[] = {
        {"good.xml", kSampleLibrary, true,
         "Sample|1.0|1.1.2025|Bob|bob.example|bob@example.org|First line|Second line"},
        {"noname.xml", "<library version=\"2\"><expr name=\"x\" notation=\"1\"/></library>", true, "|2|||||"},
        {"cp1250.xml", "<?xml version=\"1.0\" encoding=\"windows-1250\"?><library name=\"\x9a\xe8\"/>", true,
         "\xc5\xa1\xc4\x8d||||||"},
        {"capital.xml", "<Library name=\"L\"/>", false, ""},
        {"broken.xml", "<library name=\"B\"><expr></library>", false, ""},
        {"missing.xml", QByteArray(), false, ""},
    };
    for (const auto &c : cases) {
        if (!c.bytes.isNull())
            WriteLibrary(c.file, c.bytes);
        TKniznicaVyrazov lib;
        EXPECT_EQ(lib.LoadFromFile(LibPath(c.file)), c.loads) << c.file;
        EXPECT_FALSE(lib.Modified) << c.file;
        EXPECT_EQ(S(lib.FileName), S(LibPath(c.file)));
        TInfoKniznice info;
        lib.GetLibraryInfo(info);
        EXPECT_EQ(S(Header(info)), c.loads ? c.header : "||||||") << c.file;
    }
}

TEST_F(KniznicaTest, ReadExpressionTakesTheLastDescriptionAndEveryVariable) {
    QDomDocument doc;
    doc.setContent(
        QByteArray("<r><expr name=\"n\" notation=\"a+b\"><desc>first</desc><var name=\"a\" description=\"d\"/>"
                   "<desc>second</desc><var/><other/></expr><category name=\"c\"/></r>"));
    const QDomElement root = doc.documentElement();
    EXPECT_EQ(S(ReadExpr(Lib, root.firstChildElement("expr"))), "n|a+b|second|a=d;=");
    EXPECT_EQ(S(ReadExpr(Lib, root.firstChildElement("category"))), "<kept>|||");
}

TEST_F(KniznicaTest, ModifyRewritesOnlyExpressionsKeepingTheDescriptionFirstAndNeverDeletesTheRoot) {
    LoadSample();
    const QString before = Outline(Lib.GetRoot());
    Lib.DeleteNode(Lib.GetRoot());
    Lib.ModifyExpression(ElementAt(Lib.GetRoot(), "Mechanics/Inner"), "x", "y", "z", {"a=b"});
    EXPECT_EQ(Outline(Lib.GetRoot()), before);
    EXPECT_FALSE(Lib.Modified);

    QDomElement e = ElementAt(Lib.GetRoot(), "Mechanics/Work");
    const auto xml = [&] {
        return QString::fromUtf8(ElementToXml(e)).remove(QRegularExpression("\\n *")).toStdString();
    };
    Lib.ModifyExpression(e, "n", "x", "changed", {"a=angle"});
    EXPECT_TRUE(Lib.Modified);
    EXPECT_EQ(xml(), R"(<expr name="n" notation="x"><desc>changed</desc><var name="a" description="angle"/></expr>)");
    Lib.ModifyExpression(e, "n", "x", "", {});
    EXPECT_EQ(xml(), R"(<expr name="n" notation="x"><desc/></expr>)");
}

TEST_F(KniznicaTest, AFailedSaveOrDeletionIsReportedAndTheOldFileSurvives) {
    LoadSample();
    Lib.RenameNode(Lib.GetRoot(), QString(4096, QLatin1Char('n')));
    const TWriteResult r = [&] {
        const TFileSizeLimit limit(100);
        return Lib.Save();
    }();
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.isEmpty());
    EXPECT_TRUE(Lib.Modified);
    EXPECT_EQ(ReadBytes(LibPath("s.xml")), kSampleLibrary);

    // Something that cannot be removed as a file now stands at its path.
    ASSERT_TRUE(QFile::remove(LibPath("s.xml")));
    ASSERT_TRUE(QDir(Path("lib")).mkpath("s.xml/inside"));
    Lib.SetDeleteOnSave(true);
    EXPECT_FALSE(Lib.Save().Ok);
    EXPECT_TRUE(Lib.Modified);
}

TEST_F(KniznicaTest, SaveGoesToTheNewNameAndDeletesOnlyTheLibrarysOwnFile) {
    LoadSample();
    WriteLibrary("other.xml", "<library name=\"O\"/>");

    // A new name: the next save writes there and the old file stays.
    TInfoKniznice info;
    Lib.GetLibraryInfo(info);
    info.FileName = LibPath("moved.xml");
    Lib.SetLibraryInfo(info);
    ASSERT_TRUE(Lib.Save().Ok);
    EXPECT_TRUE(QFile::exists(LibPath("moved.xml")));
    EXPECT_EQ(ReadBytes(LibPath("s.xml")), kSampleLibrary);

    // Deleted: the file it was saved to goes.
    Lib.SetDeleteOnSave(true);
    EXPECT_TRUE(Lib.Modified);
    ASSERT_TRUE(Lib.Save().Ok);
    EXPECT_FALSE(QFile::exists(LibPath("moved.xml")));
    EXPECT_FALSE(Lib.Modified);

    // A library that never was on disk deletes nothing, whatever its name.
    TKniznicaVyrazov fresh;
    fresh.CreateNew(SampleInfo(LibPath("other.xml")));
    fresh.SetDeleteOnSave(true);
    EXPECT_TRUE(fresh.Save().Ok);
    EXPECT_TRUE(QFile::exists(LibPath("other.xml")));
}

// Categories nested to the given number of levels, the root being the first.
static QByteArray Nested(int levels) {
    QByteArray xml = "<library name=\"Deep\">";
    for (int i = 1; i < levels; ++i)
        xml += "<category name=\"c" + QByteArray::number(i) + "\">";
    for (int i = 1; i < levels; ++i)
        xml += "</category>";
    return xml + "</library>";
}

TEST_F(KniznicaTest, ALibraryNestedBeyondTheLimitIsRefusedAndNoEditBuildsOne) {
    WriteLibrary("over.xml", Nested(kMaxLibraryDepth + 1));
    WriteLibrary("huge.xml", Nested(20000));
    EXPECT_FALSE(Lib.LoadFromFile(LibPath("over.xml")));
    EXPECT_FALSE(Lib.LoadFromFile(LibPath("huge.xml")));

    // A library at the limit loads, saves and loads again unchanged.
    WriteLibrary("deep.xml", Nested(kMaxLibraryDepth));
    ASSERT_TRUE(Lib.LoadFromFile(LibPath("deep.xml")));
    Lib.Modified = true;
    ASSERT_TRUE(Lib.Save().Ok);
    TKniznicaVyrazov back;
    ASSERT_TRUE(back.LoadFromFile(LibPath("deep.xml")));
    EXPECT_EQ(SubtreeHeight(back.GetRoot()), kMaxLibraryDepth);

    // The deepest category takes nothing more; one level up an expression
    // fits only with its room for a description and variables.
    QDomElement deepest = Lib.GetRoot();
    while (!deepest.firstChildElement().isNull())
        deepest = deepest.firstChildElement();
    const QDomElement above = deepest.parentNode().toElement();
    Lib.Modified = false;
    QDomElement made;
    Lib.AddCategory(deepest, "x", made);
    EXPECT_TRUE(made.isNull());
    Lib.AddExpression(above, "e", "1", "", {}, made);
    EXPECT_TRUE(made.isNull());
    EXPECT_TRUE(Lib.InsertNode(deepest, Lib.Document.createElement("expr"), 0).isNull());
    EXPECT_FALSE(Lib.Modified);

    // A category holding an expression spans three levels.
    TKniznicaVyrazov other;
    other.CreateNew(SampleInfo(LibPath("o.xml")));
    QDomElement category;
    other.AddCategory(other.GetRoot(), "k", category);
    other.AddExpression(category, "e", "1", "", {}, made);
    EXPECT_FALSE(CanDropOn(category, above, false));
    EXPECT_FALSE(CanDropOn(category, deepest, true));
    EXPECT_TRUE(CanDropOn(category, Lib.GetRoot(), false));

    KNodeClipboard clipboard;
    clipboard.Copy(ElementAt(Lib.GetRoot(), "c1/c2"));
    QDomElement pasted;
    EXPECT_EQ(PasteBefore(clipboard, ElementAt(Lib.GetRoot(), "c1/c2"), Lib, pasted), TPasteResult::Inserted);
    EXPECT_EQ(PasteBefore(clipboard, deepest, Lib, pasted), TPasteResult::Refused);
    Lib.AddExpression(above.parentNode().toElement(), "e", "1", "d", {"x=y"}, made);
    EXPECT_FALSE(made.isNull());
}

TEST_F(KniznicaTest, TheWriterNeedsNoStackForDepth) {
    // Built past the load limit on purpose, and written on a thread whose
    // stack a recursive walk of this depth would overflow.
    const int levels = 5000;
    QDomElement e = Lib.Document.createElement("library");
    Lib.Document.appendChild(e);
    for (int i = 1; i < levels; ++i)
        e = e.appendChild(Lib.Document.createElement("category")).toElement();
    QByteArray xml;
    std::unique_ptr<QThread> writer(QThread::create([&] { xml = Lib.ToXml(); }));
    writer->setStackSize(256 * 1024);
    writer->start();
    ASSERT_TRUE(writer->wait(60000));
    QXmlStreamReader reader(xml);
    int depth = 0, deepest = 0;
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement)
            deepest = qMax(deepest, ++depth);
        else if (reader.isEndElement())
            --depth;
    EXPECT_FALSE(reader.hasError());
    EXPECT_EQ(deepest, levels);
}
