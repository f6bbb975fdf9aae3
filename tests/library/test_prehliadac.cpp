// The browser window: the tree, the details, Use, loading, reloading,
// saving and closing.
#include "BrowserTestSupport.h"
#include "Analyzator.h"
#include "fHlavny.h"
#include "uOkna.h"

#include <QScreen>
#include <QWindow>

TEST_F(BrowserTest, TheTreeShowsLibrariesThenCategoriesThenExpressionsAndWarnsOfBadFiles) {
    // An expression between categories, an element without a name whose
    // named child shows through, a var that never shows, and a library
    // whose root has no name: its elements stand at the top.
    WriteLibrary("b.xml", R"(<library name="Second">
  <category name="C1"><expr name="e1" notation="1"/><category name="C2"/><expr name="e2" notation="2"/></category>
  <expr name="e0" notation="0"><var name="v"/></expr>
  <group><category name="Through"/></group>
  <other name="Odd"/>
</library>)");
    WriteLibrary("c.xml", R"(<library><expr name="Loose" notation="x"/><category name="Cat"/></library>)");
    WriteLibrary("d-bad.xml", "<library");
    // Nested deeper than the program takes apart safely.
    QByteArray deep;
    for (int i = 0; i < kMaxLibraryDepth; ++i)
        deep += "<category name=\"c\">";
    WriteLibrary("e-deep.xml", "<library name=\"Deep\">" + deep + "</library>");
    Open();
    EXPECT_EQ(S(TreeText()), "Second(C1(C2,e1,e2),Through,e0,Odd),Cat,Loose");
    EXPECT_EQ(Boxes(), "Error while loading libraries|Some files in the library directory could not be loaded:"
                       "\n\r\n\rd-bad.xml\n\re-deep.xml");
    // A narrow tree cuts names short: the whole name is the node's tooltip.
    EXPECT_EQ(S(Node("Second/C1/e1")->toolTip(0)), "e1");
}

TEST_F(BrowserTest, DetailsCommandsAndUseFollowTheSelection) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open();
    QMenu *menu = W->findChild<QMenu *>("stromVyrazovPmn");
    ASSERT_NE(menu, nullptr);
    // Save, new category, new expression, rename, delete and modify of the
    // popup, two tool buttons and Use: 1 where enabled (each is somewhere).
    auto states = [&] {
        emit menu->aboutToShow();
        std::string s;
        for (const char *name : {"saveMni", "novaKategoriaMni", "novyVyrazMni", "premenovatMni", "odstranitMni",
                                 "upravitMni", "newCategoryTbtn", "modifyTBtn", "pouzitBtn"})
            s += W->findChild<QObject *>(name) && W->findChild<QObject *>(name)->property("enabled").toBool() ? '1'
                                                                                                              : '0';
        return s;
    };
    EXPECT_EQ(states(), "000000000");
    Select("Sample/Mechanics/Work");
    EXPECT_EQ(states(), "000011011");
    EXPECT_TRUE(Find<QWidget>(*W, "kniznicaPnl")->isHidden());
    EXPECT_EQ(S(Texts("nazovEdt|vyrazEdt|PopisMmo")), "Work|W=F*s|Constant force");
    EXPECT_EQ(S(Variables()), "F=force;s=path");

    // A category keeps the expression's details and Use; a double click
    // uses an expression only.
    W->Viewer().Library(0)->Modified = true;
    Select("Sample/Mechanics/Inner");
    EXPECT_EQ(states(), "111110101");
    QTest::mouseClick(Find<QPushButton>(*W, "pouzitBtn"), Qt::LeftButton);
    emit Tree()->itemDoubleClicked(Node("Sample/Mechanics/Inner"), 0);
    Select("Sample/Top");
    emit Tree()->itemDoubleClicked(Node("Sample/Top"), 0);
    EXPECT_EQ(Main.UsedExpressions, QStringList({"W=F*s", "f=x+1"}));

    Select("Sample");
    EXPECT_EQ(states(), "111111110");
    EXPECT_TRUE(Find<QWidget>(*W, "vyrazPnl")->isHidden());
    EXPECT_EQ(S(Texts("nazovKnizniceEdt|suborEdt|verziaLbl|autorLbl|webLbl|emailLbl|popisKnizniceMmo")),
              S("Sample|" + QDir::toNativeSeparators(LibPath("a.xml")) +
                "|1.0|Bob|bob.example|bob@example.org|First line\nSecond line"));
}

TEST_F(BrowserTest, ClosingAsksAboutModifiedLibrariesAndStaysWhenASaveFails) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open().show();
    W->close(); // nothing modified: no question
    EXPECT_TRUE(W->isHidden());
    EXPECT_EQ(Boxes(), "");

    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    const struct {
        TAnswer answer;
        bool unwritable, hidden, saved;
    } cases[] = {{TAnswer::Cancel, false, false, false},
                 {TAnswer::No, false, true, false},
                 {TAnswer::Yes, false, true, true},
                 {TAnswer::Yes, true, false, false}}; // the failure is reported, the window stays
    for (const auto &c : cases) {
        const QString name = QString("R%1").arg(&c - cases);
        lib->RenameNode(lib->GetRoot(), name);
        if (c.unwritable)
            lib->FileName = Path("no/such/a.xml");
        W->show();
        Prompter->Answers = {c.answer};
        W->close();
        EXPECT_EQ(W->isHidden(), c.hidden) << S(name);
        EXPECT_EQ(ReadBytes(LibPath("a.xml")).contains("name=\"" + name.toUtf8() + "\""), c.saved) << S(name);
        EXPECT_EQ(lib->Modified, !c.saved) << S(name);
    }
    ASSERT_EQ(Prompter->Shown.size(), 5);
    EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::QuestionWithCancel);
    EXPECT_EQ(S(Prompter->Shown[0].Caption + "|" + Prompter->Shown[0].Text),
              "Save changes|Some libraries have been modified: \n\r\n\r- R0\n\r\n\r Save changes?");
    EXPECT_TRUE((Prompter->Shown[4].Caption + "|" + Prompter->Shown[4].Text)
                    .startsWith("Error while saving libraries|These libraries could not be saved and are still "
                                "modified:\n\r\n\r- R3 ("));
}

TEST_F(BrowserTest, ReloadAndLanguageSwitchDropChangesOnlyWhenTheUserAgrees) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open();
    Select("Sample/Mechanics/Work");
    ASSERT_NE(W->SelectedLibrary(), nullptr);
    Item("reloadMni")->trigger(); // nothing modified: no question; the selection is forgotten
    EXPECT_EQ(Boxes(), "");
    EXPECT_TRUE(W->SelectedNode().isNull());
    EXPECT_EQ(W->SelectedLibrary(), nullptr);

    // A language file moving the folder keeps a modified library.
    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Renamed");
    WriteBytes(Path("lang/test.txt"), "[Addresses]\r\nLibraryPath=other\\\r\n");
    ASSERT_TRUE(LoadLanguageFile("lang\\test.txt"));
    W->ApplyLanguage();
    EXPECT_EQ(W->Viewer().Library(0), lib);

    for (TAnswer answer : {TAnswer::Cancel, TAnswer::Yes}) {
        Prompter->Answers = {answer};
        Item("reloadMni")->trigger();
        EXPECT_EQ(W->Viewer().Count(), answer == TAnswer::Yes ? 0 : 1);
    }
    const std::string question = "Reload libraries|Reloading will cause loss of changes in these modified libraries:"
                                 "\n\r\n\r- Renamed\n\r\n\rReally reload?";
    // The new folder is empty.
    EXPECT_EQ(Boxes(),
              question + ";" + question + ";Error while loading libraries|No libraries found in the library folder.");
}

// The program's road: the main window's menu opens the browser through its
// link, Use fills the input, a language switch translates the browser and
// loads the libraries of its folder.
TEST_F(BrowserTest, TheMainWindowOpensTheBrowserAndTakesAnExpressionFromIt) {
    WriteLibrary("a.xml", kSampleLibrary);
    WriteBytes(Path("other/b.xml"), "<library name=\"Elsewhere\"/>");
    TPrehliadacVyrazovLink link;
    {
        TProgramWindows windows({nullptr, &link});
        ThlavnyFrm &main = windows.Main();
        QAction *open = Find<QAction>(main, "PrehliadacVyrazovAct");
        EXPECT_FALSE(link.PrehliadacVyrazovFrmExists());
        open->trigger();
        ASSERT_TRUE(link.PrehliadacVyrazovFrmExists());
        W = link.GetPrehliadacVyrazovFrm();
        EXPECT_TRUE(W->isVisible());
        W->close();
        open->trigger();
        EXPECT_EQ(link.GetPrehliadacVyrazovFrm(), W);

        Select("Sample/Top");
        Find<QPushButton>(*W, "pouzitBtn")->click();
        EXPECT_EQ(S(main.InputText()), "x+1");

        WriteBytes(Path("lang/t.txt"),
                   "[Addresses]\r\nLibraryPath=other\\\r\n[ExpressionBrowser]\r\nCaption=Formulas\r\n"
                   "[Common]\r\nUse=Take\r\nReload=Again\r\n");
        ASSERT_TRUE(main.ApplyLanguageToAllForms("lang\\t.txt"));
        EXPECT_EQ(S(W->windowTitle() + "|" + Texts("pouzitBtn|reloadMni")), "Formulas|Take|Again");
        EXPECT_EQ(S(TreeText()), "Elsewhere");
    }
    EXPECT_FALSE(link.PrehliadacVyrazovFrmExists()); // gone with the main window
}

// The browser is a tool window of the main window and its dialogs belong to
// the browser; a dialog centred on a browser at the screen's top edge opens
// with its frame on the screen.
TEST_F(BrowserTest, TheBrowserBelongsToTheMainWindowAndItsDialogsOpenOnTheScreen) {
    TPrehliadacVyrazovLink link;
    TProgramWindows windows({nullptr, &link});
    ThlavnyFrm &main = windows.Main();
    main.show();
    Find<QAction>(main, "PrehliadacVyrazovAct")->trigger();
    W = link.GetPrehliadacVyrazovFrm();
    EXPECT_EQ(W->windowType(), Qt::Tool);
    ASSERT_NE(W->windowHandle(), nullptr);
    EXPECT_EQ(W->windowHandle()->transientParent(), main.windowHandle());
    const QRect available = W->screen()->availableGeometry();
    W->move(available.topLeft());
    for (QDialog *dialog : std::initializer_list<QDialog *>{W->GetUpravyKnizniceFrm(), W->GetUpravyVyrazuFrm()}) {
        dialog->show();
        EXPECT_EQ(dialog->windowType(), Qt::Tool) << S(dialog->objectName());
        EXPECT_EQ(dialog->windowHandle()->transientParent(), W->windowHandle()) << S(dialog->objectName());
        EXPECT_TRUE(available.contains(dialog->frameGeometry())) << S(dialog->objectName());
        dialog->hide();
        // Placed wholly off the screen, it still opens on it.
        dialog->move(available.topLeft() - QPoint(500, 500));
        dialog->show();
        EXPECT_TRUE(available.contains(dialog->frameGeometry())) << S(dialog->objectName());
        dialog->hide();
    }
    W = nullptr;
}

// The libraries that ship: each loads, and each expression is a valid
// expression whose variables are exactly those it describes.
TEST_F(BrowserTest, ShippedLibrariesHoldValidExpressionsWithTheirVariables) {
    KExpressionViewer viewer;
    QString errors;
    viewer.LoadFolder(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lib"), errors);
    EXPECT_TRUE(errors.isEmpty()) << S(errors);
    ASSERT_GE(viewer.Count(), 2);
    for (int i = 0; i < viewer.Count(); ++i) {
        TKniznicaVyrazov *lib = viewer.Library(i);
        EXPECT_EQ(lib->ToXml(), ReadBytes(lib->FileName)) << S(lib->FileName) << ": not in the form we write";
        const QDomNodeList expressions = lib->Document.elementsByTagName("expr");
        for (int e = 0; e < expressions.count(); ++e) {
            QString name, notation, desc;
            QStringList vars, used;
            lib->ReadExpression(expressions.at(e).toElement(), name, notation, desc, vars);
            const QString expression = notation.mid(notation.indexOf('=') + 1);
            TChyba err;
            const TEvaluationContext context(QLatin1Char(',')); // the libraries' separator
            CheckSyntax(expression, context, err);
            EXPECT_EQ(CodeNumber(err.Code), 0) << S(name);
            CollectVariableNames(expression, context, used, QString());
            EXPECT_EQ(vars.replaceInStrings(QRegularExpression("=.*"), QString()), used) << S(name);
        }
    }
}
