// Editing in the browser window: one road per command or key through the
// model to the tree; the rules themselves are tested on the model.
#include "BrowserTestSupport.h"

class EditBrowserTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        WriteLibrary("a.xml", kSampleLibrary);
        WriteLibrary(
            "b.xml",
            R"(<library name="Second"><expr name="e1" notation="1"/><expr name="e2" notation="2"/></library>)");
        Open().show();
    }

    // Triggers the menu item, which shows a modal dialog of type D; act runs
    // while it is open and clicks its OK.
    template <class D>
    void WithDialog(const char *item, const std::function<void(D &)> &act) {
        D *dialog = nullptr;
        QObject guard; // dies with the call, so a dialog that never shows leaves nothing behind
        QTimer::singleShot(0, &guard, [&] {
            if ((dialog = qobject_cast<D *>(QApplication::activeModalWidget()))) {
                act(*dialog);
                Find<QPushButton>(*dialog, "okBtn")->click();
                dialog->close();
            }
        });
        Item(item)->trigger();
        EXPECT_NE(dialog, nullptr) << item;
    }

    // The open in-place editor of the tree.
    QLineEdit *Editor() {
        for (QLineEdit *edit : Tree()->viewport()->findChildren<QLineEdit *>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    QString Document(int library) { return Outline(W->Viewer().Library(library)->GetRoot()); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(Tree(), Qt::Key(key), modifiers);
    }
};

TEST_F(EditBrowserTest, NewCategoryAndRenameEditTheNameInPlace) {
    Select("Sample");
    Item("novaKategoriaMni")->trigger();
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "New category");
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Escape); // cancelled: the name stays, the node is read-only again
    EXPECT_FALSE(Node("Sample/New category")->flags().testFlag(Qt::ItemIsEditable));

    Select("Sample/Mechanics/Inner");
    Item("premenovatMni")->trigger();
    ASSERT_NE(Editor(), nullptr);
    Editor()->setText("Outer");
    Select("Sample/Mechanics"); // the edit ends as the selection moves on: the edited node takes the name
    Item("novaKategoriaMni")->trigger();
    ASSERT_NE(Editor(), nullptr);
    Editor()->setText("Typed");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QApplication::processEvents(); // the delegate ends the edit in a queued call
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Outer,Typed,Work),New category,Top),Second(e1,e2)");
    EXPECT_EQ(S(Document(0)), "l:Sample[d,e:Top,c:Mechanics[e:Work[d,v:F,v:s],c:Outer,c:Typed],c:New category]");
}

TEST_F(EditBrowserTest, NewAndModifiedExpressionsAndLibrariesGoThroughTheirDialogs) {
    Select("Sample/Mechanics/Inner");
    WithDialog<TUpravyVyrazuFrm>("novyVyrazMni", [&](TUpravyVyrazuFrm &d) {
        d.SetFields("Speed", "v=s/t", "one\ntwo", {"s=path", "t="});
    });
    EXPECT_EQ(S(ElementToXml(ElementAt(W->Viewer().Library(0)->GetRoot(), "Mechanics/Inner/Speed")).simplified()),
              "<expr name=\"Speed\" notation=\"v=s/t\"> <desc>one|two</desc> <var name=\"s\" description=\"path\"/> "
              "<var name=\"t\" description=\"\"/> </expr>");

    WithDialog<TUpravyVyrazuFrm>("upravitMni", [&](TUpravyVyrazuFrm &d) {
        EXPECT_EQ(
            S(QStringList{d.ExpressionName(), d.Notation(), d.DescriptionLines().join('/'), d.VariableLines().join(';')}
                  .join('|')),
            "Speed|v=s/t|one/two|s=path;t=");
        Find<QComboBox>(d, "nazovCmb")->setEditText("Velocity");
    });
    EXPECT_EQ(S(Texts("nazovEdt")), "Velocity");

    AppContext().SaveFileName = [this](QWidget *, const TFileDialogRequest &) { return LibPath("mine.xml"); };
    WithDialog<TUpravyKnizniceFrm>("novaKniznicaMni", [&](TUpravyKnizniceFrm &d) {
        Find<QLineEdit>(d, "nazovEdt")->setText("Mine");
        Find<QPushButton>(d, "vyberSuborBtn")->click();
    });
    Select("Sample");
    WithDialog<TUpravyKnizniceFrm>("upravitMni",
                                   [&](TUpravyKnizniceFrm &d) { Find<QLineEdit>(d, "nazovEdt")->setText("Moved"); });
    EXPECT_EQ(S(TreeText()), "Moved(Mechanics(Inner(Velocity),Work),Top),Second(e1,e2),Mine");
    EXPECT_EQ(S(Texts("nazovKnizniceEdt")), "Moved");
    Item("saveMni")->trigger();
    EXPECT_TRUE(ReadBytes(LibPath("mine.xml")).contains("<library name=\"Mine\""));
    EXPECT_TRUE(ReadBytes(LibPath("a.xml")).contains("<library name=\"Moved\""));
}

TEST_F(EditBrowserTest, DeleteAsksAndLeavesNothingSelected) {
    Select("Sample/Mechanics/Work");
    Prompter->Answers = {TAnswer::No};
    Key(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,e2)");
    Key(Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(Prompter->Shown.size(), 2);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner),Top),Second(e1,e2)");
    EXPECT_EQ(S(Document(0)), "l:Sample[d,e:Top,c:Mechanics[c:Inner]]");
    EXPECT_TRUE(W->SelectedNode().isNull());
    Key(Qt::Key_Delete, Qt::NoModifier); // nothing selected: nothing to ask about
    EXPECT_EQ(Prompter->Shown.size(), 2);

    // A library goes with its file at the next save.
    Select("Second");
    Item("odstranitMni")->trigger();
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner),Top)");
    Item("saveMni")->trigger();
    EXPECT_FALSE(QFile::exists(LibPath("b.xml")));
    EXPECT_FALSE(W->Viewer().AnyModified());
}

TEST_F(EditBrowserTest, CopyCutAndPasteKeysWorkAcrossLibraries) {
    // A library pasted among elements is refused with a beep.
    int beeps = 0;
    AppContext().Beep = [&beeps] { ++beeps; };
    Select("Sample");
    Key(Qt::Key_C);
    Select("Second/e1");
    Key(Qt::Key_V);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,e2)");

    Select("Sample/Top");
    Key(Qt::Key_C);
    Select("Second/e2");
    Key(Qt::Key_V);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,Top,e2)");
    EXPECT_EQ(S(Document(1)), "l:Second[e:e1,e:Top,e:e2]");

    // Cut asks, takes the element away and leaves its copy on the clipboard.
    Select("Sample/Mechanics");
    Prompter->Answers = {TAnswer::Yes};
    Key(Qt::Key_X);
    ASSERT_EQ(Prompter->Shown.size(), 1);
    Select("Second/e2");
    Key(Qt::Key_V);
    EXPECT_EQ(S(TreeText()), "Sample(Top),Second(Mechanics(Inner,Work),e1,Top,e2)");
    EXPECT_EQ(S(Document(0)), "l:Sample[d,e:Top]");
}

TEST_F(EditBrowserTest, DragMovesTheDraggedNodeIntoOrBeforeTheTarget) {
    bool shift = false;
    AppContext().KeyDown = [&](int key) { return key == VK_SHIFT && shift; };

    // The selection is elsewhere: the dragged node moves, nothing else.
    Select("Sample/Mechanics/Work");
    ASSERT_TRUE(W->AcceptsDrop(Node("Sample/Top"), Node("Sample/Mechanics/Inner")));
    W->DropNode(Node("Sample/Top"), Node("Sample/Mechanics/Inner"));
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner(Top),Work)),Second(e1,e2)");
    EXPECT_EQ(S(Document(0)), "l:Sample[d,c:Mechanics[e:Work[d,v:F,v:s],c:Inner[e:Top]]]");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "Inner"); // the target
    // The details no longer show the expression the press had selected.
    EXPECT_EQ(S(Texts("nazovEdt|vyrazEdt")), "|");
    EXPECT_FALSE(Find<QPushButton>(*W, "pouzitBtn")->isEnabled());

    shift = true;
    W->DropNode(Node("Second/e2"), Node("Sample/Mechanics"));
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner(Top),Work),e2),Second(e1)");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "e2"); // the moved node
    EXPECT_EQ(S(Texts("nazovEdt|vyrazEdt")), "e2|2");
    EXPECT_TRUE(Find<QPushButton>(*W, "pouzitBtn")->isEnabled());
}
