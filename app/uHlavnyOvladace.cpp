#include "uHlavnyOvladace.h"

#include "uJpeg.h"
#include "uOvladace.h"
#include "uRezimy.h"
#include "uSpolocneOkna.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>

#include <span>

namespace {

// --- the rows ----------------------------------------------------------------------

enum class TDruhOvladaca : quint8 {
    Obrazok,      // TObrazok
    Popis,        // QLabel, plain text
    Ponuka,       // QMenuBar
    Vstup,        // TRiadkovyVstup
    Tvar,         // TTvar
    Posuvnik,     // QScrollArea
    Rezim,        // QToolButton, checkable; takes no focus
    HoreDole,     // TUpDown
    Zaskrtavacie, // QCheckBox; reached with Tab only
    Pole,         // QLineEdit
    Stav,         // QStatusBar
    Klaves,       // QPushButton; takes no focus
};

// How a control looks and behaves beyond its kind.
enum TVlastnost : unsigned {
    Tucne = 1,            // bold font
    Vpravo = 2,           // text aligned right, centred vertically
    Skryty = 4,           // hidden
    PriehladnyPreMys = 8, // the mouse goes through to what lies below
    Ruka = 16,            // the pointing-hand cursor
};

// A control without a tag, and one that is placed later, by code (a null
// rectangle: no row has an empty geometry of its own).
constexpr int BezTagu = -1;
constexpr QRect Neumiestneny;

struct TOvladac {
    const char *Name;
    TDruhOvladaca Kind;
    QRect Geometry;
    const char *Text; // UTF-8
    int Tag;
    const char *Druh;   // the kind of key the style sheet draws
    int FontPixels;     // 0: the window's font
    unsigned Flags = 0; // TVlastnost
};

using enum TDruhOvladaca;

// The title, the input and the result panel, from the back to the front.
// The memory and the error labels take the room their texts need: the
// window places them.
const TOvladac TitulAVysledok[] = {
    {"pozadieImg", Obrazok, {0, 0, HlavnyWidth, HlavnyHeight}, nullptr, TagNikdy, nullptr, 0, PriehladnyPreMys},
    {"pohybLbl", Popis, {0, 0, HlavnyWidth, 24}, nullptr, TagVzdy, nullptr, 0},
    {"nadpisLbl", Popis, {12, 3, 240, 19}, nullptr, TagVzdy, nullptr, 14, Tucne | PriehladnyPreMys},
    {"minimalizovatImg", Obrazok, {586, 4, 16, 16}, nullptr, TagVzdy, nullptr, 0, Ruka},
    {"zavrietImg", Obrazok, {606, 4, 16, 16}, nullptr, TagVzdy, nullptr, 0, Ruka},
    // Hidden holders of the two looks of each title picture.
    {"pomZavrietImg", Obrazok, Neumiestneny, nullptr, BezTagu, nullptr, 0, Skryty},
    {"pomZavrietaAktImg", Obrazok, Neumiestneny, nullptr, BezTagu, nullptr, 0, Skryty},
    {"pomMinimalizovatImg", Obrazok, Neumiestneny, nullptr, BezTagu, nullptr, 0, Skryty},
    {"pomMinimalizovatAktImg", Obrazok, Neumiestneny, nullptr, BezTagu, nullptr, 0, Skryty},
    {"ActionMainMenuBar1", Ponuka, {6, 24, 618, 21}, nullptr, TagVzdy, nullptr, 12},
    {"vstupRdt", Vstup, {36, 48, 586, 28}, nullptr, TagVzdy, nullptr, 0},
    // The preview picture at the input's left.
    {"nahladImg", Obrazok, {9, 50, 22, 24}, nullptr, TagVzdy, nullptr, 0, Ruka},
    // The result panel: memory at the left, the result right-aligned.
    {"Shape1", Tvar, {8, 80, 614, 32}, nullptr, TagVzdy, nullptr, 0},
    {"LabelM", Popis, {16, 88, 12, 16}, "M", TagVzdy, nullptr, 10, Tucne},
    {"LabelPamat", Popis, Neumiestneny, "0", TagVzdy, nullptr, 12},
    {"vysledokScr", Posuvnik, {ResultRightEdge - 100, 82, 100, 28}, nullptr, BezTagu, nullptr, 0},
};

// Over the result panel, after the result field, which comes before them in
// the Tab order.
const TOvladac Chyba[] = {
    {"Label3", Popis, Neumiestneny, nullptr, TagVzdy, nullptr, 0, Skryty},
    {"LblChyba", Popis, Neumiestneny, nullptr, TagVzdy, nullptr, 13, Vpravo | PriehladnyPreMys},
};

// The modes in one row: number set, angle unit, base.
constexpr int RezimY = 117;
const TOvladac Rezimy[] = {
    {"sbRealne", Rezim, {8, RezimY, 26, 22}, "R", TagVzdy, "rezim", 12},
    {"sbKomplexne", Rezim, {35, RezimY, 26, 22}, "C", TagVzdy, "rezim", 12},
    {"sbModulo", Rezim, {62, RezimY, 44, 22}, "Z(5)", TagVzdy, "rezim", 12},
    {"UpDownModulo", HoreDole, {107, RezimY, 14, 22}, nullptr, TagRealneAKomplexne, nullptr, 0},
    {"sbDeg", Rezim, {134, RezimY, 38, 22}, "Deg", TagVzdy, "rezim", 12},
    {"sbRad", Rezim, {173, RezimY, 38, 22}, "Rad", TagVzdy, "rezim", 12},
    {"sbGrad", Rezim, {212, RezimY, 40, 22}, "Grad", TagVzdy, "rezim", 12},
    {"sbHex", Rezim, {265, RezimY, 36, 22}, "Hex", TagVzdy, "rezim", 12},
    {"sbDec", Rezim, {302, RezimY, 36, 22}, "Dec", TagVzdy, "rezim", 12},
    {"sbOct", Rezim, {339, RezimY, 36, 22}, "Oct", TagVzdy, "rezim", 12},
    {"sbBin", Rezim, {376, RezimY, 36, 22}, "Bin", TagVzdy, "rezim", 12},
};

// The row of the tool and editing keys, under the modes.
constexpr int UpravyY = 143;

// The options: "hyp" beside the tool keys, over the trigonometric keys it
// turns hyperbolic; the fractions and the decimals at the right of the modes
// (the window packs them against the decimals field to fit their texts);
// then the status bar.
const TOvladac MoznostiAStav[] = {
    {"CheckBoxHyp", Zaskrtavacie, {154, UpravyY - 1, 50, 22}, "hyp", TagRealne, nullptr, 12},
    {"CheckBoxZlomky", Zaskrtavacie, {478, RezimY, 72, 22}, "Zlomky", TagRealne, nullptr, 12},
    {"Label4", Popis, {548, RezimY, 34, 22}, "Des.:", TagVzdy, nullptr, 12, Vpravo},
    {"EditDesM", Pole, {585, RezimY, 24, 22}, nullptr, TagRealneAKomplexne, nullptr, 12, Vpravo},
    {"UpDownDesM", HoreDole, {609, RezimY, 13, 22}, nullptr, TagRealneAKomplexne, nullptr, 0},
    {"StatusBar1", Stav, {0, HlavnyHeight - 19, HlavnyWidth, 19}, nullptr, TagVzdy, nullptr, 11},
};

// Under the modes: the tool keys over the first function columns, the
// editing keys at the right.
const TOvladac UpravyANastroje[] = {
    {"BtnSpat", Klaves, {424, UpravyY, 50, 20}, "Späť", TagVzdy, "mazanie", 12},
    {"BtnJednoZmaz", Klaves, {478, UpravyY, 34, 20}, "←", TagVzdy, "mazanie", 14},
    {"BtnCE", Klaves, {516, UpravyY, 34, 20}, "CE", TagVzdy, "mazanie", 14},
    {"BtnC", Klaves, {554, UpravyY, 34, 20}, "C", TagVzdy, "mazanie", 14},
    {"BtnVelkost", Klaves, {596, UpravyY, 26, 20}, "^", TagVzdy, "", 14},
    {"grafBtn", Klaves, {8, UpravyY, 44, 20}, "", TagRealne, "funkcia", 14},
    {"derivaciaBtn", Klaves, {55, UpravyY, 44, 20}, "f'(x)", TagRealne, "funkcia", 13},
    {"sumaBtn", Klaves, {102, UpravyY, 44, 20}, "Σ", TagRealne, "funkcia", 15},
};

// The keypad: five rows of keys under the modes; the last row ends at 320.
constexpr int KlavesY[5] = {172, 202, 232, 262, 292};
constexpr int KlavesH = 28;

// Memory, the complex form key and "=" at the right of the keypad.
const TOvladac Pamat[] = {
    {"BtnMS", Klaves, {543, KlavesY[0], 38, KlavesH}, "MS", TagVzdy, "pamat", 14},
    {"BtnMR", Klaves, {584, KlavesY[0], 38, KlavesH}, "MR", TagVzdy, "pamat", 14},
    {"BtnAE", Klaves, {543, KlavesY[1], 79, KlavesH}, "A E", TagKomplexne, "komplex", 12},
    {"BtnRovnaSa",
     Klaves,
     {543, KlavesY[2], 79, KlavesY[4] + KlavesH - KlavesY[2]},
     "=",
     TagVzdy,
     "rovnasa",
     26,
     Tucne},
};

// A key of a block of keys in columns.
struct TKlaves {
    const char *Name;
    const char *Caption; // UTF-8; the separator key's is set apart
    int Tag;
    const char *Druh;
    int FontPixels;
};

// A block of keys: the left edges of its columns, its keys row by row (one
// row per keypad row), and the keys' width.
struct TBlokKlaves {
    std::span<const int> Columns;
    std::span<const TKlaves> Keys;
    int Width;
};

// Functions: five columns at the left.
constexpr int FunkcieX[] = {8, 55, 102, 149, 196};
const TKlaves Funkcie[] = {
    {"BtnSin", "sin", TagRealne, "funkcia", 13},
    {"BtnCos", "cos", TagRealne, "funkcia", 13},
    {"BtnTG", "tg", TagRealne, "funkcia", 13},
    {"BtnCotg", "cotg", TagRealne, "funkcia", 13},
    {"BtnLog", "log", TagRealne, "funkcia", 13},

    {"BtnArcsin", "arcsin", TagRealne, "funkcia", 11},
    {"BtnArccos", "arccos", TagRealne, "funkcia", 11},
    {"Btnarctg", "arctg", TagRealne, "funkcia", 13},
    {"BtnArccotg", "arccotg", TagRealne, "funkcia", 11},
    {"BtnLn", "ln", TagRealne, "funkcia", 13},

    {"BtnXna2", "x²", TagRealneAKomplexne, "funkcia", 13},
    {"BtnXna3", "x³", TagRealneAKomplexne, "funkcia", 13},
    {"BtnXnaY", "xʸ", TagRealneAKomplexne, "funkcia", 13},
    {"BtnDesatNaX", "10ˣ", TagRealne, "funkcia", 13},
    {"BtnLogy", "logᵧ", TagRealne, "funkcia", 13},

    {"BtnDruhaOdmocnina", "√x", TagRealne, "funkcia", 13},
    {"BtnTretiaOdmocnina", "∛x", TagRealne, "funkcia", 13},
    {"BtnOdmocnina", "ʸ√x", TagRealne, "funkcia", 13},
    {"BtnEnaX", "eˣ", TagRealne, "funkcia", 13},
    {"BtnDvaNaX", "2ˣ", TagRealne, "funkcia", 13},

    {"BtnFaktorial", "n !", TagRealne, "funkcia", 13},
    {"BtnKombinacne", "", TagRealne, "funkcia", 13},
    {"BtnDeg", "deg", TagRealne, "funkcia", 13},
    {"BtnDms", "d.ms", TagRealne, "funkcia", 13},
    {"BtnRan", "ran", TagRealne, "funkcia", 13},
};

// Hexadecimal digits above the complex keys.
constexpr int HexaX[] = {252, 291};
const TKlaves HexaAKomplexne[] = {
    {"BitBtn39", "A", TagHexa, "", 14},
    {"BitBtn38", "B", TagHexa, "", 14},
    {"BitBtn40", "C", TagHexa, "", 14},
    {"BitBtn41", "D", TagHexa, "", 14},
    {"BitBtn42", "E", TagHexa, "", 14},
    {"BitBtn43", "F", TagHexa, "", 14},
    {"BitBtn49", "+j", TagKomplexne, "komplex", 14},
    {"BitBtn50", "-j", TagKomplexne, "komplex", 14},
    {"BitBtn51", "e^j", TagKomplexne, "komplex", 12},
    {"BitBtn52", "e^-j", TagKomplexne, "komplex", 12},
};

// Digits and operators.
constexpr int CisliceX[] = {339, 378, 417, 456, 495};
const TKlaves Cislice[] = {
    {"BitBtn7", "7", TagCislice2az7, "", 14},
    {"BitBtn8", "8", TagCislice8a9, "", 14},
    {"BitBtn9", "9", TagCislice8a9, "", 14},
    {"BitBtn44", "(", TagVzdy, "operator", 14},
    {"BitBtn45", ")", TagVzdy, "operator", 14},

    {"BitBtn4", "4", TagCislice2az7, "", 14},
    {"BitBtn5", "5", TagCislice2az7, "", 14},
    {"BitBtn6", "6", TagCislice2az7, "", 14},
    {"BtnKrat", "x", TagVzdy, "operator", 14},
    {"BtnDeleno", "/", TagVzdy, "operator", 14},

    {"BitBtn1", "1", TagVzdy, "", 14},
    {"BitBtn2", "2", TagCislice2az7, "", 14},
    {"BitBtn3", "3", TagCislice2az7, "", 14},
    {"BtnMinus", "-", TagVzdy, "operator", 14},
    {"BtnPlus", "+", TagVzdy, "operator", 14},

    {"BitBtn10", "0", TagVzdy, "", 14},
    {"BtnCiarka", nullptr, TagRealneAKomplexne, "", 14},
    {"BtnPercenta", "%", TagRealne, "operator", 14},
    {"BtnDiv", "div", TagRealne, "operator", 12},
    {"BtnMod", "mod", TagRealne, "operator", 12},

    {"BtnANS", "ANS", TagVzdy, "pamat", 12},
    {"BtnPrevratena", "1/x", TagVzdy, "funkcia", 12},
    {"BtnKonstanta", "$", TagRealneAKomplexne, "funkcia", 14},
    {"BtnPi", "π", TagRealneAKomplexne, "funkcia", 14},
    {"BtnAbs", "| x |", TagRealneAKomplexne, "funkcia", 12},
};

const TBlokKlaves Klavesnica[] = {
    {FunkcieX, Funkcie, 44},
    {HexaX, HexaAKomplexne, 36},
    {CisliceX, Cislice, 36},
};

// --- the builder ---------------------------------------------------------------------

QFont PixelFont(int pixels, bool bold = false, const QString &family = QString()) {
    QFont f = family.isEmpty() ? QApplication::font() : QFont(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QWidget *NovyOvladac(TDruhOvladaca kind, QWidget *window) {
    switch (kind) {
    case Obrazok: return new TObrazok(window);
    case Popis: {
        auto *label = new QLabel(window);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case Ponuka: return new QMenuBar(window);
    case Vstup: return new TRiadkovyVstup(window);
    case Tvar: return new TTvar(window);
    case Posuvnik: return new QScrollArea(window);
    case Rezim: {
        auto *key = new QToolButton(window);
        key->setCheckable(true);
        key->setFocusPolicy(Qt::NoFocus);
        return key;
    }
    case HoreDole: return new TUpDown(window);
    case Zaskrtavacie: {
        // A mode control keeps no keyboard focus: what is typed after a
        // click goes on into the input, as after a key of the keypad. The
        // check boxes are still reached with Tab.
        auto *box = new QCheckBox(window);
        box->setFocusPolicy(Qt::TabFocus);
        return box;
    }
    case Pole: return new QLineEdit(window);
    case Stav: return new QStatusBar(window);
    case Klaves: {
        auto *key = new QPushButton(window);
        key->setFocusPolicy(Qt::NoFocus);
        return key;
    }
    }
    return nullptr;
}

void NastavText(QWidget *control, const QString &text) {
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
}

void NastavZarovnanie(QWidget *control, Qt::Alignment alignment) {
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setAlignment(alignment);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setAlignment(alignment);
}

void Vytvor(QWidget *window, const TOvladac &row) {
    QWidget *control = NovyOvladac(row.Kind, window);
    control->setObjectName(QLatin1String(row.Name));
    if (row.Tag != BezTagu)
        control->setProperty(TagProperty, row.Tag);
    if (row.Druh)
        control->setProperty(KindProperty, QLatin1String(row.Druh));
    if (row.Text)
        NastavText(control, QString::fromUtf8(row.Text));
    if (!row.Geometry.isNull())
        control->setGeometry(row.Geometry);
    if (row.FontPixels > 0)
        control->setFont(PixelFont(row.FontPixels, row.Flags & Tucne));
    if (row.Flags & Vpravo)
        NastavZarovnanie(control, Qt::AlignRight | Qt::AlignVCenter);
    if (row.Flags & PriehladnyPreMys)
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (row.Flags & Ruka)
        control->setCursor(Qt::PointingHandCursor);
    if (row.Flags & Skryty)
        control->hide();
}

void Vytvor(QWidget *window, std::span<const TOvladac> rows) {
    for (const TOvladac &row : rows)
        Vytvor(window, row);
}

void Vytvor(QWidget *window, const TBlokKlaves &block) {
    const int columns = int(block.Columns.size());
    for (int i = 0; i < int(block.Keys.size()); ++i) {
        const TKlaves &k = block.Keys[i];
        const QRect geometry(block.Columns[i % columns], KlavesY[i / columns], block.Width, KlavesH);
        Vytvor(window, TOvladac{k.Name, Klaves, geometry, k.Caption, k.Tag, k.Druh, k.FontPixels});
    }
}

// --- pictures -----------------------------------------------------------------------

// The close and minimise pictures of the title area, in their normal and
// their highlighted look.
QImage TitleGlyph(bool close, bool highlighted = false) {
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (highlighted)
        p.setBrush(close ? QColor(0xe0, 0x30, 0x40) : QColor(0x8c, 0x6c, 0xd0));
    else
        p.setBrush(close ? QColor(0xb8, 0x3a, 0x4a) : QColor(0x6a, 0x4f, 0xa3));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    } else {
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    }
    return img;
}

// The preview picture: a small fraction on a white card.
QImage PreviewGlyph() {
    QImage img(22, 24, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x9a, 0x8c, 0xc0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, 21, 23), 3, 3);
    p.setPen(QColor(0x3b, 0x23, 0x66));
    p.setFont(PixelFont(9, true));
    p.drawText(QRect(0, 1, 22, 10), Qt::AlignCenter, QStringLiteral("x"));
    p.drawText(QRect(0, 13, 22, 10), Qt::AlignCenter, QStringLiteral("y"));
    p.drawLine(QPointF(5, 12), QPointF(17, 12));
    return img;
}

// The picture of the binomial coefficient key: n over k in brackets.
QIcon BinomialIcon() {
    QPixmap pm(26, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x3b, 0x23, 0x66));
    p.setFont(PixelFont(10));
    p.drawText(QRect(6, 0, 14, 11), Qt::AlignCenter, QStringLiteral("n"));
    p.drawText(QRect(6, 10, 14, 11), Qt::AlignCenter, QStringLiteral("k"));
    QPen pen(QColor(0x3b, 0x23, 0x66), 1.2);
    p.setPen(pen);
    p.drawArc(QRectF(2, 1, 6, 20), 100 * 16, 160 * 16);
    p.drawArc(QRectF(18, 1, 6, 20), -80 * 16, 160 * 16);
    return QIcon(pm);
}

// The picture of the graph key: axes and a curve.
QIcon GraphIcon() {
    QPixmap pm(26, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x3b, 0x23, 0x66), 1));
    p.drawLine(QPointF(2, 14.5), QPointF(24, 14.5));
    p.drawLine(QPointF(6.5, 1), QPointF(6.5, 17));
    QPainterPath curve;
    curve.moveTo(2, 13);
    curve.cubicTo(QPointF(9, 13), QPointF(11, 2), QPointF(16, 3));
    curve.cubicTo(QPointF(20, 4), QPointF(21, 8), QPointF(24, 9));
    p.setPen(QPen(QColor(0xb8, 0x3a, 0x4a), 1.6));
    p.drawPath(curve);
    return QIcon(pm);
}

// --- what the rows do not say ---------------------------------------------------------
// Each part finds the controls the window reaches directly and gives them
// their pictures, ranges and groups.

template <class T>
void Najdi(QWidget *window, T *&control, const char *name) {
    control = window->findChild<T *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void NastavTitulAVysledok(QWidget *w, THlavneOvladace &c) {
    Najdi(w, c.pozadieImg, "pozadieImg");
    Najdi(w, c.pohybLbl, "pohybLbl");
    Najdi(w, c.nadpisLbl, "nadpisLbl");
    Najdi(w, c.zavrietImg, "zavrietImg");
    Najdi(w, c.minimalizovatImg, "minimalizovatImg");
    Najdi(w, c.nahladImg, "nahladImg");
    Najdi(w, c.pomZavrietImg, "pomZavrietImg");
    Najdi(w, c.pomZavrietaAktImg, "pomZavrietaAktImg");
    Najdi(w, c.pomMinimalizovatImg, "pomMinimalizovatImg");
    Najdi(w, c.pomMinimalizovatAktImg, "pomMinimalizovatAktImg");
    Najdi(w, c.ActionMainMenuBar1, "ActionMainMenuBar1");
    Najdi(w, c.vstupRdt, "vstupRdt");
    Najdi(w, c.Shape1, "Shape1");
    Najdi(w, c.LabelPamat, "LabelPamat");
    Najdi(w, c.vysledokScr, "vysledokScr");
    QFile picture(QStringLiteral(":/pictures/pozadie.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        c.pozadieImg->SetImage(DecodeJpeg(picture.readAll()));
    c.minimalizovatImg->SetImage(TitleGlyph(false));
    c.zavrietImg->SetImage(TitleGlyph(true));
    c.pomZavrietImg->SetImage(TitleGlyph(true));
    c.pomZavrietaAktImg->SetImage(TitleGlyph(true, true));
    c.pomMinimalizovatImg->SetImage(TitleGlyph(false));
    c.pomMinimalizovatAktImg->SetImage(TitleGlyph(false, true));
    c.vstupRdt->setFont(PixelFont(16, false, QStringLiteral("DejaVu Sans Mono")));
    c.nahladImg->SetImage(PreviewGlyph());

    // The result sits in a scroll area that is as wide as the result up to
    // its greatest width; a wider result scrolls there, never cut off.
    QScrollArea *area = c.vysledokScr;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(false);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->viewport()->setAutoFillBackground(false);
    // Set on the area itself, so that its scroll bar, made before the area
    // had its name, takes it.
    area->setStyleSheet(QStringLiteral(
        "QScrollArea { background: transparent; border: none; }"
        "QScrollBar:horizontal { height: 7px; margin: 0px; background: #e6e9f2; border: none; border-radius: 3px; }"
        "QScrollBar::handle:horizontal { background: #8e86b8; border-radius: 3px; min-width: 24px; }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0px; border: none; }"
        "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }"));
    c.vysledokEdt = new QLineEdit;
    c.vysledokEdt->setObjectName(QStringLiteral("vysledokEdt"));
    c.vysledokEdt->setProperty(TagProperty, TagVzdy);
    c.vysledokEdt->setReadOnly(true);
    c.vysledokEdt->setFrame(false);
    c.vysledokEdt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.vysledokEdt->setFont(PixelFont(ResultFontPixels, true));
    c.vysledokEdt->setGeometry(0, 0, 100, 28);
    area->setWidget(c.vysledokEdt);
    c.vysledokEdt->setAutoFillBackground(false);
    c.vysledokEdt->hide();
    area->hide();
}

void NastavRezimy(QWidget *w, THlavneOvladace &c) {
    Najdi(w, c.sbRealne, "sbRealne");
    Najdi(w, c.sbKomplexne, "sbKomplexne");
    Najdi(w, c.sbModulo, "sbModulo");
    Najdi(w, c.UpDownModulo, "UpDownModulo");
    Najdi(w, c.sbDeg, "sbDeg");
    Najdi(w, c.sbRad, "sbRad");
    Najdi(w, c.sbGrad, "sbGrad");
    Najdi(w, c.sbHex, "sbHex");
    Najdi(w, c.sbDec, "sbDec");
    Najdi(w, c.sbOct, "sbOct");
    Najdi(w, c.sbBin, "sbBin");
    c.UpDownModulo->Min = 2;
    c.UpDownModulo->Max = 97;
    c.UpDownModulo->SetPosition(5);
    // One key of each group is down, and shown in bold.
    const QList<QToolButton *> groups[] = {
        {c.sbRealne, c.sbKomplexne, c.sbModulo}, {c.sbDeg, c.sbRad, c.sbGrad}, {c.sbHex, c.sbDec, c.sbOct, c.sbBin}};
    for (const QList<QToolButton *> &group : groups) {
        auto *g = new QButtonGroup(w);
        g->setExclusive(true);
        for (QToolButton *b : group)
            g->addButton(b);
    }
    c.sbRealne->setChecked(true);
    c.sbDeg->setChecked(true);
    c.sbDec->setChecked(true);
    for (const QList<QToolButton *> &group : groups)
        for (QToolButton *b : group)
            SetBold(b, b->isChecked());
}

void NastavMoznostiAStav(QWidget *w, THlavneOvladace &c) {
    Najdi(w, c.CheckBoxHyp, "CheckBoxHyp");
    Najdi(w, c.CheckBoxZlomky, "CheckBoxZlomky");
    Najdi(w, c.Label4, "Label4");
    Najdi(w, c.EditDesM, "EditDesM");
    Najdi(w, c.UpDownDesM, "UpDownDesM");
    Najdi(w, c.StatusBar1, "StatusBar1");
    InstallNumericKeyFilter(c.EditDesM);
    c.UpDownDesM->Min = 2;
    c.UpDownDesM->Max = 30;
    c.UpDownDesM->SetPosition(6);
    c.UpDownDesM->SetAssociate(c.EditDesM);

    // The status bar: the help key's panel and the hint panel.
    c.StatusBar1->setSizeGripEnabled(false);
    c.StatusPanelHelp = new QLabel(QStringLiteral(" F1 : Pomocník"), c.StatusBar1);
    c.StatusPanelHelp->setObjectName(QStringLiteral("StatusPanelHelp"));
    c.StatusPanelHelp->setTextFormat(Qt::PlainText);
    c.StatusPanelHelp->setFixedWidth(80);
    c.StatusPanelHint = new QLabel(c.StatusBar1);
    c.StatusPanelHint->setObjectName(QStringLiteral("StatusPanelHint"));
    c.StatusPanelHint->setTextFormat(Qt::PlainText);
    c.StatusBar1->addWidget(c.StatusPanelHelp);
    c.StatusBar1->addWidget(c.StatusPanelHint, 1);
}

void NastavKlavesy(QWidget *w, THlavneOvladace &c, QChar decimalSeparator) {
    Najdi(w, c.BtnSpat, "BtnSpat");
    Najdi(w, c.BtnJednoZmaz, "BtnJednoZmaz");
    Najdi(w, c.BtnCE, "BtnCE");
    Najdi(w, c.BtnC, "BtnC");
    Najdi(w, c.BtnVelkost, "BtnVelkost");
    Najdi(w, c.grafBtn, "grafBtn");
    Najdi(w, c.derivaciaBtn, "derivaciaBtn");
    Najdi(w, c.sumaBtn, "sumaBtn");
    Najdi(w, c.BtnTG, "BtnTG");
    Najdi(w, c.BtnCotg, "BtnCotg");
    Najdi(w, c.Btnarctg, "Btnarctg");
    Najdi(w, c.BtnArccotg, "BtnArccotg");
    Najdi(w, c.BtnDms, "BtnDms");
    Najdi(w, c.BtnCiarka, "BtnCiarka");
    Najdi(w, c.BtnRovnaSa, "BtnRovnaSa");
    c.BtnVelkost->setCheckable(true);
    c.BtnSpat->setEnabled(false);
    c.grafBtn->setIcon(GraphIcon());
    c.grafBtn->setIconSize(QSize(26, 18));
    QPushButton *binomial = nullptr;
    Najdi(w, binomial, "BtnKombinacne");
    binomial->setIcon(BinomialIcon());
    binomial->setIconSize(QSize(26, 22));
    c.BtnCiarka->setText(QString(decimalSeparator));
}

} // namespace

void VytvorHlavneOvladace(QWidget *window, THlavneOvladace &controls, QChar decimalSeparator) {
    // The order of creation stacks the controls (the background first) and
    // is the Tab order.
    Vytvor(window, TitulAVysledok);
    NastavTitulAVysledok(window, controls);
    Vytvor(window, Chyba);
    Najdi(window, controls.Label3, "Label3");
    Najdi(window, controls.LblChyba, "LblChyba");
    Vytvor(window, Rezimy);
    NastavRezimy(window, controls);
    Vytvor(window, MoznostiAStav);
    NastavMoznostiAStav(window, controls);
    Vytvor(window, UpravyANastroje);
    for (const TBlokKlaves &block : Klavesnica)
        Vytvor(window, block);
    Vytvor(window, Pamat);
    NastavKlavesy(window, controls, decimalSeparator);
}
