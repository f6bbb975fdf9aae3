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

void SetStaysOnTopForAll(bool onTop) {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (IsProgramWindow(window))
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

// ---------------------------------------------------------------------------

TProgramWindows::TProgramWindows(const TProgramLinks &links) {
    m_main = std::make_unique<ThlavnyFrm>(m_companions);
    ThlavnyFrm *main = m_main.get();
    m_companions.Add(TCompanion::Preview, new TnahladVyrazuFrm(main));
    m_companions.Add(TCompanion::Language, new TjazykFrm(main));
    m_companions.Add(TCompanion::Variables, new TpremenneFrm(main));
    m_companions.Add(TCompanion::History, new ThistoriaFrm(main));
    auto *konstanty = m_companions.Add(TCompanion::Constants, new TkonstantyFrm(main));
    konstanty->SetEditor(m_companions.Add(TCompanion::ConstantEditor, new TuprKonstFrm(&konstanty->Model())));
    m_companions.Add(TCompanion::About, new ToProgrameFrm);
    main->SetToolWindows(links.Tools, links.Browser);
}

TProgramWindows::~TProgramWindows() {
    m_companions.DestroyAll();
    m_main.reset();
}
