// The collection of the library folder and the description routines.
#include "LibraryTestSupport.h"

TEST(DescriptionLines, JoinAndSplitKeepEveryLine) {
    const struct {
        QStringList lines;
        const char *joined;
        QStringList splitBack;
    } cases[] = {
        {{}, "", {""}},
        {{"", "x", ""}, "|x|", {"", "x", ""}},
        {{"a|b"}, "a|b", {"a", "b"}}, // a line holding the separator comes back as two
    };
    for (const auto &c : cases) {
        const QString joined = JoinStrings(c.lines, '|');
        EXPECT_EQ(S(joined), c.joined) << c.joined;
        EXPECT_EQ(SplitString(joined, '|'), c.splitBack) << c.joined;
    }
}

class ZbierkaTest : public LibraryTest {
protected:
    KExpressionViewer Viewer;
    QString Names() {
        QStringList names;
        for (int i = 0; i < Viewer.Count(); ++i)
            names.append(Viewer.Library(i)->GetRoot().attribute("name"));
        return names.join(',');
    }
};

TEST_F(ZbierkaTest, LoadsEveryXmlEntryAndNamesThoseThatFail) {
    WriteLibrary("b-good.xml", "<library name=\"B\"/>");
    WriteLibrary("a-text.xml", "not xml at all");
    WriteLibrary("UPPER.XML", "<library name=\"U\"/>");
    WriteLibrary("notes.txt", "<library name=\"T\"/>");
    ASSERT_TRUE(QDir(Path("lib")).mkdir("folder.xml"));
    QString errors = "old";
    Viewer.LoadFolder(Path("lib"), errors);
    EXPECT_EQ(S(Names()), "B,U");
    EXPECT_EQ(S(errors), "\n\ra-text.xml\n\rfolder.xml");
    EXPECT_FALSE(Viewer.AnyModified());

    // Loading again replaces everything, unsaved changes included.
    Viewer.Library(0)->RenameNode(Viewer.Library(0)->GetRoot(), "changed");
    QFile::remove(LibPath("UPPER.XML"));
    Viewer.LoadFolder(Path("lib") + "/", errors);
    EXPECT_EQ(S(Names()), "B");
    Viewer.LoadFolder(Path("missing"), errors);
    EXPECT_EQ(Viewer.Count(), 0);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ZbierkaTest, ModifiedLibrariesAreListedAndSaveAllGoesOnAfterAFailure) {
    WriteLibrary("a.xml", "<library name=\"A\"/>");
    WriteLibrary("b.xml", "<library name=\"B\"/>");
    WriteLibrary("c.xml", "<library name=\"C\"/>");
    QString errors;
    Viewer.LoadFolder(Path("lib"), errors);
    EXPECT_EQ(S(Viewer.GetModifiedList()), "");
    Viewer.Library(2)->SetDeleteOnSave(true);
    Viewer.Library(0)->RenameNode(Viewer.Library(0)->GetRoot(), "A2");
    TInfoKniznice info = SampleInfo(Path("no/such/lost.xml"));
    info.Name = "Lost";
    Viewer.AddLibrary(info);
    info.Name = "N";
    info.FileName = LibPath("new.xml");
    Viewer.AddLibrary(info);
    EXPECT_FALSE(QFile::exists(LibPath("new.xml")));
    EXPECT_TRUE(Viewer.AnyModified());
    EXPECT_EQ(S(Viewer.GetModifiedList()), "\n\r- A2\n\r- C\n\r- Lost\n\r- N");

    // The failure is listed alone; the libraries after it are saved too.
    const QString failures = Viewer.SaveAll();
    EXPECT_TRUE(failures.startsWith("\n\r- Lost (" + QDir::toNativeSeparators(Path("no/such/lost.xml")) + "): "))
        << S(failures);
    EXPECT_EQ(failures.count("\n\r"), 1);
    EXPECT_TRUE(ReadBytes(LibPath("a.xml")).contains("A2"));
    EXPECT_FALSE(QFile::exists(LibPath("c.xml")));
    EXPECT_TRUE(QFile::exists(LibPath("new.xml")));
    EXPECT_EQ(S(Viewer.GetModifiedList()), "\n\r- Lost");
}
