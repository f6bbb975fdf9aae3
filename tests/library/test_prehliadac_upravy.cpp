// Editing in the browser window: one row per road from a command or key
// through the model to the tree; the rules themselves are tested on the
// model.
#include "BrowserTestSupport.h"
#include "fUpravyKniznice.h"
#include "fUpravyVyrazu.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTimer>

namespace {

const QByteArray kSecond = R"(<library name="Second"><expr name="e1" notation="1"/><expr name="e2" notation="2"/></library>)";

} // namespace

class EditBrowserTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        WriteLibrary("a.xml", kSampleLibrary);
        WriteLibrary("b.xml", kSecond);
        Open().show();
    }

    // Runs command, which shows a modal dialog of type D; act runs while it
    // is open and must close it.
    template <class D> void WithDialog(const std::function<void()> &command, const std::function<void(D &)> &act) {
        bool seen = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            D *dialog = qobject_cast<D *>(modal);
            seen = dialog != nullptr;
            if (dialog)
                act(*dialog);
            if (modal && modal->isVisible())
                modal->close();
        });
        timer.start(0);
        command();
        EXPECT_TRUE(seen);
    }

    // The open in-place editor of the tree.
    QLineEdit *Editor() {
        for (QLineEdit *edit : Tree()->viewport()->findChildren<QLineEdit *>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    QString Document(int library) { return Outline(W->Viewer().Library(library)->GetRoot()); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(Tree(), Qt::Key(key), modifiers); }
};

TEST_F(EditBrowserTest, ANewCategoryIsSelectedAndNamedInPlace) {
    Select("Sample");
    Item("novaKategoriaMni")->trigger();
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),New category,Top),Second(e1,e2)");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "New category");
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Escape); // cancelled: the name stays
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(Node("Sample/New category")->flags().testFlag(Qt::ItemIsEditable));

    Select("Sample/Mechanics");
    Item("novaKategoriaMni")->trigger();
    ASSERT_NE(Editor(), nullptr);
    Editor()->setText("Typed");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QApplication::processEvents(); // the delegate ends the edit in a queued call
    EXPECT_EQ(S(Document(0)),
              "library:Sample[desc,expr:Top,category:Mechanics[expr:Work[desc,var:F,var:s],category:Inner,"
              "category:Typed],category:New category]");
    EXPECT_TRUE(W->Viewer().Library(0)->Modified);
}

TEST_F(EditBrowserTest, RenameChangesTheEditedNodeEvenWhenTheSelectionMoves) {
    Select("Sample/Mechanics/Inner");
    Item("premenovatMni")->trigger();
    ASSERT_NE(Editor(), nullptr);
    Editor()->setText("Outer");
    Select("Sample/Mechanics"); // the edit ends as the selection moves on
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Outer,Work),Top),Second(e1,e2)");
    EXPECT_EQ(S(Document(0)),
              "library:Sample[desc,expr:Top,category:Mechanics[expr:Work[desc,var:F,var:s],category:Outer]]");
}

TEST_F(EditBrowserTest, NewAndModifiedExpressionsGoThroughTheDialog) {
    Select("Sample/Mechanics/Inner");
    WithDialog<TUpravyVyrazuFrm>([&] { Item("novyVyrazMni")->trigger(); }, [&](TUpravyVyrazuFrm &d) {
        EXPECT_EQ(S(d.ExpressionName() + d.Notation()), "");
        Find<QComboBox>(d, "nazovCmb")->setEditText("Speed");
        Find<QLineEdit>(d, "vyrazEdt")->setText("v=s/t");
        Find<QPlainTextEdit>(d, "PopisMmo")->setPlainText("one\ntwo");
        d.AddVariablesFromExpression();
        Find<QPushButton>(d, "okBtn")->click();
    });
    EXPECT_EQ(S(ElementToXml(ElementAt(W->Viewer().Library(0)->GetRoot(), "Mechanics/Inner")).simplified()),
              "<category name=\"Inner\"> <expr name=\"Speed\" notation=\"v=s/t\"> <desc>one|two</desc> "
              "<var name=\"s\" description=\"\"/> <var name=\"t\" description=\"\"/> </expr> </category>");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "Speed");
    EXPECT_EQ(S(Text("vyrazEdt")), "v=s/t");

    WithDialog<TUpravyVyrazuFrm>([&] { Item("upravitMni")->trigger(); }, [&](TUpravyVyrazuFrm &d) {
        EXPECT_EQ(S(d.ExpressionName() + "|" + d.Notation() + "|" + d.DescriptionLines().join('/') + "|"
                    + d.VariableLines().join(';')),
                  "Speed|v=s/t|one/two|s=;t=");
        Find<QComboBox>(d, "nazovCmb")->setEditText("Velocity");
        Find<QPushButton>(d, "okBtn")->click();
    });
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner(Velocity),Work),Top),Second(e1,e2)");
    EXPECT_EQ(S(Text("nazovEdt")), "Velocity");
}

TEST_F(EditBrowserTest, NewAndModifiedLibrariesAreWrittenWhereTheDialogSays) {
    AppContext().SaveFileName = [this](QWidget *, const TFileDialogRequest &r) {
        return r.FileName.endsWith("new_library.xml") ? LibPath("mine.xml") : LibPath("moved.xml");
    };
    Select("Sample/Top");
    WithDialog<TUpravyKnizniceFrm>([&] { Item("novaKniznicaMni")->trigger(); }, [&](TUpravyKnizniceFrm &d) {
        Find<QLineEdit>(d, "nazovEdt")->setText("Mine");
        Find<QPushButton>(d, "vyberSuborBtn")->click();
        Find<QPushButton>(d, "okBtn")->click();
    });
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,e2),Mine");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "Top");

    Select("Sample");
    WithDialog<TUpravyKnizniceFrm>([&] { Item("upravitMni")->trigger(); }, [&](TUpravyKnizniceFrm &d) {
        EXPECT_FALSE(Find<QPushButton>(d, "okBtn")->isEnabled());
        Find<QLineEdit>(d, "nazovEdt")->setText("Moved");
        Find<QPushButton>(d, "vyberSuborBtn")->click();
        Find<QPushButton>(d, "okBtn")->click();
    });
    EXPECT_EQ(S(Text("nazovKnizniceEdt") + "|" + Node("Moved")->text(0)), "Moved|Moved");
    Item("saveMni")->trigger();
    EXPECT_TRUE(ReadBytes(LibPath("mine.xml")).contains("<library name=\"Mine\""));
    EXPECT_TRUE(ReadBytes(LibPath("moved.xml")).contains("<library name=\"Moved\""));
    EXPECT_EQ(ReadBytes(LibPath("a.xml")), kSampleLibrary);
}

TEST_F(EditBrowserTest, DeleteAsksAndLeavesNothingSelected) {
    Select("Sample/Mechanics/Work");
    Prompter->Answers = {TAnswer::No};
    Key(Qt::Key_Delete);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,e2)");
    Key(Qt::Key_Delete);
    ASSERT_EQ(Prompter->Shown.size(), 2);
    EXPECT_EQ(S(Prompter->Shown[1].Caption + "|" + Prompter->Shown[1].Text), "Delete item|Really delete selected item?");
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner),Top),Second(e1,e2)");
    EXPECT_TRUE(W->SelectedNode().isNull());
    EXPECT_TRUE(Tree()->selectedItems().isEmpty());
    Key(Qt::Key_Delete); // nothing selected: nothing to ask about
    EXPECT_EQ(Prompter->Shown.size(), 2);

    // A library goes with its file at the next save; until then Reload
    // names it.
    Select("Second");
    Item("odstranitMni")->trigger();
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner),Top)");
    Prompter->Answers = {TAnswer::Cancel};
    Item("reloadMni")->trigger();
    EXPECT_TRUE(Prompter->Shown.last().Text.contains("\n\r- Sample\n\r- Second\n\r"));
    Item("saveMni")->trigger();
    EXPECT_FALSE(QFile::exists(LibPath("b.xml")));
    EXPECT_FALSE(W->Viewer().AnyModified());
}

TEST_F(EditBrowserTest, CopyCutAndPasteKeysWorkAcrossLibrariesAndReloads) {
    Select("Sample/Top");
    Key(Qt::Key_C, Qt::ControlModifier);
    Select("Second/e2");
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(e1,Top,Top,e2)");
    EXPECT_EQ(S(Document(1)), "library:Second[expr:e1,expr:Top,expr:Top,expr:e2]");
    EXPECT_FALSE(W->Viewer().Library(0)->Modified);
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "e2");

    // The copy outlives the documents of a reload.
    Prompter->Answers = {TAnswer::Yes};
    Item("reloadMni")->trigger();
    Select("Second/e1");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(S(Document(1)), "library:Second[expr:Top,expr:e1,expr:e2]");

    // Cut answered No keeps the element; its copy is on the clipboard.
    Select("Sample/Mechanics");
    Prompter->Answers = {TAnswer::No};
    Key(Qt::Key_X, Qt::ControlModifier);
    Select("Second/e2");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(Mechanics(Inner,Work),Top,e1,e2)");
}

TEST_F(EditBrowserTest, DragMovesTheDraggedNodeIntoOrBeforeTheTarget) {
    bool shift = false;
    AppContext().KeyDown = [&](int key) { return key == VK_SHIFT && shift; };

    // The selection is elsewhere: the dragged node moves, nothing else.
    Select("Sample/Mechanics/Work");
    ASSERT_TRUE(W->AcceptsDrop(Node("Sample/Top"), Node("Sample/Mechanics/Inner")));
    W->DropNode(Node("Sample/Top"), Node("Sample/Mechanics/Inner"));
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner(Top),Work)),Second(e1,e2)");
    EXPECT_EQ(S(Document(0)),
              "library:Sample[desc,category:Mechanics[expr:Work[desc,var:F,var:s],category:Inner[expr:Top]]]");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "Inner"); // the target

    shift = true;
    EXPECT_FALSE(W->AcceptsDrop(Node("Sample/Mechanics/Work"), Node("Second")));
    W->DropNode(Node("Second/e2"), Node("Sample/Mechanics"));
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner(Top),Work),e2),Second(e1)");
    EXPECT_EQ(S(W->SelectedNode().attribute("name")), "e2"); // the moved node
    EXPECT_TRUE(W->Viewer().Library(1)->Modified);

    // Refused drops change nothing.
    shift = false;
    const QString before = TreeText();
    W->DropNode(Node("Sample/Mechanics"), Node("Sample/Mechanics/Inner"));
    W->DropNode(Node("Sample"), Node("Second"));
    EXPECT_EQ(TreeText(), before);
}
