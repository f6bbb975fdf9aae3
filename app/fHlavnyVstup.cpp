// The main window's input line and keypad: typed characters and their
// rewriting, the keys and what they put into the input, the editing keys,
// memory and ANS, the complex form key, the bracket highlighting and the
// popup menus of the input and the result field.
#include "fHlavny.h"

#include "fHistoria.h"
#include "uAppContext.h"
#include "uOkna.h"
#include "uOvladace.h"
#include "uProgramState.h"
#include "uSpolocneOkna.h"
#include "uVstup.h"
#include "uZvyraznenie.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStatusBar>

namespace {

// Keys that put a fixed text into the input.
struct TPevnyText {
    const char *key;
    const char *text;
};
const TPevnyText FixedTextKeys[] = {
    {"BtnKonstanta", "$"},
    {"BtnPi", "$pi"},
    {"BtnAbs", "abs("},
    {"BtnPrevratena", "1/"},
    {"BtnFaktorial", "!"},
    {"BtnKombinacne", " nad "},
    {"BtnDesatNaX", "10^"},
    {"BtnDvaNaX", "2^"},
    {"BtnEnaX", "$e^"},
    {"BtnLog", "log("},
    {"BtnLogy", "logy("},
    {"BtnLn", "ln("},
    {"BtnXna2", "^2"},
    {"BtnXna3", "^3"},
    {"BtnXnaY", "^"},
    {"BtnDruhaOdmocnina", "^(1/2)"},
    {"BtnTretiaOdmocnina", "^(1/3)"},
    {"BtnOdmocnina", "^(1/"},
    {"BtnDeg", "deg("},
    {"BtnDms", "dms("},
};

// Keys that put their caption into the input.
const char *const CaptionKeys[] = {
    "BitBtn1",  "BitBtn2",  "BitBtn3",  "BitBtn4",  "BitBtn5",  "BitBtn6",  "BitBtn7",     "BitBtn8",
    "BitBtn9",  "BitBtn10", "BitBtn39", "BitBtn38", "BitBtn40", "BitBtn41", "BitBtn42",    "BitBtn43",
    "BitBtn44", "BitBtn45", "BitBtn49", "BitBtn50", "BitBtn51", "BitBtn52", "BtnPercenta",
};

const char *const OperatorKeys[] = {"BtnDeleno", "BtnKrat", "BtnMinus", "BtnPlus", "BtnDiv", "BtnMod"};

const char *const TrigonometricKeys[] = {"BtnSin",    "BtnCos",    "BtnTG",    "BtnCotg",
                                         "BtnArcsin", "BtnArccos", "Btnarctg", "BtnArccotg"};

// The digit keys of the keypad: "BitBtn10" is 0.
const char *DigitKeyName(QChar digit) {
    static const char *const names[10] = {"BitBtn10", "BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4",
                                          "BitBtn5",  "BitBtn6", "BitBtn7", "BitBtn8", "BitBtn9"};
    return names[digit.unicode() - '0'];
}

} // namespace

// ---------------------------------------------------------------------------
// Wiring

void ThlavnyFrm::ConnectKeypad() {
    auto key = [this](const char *name) { return findChild<QPushButton *>(QLatin1String(name)); };
    // Every handler runs guarded: nothing a key does may escape it.
    auto bind = [this](QPushButton *b, auto handler) {
        if (b)
            connect(b, &QPushButton::clicked, this, [this, handler] { Guarded(handler); });
    };
    for (const char *name : CaptionKeys) {
        QPushButton *b = key(name);
        bind(b, [this, b] { VlozCislo(b); });
    }
    for (const char *name : OperatorKeys) {
        QPushButton *b = key(name);
        bind(b, [this, b] { BtnDelenoClick(b); });
    }
    for (const char *name : TrigonometricKeys) {
        QPushButton *b = key(name);
        bind(b, [this, b] { BtnSinClick(b); });
    }
    for (const TPevnyText &k : FixedTextKeys) {
        const QString text = QString::fromLatin1(k.text);
        bind(key(k.key), [this, text] { InsertIntoInput(vstupRdt, text); });
    }
    bind(key("BtnRan"), [this] { BtnRanClick(); });
    bind(BtnCiarka, [this] { BtnCiarkaClick(); });
    bind(key("BtnANS"), [this] { BtnANSClick(); });
    bind(key("BtnMR"), [this] { BtnMRClick(); });
    bind(key("BtnMS"), [this] { BtnMSClick(); });
    bind(BtnC, [this] { BtnCClick(); });
    bind(BtnCE, [this] { BtnCEClick(); });
    bind(BtnJednoZmaz, [this] { BtnJednoZmazClick(); });
    bind(key("BtnAE"), [this] { BtnAEClick(); });
    bind(BtnSpat, [this] { BtnSpatClick(); });
    bind(BtnVelkost, [this] { BtnVelkostClick(); });

    // The input's own events.
    vstupRdt->installEventFilter(this);
    vstupRdt->viewport()->installEventFilter(this);
    connect(vstupRdt, &QTextEdit::textChanged, this, [this] { vstupRdtChange(); });
    InstallEditClipboardKeys(vysledokEdt);
}

void ThlavnyFrm::CreatePopupMenus() {
    auto item = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    vystrihnut1 = item(PopupMenu1, "vystrihnut1", QStringLiteral("Vystrihnúť"));
    kopirovat1 = item(PopupMenu1, "kopirovat1", QStringLiteral("Kopírovať"));
    prilepit = item(PopupMenu1, "prilepit", QStringLiteral("Prilepiť"));
    odstranit1 = item(PopupMenu1, "odstranit1", QStringLiteral("Odstrániť"));
    PopupMenu1->addSeparator();
    Vybravetko1 = item(PopupMenu1, "Vybravetko1", QStringLiteral("Vybrať všetko"));
    connect(vystrihnut1, &QAction::triggered, vstupRdt, &QTextEdit::cut);
    connect(kopirovat1, &QAction::triggered, vstupRdt, &QTextEdit::copy);
    connect(prilepit, &QAction::triggered, vstupRdt, &QTextEdit::paste);
    connect(odstranit1, &QAction::triggered, this, [this] {
        QTextCursor c = vstupRdt->textCursor();
        c.removeSelectedText();
        vstupRdt->setTextCursor(c);
    });
    connect(Vybravetko1, &QAction::triggered, vstupRdt, &QTextEdit::selectAll);
    vstupRdt->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(vstupRdt, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu1Popup();
        PopupMenu1->exec(vstupRdt->viewport()->mapToGlobal(at));
    });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    kopirovat2 = item(PopupMenu2, "kopirovat2", QStringLiteral("Kopírovať"));
    UlozitDoPamate2 = item(PopupMenu2, "UlozitDoPamate2", QStringLiteral("Uložiť do pamäte"));
    PopupMenu2->addSeparator();
    vybratVsetko = item(PopupMenu2, "vybratVsetko", QStringLiteral("Vybrať všetko"));
    connect(kopirovat2, &QAction::triggered, vysledokEdt, &QLineEdit::copy);
    connect(UlozitDoPamate2, &QAction::triggered, this, [this] { BtnMSClick(); });
    connect(vybratVsetko, &QAction::triggered, vysledokEdt, &QLineEdit::selectAll);
    vysledokEdt->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(vysledokEdt, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu2Popup();
        PopupMenu2->exec(vysledokEdt->mapToGlobal(at));
    });
}

void ThlavnyFrm::PopupMenu1Popup() {
    const bool selected = vstupRdt->SelLength() > 0;
    vystrihnut1->setEnabled(selected);
    kopirovat1->setEnabled(selected);
    odstranit1->setEnabled(selected);
    prilepit->setEnabled(true);
    Vybravetko1->setEnabled(true);
}

void ThlavnyFrm::PopupMenu2Popup() { kopirovat2->setEnabled(vysledokEdt->hasSelectedText()); }

// ---------------------------------------------------------------------------
// Putting text into the input

void ThlavnyFrm::InsertIntoInput(TRiadkovyVstup *edit, const QString &text) {
    if (!edit)
        return;
    const bool shiftKeepsText = !TypedOnMainKeyboard && IsKeyDown(VK_SHIFT);
    if (KProgramState::Instance().JustEvaluated && !shiftKeepsText && ContinuesFromAns(text)) {
        QString ans = m_model.AnsForInsertion();
        ans.remove(QLatin1Char(' '));
        edit->SetText(ans + text);
        edit->SetCaret(int(edit->Text().size()));
        edit->setFocus();
        return;
    }
    QString s = edit->Text();
    const int caret = InsertAtCaret(s, edit->SelStart(), edit->SelLength(), text);
    edit->setUpdatesEnabled(false);
    edit->SetText(s);
    edit->SetCaret(caret);
    edit->setUpdatesEnabled(true);
    edit->setFocus();
    BracketHighlightEnabled = true;
    ZvyrazniZatvorky(edit);
}

void ThlavnyFrm::VlozCislo(QAbstractButton *key) { InsertIntoInput(vstupRdt, key->text()); }

void ThlavnyFrm::BtnDelenoClick(QAbstractButton *key) {
    const QString text = OperatorKeyText(key->text());
    if (!text.isEmpty())
        InsertIntoInput(vstupRdt, text);
}

void ThlavnyFrm::BtnSinClick(QAbstractButton *key) {
    // Not through InsertIntoInput: a function never continues from ANS.
    QString s = vstupRdt->Text();
    const int caret = InsertAtCaret(s, vstupRdt->SelStart(), vstupRdt->SelLength(),
                                    FunctionKeyText(key->text(), CheckBoxHyp->isChecked()));
    vstupRdt->SetText(s);
    vstupRdt->setFocus();
    vstupRdt->SetCaret(caret);
    BracketHighlightEnabled = true;
    ZvyrazniZatvorky(vstupRdt);
}

void ThlavnyFrm::BtnCiarkaClick() { InsertIntoInput(vstupRdt, DecimalCommaText(vstupRdt->SelStart())); }

void ThlavnyFrm::BtnRanClick() {
    // 64 random bits as a fraction of 2^64: every value of [0, 1) is possible.
    const quint64 bits = QRandomGenerator::global()->generate64();
    const long double value = static_cast<long double>(bits) / 18446744073709551616.0L;
    InsertIntoInput(vstupRdt, RandomNumberText(value));
}

void ThlavnyFrm::BtnANSClick() {
    KProgramState::Instance().JustEvaluated = false;
    InsertIntoInput(vstupRdt, m_model.AnsForInsertion());
}

void ThlavnyFrm::BtnMRClick() { InsertIntoInput(vstupRdt, LabelPamat->text()); }

void ThlavnyFrm::BtnMSClick() {
    const QString shown = vysledokEdt->text();
    ShowMemory(shown.isEmpty() ? QStringLiteral("0") : shown);
}

// ---------------------------------------------------------------------------
// Editing keys

void ThlavnyFrm::BtnCClick() {
    vstupRdt->SetText(QString());
    HideResult();
    LblChyba->clear();
    vstupRdt->setFocus();
}

void ThlavnyFrm::BtnCEClick() {
    if (vstupRdt->SelLength() > 0) {
        QTextCursor c = vstupRdt->textCursor();
        c.removeSelectedText();
        vstupRdt->setTextCursor(c);
    } else {
        QString s = vstupRdt->Text();
        int caret = vstupRdt->SelStart();
        DeleteTokenAtCaret(s, caret);
        vstupRdt->SetText(s);
        vstupRdt->SetCaret(caret);
    }
    vstupRdt->setFocus();
}

void ThlavnyFrm::BtnJednoZmazClick() {
    QString s = vstupRdt->Text();
    const int caret = DeleteCharBeforeCaret(s, vstupRdt->SelStart());
    if (s != vstupRdt->Text())
        vstupRdt->SetText(s);
    vstupRdt->setFocus();
    vstupRdt->SetCaret(caret);
}

void ThlavnyFrm::BtnAEClick() {
    SyncModelWithControls();
    ShowResult(m_model.ToggleComplexForm());
}

void ThlavnyFrm::BtnSpatClick() {
    if (ThistoriaFrm *historia = Historia())
        historia->Back();
}

void ThlavnyFrm::BtnVelkostClick() {
    const int bottom = BtnVelkost->isChecked() ? BtnC->geometry().bottom() + 1 + 7
                                               : BtnDms->geometry().bottom() + 1 + 12 + StatusBar1->height();
    StatusBar1->setVisible(!BtnVelkost->isChecked());
    setFixedSize(width(), bottom);
    SetRoundRegion(11);
}

// ---------------------------------------------------------------------------
// Keys typed into the input

void ThlavnyFrm::vstupRdtKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    ShiftHeld = modifiers.testFlag(Qt::ShiftModifier);
    const int caret = vstupRdt->SelStart();
    // The brackets around the place the caret is about to reach.
    if ((key == Qt::Key_Backspace || key == Qt::Key_Left) && caret >= 1 && !ShiftHeld) {
        BracketHighlightEnabled = true;
        ZvyrazniZatvorky(vstupRdt, caret - 1);
        BracketHighlightEnabled = false;
    } else if (key == Qt::Key_Right && caret < vstupRdt->Text().size() && !ShiftHeld) {
        BracketHighlightEnabled = true;
        ZvyrazniZatvorky(vstupRdt, caret + 1);
        BracketHighlightEnabled = false;
    }
}

void ThlavnyFrm::vstupRdtKeyPress(QChar key) {
    key = RewriteTypedChar(key);
    if (!IsAcceptedTypedChar(key))
        return;
    if (key == QLatin1Char('(') || key == QLatin1Char(')')) {
        BracketHighlightEnabled = true;
        ZvyrazniZatvorky(vstupRdt);
    }
    if (key == DecSep())
        BtnCiarkaClick();
    else if (key != QChar(8))
        InsertIntoInput(vstupRdt, QString(key));
    BracketHighlightEnabled = true;
}

void ThlavnyFrm::vstupRdtKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    // The release of Shift itself may still report Shift as held.
    ShiftHeld = key != Qt::Key_Shift && modifiers.testFlag(Qt::ShiftModifier);
}

void ThlavnyFrm::vstupRdtChange() {
    const QString text = vstupRdt->Text();
    if (text == m_inputText)
        return; // a change of format only
    m_inputText = text;
    KProgramState::Instance().JustEvaluated = false;
    const QString line = FirstInputLine(text);
    if (line != text) {
        // Writing the first line back is no change of its own.
        const QSignalBlocker quiet(vstupRdt);
        vstupRdt->SetText(line);
        m_inputText = line;
    }
    if (line.contains(QLatin1Char('(')))
        ZvyrazniZatvorky(vstupRdt);
    BracketHighlightEnabled = false;
}

void ThlavnyFrm::vstupRdtMouseUp() {
    if (vstupRdt->SelLength() != 0)
        return;
    BracketHighlightEnabled = true;
    ZvyrazniZatvorky(vstupRdt);
}

void ThlavnyFrm::FormKeyPress(QChar key) {
    TranslateDigitKey(key, true);
    if (key == QChar(8))
        BtnJednoZmazClick();
    else if (key == DecSep())
        BtnCiarkaClick();
    else if (IsAsciiDigit(key))
        // The handler itself, so that a disabled key takes the digit too.
        VlozCislo(findChild<QPushButton *>(QLatin1String(DigitKeyName(key))));
}

void ThlavnyFrm::keyPressEvent(QKeyEvent *event) {
    const QString text = event->text();
    if (text.size() == 1)
        Guarded([&] { FormKeyPress(text.at(0)); });
    event->accept();
}

// ---------------------------------------------------------------------------
// Bracket highlighting

void ThlavnyFrm::ZvyrazniZatvorky(TRiadkovyVstup *edit, int caret) {
    if (!edit || !BracketHighlightEnabled || ShiftHeld)
        return;
    {
        // The formatting's own change events start nothing.
        const QSignalBlocker quiet(edit);
        edit->ShowBracketMarks(PlanBracketHighlight(edit->Text(), caret < 0 ? edit->SelStart() : caret));
    }
    BracketHighlightEnabled = true;
    edit->setFocus();
}
