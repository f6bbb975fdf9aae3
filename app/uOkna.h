// The program's windows: the main window and the companion windows it works
// with, created at start in a fixed order and destroyed at the end.
//
// The main window does not reach its companions through globals: it is
// handed the one TCompanionWindows object, which owns every companion and
// answers for each kind the window that exists (or null). A new companion
// window takes one line in TProgramWindows' constructor:
//     m_companions.Add(TCompanion::Constants, new TkonstantyFrm(main));
// and from then on it takes part in the language switch, the main window's
// drag and its form style, each in the program's fixed order.
#pragma once

#include "uProgram.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class ThlavnyFrm;
class TMagneticForm;

enum class TCompanion { Preview, Language, Variables, History, Constants, ConstantEditor, About };

class TCompanionWindows {
public:
    TCompanionWindows() = default;
    // Destroys the windows, the last added first.
    ~TCompanionWindows();
    TCompanionWindows(const TCompanionWindows &) = delete;
    TCompanionWindows &operator=(const TCompanionWindows &) = delete;

    // Takes window (a top-level window with an ApplyLanguage()) as the
    // companion of the given kind and owns it from now on.
    template <class TWindow>
    TWindow *Add(TCompanion kind, TWindow *window) {
        Put(kind, window, [window] { window->ApplyLanguage(); });
        return window;
    }

    // The companion of the given kind, or null while it does not exist.
    QWidget *Window(TCompanion kind) const;
    template <class TWindow>
    TWindow *Get(TCompanion kind) const {
        return qobject_cast<TWindow *>(Window(kind));
    }
    bool Has(TCompanion kind) const { return Window(kind) != nullptr; }

    // Re-applies the loaded language to the companions, in the program's
    // order: history, constants, preview, variables, constant editor, about.
    void ApplyLanguage() const;
    // The snapping companions in the order the main window's drag moves
    // them: variables, preview, constants, history.
    QList<TMagneticForm *> Docked() const;

    // Destroys every companion, the last added first.
    void DestroyAll();

private:
    struct TSlot {
        TCompanion Kind;
        QPointer<QWidget> Window;
        std::function<void()> ApplyLanguage;
    };
    void Put(TCompanion kind, QWidget *window, std::function<void()> applyLanguage);
    const TSlot *Find(TCompanion kind) const;

    QList<TSlot> m_slots; // in the order of creation
};

// "Always on top" reaches every window of the program, not the main window
// alone: a window manager keeps an on-top window in a layer above the
// windows that belong to it, so a tool window or a dialog that opened over
// the main window would open behind it.

// True for the program's own top-level windows, dialogs and tool windows
// (menus, pop-ups and tips are not counted): the windows that take "always on
// top" and that go when the program is minimised.
bool IsProgramWindow(const QWidget *window);
// Puts the window into the on-top layer or takes it out, in place: a window
// that is shown stays shown (a dialog in its modal loop goes on).
void SetStaysOnTop(QWidget *window, bool onTop);
// Every window of the program that takes the setting (shown or not) gets it.
void SetStaysOnTopForAll(bool onTop);

// Gives every window that is about to be shown the setting that onTop()
// answers at that moment, so that windows made later (tools, dialogs, message
// boxes) open in the right layer. Watches the whole application while it
// lives.
class TOnTopFollower : public QObject {
public:
    TOnTopFollower(std::function<bool()> onTop, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<bool()> m_onTop;
};

// Every window the program shows belongs to the main window: the window
// manager keeps it above the main window, minimises and restores it with the
// main window and gives it no taskbar entry of its own. A window says whom it
// belongs to through its transient parent, which X11 hands on to the window
// manager (WM_TRANSIENT_FOR) only for dialogs and tool windows; so every
// window of the program is a dialog or a tool window, and this follower
// gives each one that shows without an owner of its own (a companion, the
// about box, a message box without a parent) the main window as its owner,
// before the window manager first sees it. A window
// that has an owner (a tool window, a dialog of the browser) keeps it: its
// owner belongs to the main window in turn.
class TMainWindowOwner : public QObject {
public:
    explicit TMainWindowOwner(QWidget *main);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_main;
};

class TProgramWindows {
public:
    // The main window first (its creation reads the settings and the
    // language), then the companions in their order: expression preview,
    // language chooser, variables, history, constants, constant editor, about
    // box; then the tool windows and the browser are handed to the main window.
    explicit TProgramWindows(const TProgramLinks &links = {});
    // The companions in the reverse order, then the main window.
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows &) = delete;
    TProgramWindows &operator=(const TProgramWindows &) = delete;

    ThlavnyFrm &Main() const { return *m_main; }
    TCompanionWindows &Companions() { return m_companions; }

private:
    TCompanionWindows m_companions;
    std::unique_ptr<ThlavnyFrm> m_main;
};
