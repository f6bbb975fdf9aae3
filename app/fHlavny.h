// The main calculator window: the input, the keypad, the number set, base
// and angle unit, the result and the error display, and the program's
// settings at start and at exit.
#pragma once

#include "Zlomky.h"
#include "uKalkulacka.h"
#include "uHlavneTexty.h"
#include "uHlavnyOvladace.h"
#include "uMainWindowLink.h"
#include "uToolWindowsLink.h"

#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QAction;
class QKeyEvent;
class QMenu;
class QThread;
class QTimer;
class TUpdateCheck;
class QToolButton;
class THlavneMenu;
class ThistoriaFrm;
class TCompanionWindows;
class TObrazok;
class TpremenneFrm;
class TRiadkovyVstup;

// The controls are built from the tables of uHlavnyOvladace; the window
// holds them as its own members.
class ThlavnyFrm : public QWidget, public TMainWindowLink, private THlavneOvladace {
    Q_OBJECT
public:
    // FormCreate: settings, position, language, user id, outline. The
    // companions are added to companions after this; the main window finds
    // them there when it needs them.
    explicit ThlavnyFrm(TCompanionWindows &companions, QWidget *parent = nullptr);
    ~ThlavnyFrm() override;

    // --- what other windows read -------------------------------------------
    TKalkulacka &Model() { return m_model; }
    const TChyba &LastError() const { return m_model.LastError; }
    const QString &Ans() const { return m_model.Ans; }
    quint8 Radix() const { return m_model.Radix; }
    TPrvocisla &Prvocisla() { return m_prvocisla; }

    // The installation's id, sent with the update query.
    const QString &UserId() const { return m_userId; }
    // The window's message texts and the language code.
    const THlavneTexty &Texts() const { return m_texts; }

    // --- the "=" road and its operations ---------------------------------------
    void BtnRovnaSaClick();
    void AddMissingVariables(const QString &expression, const QString &excludedName) override;
    void ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                TKontrola mode) override;
    void ShowResult(const QString &text) override;
    void AddToHistory();
    void ShowError(const TChyba &err) override;
    void Shape1MouseDown();

    // --- the input and the keypad ---------------------------------------------------
    // The one way keys, typed characters, memory, ANS and the constants put
    // text into the input: an operator right after "=" continues from ANS
    // (unless Shift is held), anything else replaces the selection.
    void InsertIntoInput(TRiadkovyVstup *edit, const QString &text);
    void InsertIntoInput(const QString &text) override { InsertIntoInput(vstupRdt, text); }
    // Marks the brackets around the caret (caret: the input's own when -1).
    void ZvyrazniZatvorky(TRiadkovyVstup *edit, int caret = -1);
    // The input's key events.
    void vstupRdtKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void vstupRdtKeyPress(QChar key);
    void vstupRdtKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void vstupRdtChange();
    void vstupRdtMouseUp();
    // A character typed while no control takes it.
    void FormKeyPress(QChar key);

    void VlozCislo(QAbstractButton *key);
    void BtnDelenoClick(QAbstractButton *key);
    void BtnSinClick(QAbstractButton *key);
    void BtnRanClick();
    void BtnCiarkaClick();
    void BtnANSClick();
    void BtnMRClick();
    void BtnMSClick();
    void BtnCClick();
    void BtnCEClick();
    void BtnJednoZmazClick();
    void BtnAEClick();
    void BtnSpatClick();
    void BtnVelkostClick();

    // Popup menus of the input and of the result field.
    void PopupMenu1Popup();
    void PopupMenu2Popup();

    // --- the tool keys: the input checked, in base 10, to a tool window ---------
    void grafBtnClick();
    void derivaciaBtnClick();
    void sumaBtnClick();

    // --- modes ------------------------------------------------------------------
    void sbRealneClick() { SwitchNumberSet(TNumberSet::Real); }
    void sbKomplexneClick() { SwitchNumberSet(TNumberSet::Complex); }
    void sbModuloClick() { SwitchNumberSet(TNumberSet::Modulo); }
    void sbHexClick() { SwitchBase(16); }
    void sbDecClick() { SwitchBase(10); }
    void sbOctClick() { SwitchBase(8); }
    void sbBinClick() { SwitchBase(2); }
    void sbDegClick() { UpdateAngleUnit(); }
    void UpdateAngleUnit();
    // The modulus up-down's step to newValue; the change itself is refused
    // and the position set to the next prime.
    bool UpDownModuloChangingEx(int newValue, bool up);

    // --- frame and life ----------------------------------------------------------
    void SetRoundRegion(int radius);
    // The minimise picture minimises the program: every other shown window
    // is hidden and comes back when the main window is restored.
    void minimalizovatImgClick();
    // The window's texts from the loaded language file; starts the
    // translation of the hints when a file is loaded.
    void ApplyLanguage();
    // Every child control repaints itself at once.
    void RepaintChildControls();
    // The start timer: the update check when the settings ask for it.
    void TimerZaciatokTimer();
    // Gives a companion window the main window's form style (always on top
    // or normal).
    void GiveFormStyle(QWidget *window) const override;
    // FormClose: writes the settings, the history (when kept) and the user
    // id; every write is tried, then one warning tells of any that failed.
    // False when something could not be saved.
    bool SaveAtClose();

    // The tool windows and the expression browser (either may be null).
    void SetToolWindows(TToolWindowsLink *tools, TBrowserLink *browser);

    // --- commands of the Help menu ---------------------------------------------------
    // Opens the manual, or tells that it is missing.
    void ZobrazitNavodActExecute();
    // Asks the maker's server for a newer build and always tells the answer.
    void ZistitNovsiuVerziuActExecute();
    bool UpdateCheckRunning() const;

    // --- status-bar hints --------------------------------------------------------------
    void ZmenHint(QWidget *control);
    void CheckBoxHypMouseEnter(QWidget *control);
    void ObnovHint();

    // --- TMainWindowLink ------------------------------------------------------------
    QWidget *Window() override { return this; }
    QString InputText() const override;
    void SetInputText(const QString &text) override;
    void Calculate() override;
    void SetBackEnabled(bool enabled) override;
    void UseExpression(const QString &text) override;
    bool ApplyLanguageToAllForms(const QString &fileName) override;
    void ShowExpressionPreview(const QString &text) override;
    TEvaluationContext EvaluationContext() const override { return m_model.Context(); }
    void ShowVariablesWindow(const QString &expression, const QString &excludedName) override;
    void ActivateInput() override;
    void TakeResult(long double value) override;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // Builds the controls and wires the title, the input, the result and
    // the modes to their handlers.
    void CreateControls();
    void CreatePopupMenus();
    void ConnectKeypad();
    void FormCreate();
    void PlaceOnScreen(const class KProgramSettings &s);
    void LayoutOptionsRow();
    // Characters typed into the input, from a key (mainKeyboard: not from
    // the numeric keypad) or committed by an input method, each through the
    // key rules; false when none was a character at all.
    bool TypeIntoInput(const QString &text, bool mainKeyboard);
    void SwitchNumberSet(TNumberSet numberSet);
    void SwitchBase(quint8 base);
    void ApplyEnabling();
    void MarkDown(const QList<QToolButton *> &group);
    void SyncModelWithControls();
    // The tool keys' check of the input (emptyCode for an input of blanks
    // only); false with the error shown.
    bool PrepareToolExpression(quint8 emptyCode, QString &expression);
    void HideResult();
    // The memory display and the error label take the room their texts need
    // in the result panel: the memory from its left end, the error label
    // from the result's right edge leftwards up to the memory.
    void ShowMemory(const QString &text);
    void PlaceErrorLabel(const QString &text);
    void RestoreHiddenWindows();
    // The built-in hints and the events that show them.
    void InstallHints();
    void SetHint(const QString &control, const QString &text);
    // The title area: dragging, and the looks of the close and minimise
    // pictures.
    void pohybLblMouseDown(const QPoint &at);
    void pohybLblMouseMove(const QPoint &at);
    void TitlePictureEvent(TObrazok *picture, QEvent *event);
    // The question that a newer build is there; Yes opens the download page.
    void OfferDownload();
    TUpdateCheck *StartUpdateCheck(bool automatic);
    TpremenneFrm *Premenne() const;
    ThistoriaFrm *Historia() const;
    // Runs a handler so that nothing escapes it: an exception is shown as
    // code 29.
    template <class F>
    void Guarded(F &&handler) {
        try {
            handler();
        } catch (...) {
            TChyba err;
            err.Set(TErrorCode::UnknownFailure);
            m_model.LastError = err;
            ShowError(err);
        }
    }

    TCompanionWindows &m_companions;
    THlavneMenu *m_menu = nullptr;
    TToolWindowsLink *m_tools = nullptr;
    TBrowserLink *m_browser = nullptr;
    TKalkulacka m_model;
    TPrvocisla m_prvocisla;
    THlavneTexty m_texts;
    QString m_userId;
    bool m_closed = false;
    // The input's text at its last change, so that a change of format alone
    // is told from a change of the text.
    QString m_inputText;
    QPoint m_dragFrom;
    // The windows the minimise picture hid, shown again with the main window.
    QList<QPointer<QWidget>> m_hiddenByMinimise;
    QTimer *TimerZaciatok;
    QPointer<TUpdateCheck> m_menuCheck;
    QPointer<TUpdateCheck> m_startCheck;
    // The control whose hint the status bar shows.
    QPointer<QWidget> m_hintShown;
    // The hint threads started by language switches that may still run.
    QList<QPointer<QThread>> m_hintThreads;

    // The bracket highlighting may run now.
    bool BracketHighlightEnabled = true;
    // Shift was held at the last key in the input: no highlighting, so that
    // a selection made with Shift and the arrows is left alone.
    bool ShiftHeld = false;
    // The character being put in was typed on the main part of the keyboard,
    // where many layouts need Shift for the operators themselves: there Shift
    // does not keep an operator from continuing from ANS (on the numeric
    // keypad and the on-screen keys it does).
    bool TypedOnMainKeyboard = false;

    // Popup menus: the input's and the result field's.
    QMenu *PopupMenu1;
    QAction *vystrihnut1;
    QAction *kopirovat1;
    QAction *prilepit;
    QAction *odstranit1;
    QAction *Vybravetko1;
    QMenu *PopupMenu2;
    QAction *kopirovat2;
    QAction *UlozitDoPamate2;
    QAction *vybratVsetko;
};

// How long a window manager has to take the minimised main window off the
// screen before the program takes it for a desktop without one.
constexpr int MinimiseCheckMs = 500;
