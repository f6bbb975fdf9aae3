#include "uHlavneMenu.h"

#include "fHlavny.h"
#include "uDisk.h"
#include "uOkna.h"
#include "uProgramSettings.h"
#include "uSpolocneOkna.h"
#include "uToolWindowsLink.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

namespace {

// The language keys of the actions, in the order they are translated.
const std::pair<const char *, const char *> ActionKeys[] = {
    {"FunctionGraph", "GrafFunkcieAct"},
    {"Polynomials", "MnohoclenyAct"},
    {"Combinatorics", "KombinatorikaAct"},
    {"RuleOfthree", "TrojclenkaAct"},
    {"Statistics", "statistikaAct"},
    {"ExpressionPreview", "NahladVyrazuAct"},
    {"History", "HistoriuVypoctovAct"},
    {"Constants", "KonstantyAct"},
    {"Variables", "VlastnePremenneAct"},
    {"ExpressionBrowser", "PrehliadacVyrazovAct"},
    {"WindowAppearance", "ZobrazenieOknaAct"},
    {"ScreenCenter", "VStredeObrazovkyAct"},
    {"LastPosition", "VPoslednejPoloheAct"},
    {"AlwaysOnTop", "VzdyNavrchuAct"},
    {"SaveMemoryValue", "UkladatHodnotuVPamatiAct"},
    {"SaveHistory", "PamatatSiHistoriuVypoctovAct"},
    {"CheckForUpdatesAtStart", "KontrolovatAktualizaciePriStarteProgramuAct"},
    {"language", "jazykAct"},
    {"ShowManual", "ZobrazitNavodAct"},
    {"OnlineDocumentation", "onlineDokumentaciaAct"},
    {"HomePage", "DomovskaStrankaProgramuAct"},
    {"CheckForUpdates", "ZistitNovsiuVerziuAct"},
    {"About", "OProgrameAct"},
};

// The tool windows' commands and what they open.
struct TToolCommand {
    const char *Name;
    const char *Caption;
    void (TToolWindowsLink::*Show)();
};
const TToolCommand ToolCommands[] = {
    {"MnohoclenyAct", "Mnohočleny...", &TToolWindowsLink::ShowPolynomials},
    {"KombinatorikaAct", "Kombinatorika...", &TToolWindowsLink::ShowCombinatorics},
    {"statistikaAct", "Štatistika...", &TToolWindowsLink::ShowStatistics},
    {"TrojclenkaAct", "Trojčlenka...", &TToolWindowsLink::ShowRuleOfThree},
};

QAbstractButton *GraphKey(ThlavnyFrm &main) { return main.findChild<QAbstractButton *>(QStringLiteral("grafBtn")); }

} // namespace

THlavneMenu::THlavneMenu(ThlavnyFrm &main, QMenuBar *bar, TCompanionWindows &companions)
    : QObject(&main), m_main(main), m_companions(companions) {
    m_toolsMenu = bar->addMenu(QStringLiteral("&Nástroje"));
    m_toolsMenu->setObjectName(QStringLiteral("ToolsMenu"));
    m_view = bar->addMenu(QStringLiteral("&Zobraziť"));
    m_view->setObjectName(QStringLiteral("ViewMenu"));
    m_preferences = bar->addMenu(QStringLiteral("N&astavenia"));
    m_preferences->setObjectName(QStringLiteral("PreferencesMenu"));
    m_help = bar->addMenu(QStringLiteral("&Pomocník"));
    m_help->setObjectName(QStringLiteral("HelpMenu"));
    for (QMenu *menu : {m_toolsMenu, m_view, m_preferences, m_help})
        connect(menu, &QMenu::aboutToShow, this, &THlavneMenu::UpdateEnabled);

    // Tools.
    connect(AddAction("GrafFunkcieAct", QStringLiteral("Graf funkcie..."), m_toolsMenu), &QAction::triggered, this,
            &THlavneMenu::GrafFunkcieActExecute);
    for (const TToolCommand &t : ToolCommands)
        connect(AddAction(t.Name, QString::fromUtf8(t.Caption), m_toolsMenu), &QAction::triggered, this,
                [this, show = t.Show] {
                    if (m_tools)
                        (m_tools->*show)();
                });

    // View.
    connect(AddAction("NahladVyrazuAct", QStringLiteral("Náhľad výrazu..."), m_view), &QAction::triggered, this,
            [this] { m_main.ShowExpressionPreview(m_main.InputText()); });
    connect(AddAction("HistoriuVypoctovAct", QStringLiteral("Históriu výpočtov..."), m_view), &QAction::triggered, this,
            [this] { ShowWindow(m_companions.Window(TCompanion::History), true); });
    connect(AddAction("KonstantyAct", QStringLiteral("Konštanty..."), m_view), &QAction::triggered, this,
            [this] { ShowWindow(m_companions.Window(TCompanion::Constants), true); });
    connect(AddAction("VlastnePremenneAct", QStringLiteral("Vlastné premenné..."), m_view), &QAction::triggered, this,
            [this] { ShowWindow(m_companions.Window(TCompanion::Variables), true); });
    connect(AddAction("PrehliadacVyrazovAct", QStringLiteral("Expression browser..."), m_view), &QAction::triggered,
            this, [this] {
                if (m_browser)
                    m_browser->ShowExpressionBrowser();
            });

    // Preferences.
    KProgramSettings &s = KProgramSettings::Instance();
    QMenu *appearance = m_preferences->addMenu(QStringLiteral("&Zobrazenie okna"));
    appearance->setObjectName(QStringLiteral("ZobrazenieOknaMenu"));
    appearance->menuAction()->setObjectName(QStringLiteral("ZobrazenieOknaAct"));
    QAction *center = AddAction("VStredeObrazovkyAct", QStringLiteral("V strede obrazovky"), appearance, true);
    QAction *last = AddAction("VPoslednejPoloheAct", QStringLiteral("V poslednej polohe"), appearance, true);
    auto *placement = new QActionGroup(this);
    placement->addAction(center);
    placement->addAction(last);
    connect(center, &QAction::triggered, this, [&s] { s.Center = true; });
    connect(last, &QAction::triggered, this, [&s] { s.Center = false; });
    appearance->addSeparator();
    connect(AddAction("VzdyNavrchuAct", QStringLiteral("Vždy navrchu"), appearance, true), &QAction::triggered, this,
            &THlavneMenu::VzdyNavrchuActExecute);
    m_preferences->addSeparator();
    connect(AddAction("UkladatHodnotuVPamatiAct", QStringLiteral("Ukladať hodnotu v pamäti"), m_preferences, true),
            &QAction::triggered, this, [&s](bool checked) { s.SaveMemoryData = checked; });
    connect(
        AddAction("PamatatSiHistoriuVypoctovAct", QStringLiteral("Pamätať si históriu výpočtov"), m_preferences, true),
        &QAction::triggered, this, [&s](bool checked) { s.SaveHistory = checked; });
    m_preferences->addSeparator();
    connect(AddAction("KontrolovatAktualizaciePriStarteProgramuAct",
                      QStringLiteral("Kontrolovať aktualizácie pri štarte programu"), m_preferences, true),
            &QAction::triggered, this, [&s](bool checked) { s.CheckUpdatesAtStart = checked; });
    m_preferences->addSeparator();
    connect(AddAction("jazykAct", QStringLiteral("Jazyk..."), m_preferences), &QAction::triggered, this,
            [this] { ShowWindow(m_companions.Window(TCompanion::Language), false); });

    // Help.
    QAction *manual = AddAction("ZobrazitNavodAct", QStringLiteral("Zobraziť návod..."), m_help);
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    manual->setShortcutContext(Qt::WindowShortcut);
    m_main.addAction(manual); // F1 works also while the menu is closed
    connect(manual, &QAction::triggered, &m_main, &ThlavnyFrm::ZobrazitNavodActExecute);
    connect(AddAction("onlineDokumentaciaAct", QStringLiteral("Online documentation..."), m_help), &QAction::triggered,
            this, [this] { OpenAddress(m_main.Texts().DocumentationPage); });
    m_help->addSeparator();
    connect(AddAction("DomovskaStrankaProgramuAct", QStringLiteral("Domovská stránka programu..."), m_help),
            &QAction::triggered, this, [this] { OpenAddress(m_main.Texts().HomePage); });
    connect(AddAction("ZistitNovsiuVerziuAct", QStringLiteral("Zistiť novšiu verziu..."), m_help), &QAction::triggered,
            &m_main, &ThlavnyFrm::ZistitNovsiuVerziuActExecute);
    m_help->addSeparator();
    connect(AddAction("OProgrameAct", QStringLiteral("O programe..."), m_help), &QAction::triggered, this,
            [this] { ShowWindow(m_companions.Window(TCompanion::About), true); });

    UpdateEnabled();
}

QAction *THlavneMenu::AddAction(const char *name, const QString &caption, QMenu *menu, bool checkable) {
    auto *a = new QAction(caption, &m_main);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkable);
    menu->addAction(a);
    return a;
}

QAction *THlavneMenu::Act(const char *name) const { return m_main.findChild<QAction *>(QLatin1String(name)); }

void THlavneMenu::ShowSettings(const KProgramSettings &s) {
    Act(s.Center ? "VStredeObrazovkyAct" : "VPoslednejPoloheAct")->setChecked(true);
    Act("VzdyNavrchuAct")->setChecked(s.OnTop);
    Act("UkladatHodnotuVPamatiAct")->setChecked(s.SaveMemoryData);
    Act("PamatatSiHistoriuVypoctovAct")->setChecked(s.SaveHistory);
    Act("KontrolovatAktualizaciePriStarteProgramuAct")->setChecked(s.CheckUpdatesAtStart);
}

void THlavneMenu::SetToolWindows(TToolWindowsLink *tools, TBrowserLink *browser) {
    m_tools = tools;
    m_browser = browser;
    UpdateEnabled();
}

void THlavneMenu::UpdateEnabled() {
    // The graph command is the graph key: usable where the key is.
    const QAbstractButton *graphKey = GraphKey(m_main);
    Act("GrafFunkcieAct")->setEnabled(m_tools && graphKey && graphKey->isEnabled());
    for (const TToolCommand &t : ToolCommands)
        Act(t.Name)->setEnabled(m_tools != nullptr);
    Act("NahladVyrazuAct")->setEnabled(m_companions.Has(TCompanion::Preview));
    Act("HistoriuVypoctovAct")->setEnabled(m_companions.Has(TCompanion::History));
    Act("KonstantyAct")->setEnabled(m_companions.Has(TCompanion::Constants));
    Act("VlastnePremenneAct")->setEnabled(m_companions.Has(TCompanion::Variables));
    Act("PrehliadacVyrazovAct")->setEnabled(m_browser != nullptr);
    Act("jazykAct")->setEnabled(m_companions.Has(TCompanion::Language));
    Act("OProgrameAct")->setEnabled(m_companions.Has(TCompanion::About));
}

void THlavneMenu::ApplyLanguage() {
    const QString section = QStringLiteral("MainMenu");
    const std::pair<QMenu *, const char *> menus[] = {
        {m_toolsMenu, "Tools"}, {m_view, "View"}, {m_preferences, "Preferences"}, {m_help, "Help"}};
    for (const auto &[menu, key] : menus)
        menu->setTitle(LanguageText(section, QLatin1String(key), menu->title()));
    for (const auto &[key, name] : ActionKeys)
        if (QAction *a = Act(name))
            a->setText(LanguageText(section, QLatin1String(key), a->text()));
}

void THlavneMenu::ShowWindow(QWidget *window, bool withStyle) {
    if (!window)
        return;
    if (withStyle)
        m_main.GiveFormStyle(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void THlavneMenu::OpenAddress(const QString &address) { ::OpenAddress(QUrl(address), &m_main); }

void THlavneMenu::GrafFunkcieActExecute() {
    if (QAbstractButton *key = GraphKey(m_main))
        key->click();
}

void THlavneMenu::VzdyNavrchuActExecute(bool checked) {
    KProgramSettings::Instance().OnTop = checked;
    // Every window of the program follows, the hidden ones too.
    SetStaysOnTopForAll(checked);
}
