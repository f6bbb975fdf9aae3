// The main window's menus: which command opens what, the Help commands,
// the update check in the window, and the language switch over every window.
#include "HlavnyTestSupport.h"
#include "LocalHttpServer.h"
#include "fAbout.h"
#include "fJazyk.h"
#include "uHlavneTexty.h"

#include <QAction>
#include <QDialog>
#include <QWindow>
#include <QMenu>

namespace {

class MenuTest : public HlavnyTest {
protected:
    QAction *Act(const char *name) { return Find<QAction>(*W, name); }
    QWidget *Companion(TCompanion kind) { return Windows->Companions().Window(kind); }
    void CopyLanguage(const char *name) {
        WriteBytes(Path(QStringLiteral("lang/") + name),
                   ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/") + name));
    }
    // Runs the update check from the menu or at start and waits for its end.
    void RunCheck(bool fromMenu) {
        if (fromMenu)
            Act("ZistitNovsiuVerziuAct")->trigger();
        else
            W->TimerZaciatokTimer();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !W->UpdateCheckRunning(); }, 10000));
    }
};

} // namespace

TEST_F(MenuTest, EachViewAndHelpCommandShowsItsWindow) {
    const std::pair<const char *, TCompanion> cases[] = {
        {"HistoriuVypoctovAct", TCompanion::History}, {"VlastnePremenneAct", TCompanion::Variables},
        {"KonstantyAct", TCompanion::Constants},      {"OProgrameAct", TCompanion::About},
        {"jazykAct", TCompanion::Language},           {"NahladVyrazuAct", TCompanion::Preview},
    };
    for (const auto &[action, window] : cases) {
        ASSERT_TRUE(Act(action)->isEnabled()) << action;
        Act(action)->trigger();
        EXPECT_TRUE(Companion(window)->isVisible()) << action;
    }
    // The tools without their link.
    for (const char *name : {"GrafFunkcieAct", "MnohoclenyAct", "PrehliadacVyrazovAct"})
        EXPECT_FALSE(Act(name)->isEnabled()) << name;
}

// Every window follows the setting in place, the shown ones without being
// made anew, and a window made later opens in the main window's layer.
TEST_F(MenuTest, AlwaysOnTopReachesEveryWindowAndThoseShownLater) {
    W->show();
    Act("HistoriuVypoctovAct")->trigger();
    QWidget *history = Companion(TCompanion::History);
    const QWindow *native = history->windowHandle();
    for (bool onTop : {true, false}) {
        Act("VzdyNavrchuAct")->trigger();
        ASSERT_EQ(KProgramSettings::Instance().OnTop, onTop);
        QDialog later(W);
        later.show();
        QList<QWidget *> windows = {W, &later};
        for (TCompanion kind : {TCompanion::Preview, TCompanion::Language, TCompanion::Variables, TCompanion::History,
                                TCompanion::Constants, TCompanion::ConstantEditor, TCompanion::About})
            windows.append(Companion(kind));
        for (QWidget *w : windows) {
            EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop) << S(w->objectName());
            if (w->windowHandle()) {
                EXPECT_EQ(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), onTop) << S(w->objectName());
            }
        }
        EXPECT_TRUE(history->isVisible());
        EXPECT_EQ(history->windowHandle(), native);
    }
}

TEST_F(MenuTest, TheManualOpensFromTheProgramFolderOrItsAbsenceIsTold) {
    Act("ZobrazitNavodAct")->trigger();
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(Prompter->Shown[0].Text, W->Texts().msgCouldntFindManual);
    EXPECT_TRUE(OpenedUrls.isEmpty());

    WriteBytes(Path("manual/en/manual.html"), ReadBytes(TARBELON_SOURCE_DIR "/resources/manual/en/manual.html"));
    // F1 while the main window is active.
    W->show();
    QApplication::setActiveWindow(W);
    QTest::keyClick(W, Qt::Key_F1);
    ASSERT_EQ(OpenedUrls.size(), 1);
    EXPECT_EQ(QFileInfo(OpenedUrls[0].toLocalFile()).canonicalFilePath(),
              QFileInfo(Path("manual/en/manual.html")).canonicalFilePath());
    EXPECT_EQ(Prompter->Shown.size(), 1);
}

// Without a browser or file opener each Help command says what it could
// not open, in the words of the language file when one is loaded.
TEST_F(MenuTest, AnAddressOrFileThatCannotBeOpenedIsNamed) {
    WriteBytes(Path("manual/en/manual.html"), "<html></html>");
    const QString manual = QDir::toNativeSeparators(QFileInfo(Path("manual/en/manual.html")).canonicalFilePath());
    CopyLanguage("english.txt");
    AppContext().OpenUrl = [this](const QUrl &url) {
        OpenedUrls.append(url);
        return false;
    };
    struct Case {
        const char *language, *action;
        QString box;
    };
    const Case cases[] = {
        {"", "ZobrazitNavodAct", "Chyba|Nepodarilo sa otvoriť adresu alebo súbor \"" + manual + "\"."},
        {"lang\\english.txt", "onlineDokumentaciaAct",
         "Error|The address or file \"https://docs.tarbelon.example/\" could not be opened."},
        {"lang\\english.txt", "DomovskaStrankaProgramuAct",
         "Error|The address or file \"https://tarbelon.example/\" could not be opened."},
    };
    for (const Case &c : cases) {
        if (*c.language) {
            ASSERT_TRUE(W->ApplyLanguageToAllForms(QLatin1String(c.language)));
        }
        Prompter->Shown.clear();
        OpenedUrls.clear();
        Act(c.action)->trigger();
        EXPECT_EQ(OpenedUrls.size(), 1) << c.action;
        ASSERT_EQ(Prompter->Shown.size(), 1) << c.action;
        EXPECT_EQ(Prompter->Shown[0].Kind, TMessageKind::Warning);
        EXPECT_EQ(S(Prompter->Shown[0].Caption + "|" + Prompter->Shown[0].Text), S(c.box));
    }
}

TEST_F(MenuTest, TheUpdateCheckTellsItsAnswer) {
    // shownKind -1: nothing shown; a question is answered Yes.
    struct Case {
        const char *what;
        bool fromMenu;
        QByteArray answer;
        int shownKind;
        bool downloadOpened;
    };
    const Case cases[] = {
        {"newer, menu", true, TLocalHttpServer::Http(200, "13"), int(TMessageKind::InformationQuestion), true},
        {"latest, menu", true, TLocalHttpServer::Http(200, "12"), int(TMessageKind::Information), false},
        {"failed, menu", true, TLocalHttpServer::Http(404, "13"), int(TMessageKind::Warning), false},
        {"latest, at start", false, TLocalHttpServer::Http(200, "12"), -1, false},
    };
    for (const Case &c : cases) {
        TLocalHttpServer server;
        server.Answer = c.answer;
        AppContext().UpdateInfoUrl = server.Url();
        Prompter->Shown.clear();
        Prompter->Answers = {TAnswer::Yes};
        OpenedUrls.clear();
        RunCheck(c.fromMenu);
        ASSERT_EQ(server.Targets.size(), 1) << c.what;
        EXPECT_TRUE(server.Targets[0].contains(c.fromMenu ? "auto=0" : "auto=1")) << c.what;
        EXPECT_TRUE(server.Targets[0].contains("uid=261205202543")) << c.what;
        EXPECT_EQ(Prompter->Shown.size(), c.shownKind < 0 ? 0 : 1) << c.what;
        if (!Prompter->Shown.isEmpty()) {
            EXPECT_EQ(int(Prompter->Shown[0].Kind), c.shownKind) << c.what;
        }
        EXPECT_EQ(OpenedUrls, c.downloadOpened ? QList<QUrl>{QUrl(BuiltInDownloadPage)} : QList<QUrl>{}) << c.what;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.what;
    }

    // Switched off, the start asks nothing.
    TLocalHttpServer server;
    AppContext().UpdateInfoUrl = server.Url();
    KProgramSettings::Instance().CheckUpdatesAtStart = false;
    W->TimerZaciatokTimer();
    EXPECT_FALSE(W->UpdateCheckRunning());
}

TEST_F(MenuTest, ALanguageSwitchReachesEveryWindowAsPlainTextAndAMissingKeyKeepsTheLastText) {
    Windows.reset();
    TLoggingTools tools;
    TLoggingBrowser browser(tools.Log);
    Windows = std::make_unique<TProgramWindows>(TProgramLinks{&tools, &browser});
    W = &Windows->Main();
    tools.Main = W;
    Act("MnohoclenyAct")->trigger();
    Act("PrehliadacVyrazovAct")->trigger();

    CopyLanguage("english.txt");
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\english.txt")));
    EXPECT_EQ(tools.Log, QStringList({"polynomials", "browser", "tools en", "browser language"}));
    EXPECT_EQ(S(Companion(TCompanion::History)->windowTitle()), "Calculation history");
    EXPECT_EQ(S(Find<QLabel>(*Companion(TCompanion::About), "kontaktTitulokLbl")->text()), "contact:");
    EXPECT_EQ(S(Find<QPushButton>(*Companion(TCompanion::About), "okBtn")->text()), "OK");

    // A file with a few keys: those change, shown as they stand, never as
    // markup; the others keep the English text, and the messages go back to
    // the built-in ones. A foreign web address is refused.
    Act("DomovskaStrankaProgramuAct")->trigger();
    WriteBytes(Path("lang/few.txt"), "[MainMenu]\r\nTools=&Werkzeuge\r\n[MainWindow]\r\nDecimals=<b>D</b>\r\n"
                                     "[LanguageForm]\r\nProgram=<i>P</i>\r\n[AboutForm]\r\nContact=<a href=x>c</a>\r\n"
                                     "[Addresses]\r\nHomePage=https://evil.example/?tarbelon.example\r\n"
                                     "DocumentationPage=https://docs.tarbelon.example/sk/\r\n");
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\few.txt")));
    Windows->Companions().Get<TjazykFrm>(TCompanion::Language)->ApplyLanguage();
    EXPECT_EQ(S(Find<QMenu>(*W, "ToolsMenu")->title()), "&Werkzeuge");
    EXPECT_EQ(S(Find<QMenu>(*W, "ViewMenu")->title()), "&View");
    EXPECT_EQ(S(Companion(TCompanion::History)->windowTitle()), "Calculation history");
    EXPECT_EQ(S(W->Texts().msgError), "Chyba");
    EXPECT_EQ(S(Find<QLabel>(*W, "Label4")->text()), "<b>D</b>");
    for (QWidget *window : {static_cast<QWidget *>(W), Companion(TCompanion::Language), Companion(TCompanion::History),
                            Companion(TCompanion::Variables), Companion(TCompanion::About)})
        for (QLabel *label : window->findChildren<QLabel *>())
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << S(label->objectName());
    Act("DomovskaStrankaProgramuAct")->trigger();
    Act("onlineDokumentaciaAct")->trigger();
    EXPECT_EQ(OpenedUrls,
              QList<QUrl>({QUrl(BuiltInHomePage), QUrl(BuiltInHomePage), QUrl("https://docs.tarbelon.example/sk/")}));
    EXPECT_EQ(S(W->Texts().LanguageCode), "e2");
}

TEST_F(MenuTest, TheSlovakFileLeadsBackToTheTextsTheProgramStartsWith) {
    // Every text of the main window and its companions by name.
    auto texts = [this] {
        QMap<QString, QString> all;
        for (QWidget *window :
             {static_cast<QWidget *>(W), Companion(TCompanion::History), Companion(TCompanion::Variables),
              Companion(TCompanion::Constants), Companion(TCompanion::ConstantEditor), Companion(TCompanion::About)}) {
            all.insert(window->objectName(), window->windowTitle());
            for (QObject *o : window->findChildren<QObject *>())
                if (!o->objectName().isEmpty() && (qobject_cast<QAbstractButton *>(o) || qobject_cast<QLabel *>(o) ||
                                                   qobject_cast<QAction *>(o) || qobject_cast<QMenu *>(o)))
                    all.insert(window->objectName() + "." + o->objectName(),
                               o->property(qobject_cast<QMenu *>(o) ? "title" : "text").toString());
        }
        return all;
    };
    const QMap<QString, QString> start = texts();
    CopyLanguage("english.txt");
    CopyLanguage("slovak.txt");
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\english.txt")));
    ASSERT_NE(texts(), start);
    ASSERT_TRUE(W->ApplyLanguageToAllForms(QStringLiteral("lang\\slovak.txt")));
    const QMap<QString, QString> back = texts();
    // Texts whose built-in form is English or begins with a blank, and the
    // history's "Zmazať", whose key the "Odstrániť" of the input and the
    // constants share.
    const QStringList translated = {"hlavnyFrm.PrehliadacVyrazovAct", "hlavnyFrm.onlineDokumentaciaAct",
                                    "hlavnyFrm.StatusPanelHelp", "oProgrameFrm.verziaTitulokLbl",
                                    "historiaFrm.BtnZmazat"};
    for (auto it = start.begin(); it != start.end(); ++it) {
        if (!translated.contains(it.key())) {
            EXPECT_EQ(S(back.value(it.key())), S(it.value())) << S(it.key());
        }
    }
    EXPECT_EQ(S(W->Texts().LanguageCode), "sk");
}
