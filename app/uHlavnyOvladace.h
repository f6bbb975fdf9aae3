// The main window's controls: what each is, where it sits, its text, tag
// and font, as rows of tables that one builder reads in order. The window
// itself only wires the controls to its handlers.
#pragma once

#include <QChar>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QToolButton;
class QWidget;
class TObrazok;
class TRiadkovyVstup;
class TTvar;
class TUpDown;

// The window's client size and the right edge of the result.
constexpr int HlavnyWidth = 630;
constexpr int HlavnyHeight = 351;
constexpr int ResultRightEdge = 620;
constexpr int ResultMaxWidth = 373;
// The result's font: its size, and the smallest it shrinks to before the
// result scrolls.
constexpr int ResultFontPixels = 17;
constexpr int ResultMinFontPixels = 11;

// The dynamic properties the tables set: a control's tag (the modes in which
// it is usable) and the kind of key that the style sheet draws.
inline constexpr char TagProperty[] = "tag";
inline constexpr char KindProperty[] = "druh";

// The controls the window's code reaches directly, named as in the window's
// layout. Every other control is found by its name.
struct THlavneOvladace {
    TObrazok *pozadieImg = nullptr;
    QLabel *pohybLbl = nullptr;
    QLabel *nadpisLbl = nullptr;
    TObrazok *zavrietImg = nullptr;
    TObrazok *minimalizovatImg = nullptr;
    TObrazok *nahladImg = nullptr;
    TObrazok *pomZavrietImg = nullptr;
    TObrazok *pomZavrietaAktImg = nullptr;
    TObrazok *pomMinimalizovatImg = nullptr;
    TObrazok *pomMinimalizovatAktImg = nullptr;
    QMenuBar *ActionMainMenuBar1 = nullptr;
    TRiadkovyVstup *vstupRdt = nullptr;
    TTvar *Shape1 = nullptr;
    QScrollArea *vysledokScr = nullptr;
    QLineEdit *vysledokEdt = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *LblChyba = nullptr;
    QLabel *LabelPamat = nullptr;
    QToolButton *sbRealne = nullptr;
    QToolButton *sbKomplexne = nullptr;
    QToolButton *sbModulo = nullptr;
    TUpDown *UpDownModulo = nullptr;
    QToolButton *sbDeg = nullptr;
    QToolButton *sbRad = nullptr;
    QToolButton *sbGrad = nullptr;
    QToolButton *sbHex = nullptr;
    QToolButton *sbDec = nullptr;
    QToolButton *sbOct = nullptr;
    QToolButton *sbBin = nullptr;
    QCheckBox *CheckBoxHyp = nullptr;
    QCheckBox *CheckBoxZlomky = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *EditDesM = nullptr;
    TUpDown *UpDownDesM = nullptr;
    QPushButton *BtnRovnaSa = nullptr;
    QPushButton *BtnC = nullptr;
    QPushButton *BtnCE = nullptr;
    QPushButton *BtnJednoZmaz = nullptr;
    QPushButton *BtnSpat = nullptr;
    QPushButton *BtnVelkost = nullptr;
    QPushButton *BtnTG = nullptr;
    QPushButton *BtnCotg = nullptr;
    QPushButton *Btnarctg = nullptr;
    QPushButton *BtnArccotg = nullptr;
    QPushButton *BtnCiarka = nullptr;
    QPushButton *BtnDms = nullptr;
    QPushButton *grafBtn = nullptr;
    QPushButton *derivaciaBtn = nullptr;
    QPushButton *sumaBtn = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanelHelp = nullptr;
    QLabel *StatusPanelHint = nullptr;
};

// Builds every control of the main window on window, in the order that
// stacks them and sets the Tab order, with their built-in texts (the
// separator key shows decimalSeparator), and fills controls. Nothing is
// connected to a handler yet.
void VytvorHlavneOvladace(QWidget *window, THlavneOvladace &controls, QChar decimalSeparator);
