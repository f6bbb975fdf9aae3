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

QList<QWidget *> TCompanionWindows::Styled() const {
    QList<QWidget *> styled;
    for (TCompanion kind : {TCompanion::About, TCompanion::History, TCompanion::Constants, TCompanion::Variables})
        if (QWidget *w = Window(kind))
            styled.append(w);
    return styled;
}

void TCompanionWindows::DestroyAll() {
    while (!m_slots.isEmpty()) {
        const TSlot slot = m_slots.takeLast();
        delete slot.Window.data();
    }
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
