// The expression dialog and the library dialog: their checks, the
// variables found in the notation, the file choice and the header.
#include "BrowserTestSupport.h"

#include <QLocale>

using DialogTest = LibraryTest;

TEST_F(DialogTest, ExpressionDialogFindsVariablesAndRefusesAnEmptyNameOrNotation) {
    TUpravyVyrazuFrm d;
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_FALSE(Find<QPushButton>(d, "okBtn")->isEnabled());
    QTest::keyClicks(Find<QComboBox>(d, "nazovCmb"), "Work");
    EXPECT_TRUE(Find<QPushButton>(d, "okBtn")->isEnabled());

    // Variables found in the notation keep the notes given to them.
    QLineEdit *notation = Find<QLineEdit>(d, "vyrazEdt");
    notation->setText("sin(a)+b*a");
    d.AddVariablesFromExpression();
    EXPECT_EQ(d.VariableLines(), QStringList({"a=", "b="}));
    QAbstractItemModel *variables = Find<QTableView>(d, "premenneVle")->model();
    variables->setData(variables->index(0, 1), "note of a");
    notation->setText("y=a*c");
    d.AddVariablesFromExpression();
    EXPECT_EQ(d.VariableLines(), QStringList({"a=note of a", "b=", "c="}));

    const struct {
        const char *name, *notation, *box, *focus;
    } cases[] = {
        {"", "x", "Add / modify expression|You must enter the expression name.", "nazovCmb"},
        {"Work", "", "Add / modify expression|You must enter the expression.", "vyrazEdt"},
        {" ", " ", "", nullptr}, // blanks count as filled
    };
    for (const auto &c : cases) {
        d.SetFields(c.name, c.notation, QString(), {});
        d.setResult(QDialog::Rejected);
        d.okBtnClick();
        EXPECT_EQ(Boxes(), c.box) << c.name << "/" << c.notation;
        EXPECT_EQ(d.result(), *c.box ? QDialog::Rejected : QDialog::Accepted);
        QWidget *focus = c.focus ? Find<QWidget>(d, c.focus) : nullptr, *now = QApplication::focusWidget();
        EXPECT_TRUE(!focus || focus == now || focus->isAncestorOf(now)) << c.focus;
    }
    EXPECT_EQ(d.ConfirmedNames(), QStringList({" "}));
}

TEST_F(DialogTest, LibraryDialogProposesANewLibraryAndChecksNameAndFile) {
    TUpravyKnizniceFrm d;
    d.SetInitialFolder(LibPath(""));
    d.ResetForNewLibrary();
    TInfoKniznice info = d.GetLibraryInfo();
    EXPECT_EQ(S(info.Name + "|" + info.FileName + "|" + info.Version), "New library||0.0.0");
    d.okBtnClick();
    EXPECT_EQ(Boxes(), "Add / modify library|You must enter a valid file name.");
    EXPECT_NE(d.result(), QDialog::Accepted);

    // The file comes from the file dialog; a cancelled one keeps it.
    QStringList answers{LibPath("mine.xml"), QString()}, proposed;
    AppContext().SaveFileName = [&](QWidget *, const TFileDialogRequest &r) {
        proposed.append(r.FileName + " " + r.Filter);
        return answers.takeFirst();
    };
    Find<QPushButton>(d, "vyberSuborBtn")->click();
    Find<QPushButton>(d, "vyberSuborBtn")->click();
    EXPECT_EQ(S(d.GetLibraryInfo().FileName), S(LibPath("mine.xml")));
    EXPECT_EQ(S(proposed.join(';')), S(LibPath("new_library.xml") + " Tarbelon expression library (xml) (*.xml);" +
                                       LibPath("mine.xml") + " Tarbelon expression library (xml) (*.xml)"));

    Find<QLineEdit>(d, "nazovEdt")->clear();
    d.okBtnClick();
    EXPECT_EQ(Boxes(), "Add / modify library|You must enter a valid library name.");
    Find<QLineEdit>(d, "nazovEdt")->setText("Mine");
    d.okBtnClick();
    EXPECT_EQ(Boxes(), "");
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(DialogTest, LibraryDialogShowsAHeaderAndGivesItBackDatedToday) {
    AppContext().UtcNow = [] { return QDateTime(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC); };
    TUpravyKnizniceFrm d;
    TInfoKniznice info = SampleInfo(LibPath("a.xml"));
    info.Description = "one||three";
    d.SetLibraryInfo(info);
    EXPECT_FALSE(Find<QPushButton>(d, "okBtn")->isEnabled());
    EXPECT_EQ(S(Find<QPlainTextEdit>(d, "popisMmo")->toPlainText()), "one\n\nthree");
    Find<QLineEdit>(d, "autorEdt")->setText("Eve");
    EXPECT_TRUE(Find<QPushButton>(d, "okBtn")->isEnabled());
    const TInfoKniznice back = d.GetLibraryInfo();
    EXPECT_EQ(S(back.FileName), S(LibPath("a.xml")));
    EXPECT_EQ(S(Header(back)),
              S("Physics|1.2.0|" + QLocale::system().toString(QDate(2026, 12, 5), QLocale::ShortFormat) +
                "|Eve|example.org|ann@example.org|one||three"));
}

TEST_F(DialogTest, ALanguageFileTranslatesBothDialogs) {
    WriteBytes(Path("lang/t.txt"), "[ExpressionBrowser]\r\nTarbelonLibrary=Library of formulas\r\n"
                                   "NoExpressionErr=Type it.\r\nNewLibrary=Formulas\r\nAddModifyLibrary=Library\r\n"
                                   "[Common]\r\nCancel=Back\r\n");
    ASSERT_TRUE(LoadLanguageFile("lang\\t.txt"));
    TUpravyVyrazuFrm e;
    TUpravyKnizniceFrm l;
    l.ResetForNewLibrary();
    EXPECT_EQ(S(l.GetLibraryInfo().Name + "|" + l.windowTitle() + "|" + l.FilterText),
              "Formulas|Library|Library of formulas");
    EXPECT_EQ(S(e.NoExpressionErr), "Type it.");
    EXPECT_EQ(S(Find<QPushButton>(e, "zrusitBtn")->text() + "|" + Find<QPushButton>(l, "zrusitBtn")->text()),
              "Back|Back");
}

TEST_F(DialogTest, LineBreaksEndingADescriptionAddNoEmptyLine) {
    const struct {
        const char *typed, *stored;
    } cases[] = {{"one\ntwo\n", "one|two"}, {"one\n\nthree\n\n", "one||three"}, {"\n", ""}, {"one", "one"}};
    for (const auto &c : cases) {
        TUpravyKnizniceFrm d;
        d.SetLibraryInfo(SampleInfo(LibPath("a.xml")));
        Find<QPlainTextEdit>(d, "popisMmo")->setPlainText(c.typed);
        TKniznicaVyrazov lib;
        lib.CreateNew(d.GetLibraryInfo());
        ASSERT_TRUE(lib.Save().Ok);
        TKniznicaVyrazov back;
        ASSERT_TRUE(back.LoadFromFile(LibPath("a.xml")));
        TInfoKniznice info;
        back.GetLibraryInfo(info);
        EXPECT_EQ(S(info.Description), c.stored) << c.typed;

        TUpravyVyrazuFrm e;
        e.SetFields("n", "x", c.typed, {});
        EXPECT_EQ(S(JoinStrings(e.DescriptionLines(), '|')), c.stored) << c.typed;
    }
}
