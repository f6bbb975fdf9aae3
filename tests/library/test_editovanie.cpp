// The editing rules: paste before a node, which drops make sense, and where
// a drop puts an element.
#include "LibraryTestSupport.h"

namespace {

class EditingTest : public LibraryTest {
protected:
    TKniznicaVyrazov A, B; // A: the sample; B: two categories, an expression and an unknown element
    void SetUp() override {
        LibraryTest::SetUp();
        WriteLibrary("a.xml", kSampleLibrary);
        WriteLibrary("b.xml", R"(<library name="B"><category name="Empty"/><category name="Full">)"
                              R"(<expr name="f1" notation="1"/><expr name="f2" notation="2"/></category>)"
                              R"(<expr name="b1" notation="x"/><other name="Odd"/></library>)");
        Reload();
    }
    // Both libraries as on disk, unmodified.
    void Reload() {
        ASSERT_TRUE(A.LoadFromFile(LibPath("a.xml")));
        ASSERT_TRUE(B.LoadFromFile(LibPath("b.xml")));
    }
    TKniznicaVyrazov &Lib(const QString &where) { return where.startsWith('A') ? A : B; }
    // "A:Mechanics/Work", "B:" (the root).
    QDomElement At(const QString &where) { return ElementAt(Lib(where).GetRoot(), where.mid(2)); }
    QString Both() { return Outline(A.GetRoot()) + " | " + Outline(B.GetRoot()); }
};

} // namespace

TEST_F(EditingTest, PasteGoesJustBeforeTheTargetAndNeverBesideALibrary) {
    const struct {
        const char *copied, *target;
        TPasteResult result;
        const char *b; // B afterwards
    } cases[] = {
        {"A:Mechanics", "B:Odd", TPasteResult::Inserted,
         "l:B[c:Empty,c:Full[e:f1,e:f2],e:b1,c:Mechanics[e:Work[d,v:F,v:s],c:Inner],o:Odd]"},
        {"A:", "B:b1", TPasteResult::Refused, ""},  // a library among elements
        {"A:", "B:", TPasteResult::Nothing, ""},    // a library into a library
        {"A:Top", "B:", TPasteResult::Refused, ""}, // beside a library
    };
    for (const auto &c : cases) {
        Reload();
        KNodeClipboard clipboard;
        clipboard.Copy(At(c.copied));
        const QString before = Both();
        QDomElement pasted;
        EXPECT_EQ(PasteBefore(clipboard, At(c.target), B, pasted), c.result) << c.copied << " " << c.target;
        EXPECT_EQ(S(*c.b ? Outline(B.GetRoot()) : Both()), S(*c.b ? QString(c.b) : before));
        EXPECT_EQ(B.Modified, bool(*c.b));
        EXPECT_FALSE(A.Modified);
    }
}

TEST_F(EditingTest, EveryPasteIsANewIndependentCopyThatOutlivesItsSource) {
    KNodeClipboard clipboard;
    {
        TKniznicaVyrazov source;
        ASSERT_TRUE(source.LoadFromFile(LibPath("a.xml")));
        clipboard.Copy(ElementAt(source.GetRoot(), "Top"));
    } // its document is gone
    QDomElement first, second;
    ASSERT_EQ(PasteBefore(clipboard, At("B:b1"), B, first), TPasteResult::Inserted);
    ASSERT_EQ(PasteBefore(clipboard, At("B:b1"), B, second), TPasteResult::Inserted);
    first.setAttribute("name", "changed");
    EXPECT_EQ(S(Outline(B.GetRoot())), "l:B[c:Empty,c:Full[e:f1,e:f2],e:changed,e:Top,e:b1,o:Odd]");
    clipboard.Clear();
    EXPECT_EQ(PasteBefore(clipboard, At("B:b1"), B, first), TPasteResult::Nothing);
}

TEST_F(EditingTest, DropsThatMakeNoSenseAreRefusedAndChangeNothing) {
    const struct {
        const char *dragged, *target;
        bool plain, shift;
    } cases[] = {
        {"A:Mechanics", "A:Mechanics/Inner", false, false}, // into its own subtree
        {"A:Mechanics", "A:Mechanics", false, false},       // onto itself
        {"A:", "B:Full", false, false},                     // libraries never move
        {"A:Top", "B:", true, false},                       // into a library, never beside it
        {"A:Top", "B:Full/f1", true, true},
        {"B:b1", "B:Odd", false, true},       // nowhere to go inside an unknown element
        {"A:Top", "B:Nothing", false, false}, // no node under the cursor
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CanDropOn(At(c.dragged), At(c.target), false), c.plain) << c.dragged << " on " << c.target;
        EXPECT_EQ(CanDropOn(At(c.dragged), At(c.target), true), c.shift) << c.dragged << " shift on " << c.target;
        if (c.plain)
            continue;
        const QString before = Both();
        TDropPlace place;
        EXPECT_TRUE(MoveElement(At(c.dragged), Lib(c.dragged), At(c.target), Lib(c.target), false, place).isNull());
        EXPECT_EQ(Both(), before) << c.dragged << " on " << c.target;
        EXPECT_FALSE(A.Modified || B.Modified);
    }
}

TEST_F(EditingTest, ADropMovesTheElementIntoOrBeforeTheTarget) {
    const struct {
        const char *dragged, *target;
        bool shift;
        TDropPlace place;
        const char *both;
    } cases[] = {
        {"B:b1", "B:Empty", false, TDropPlace::Into, "l:B[c:Empty[e:b1],c:Full[e:f1,e:f2],o:Odd]"},
        {"B:b1", "B:Full", false, TDropPlace::Into, "l:B[c:Empty,c:Full[e:f1,e:b1,e:f2],o:Odd]"},
        {"B:b1", "B:Full", true, TDropPlace::Before, "l:B[c:Empty,e:b1,c:Full[e:f1,e:f2],o:Odd]"},
        {"B:b1", "B:Full/f1", false, TDropPlace::Before, "l:B[c:Empty,c:Full[e:b1,e:f1,e:f2],o:Odd]"},
        // Into a library: after its description.
        {"B:Full", "A:", false, TDropPlace::Into,
         "l:Sample[d,c:Full[e:f1,e:f2],e:Top,c:Mechanics[e:Work[d,v:F,v:s],c:Inner]] | l:B[c:Empty,e:b1,o:Odd]"},
    };
    for (const auto &c : cases) {
        Reload();
        TKniznicaVyrazov &to = Lib(c.target);
        TDropPlace place = TDropPlace::Before;
        const QDomElement moved = MoveElement(At(c.dragged), B, At(c.target), to, c.shift, place);
        ASSERT_FALSE(moved.isNull()) << c.dragged << " on " << c.target;
        EXPECT_EQ(place, c.place) << c.dragged << " on " << c.target;
        EXPECT_TRUE(moved.ownerDocument() == to.Document);
        EXPECT_EQ(S(&to == &A ? Both() : Outline(B.GetRoot())), c.both);
        EXPECT_TRUE(B.Modified);
        EXPECT_EQ(A.Modified, &to == &A);
    }
}

TEST(EditEnabling, FollowsTheKindOfTheSelection) {
    const struct {
        bool selected;
        TNodeKind kind;
        const char *newRenameDeleteModify;
    } cases[] = {{false, LibraryKind, "0000"},
                 {true, ExpressionKind, "0011"},
                 {true, CategoryKind, "1110"},
                 {true, LibraryKind, "1111"},
                 {true, OtherKind, "1111"}};
    for (const auto &c : cases) {
        const TEditEnabling e = EditEnabling(c.selected, c.kind);
        const std::string got{char('0' + e.NewChild), char('0' + e.Rename), char('0' + e.Delete), char('0' + e.Modify)};
        EXPECT_EQ(got, c.newRenameDeleteModify) << int(c.kind);
    }
}
