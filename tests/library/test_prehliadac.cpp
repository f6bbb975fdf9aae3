// The browser window: the tree, the details, Use, loading, reloading,
// saving and closing.
#include "BrowserTestSupport.h"
#include "Analyzator.h"
#include "fHlavny.h"
#include "fPremenne.h"
#include "uOkna.h"
#include "uPremenne.h"

#include <QFile>

TEST_F(BrowserTest, TheTreeShowsLibrariesThenCategoriesThenExpressions) {
    WriteLibrary("a.xml", kSampleLibrary);
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
    Open();
    EXPECT_EQ(S(TreeText()), "Sample(Mechanics(Inner,Work),Top),Second(C1(C2,e1,e2),Through,e0,Odd),Cat,Loose");
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    EXPECT_EQ(W->Module()->Picture(CategoryPicture).cacheKey(), Node("Second/C1")->icon(0).cacheKey());
    EXPECT_TRUE(Node("Second/Odd")->icon(0).isNull());
}

TEST_F(BrowserTest, DetailsFollowTheSelectionAndUseHandsTheNotationOver) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open();
    QPushButton *use = Find<QPushButton>(*W, "pouzitBtn");
    QWidget *libraryPanel = Find<QWidget>(*W, "kniznicaPnl");
    QWidget *expressionPanel = Find<QWidget>(*W, "vyrazPnl");
    EXPECT_FALSE(use->isEnabled());

    Select("Sample/Mechanics/Work");
    EXPECT_EQ(W->SelectedNode().attribute("name"), "Work");
    EXPECT_TRUE(libraryPanel->isHidden());
    EXPECT_FALSE(expressionPanel->isHidden());
    EXPECT_EQ(S(Text("nazovEdt") + "|" + Text("vyrazEdt") + "|" + Text<QPlainTextEdit>("PopisMmo")),
              "Work|W=F*s|Constant force");
    EXPECT_EQ(S(Variables()), "F=force;s=path");
    EXPECT_TRUE(use->isEnabled());

    // A category keeps the expression's details and Use.
    Select("Sample/Mechanics/Inner");
    EXPECT_EQ(S(Text("vyrazEdt")), "W=F*s");
    EXPECT_TRUE(use->isEnabled());
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_EQ(Main.UsedExpressions, QStringList({"W=F*s"}));

    // A double click uses an expression only.
    emit Tree()->itemDoubleClicked(Node("Sample/Mechanics/Inner"), 0);
    Select("Sample/Top");
    emit Tree()->itemDoubleClicked(Node("Sample/Top"), 0);
    EXPECT_EQ(Main.UsedExpressions, QStringList({"W=F*s", "f=x+1"}));

    Select("Sample");
    EXPECT_FALSE(libraryPanel->isHidden());
    EXPECT_TRUE(expressionPanel->isHidden());
    EXPECT_FALSE(use->isEnabled());
    EXPECT_EQ(S(QStringList({Text("nazovKnizniceEdt"), Text("suborEdt"), Text<QLabel>("verziaLbl"),
                             Text<QLabel>("autorLbl"), Text<QLabel>("webLbl"), Text<QLabel>("emailLbl"),
                             Text<QPlainTextEdit>("popisKnizniceMmo")})
                    .join('|')),
              S("Sample|" + QDir::toNativeSeparators(LibPath("a.xml"))
                + "|1.0|Bob|bob.example|bob@example.org|First line\nSecond line"));
}

TEST_F(BrowserTest, LoadingWarnsOfFilesThatDidNotLoadOrOfNoLibraryAtAll) {
    struct Case {
        QList<QPair<QString, QByteArray>> files;
        const char *tree;
        const char *warning; // caption|text, or empty
    } cases[] = {
        {{{"good.xml", "<library name=\"Good\"/>"}, {"bad.xml", "<library"}, {"wrong.xml", "<Library name=\"W\"/>"}},
         "Good",
         "Error while loading libraries|Some files in the library directory could not be loaded:\n\r\n\rbad.xml\n\r"
         "wrong.xml"},
        {{}, "", "Error while loading libraries|No libraries found in the library folder."},
    };
    for (const Case &c : cases) {
        QDir(LibPath("")).removeRecursively();
        QDir().mkpath(LibPath(""));
        for (const auto &f : c.files)
            WriteLibrary(f.first, f.second);
        Prompter->Shown.clear();
        Open();
        EXPECT_EQ(S(TreeText()), c.tree);
        QStringList shown;
        for (const auto &box : Prompter->Shown)
            shown.append(box.Caption + "|" + box.Text);
        EXPECT_EQ(S(shown.join("\n---\n")), c.warning);
    }
}

TEST_F(BrowserTest, ClosingAsksAboutModifiedLibrariesEveryTime) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open().show();
    W->close(); // nothing modified: no question
    EXPECT_TRUE(W->isHidden());
    EXPECT_TRUE(Prompter->Shown.isEmpty());

    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Renamed");
    const struct {
        TAnswer answer;
        bool hidden;
        bool saved;
    } cases[] = {{TAnswer::Cancel, false, false}, {TAnswer::No, true, false}, {TAnswer::Yes, true, true}};
    for (const auto &c : cases) {
        W->show();
        Prompter->Shown.clear();
        Prompter->Answers = {c.answer};
        W->close();
        ASSERT_EQ(Prompter->Shown.size(), 1);
        EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::QuestionWithCancel);
        EXPECT_EQ(S(Prompter->Shown[0].Caption + "|" + Prompter->Shown[0].Text),
                  "Save changes|Some libraries have been modified: \n\r\n\r- Renamed\n\r\n\r Save changes?");
        EXPECT_EQ(W->isHidden(), c.hidden);
        EXPECT_EQ(ReadBytes(LibPath("a.xml")).contains("name=\"Renamed\""), c.saved);
        EXPECT_EQ(lib->Modified, !c.saved);
    }
}

TEST_F(BrowserTest, AFailedSaveIsReportedAndKeepsTheWindowOpen) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open().show();
    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Renamed");
    lib->FileName = Path("no/such/a.xml");
    Prompter->Answers = {TAnswer::Yes};
    W->close();
    ASSERT_EQ(Prompter->Shown.size(), 2);
    EXPECT_EQ(S(Prompter->Shown[1].Caption), "Error while saving libraries");
    EXPECT_TRUE(Prompter->Shown[1].Text.startsWith("These libraries could not be saved and are still modified:\n\r\n\r- "
                                                   "Renamed ("));
    EXPECT_TRUE(W->isVisible());
    EXPECT_TRUE(lib->Modified);
}

TEST_F(BrowserTest, ReloadAsksOnlyWhenSomethingIsModifiedAndForgetsTheSelection) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open();
    Select("Sample/Mechanics/Work");
    ASSERT_NE(W->SelectedLibrary(), nullptr);
    Item("reloadMni")->trigger();
    EXPECT_TRUE(Prompter->Shown.isEmpty());
    EXPECT_TRUE(W->SelectedNode().isNull());
    EXPECT_EQ(W->SelectedLibrary(), nullptr);

    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Renamed");
    for (TAnswer answer : {TAnswer::Cancel, TAnswer::Yes}) {
        Prompter->Shown.clear();
        Prompter->Answers = {answer};
        Item("reloadMni")->trigger();
        ASSERT_EQ(Prompter->Shown.size(), 1);
        EXPECT_EQ(S(Prompter->Shown[0].Caption + "|" + Prompter->Shown[0].Text),
                  "Reload libraries|Reloading will cause loss of changes in these modified libraries:\n\r\n\r- "
                  "Renamed\n\r\n\rReally reload?");
        EXPECT_EQ(W->Viewer().AnyModified(), answer != TAnswer::Yes);
    }
    TInfoKniznice info;
    W->Viewer().Library(0)->GetLibraryInfo(info);
    EXPECT_EQ(S(info.Name), "Sample");
}

TEST_F(BrowserTest, PopupItemsAndToolButtonsFollowTheSelection) {
    WriteLibrary("a.xml", kSampleLibrary);
    Open();
    QMenu *menu = W->findChild<QMenu *>("stromVyrazovPmn");
    ASSERT_NE(menu, nullptr);
    auto states = [&] {
        QString s;
        for (const char *name : {"reloadMni", "saveMni", "novaKniznicaMni", "novaKategoriaMni", "novyVyrazMni",
                                 "premenovatMni", "odstranitMni", "upravitMni", "newCategoryTbtn", "modifyTBtn"}) {
            QAction *item = Item(name);
            s += (item ? item->isEnabled() : Find<QWidget>(*W, name)->isEnabled()) ? '1' : '0';
        }
        return s.toStdString();
    };
    emit menu->aboutToShow();
    EXPECT_EQ(states(), "1010000000");
    Select("Sample/Mechanics");
    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Renamed");
    emit menu->aboutToShow();
    EXPECT_EQ(states(), "1111111010");
}

TEST_F(BrowserTest, ALanguageFileTranslatesAndMovesTheFolderWhileNothingIsModified) {
    WriteLibrary("a.xml", kSampleLibrary);
    WriteBytes(Path("other/b.xml"), "<library name=\"Elsewhere\"/>");
    WriteBytes(Path("lang/test.txt"), "[Addresses]\r\nLibraryPath=other\\\r\n"
                                      "[ExpressionBrowser]\r\nCaption=Browser\r\nNoLibraries=None here\r\n"
                                      "[Common]\r\nUse=Take\r\nReload=Again\r\n");
    Open();
    ASSERT_TRUE(LoadLanguageFile("lang\\test.txt"));
    W->ApplyLanguage();
    EXPECT_EQ(S(TreeText()), "Elsewhere");
    EXPECT_EQ(S(W->windowTitle() + "|" + Text<QPushButton>("pouzitBtn") + "|" + Item("reloadMni")->text()),
              "Browser|Take|Again");
    EXPECT_EQ(S(W->NoLibraries), "None here");
    EXPECT_EQ(S(Find<QTableView>(*W, "premenneVle")->model()->headerData(1, Qt::Horizontal).toString()),
              "Description");

    // With a modified library the tree stays.
    TKniznicaVyrazov *lib = W->Viewer().Library(0);
    lib->RenameNode(lib->GetRoot(), "Changed");
    WriteBytes(Path("lang/test.txt"), "[Addresses]\r\nLibraryPath=lib\\\r\n");
    ASSERT_TRUE(LoadLanguageFile("lang\\test.txt"));
    W->ApplyLanguage();
    EXPECT_EQ(W->Viewer().Library(0), lib);
    EXPECT_EQ(S(W->LibraryPath), "lib\\");
}

// The program's road: the main window's menu opens the browser through its
// link, Use fills the input and the variables, a language switch reaches it.
TEST_F(BrowserTest, TheMainWindowOpensTheBrowserAndTakesAnExpressionFromIt) {
    for (const char *name : {"geometry.xml", "physics.xml"})
        WriteLibrary(name, ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lib/") + name));
    TPrehliadacVyrazovLink link;
    {
        TProgramWindows windows({nullptr, &link});
        ThlavnyFrm &main = windows.Main();
        QAction *open = Find<QAction>(main, "PrehliadacVyrazovAct");
        ASSERT_TRUE(open->isEnabled());
        EXPECT_FALSE(link.PrehliadacVyrazovFrmExists());
        open->trigger();
        ASSERT_TRUE(link.PrehliadacVyrazovFrmExists());
        TPrehliadacVyrazovFrm *browser = link.GetPrehliadacVyrazovFrm();
        EXPECT_TRUE(browser->isVisible());
        browser->close();
        open->trigger();
        EXPECT_EQ(link.GetPrehliadacVyrazovFrm(), browser);

        QTreeWidget *tree = Find<QTreeWidget>(*browser, "stromVyrazovTrv");
        tree->setCurrentItem(tree->findItems("Area of a circle", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        Find<QPushButton>(*browser, "pouzitBtn")->click();
        EXPECT_EQ(S(main.InputText()), "$pi*r^2");
        auto *variables = windows.Companions().Get<TpremenneFrm>(TCompanion::Variables);
        EXPECT_EQ(S(variables->Model().Lines().join(';')), "=;r=");
        EXPECT_TRUE(variables->isVisible());

        WriteBytes(Path("lang/t.txt"), "[Addresses]\r\nLibraryPath=none\\\r\n[ExpressionBrowser]\r\nCaption=Formulas\r\n");
        ASSERT_TRUE(main.ApplyLanguageToAllForms("lang\\t.txt"));
        EXPECT_EQ(S(browser->windowTitle()), "Formulas");
        EXPECT_EQ(tree->topLevelItemCount(), 0);
    }
    EXPECT_FALSE(link.PrehliadacVyrazovFrmExists()); // gone with the main window
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
        EXPECT_GE(expressions.count(), 12) << S(lib->FileName);
        for (int e = 0; e < expressions.count(); ++e) {
            QString name, notation, desc;
            QStringList vars, used, described;
            lib->ReadExpression(expressions.at(e).toElement(), name, notation, desc, vars);
            const QString expression = notation.mid(notation.indexOf('=') + 1);
            TChyba err;
            CheckSyntax(expression, err, Engine().FunctionNames);
            EXPECT_EQ(err.Code, 0) << S(name);
            CollectVariableNames(expression, used, QString());
            for (const QString &line : vars)
                described.append(line.section('=', 0, 0));
            EXPECT_EQ(described, used) << S(name);
        }
    }
}
