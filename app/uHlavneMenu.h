// The main window's menu bar: the four menus with their actions, the check
// marks of the settings, the translation of the captions, and what each
// command does. A command whose window does not exist is disabled.
#pragma once

#include <QObject>

class KProgramSettings;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TBrowserLink;
class TCompanionWindows;
class ThlavnyFrm;
class TToolWindowsLink;

class THlavneMenu : public QObject {
    Q_OBJECT
public:
    // Fills bar with the menus and actions (children of main, named as in
    // the layout) and wires them.
    THlavneMenu(ThlavnyFrm &main, QMenuBar *bar, TCompanionWindows &companions);

    // The check marks as the settings say (at start).
    void ShowSettings(const KProgramSettings &settings);
    // The tool windows and the browser (either may be null).
    void SetToolWindows(TToolWindowsLink *tools, TBrowserLink *browser);
    // Enables each command whose window exists.
    void UpdateEnabled();
    // The captions of the menus and the actions from the "MainMenu"
    // section, each keeping its text when the key is missing.
    void ApplyLanguage();

private:
    QAction *AddAction(const char *name, const QString &caption, QMenu *menu, bool checkable = false);
    QAction *Act(const char *name) const;
    // Makes a window visible and brings it to the front; withStyle gives it
    // the main window's form style first.
    void ShowWindow(QWidget *window, bool withStyle);

    // The desktop opens a web address.
    void OpenAddress(const QString &address);
    void GrafFunkcieActExecute();
    void VzdyNavrchuActExecute(bool checked);

    ThlavnyFrm &m_main;
    TCompanionWindows &m_companions;
    TToolWindowsLink *m_tools = nullptr;
    TBrowserLink *m_browser = nullptr;

    QMenu *m_toolsMenu;
    QMenu *m_view;
    QMenu *m_preferences;
    QMenu *m_help;
};
