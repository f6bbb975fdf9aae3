#include "uOkna.h"

#include "fAbout.h"
#include "fHistoria.h"
#include "fHlavny.h"
#include "fJazyk.h"
#include "fKonstanty.h"
#include "fNahladVyrazu.h"
#include "fPremenne.h"
#include "fUpravyKonstant.h"
#include "uMagneticForm.h"

#include <QApplication>
#include <QWindow>
#include <algorithm>

#if defined(TARBELON_HAS_XCB)
#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

TCompanionWindows::~TCompanionWindows() { DestroyAll(); }

void TCompanionWindows::Put(TCompanion kind, QWidget *window, std::function<void()> applyLanguage) {
    if (!window)
        return;
    for (qsizetype i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].Kind == kind) {
            delete m_slots[i].Window.data();
            m_slots.removeAt(i);
            break;
        }
    m_slots.append({kind, window, std::move(applyLanguage)});
}

const TCompanionWindows::TSlot *TCompanionWindows::Find(TCompanion kind) const {
    for (const TSlot &slot : m_slots)
        if (slot.Kind == kind && slot.Window)
            return &slot;
    return nullptr;
}

QWidget *TCompanionWindows::Window(TCompanion kind) const {
    const TSlot *slot = Find(kind);
    return slot ? slot->Window.data() : nullptr;
}

void TCompanionWindows::ApplyLanguage() const {
    for (TCompanion kind : {TCompanion::History, TCompanion::Constants, TCompanion::Preview, TCompanion::Variables,
                            TCompanion::ConstantEditor, TCompanion::About})
        if (const TSlot *slot = Find(kind); slot && slot->ApplyLanguage)
            slot->ApplyLanguage();
}

QList<TMagneticForm *> TCompanionWindows::Docked() const {
    QList<TMagneticForm *> docked;
    for (TCompanion kind : {TCompanion::Variables, TCompanion::Preview, TCompanion::Constants, TCompanion::History})
        if (auto *form = qobject_cast<TMagneticForm *>(Window(kind)))
            docked.append(form);
    return docked;
}

void TCompanionWindows::DestroyAll() {
    while (!m_slots.isEmpty()) {
        const TSlot slot = m_slots.takeLast();
        delete slot.Window.data();
    }
}

// ---------------------------------------------------------------------------

bool IsProgramWindow(const QWidget *window) {
    if (!window || !window->isWindow())
        return false;
    switch (window->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool: return true;
    default: return false;
    }
}

void SetStaysOnTop(QWidget *window, bool onTop) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // setWindowFlags() would make the native window anew, hiding a shown
    // window first (which ends a dialog's modal loop) and showing it again
    // elsewhere: the widget's flags are set without it, and the native window
    // that already exists takes the one hint in place.
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    window->overrideWindowFlags(flags);
    if (QWindow *handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
}

// How many owners stand above the window: 0 for the main window.
static int OwnerDepth(const QWidget *window) {
    int depth = 0;
    for (const QWindow *w = window->windowHandle(); w && w->transientParent(); w = w->transientParent())
        ++depth;
    return depth;
}

void SetStaysOnTopForAll(bool onTop) {
    // Owners before the windows they own: a window manager that moves a
    // window into the other layer takes the windows it owns along above it,
    // while one moved there before its owner would stay below the owner.
    QList<QWidget *> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (IsProgramWindow(window))
            windows.append(window);
    std::stable_sort(windows.begin(), windows.end(),
                     [](const QWidget *a, const QWidget *b) { return OwnerDepth(a) < OwnerDepth(b); });
    for (QWidget *window : std::as_const(windows))
        SetStaysOnTop(window, onTop);
}

TOnTopFollower::TOnTopFollower(std::function<bool()> onTop, QObject *parent)
    : QObject(parent), m_onTop(std::move(onTop)) {
    qApp->installEventFilter(this);
}

bool TOnTopFollower::eventFilter(QObject *watched, QEvent *event) {
    // The show event comes before the native window is mapped: the window
    // manager sees the window in its layer from the first moment.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *window = static_cast<QWidget *>(watched);
        if (IsProgramWindow(window))
            SetStaysOnTop(window, m_onTop());
    }
    return false;
}

// Asks the window manager to give the window no taskbar entry. Window
// managers leave most windows that belong to another off the taskbar by
// themselves; some taskbars list them all. The request is X11's own: elsewhere
// (or built without xcb) nothing is asked.
static void LeaveOffTaskbar(QWidget *window) {
#if defined(TARBELON_HAS_XCB) && QT_CONFIG(xcb)
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->windowHandle())
        return;
    auto atom = [connection](const char *name) {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom("_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    // The platform window's own id: Qt makes a new native window at a
    // showing that follows a change of "always on top".
    const auto id = xcb_window_t(window->windowHandle()->winId());
    // Its map request has gone out before this: a window manager handles
    // the request to a window it manages, and reads the state of one it
    // has not taken yet; a window manager started later reads it too.
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    bool present = false;
    if (reply && reply->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const auto *end = atoms + xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
        present = std::find(atoms, end, skipTaskbar) != end;
    }
    free(reply);
    if (!present)
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = state;
    request.data.data32[0] = 1; // add
    request.data.data32[1] = skipTaskbar;
    request.data.data32[3] = 1; // asked by the application
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

TMainWindowOwner::TMainWindowOwner(QWidget *main) : QObject(main), m_main(main) { qApp->installEventFilter(this); }

bool TMainWindowOwner::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::ShowToParent) || !watched->isWidgetType() || watched == m_main)
        return false;
    auto *window = static_cast<QWidget *>(watched);
    QWindow *handle = window->windowHandle();
    QWindow *owner = m_main->windowHandle();
    if (!IsProgramWindow(window) || !handle || !owner)
        return false;
    // The show event comes after the native window is made and before it is
    // mapped, when the window manager reads the owner; the other one comes
    // once the window has been asked to be mapped.
    if (type == QEvent::Show && !handle->transientParent())
        handle->setTransientParent(owner);
    if (type == QEvent::ShowToParent)
        LeaveOffTaskbar(window);
    return false;
}

// ---------------------------------------------------------------------------

TProgramWindows::TProgramWindows(const TProgramLinks &links) {
    m_main = std::make_unique<ThlavnyFrm>(m_companions);
    ThlavnyFrm *main = m_main.get();
    m_companions.Add(TCompanion::Preview, new TnahladVyrazuFrm(main));
    m_companions.Add(TCompanion::Language, new TjazykFrm(main));
    m_companions.Add(TCompanion::Variables, new TpremenneFrm(main));
    m_companions.Add(TCompanion::History, new ThistoriaFrm(main));
    auto *konstanty = m_companions.Add(TCompanion::Constants, new TkonstantyFrm(main));
    // The editor is modal over the constants window: it belongs to that
    // window, so that a click on the constants window cannot hide it.
    konstanty->SetEditor(
        m_companions.Add(TCompanion::ConstantEditor, new TuprKonstFrm(&konstanty->Model(), konstanty)));
    m_companions.Add(TCompanion::About, new ToProgrameFrm);
    main->SetToolWindows(links.Tools, links.Browser);
}

TProgramWindows::~TProgramWindows() {
    m_companions.DestroyAll();
    m_main.reset();
}
