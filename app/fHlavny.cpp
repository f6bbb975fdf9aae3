#include "fHlavny.h"

#include "fHistoria.h"
#include "fJazyk.h"
#include "fKonstanty.h"
#include "fNahladVyrazu.h"
#include "fPremenne.h"
#include "uAktualizacia.h"
#include "uAppContext.h"
#include "uChyby.h"
#include "uDisk.h"
#include "uHinty.h"
#include "uHlavneMenu.h"
#include "uIniFile.h"
#include "uJpeg.h"
#include "uMagneticForm.h"
#include "uOkna.h"
#include "uOvladace.h"
#include "uPohybOkna.h"
#include "uProgramSettings.h"
#include "uProgramState.h"
#include "uRezimy.h"
#include "uSpolocneOkna.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <QStatusBar>
#include <QToolButton>

#ifndef TARBELON_VERSION
#define TARBELON_VERSION "1.0"
#endif

namespace {

const char *const TagProperty = "tag";
const char *const KindProperty = "druh";
// Set on every control with a hint: true for the keys, which show it as the
// mouse moves over them, false for the fields, which show it as it enters.
const char *const HintGroupProperty = "hintGroup";

// The look of the keys and labels, built into the program from
// resources/styles/hlavny.qss.
QString StyleSheet() {
    QFile file(QStringLiteral(":/styles/hlavny.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QFont PixelFont(int pixels, bool bold = false, const QString &family = QString()) {
    QFont f = family.isEmpty() ? QApplication::font() : QFont(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

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

// Sets the label's text and fits the label to it inside box, at the largest
// font from largestPixels down to smallestPixels at which the text shows
// whole: on one line at the text's own width, kept against the box's right
// or left edge, or else wrapped over the box's whole width. At the smallest
// font a text that still does not fit takes the height it needs.
void FitLabel(QLabel *label, const QString &text, const QRect &box, bool keepRightEdge, int largestPixels,
              int smallestPixels) {
    label->setText(text);
    QFont font = label->font();
    for (int pixels = largestPixels;; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics fm(font);
        // QLabel draws the text one pixel in from each side.
        const int width = fm.horizontalAdvance(text) + 2;
        const bool oneLine = width <= box.width();
        const int wrappedHeight =
            oneLine ? 0 : fm.boundingRect(QRect(0, 0, box.width(), 100 * box.height()), Qt::TextWordWrap, text).height();
        if (oneLine || wrappedHeight <= box.height() || pixels <= smallestPixels) {
            label->setFont(font);
            label->setWordWrap(!oneLine);
            const int w = oneLine ? width : box.width();
            const int h = std::max(box.height(), wrappedHeight);
            label->setGeometry(keepRightEdge ? box.x() + box.width() - w : box.x(), box.y(), w, h);
            return;
        }
    }
}

// The largest font from largestPixels down to smallestPixels at which the
// label's text fits its fixed width on one line.
void FitFixedWidth(QLabel *label, int largestPixels, int smallestPixels) {
    QFont font = label->font();
    for (int pixels = largestPixels; pixels >= smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(label->text()) + 2 <= label->width())
            break;
    }
    label->setFont(font);
}

} // namespace

// ---------------------------------------------------------------------------
// Creation

ThlavnyFrm::ThlavnyFrm(TCompanionWindows &companions, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_companions(companions) {
    setObjectName(QStringLiteral("hlavnyFrm"));
    setFixedSize(HlavnyWidth, HlavnyHeight);
    setStyleSheet(StyleSheet());
    CreateControls();
    CreateKeypad();
    m_menu = new THlavneMenu(*this, ActionMainMenuBar1, m_companions);
    CreatePopupMenus();
    ConnectKeypad();
    InstallHints();
    setMouseTracking(true);
    // "Always on top" holds for every window the program shows.
    new TOnTopFollower([] { return KProgramSettings::Instance().OnTop; }, this);
    FormCreate();
}

ThlavnyFrm::~ThlavnyFrm() {
    if (m_menuCheck && m_menuCheck->IsRunning())
        QApplication::restoreOverrideCursor();
    // A running check is cancelled; a hint thread only reads its own copy
    // of the language file and is waited for, since it posts to this window.
    delete m_menuCheck.data();
    delete m_startCheck.data();
    for (const QPointer<QThread> &thread : std::as_const(m_hintThreads))
        if (thread)
            thread->wait();
}

void ThlavnyFrm::CreateControls() {
    auto tagged = [](QWidget *w, const char *name, int tag) {
        w->setObjectName(QLatin1String(name));
        w->setProperty(TagProperty, tag);
    };

    pozadieImg = new TObrazok(this);
    tagged(pozadieImg, "pozadieImg", TagNikdy);
    pozadieImg->setGeometry(0, 0, HlavnyWidth, HlavnyHeight);
    QFile picture(QStringLiteral(":/pictures/pozadie.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        pozadieImg->SetImage(DecodeJpeg(picture.readAll()));
    pozadieImg->setAttribute(Qt::WA_TransparentForMouseEvents);

    pohybLbl = new QLabel(this);
    tagged(pohybLbl, "pohybLbl", TagVzdy);
    pohybLbl->setTextFormat(Qt::PlainText);
    pohybLbl->setGeometry(0, 0, HlavnyWidth, 24);
    pohybLbl->installEventFilter(this);

    nadpisLbl = new QLabel(this);
    tagged(nadpisLbl, "nadpisLbl", TagVzdy);
    nadpisLbl->setGeometry(12, 3, 240, 19);
    nadpisLbl->setFont(PixelFont(14, true));
    nadpisLbl->setTextFormat(Qt::PlainText);
    nadpisLbl->setAttribute(Qt::WA_TransparentForMouseEvents);

    minimalizovatImg = new TObrazok(this);
    tagged(minimalizovatImg, "minimalizovatImg", TagVzdy);
    minimalizovatImg->setGeometry(586, 4, 16, 16);
    minimalizovatImg->SetImage(TitleGlyph(false));
    minimalizovatImg->setCursor(Qt::PointingHandCursor);
    connect(minimalizovatImg, &TObrazok::clicked, this, &ThlavnyFrm::minimalizovatImgClick);

    zavrietImg = new TObrazok(this);
    tagged(zavrietImg, "zavrietImg", TagVzdy);
    zavrietImg->setGeometry(606, 4, 16, 16);
    zavrietImg->SetImage(TitleGlyph(true));
    zavrietImg->setCursor(Qt::PointingHandCursor);
    connect(zavrietImg, &TObrazok::clicked, this, &QWidget::close);

    // Hidden holders of the two looks of each title picture.
    auto holder = [this](const char *name, const QImage &image) {
        auto *picture = new TObrazok(this);
        picture->setObjectName(QLatin1String(name));
        picture->SetImage(image);
        picture->hide();
        return picture;
    };
    pomZavrietImg = holder("pomZavrietImg", TitleGlyph(true));
    pomZavrietaAktImg = holder("pomZavrietaAktImg", TitleGlyph(true, true));
    pomMinimalizovatImg = holder("pomMinimalizovatImg", TitleGlyph(false));
    pomMinimalizovatAktImg = holder("pomMinimalizovatAktImg", TitleGlyph(false, true));
    zavrietImg->installEventFilter(this);
    minimalizovatImg->installEventFilter(this);

    ActionMainMenuBar1 = new QMenuBar(this);
    tagged(ActionMainMenuBar1, "ActionMainMenuBar1", TagVzdy);
    ActionMainMenuBar1->setGeometry(6, 24, 618, 21);
    ActionMainMenuBar1->setFont(PixelFont(12));

    // Input.
    vstupRdt = new TRiadkovyVstup(this);
    tagged(vstupRdt, "vstupRdt", TagVzdy);
    vstupRdt->setFont(PixelFont(16, false, QStringLiteral("DejaVu Sans Mono")));
    vstupRdt->setGeometry(36, 48, 586, 28);
    // The preview picture at the input's left.
    nahladImg = new TObrazok(this);
    tagged(nahladImg, "nahladImg", TagVzdy);
    nahladImg->setGeometry(9, 50, 22, 24);
    nahladImg->SetImage(PreviewGlyph());
    nahladImg->setCursor(Qt::PointingHandCursor);
    connect(nahladImg, &TObrazok::clicked, this, [this] { ShowExpressionPreview(InputText()); });
    nahladImg->installEventFilter(this);
    connect(vstupRdt, &TRiadkovyVstup::EnterPressed, this, [this] { BtnRovnaSa->click(); });

    // Result panel: memory at the left, the result right-aligned at 620.
    Shape1 = new TTvar(this);
    tagged(Shape1, "Shape1", TagVzdy);
    Shape1->setGeometry(8, 80, 614, 32);
    connect(Shape1, &TTvar::Pressed, this, &ThlavnyFrm::Shape1MouseDown);

    auto *labelM = new QLabel(QStringLiteral("M"), this);
    tagged(labelM, "LabelM", TagVzdy);
    labelM->setTextFormat(Qt::PlainText);
    labelM->setFont(PixelFont(10, true));
    labelM->setGeometry(16, 88, 12, 16);
    LabelPamat = new QLabel(QStringLiteral("0"), this);
    tagged(LabelPamat, "LabelPamat", TagVzdy);
    LabelPamat->setTextFormat(Qt::PlainText);
    LabelPamat->setFont(PixelFont(12));

    // The result sits in a scroll area that is as wide as the result up to
    // its greatest width; a wider result scrolls there, never cut off.
    vysledokScr = new QScrollArea(this);
    vysledokScr->setObjectName(QStringLiteral("vysledokScr"));
    vysledokScr->setFrameShape(QFrame::NoFrame);
    vysledokScr->setWidgetResizable(false);
    vysledokScr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vysledokScr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vysledokScr->viewport()->setAutoFillBackground(false);
    vysledokScr->setGeometry(ResultRightEdge - 100, 82, 100, 28);
    // Set on the area itself, so that its scroll bar, made before the area
    // had its name, takes it.
    vysledokScr->setStyleSheet(QStringLiteral(
        "QScrollArea { background: transparent; border: none; }"
        "QScrollBar:horizontal { height: 7px; margin: 0px; background: #e6e9f2; border: none; border-radius: 3px; }"
        "QScrollBar::handle:horizontal { background: #8e86b8; border-radius: 3px; min-width: 24px; }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0px; border: none; }"
        "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }"));
    vysledokEdt = new QLineEdit;
    tagged(vysledokEdt, "vysledokEdt", TagVzdy);
    vysledokEdt->setReadOnly(true);
    vysledokEdt->setFrame(false);
    vysledokEdt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    vysledokEdt->setFont(PixelFont(ResultFontPixels, true));
    vysledokEdt->setGeometry(0, 0, 100, 28);
    vysledokScr->setWidget(vysledokEdt);
    vysledokEdt->setAutoFillBackground(false);
    vysledokEdt->hide();
    vysledokScr->hide();

    Label3 = new QLabel(this);
    tagged(Label3, "Label3", TagVzdy);
    Label3->setTextFormat(Qt::PlainText);
    Label3->hide();

    LblChyba = new QLabel(this);
    tagged(LblChyba, "LblChyba", TagVzdy);
    LblChyba->setTextFormat(Qt::PlainText);
    LblChyba->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblChyba->setFont(PixelFont(13));
    ShowMemory(LabelPamat->text());
    PlaceErrorLabel(QString());
    LblChyba->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Modes: number set, angle unit, base, then the options.
    const int modeY = 117;
    sbRealne = ModeKey("sbRealne", QStringLiteral("R"), 8, modeY, 26);
    sbKomplexne = ModeKey("sbKomplexne", QStringLiteral("C"), 35, modeY, 26);
    sbModulo = ModeKey("sbModulo", QStringLiteral("Z(5)"), 62, modeY, 44);
    UpDownModulo = new TUpDown(this);
    tagged(UpDownModulo, "UpDownModulo", TagRealneAKomplexne);
    UpDownModulo->setGeometry(107, modeY, 14, 22);
    UpDownModulo->Min = 2;
    UpDownModulo->Max = 97;
    UpDownModulo->SetPosition(5);
    UpDownModulo->OnChanging = [this](int newValue, bool up) { return UpDownModuloChangingEx(newValue, up); };

    sbDeg = ModeKey("sbDeg", QStringLiteral("Deg"), 134, modeY, 38);
    sbRad = ModeKey("sbRad", QStringLiteral("Rad"), 173, modeY, 38);
    sbGrad = ModeKey("sbGrad", QStringLiteral("Grad"), 212, modeY, 40);

    sbHex = ModeKey("sbHex", QStringLiteral("Hex"), 265, modeY, 36);
    sbDec = ModeKey("sbDec", QStringLiteral("Dec"), 302, modeY, 36);
    sbOct = ModeKey("sbOct", QStringLiteral("Oct"), 339, modeY, 36);
    sbBin = ModeKey("sbBin", QStringLiteral("Bin"), 376, modeY, 36);

    for (const QList<QToolButton *> &group : {QList<QToolButton *>{sbRealne, sbKomplexne, sbModulo},
                                               QList<QToolButton *>{sbDeg, sbRad, sbGrad},
                                               QList<QToolButton *>{sbHex, sbDec, sbOct, sbBin}}) {
        auto *g = new QButtonGroup(this);
        g->setExclusive(true);
        for (QToolButton *b : group)
            g->addButton(b);
    }
    sbRealne->setChecked(true);
    sbDeg->setChecked(true);
    sbDec->setChecked(true);
    MarkDown({sbRealne, sbKomplexne, sbModulo});
    MarkDown({sbDeg, sbRad, sbGrad});
    MarkDown({sbHex, sbDec, sbOct, sbBin});
    connect(sbRealne, &QToolButton::clicked, this, [this] { Guarded([this] { sbRealneClick(); }); });
    connect(sbKomplexne, &QToolButton::clicked, this, [this] { Guarded([this] { sbKomplexneClick(); }); });
    connect(sbModulo, &QToolButton::clicked, this, [this] { Guarded([this] { sbModuloClick(); }); });
    for (QToolButton *b : {sbDeg, sbRad, sbGrad})
        connect(b, &QToolButton::clicked, this, [this] { Guarded([this] { sbDegClick(); }); });
    connect(sbHex, &QToolButton::clicked, this, [this] { Guarded([this] { sbHexClick(); }); });
    connect(sbDec, &QToolButton::clicked, this, [this] { Guarded([this] { sbDecClick(); }); });
    connect(sbOct, &QToolButton::clicked, this, [this] { Guarded([this] { sbOctClick(); }); });
    connect(sbBin, &QToolButton::clicked, this, [this] { Guarded([this] { sbBinClick(); }); });

    CheckBoxHyp = new QCheckBox(QStringLiteral("hyp"), this);
    tagged(CheckBoxHyp, "CheckBoxHyp", TagRealne);
    CheckBoxHyp->setFont(PixelFont(12));
    CheckBoxHyp->setGeometry(426, modeY, 50, 22);
    CheckBoxZlomky = new QCheckBox(QStringLiteral("Zlomky"), this);
    tagged(CheckBoxZlomky, "CheckBoxZlomky", TagRealne);
    CheckBoxZlomky->setFont(PixelFont(12));
    CheckBoxZlomky->setGeometry(478, modeY, 72, 22);
    // A mode control keeps no keyboard focus: what is typed after a click
    // goes on into the input, as after a key of the keypad. The check boxes
    // are still reached with Tab.
    CheckBoxHyp->setFocusPolicy(Qt::TabFocus);
    CheckBoxZlomky->setFocusPolicy(Qt::TabFocus);
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             sbRealne, sbKomplexne, sbModulo, sbDeg, sbRad, sbGrad, sbHex, sbDec, sbOct, sbBin, CheckBoxHyp, CheckBoxZlomky})
        connect(b, &QAbstractButton::clicked, this, [this] { vstupRdt->setFocus(Qt::MouseFocusReason); });

    Label4 = new QLabel(QStringLiteral("Des.:"), this);
    tagged(Label4, "Label4", TagVzdy);
    Label4->setTextFormat(Qt::PlainText);
    Label4->setFont(PixelFont(12));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label4->setGeometry(548, modeY, 34, 22);
    EditDesM = new QLineEdit(this);
    tagged(EditDesM, "EditDesM", TagRealneAKomplexne);
    EditDesM->setFont(PixelFont(12));
    EditDesM->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditDesM->setGeometry(585, modeY, 24, 22);
    InstallNumericKeyFilter(EditDesM);
    UpDownDesM = new TUpDown(this);
    tagged(UpDownDesM, "UpDownDesM", TagRealneAKomplexne);
    UpDownDesM->setGeometry(609, modeY, 13, 22);
    UpDownDesM->Min = 2;
    UpDownDesM->Max = 30;
    UpDownDesM->SetPosition(6);
    UpDownDesM->SetAssociate(EditDesM);

    // The status bar: the help key's panel and the hint panel.
    StatusBar1 = new QStatusBar(this);
    tagged(StatusBar1, "StatusBar1", TagVzdy);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, HlavnyHeight - 19, HlavnyWidth, 19);
    StatusBar1->setFont(PixelFont(11));
    StatusPanelHelp = new QLabel(QStringLiteral(" F1 : Pomocník"), StatusBar1);
    StatusPanelHelp->setObjectName(QStringLiteral("StatusPanelHelp"));
    StatusPanelHelp->setTextFormat(Qt::PlainText);
    StatusPanelHelp->setFixedWidth(80);
    FitFixedWidth(StatusPanelHelp, 11, 8);
    StatusPanelHint = new QLabel(StatusBar1);
    StatusPanelHint->setObjectName(QStringLiteral("StatusPanelHint"));
    StatusPanelHint->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(StatusPanelHelp);
    StatusBar1->addWidget(StatusPanelHint, 1);
}

QToolButton *ThlavnyFrm::ModeKey(const char *name, const QString &caption, int x, int y, int w) {
    auto *b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setProperty(TagProperty, TagVzdy);
    b->setProperty(KindProperty, QStringLiteral("rezim"));
    b->setText(caption);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(PixelFont(12));
    b->setGeometry(x, y, w, 22);
    return b;
}

QPushButton *ThlavnyFrm::Key(const char *name, const QString &caption, int tag, const char *kind, int x, int y, int w,
                             int h) {
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setProperty(TagProperty, tag);
    b->setProperty(KindProperty, QLatin1String(kind));
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, y, w, h);
    const bool word = caption.size() > 2;
    b->setFont(PixelFont(word ? 12 : 14, QLatin1String(kind) == QLatin1String("rovnasa")));
    return b;
}

void ThlavnyFrm::CreateKeypad() {
    // Five rows of keys under the modes; the last row ends at 320.
    const int rowY[5] = {172, 202, 232, 262, 292};
    const int h = 28;
    const QChar sep = DecSep();

    // Editing keys in the row of the modes' options, at the right.
    const int editY = 143;
    BtnSpat = Key("BtnSpat", QStringLiteral("Späť"), TagVzdy, "mazanie", 424, editY, 50, 20);
    BtnJednoZmaz = Key("BtnJednoZmaz", QStringLiteral("←"), TagVzdy, "mazanie", 478, editY, 34, 20);
    BtnCE = Key("BtnCE", QStringLiteral("CE"), TagVzdy, "mazanie", 516, editY, 34, 20);
    BtnC = Key("BtnC", QStringLiteral("C"), TagVzdy, "mazanie", 554, editY, 34, 20);
    BtnVelkost = Key("BtnVelkost", QStringLiteral("^"), TagVzdy, "", 596, editY, 26, 20);
    BtnVelkost->setCheckable(true);
    BtnSpat->setEnabled(false);

    // The tool keys in the same row, over the first function columns.
    grafBtn = Key("grafBtn", QString(), TagRealne, "funkcia", 8, editY, 44, 20);
    grafBtn->setIcon(GraphIcon());
    grafBtn->setIconSize(QSize(26, 18));
    derivaciaBtn = Key("derivaciaBtn", QStringLiteral("f'(x)"), TagRealne, "funkcia", 55, editY, 44, 20);
    derivaciaBtn->setFont(PixelFont(13));
    sumaBtn = Key("sumaBtn", QStringLiteral("Σ"), TagRealne, "funkcia", 102, editY, 44, 20);
    sumaBtn->setFont(PixelFont(15));
    connect(grafBtn, &QPushButton::clicked, this, [this] { grafBtnClick(); });
    connect(derivaciaBtn, &QPushButton::clicked, this, [this] { derivaciaBtnClick(); });
    connect(sumaBtn, &QPushButton::clicked, this, [this] { sumaBtnClick(); });

    // Functions: five columns at the left.
    struct Def {
        const char *name;
        QString caption;
        int tag;
    };
    const int fx[5] = {8, 55, 102, 149, 196};
    const Def functions[5][5] = {
        {{"BtnSin", "sin", TagRealne}, {"BtnCos", "cos", TagRealne}, {"BtnTG", "tg", TagRealne},
         {"BtnCotg", "cotg", TagRealne}, {"BtnLog", "log", TagRealne}},
        {{"BtnArcsin", "arcsin", TagRealne}, {"BtnArccos", "arccos", TagRealne}, {"Btnarctg", "arctg", TagRealne},
         {"BtnArccotg", "arccotg", TagRealne}, {"BtnLn", "ln", TagRealne}},
        {{"BtnXna2", QStringLiteral("x²"), TagRealneAKomplexne}, {"BtnXna3", QStringLiteral("x³"), TagRealneAKomplexne},
         {"BtnXnaY", QStringLiteral("xʸ"), TagRealneAKomplexne}, {"BtnDesatNaX", QStringLiteral("10ˣ"), TagRealne},
         {"BtnLogy", QStringLiteral("logᵧ"), TagRealne}},
        {{"BtnDruhaOdmocnina", QStringLiteral("√x"), TagRealne},
         {"BtnTretiaOdmocnina", QStringLiteral("∛x"), TagRealne},
         {"BtnOdmocnina", QStringLiteral("ʸ√x"), TagRealne}, {"BtnEnaX", QStringLiteral("eˣ"), TagRealne},
         {"BtnDvaNaX", QStringLiteral("2ˣ"), TagRealne}},
        {{"BtnFaktorial", "n !", TagRealne}, {"BtnKombinacne", "", TagRealne}, {"BtnDeg", "deg", TagRealne},
         {"BtnDms", "d.ms", TagRealne}, {"BtnRan", "ran", TagRealne}},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const Def &d = functions[r][c];
            QPushButton *b = Key(d.name, d.caption, d.tag, "funkcia", fx[c], rowY[r], 44, h);
            b->setFont(PixelFont(d.caption.size() > 5 ? 11 : 13));
        }
    findChild<QPushButton *>(QStringLiteral("BtnKombinacne"))->setIcon(BinomialIcon());
    findChild<QPushButton *>(QStringLiteral("BtnKombinacne"))->setIconSize(QSize(26, 22));
    BtnTG = findChild<QPushButton *>(QStringLiteral("BtnTG"));
    BtnCotg = findChild<QPushButton *>(QStringLiteral("BtnCotg"));
    Btnarctg = findChild<QPushButton *>(QStringLiteral("Btnarctg"));
    BtnArccotg = findChild<QPushButton *>(QStringLiteral("BtnArccotg"));

    // Hexadecimal digits above the complex keys.
    const int hx[2] = {252, 291};
    const Def special[5][2] = {
        {{"BitBtn39", "A", TagHexa}, {"BitBtn38", "B", TagHexa}},
        {{"BitBtn40", "C", TagHexa}, {"BitBtn41", "D", TagHexa}},
        {{"BitBtn42", "E", TagHexa}, {"BitBtn43", "F", TagHexa}},
        {{"BitBtn49", "+j", TagKomplexne}, {"BitBtn50", "-j", TagKomplexne}},
        {{"BitBtn51", "e^j", TagKomplexne}, {"BitBtn52", "e^-j", TagKomplexne}},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c) {
            const Def &d = special[r][c];
            Key(d.name, d.caption, d.tag, d.tag == TagHexa ? "" : "komplex", hx[c], rowY[r], 36, h);
        }

    // Digits and operators.
    const int dx[5] = {339, 378, 417, 456, 495};
    const Def digits[5][5] = {
        {{"BitBtn7", "7", TagCislice2az7}, {"BitBtn8", "8", TagCislice8a9}, {"BitBtn9", "9", TagCislice8a9},
         {"BitBtn44", "(", TagVzdy}, {"BitBtn45", ")", TagVzdy}},
        {{"BitBtn4", "4", TagCislice2az7}, {"BitBtn5", "5", TagCislice2az7}, {"BitBtn6", "6", TagCislice2az7},
         {"BtnKrat", "x", TagVzdy}, {"BtnDeleno", "/", TagVzdy}},
        {{"BitBtn1", "1", TagVzdy}, {"BitBtn2", "2", TagCislice2az7}, {"BitBtn3", "3", TagCislice2az7},
         {"BtnMinus", "-", TagVzdy}, {"BtnPlus", "+", TagVzdy}},
        {{"BitBtn10", "0", TagVzdy}, {"BtnCiarka", QString(sep), TagRealneAKomplexne},
         {"BtnPercenta", "%", TagRealne}, {"BtnDiv", "div", TagRealne}, {"BtnMod", "mod", TagRealne}},
        {{"BtnANS", "ANS", TagVzdy}, {"BtnPrevratena", "1/x", TagVzdy}, {"BtnKonstanta", "$", TagRealneAKomplexne},
         {"BtnPi", QStringLiteral("π"), TagRealneAKomplexne}, {"BtnAbs", "| x |", TagRealneAKomplexne}},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const Def &d = digits[r][c];
            const QString name = QLatin1String(d.name);
            const char *kind = "";
            if (c >= 3 || name == QLatin1String("BtnPercenta"))
                kind = "operator";
            if (name == QLatin1String("BtnANS"))
                kind = "pamat";
            if (r == 4 && c > 0)
                kind = "funkcia";
            Key(d.name, d.caption, d.tag, kind, dx[c], rowY[r], 36, h);
        }
    BtnCiarka = findChild<QPushButton *>(QStringLiteral("BtnCiarka"));
    BtnDms = findChild<QPushButton *>(QStringLiteral("BtnDms"));

    // Memory, the complex form key and "=".
    Key("BtnMS", QStringLiteral("MS"), TagVzdy, "pamat", 543, rowY[0], 38, h);
    Key("BtnMR", QStringLiteral("MR"), TagVzdy, "pamat", 584, rowY[0], 38, h);
    Key("BtnAE", QStringLiteral("A E"), TagKomplexne, "komplex", 543, rowY[1], 79, h);
    BtnRovnaSa = Key("BtnRovnaSa", QStringLiteral("="), TagVzdy, "rovnasa", 543, rowY[2], 79, rowY[4] + h - rowY[2]);
    BtnRovnaSa->setFont(PixelFont(26, true));
    connect(BtnRovnaSa, &QPushButton::clicked, this, [this] { BtnRovnaSaClick(); });
}

void ThlavnyFrm::FormCreate() {
    m_model.Ans = QStringLiteral("0");
    m_model.AnsRadix = 10;
    m_model.Radix = 10;
    KProgramSettings &s = KProgramSettings::Instance();

    nadpisLbl->setText(QStringLiteral("Tarbelon ") + QStringLiteral(TARBELON_VERSION));
    setWindowTitle(nadpisLbl->text());

    s.Load(&SettingsIni());
    m_menu->ShowSettings(s);
    PlaceOnScreen(s);
    setWindowFlag(Qt::WindowStaysOnTopHint, s.OnTop);
    if (s.SaveMemoryData)
        ShowMemory(s.Memory);

    LoadLanguageFile(s.LanguageFile); // a missing file keeps the built-in texts
    ApplyLanguage();

    m_userId = ReadOrCreateUserId(SettingsIni());
    TimerZaciatok = new QTimer(this);
    TimerZaciatok->setObjectName(QStringLiteral("TimerZaciatok"));
    TimerZaciatok->setSingleShot(true);
    TimerZaciatok->setInterval(1000);
    connect(TimerZaciatok, &QTimer::timeout, this, &ThlavnyFrm::TimerZaciatokTimer);
    TimerZaciatok->start();
    m_prvocisla.Clear();
    SetRoundRegion(11);

    // The modes as the keys show them at start.
    m_model.AngleUnit = TAngleUnit::Degrees;
    SyncModelWithControls();
    ApplyEnabling();
    vstupRdt->setFocus();
}

void ThlavnyFrm::PlaceOnScreen(const KProgramSettings &s) {
    QScreen *primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
    if (s.Center) {
        move(screen.center() - QPoint(width() / 2, height() / 2));
        return;
    }
    move(s.Left, s.Top);
    // The window has no frame: it is moved by its title strip, so that strip
    // must lie on some screen; otherwise the window comes to the middle of
    // the primary screen.
    const QRect title(s.Left, s.Top, width(), 24);
    for (QScreen *sc : QGuiApplication::screens()) {
        const QRect visible = sc->availableGeometry().intersected(title);
        if (visible.width() >= 20 && visible.height() >= 10)
            return;
    }
    move(screen.center() - QPoint(width() / 2, height() / 2));
}

void ThlavnyFrm::SetRoundRegion(int radius) {
    QPainterPath path;
    const qreal r = radius / 2.0;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height()), r, r);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

// ---------------------------------------------------------------------------
// Texts

// The check boxes and the decimals caption take the width their texts need,
// packed to the right against the decimals field, so that a longer caption
// of another language never runs into its neighbour.
void ThlavnyFrm::LayoutOptionsRow() {
    const int y = Label4->y();
    const int h = Label4->height();
    const int labelWidth = Label4->fontMetrics().horizontalAdvance(Label4->text()) + 2;
    Label4->setGeometry(EditDesM->x() - 2 - labelWidth, y, labelWidth, h);
    const int fractionsWidth = CheckBoxZlomky->sizeHint().width();
    CheckBoxZlomky->setGeometry(Label4->x() - 2 - fractionsWidth, y, fractionsWidth, h);
    const int hypWidth = CheckBoxHyp->sizeHint().width();
    CheckBoxHyp->setGeometry(CheckBoxZlomky->x() - 4 - hypWidth, y, hypWidth, h);
}

void ThlavnyFrm::ApplyLanguage() {
    BtnCiarka->setText(QString(DecSep()));
    m_texts.Reset();
    const std::shared_ptr<const TIniFile> language = LanguageIni();
    if (!language) {
        m_texts.LanguageCode = QStringLiteral("e1");
        return;
    }
    m_menu->ApplyLanguage();

    const QString window = QStringLiteral("MainWindow");
    TranslateText(CheckBoxHyp, window, QStringLiteral("Hyperbolic"));
    TranslateText(CheckBoxZlomky, window, QStringLiteral("Fractions"));
    TranslateText(Label4, window, QStringLiteral("Decimals"));
    TranslateText(BtnSpat, window, QStringLiteral("Back"));
    TranslateText(StatusPanelHelp, window, QStringLiteral("Help"));
    FitFixedWidth(StatusPanelHelp, 11, 8);
    TranslateText(BtnTG, window, QStringLiteral("btnTan"));
    TranslateText(BtnCotg, window, QStringLiteral("btnCotan"));
    TranslateText(Btnarctg, window, QStringLiteral("btnArctan"));
    TranslateText(BtnArccotg, window, QStringLiteral("btnArccot"));
    LayoutOptionsRow();
    const QString common = QStringLiteral("Common");
    auto item = [](QAction *a, const QString &section, const char *key) {
        a->setText(LanguageText(section, QLatin1String(key), a->text()));
    };
    item(vystrihnut1, common, "Cut");
    item(kopirovat1, common, "Copy");
    item(prilepit, common, "Paste");
    item(odstranit1, common, "Delete");
    item(Vybravetko1, common, "SelectAll");
    item(kopirovat2, common, "Copy");
    item(UlozitDoPamate2, window, "SaveToMemory");
    item(vybratVsetko, common, "SelectAll");

    m_texts.Apply(*language);

    // The hints follow off the main thread, from this file's own object.
    m_hintThreads.removeAll(QPointer<QThread>());
    if (QThread *thread = StartHintTranslation(language, this, [this](const THint &hint) { SetHint(hint.Control, hint.Text); }))
        m_hintThreads.append(thread);
}

void ThlavnyFrm::SetToolWindows(TToolWindowsLink *tools, TBrowserLink *browser) {
    m_tools = tools;
    m_browser = browser;
    if (m_tools)
        m_tools->Attach(this);
    if (m_browser)
        m_browser->Attach(this);
    m_menu->SetToolWindows(m_tools, m_browser);
}

bool ThlavnyFrm::ApplyLanguageToAllForms(const QString &fileName) {
    if (!LoadLanguageFile(fileName))
        return false;
    ApplyLanguage();
    m_companions.ApplyLanguage();
    if (m_tools)
        m_tools->ApplyLanguage();
    if (m_browser)
        m_browser->ApplyLanguage();
    KProgramSettings::Instance().LanguageFile = fileName;
    return true;
}

TpremenneFrm *ThlavnyFrm::Premenne() const { return m_companions.Get<TpremenneFrm>(TCompanion::Variables); }

ThistoriaFrm *ThlavnyFrm::Historia() const { return m_companions.Get<ThistoriaFrm>(TCompanion::History); }

void ThlavnyFrm::ShowExpressionPreview(const QString &text) {
    auto *preview = m_companions.Get<TnahladVyrazuFrm>(TCompanion::Preview);
    if (!preview)
        return;
    // The syntax check reports into the window's one error record.
    preview->SetExpression(ExpressionPreviewText(text, m_model.LastError));
    preview->show();
    preview->raise();
    preview->Redraw();
}

// ---------------------------------------------------------------------------
// The "=" road

void ThlavnyFrm::SyncModelWithControls() {
    TpremenneFrm *premenne = Premenne();
    m_model.Premenne = premenne ? &premenne->Model() : nullptr;
    TkonstantyFrm *konstanty = m_companions.Get<TkonstantyFrm>(TCompanion::Constants);
    m_model.Konstanty = konstanty ? &konstanty->Model() : nullptr;
    m_model.NumberSet = sbKomplexne->isChecked() ? MnozinaKomplexne
                        : sbModulo->isChecked()  ? MnozinaModulo
                                                 : MnozinaRealne;
    m_model.Fractions = CheckBoxZlomky->isChecked();
    m_model.Decimals = quint8(UpDownDesM->Position());
    m_model.Modulus = quint16(UpDownModulo->Position());
}

void ThlavnyFrm::BtnRovnaSaClick() {
    Guarded([this] {
        LblChyba->clear();
        SyncModelWithControls();
        const QString input = vstupRdt->Text();
        const TVysledokVypoctu out = m_model.Calculate(input);
        if (!out.Ok) {
            ShowError(m_model.LastError);
            if (out.ShowVariables)
                ShowVariablesWindow(input, QString());
            return;
        }
        ShowResult(out.Shown);
        AddToHistory();
    });
}

void ThlavnyFrm::Calculate() { BtnRovnaSa->click(); }

void ThlavnyFrm::AddMissingVariables(const QString &expression, const QString &excludedName) {
    Guarded([&] {
        SyncModelWithControls();
        m_model.AddMissingVariables(expression, excludedName);
    });
}

void ThlavnyFrm::ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                        quint8 mode) {
    SyncModelWithControls();
    m_model.ValidateVariableValues(expression, err, excludedName, mode);
}

void ThlavnyFrm::ShowResult(const QString &text) {
    LblChyba->clear();
    if (text.isEmpty()) {
        HideResult();
        return;
    }
    const QString shown = QStringLiteral("  ") + text;
    // The result takes the font that lets it fit, down to the smallest
    // readable one; a result wider than that scrolls.
    QFont font = vysledokEdt->font();
    int width = 0;
    for (int pixels = ResultFontPixels; pixels >= ResultMinFontPixels; --pixels) {
        font.setPixelSize(pixels);
        // The field's own margins come on top of the text's width.
        width = QFontMetrics(font).horizontalAdvance(shown) + 8;
        if (width <= ResultMaxWidth)
            break;
    }
    Label3->setFont(font);
    Label3->setText(shown);
    vysledokEdt->setFont(font);
    const bool scrolls = width > ResultMaxWidth;
    const int w = scrolls ? ResultMaxWidth : width;
    const int bar = scrolls ? vysledokScr->horizontalScrollBar()->sizeHint().height() : 0;
    vysledokScr->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    vysledokScr->setGeometry(ResultRightEdge - w, 82, w, 28);
    vysledokEdt->setGeometry(0, 0, width, 28 - bar);
    vysledokEdt->setText(shown);
    vysledokEdt->setCursorPosition(0);
    vysledokEdt->show();
    vysledokScr->show();
    // The beginning of the number first: its highest digits and its sign.
    vysledokScr->horizontalScrollBar()->setValue(0);
    Shape1->update();
}

void ThlavnyFrm::ShowMemory(const QString &text) {
    // Up to the left end of the widest result, which may be shown beside it.
    const int left = 30;
    FitLabel(LabelPamat, text, QRect(left, 81, ResultRightEdge - ResultMaxWidth - 4 - left, 30), false, 12, 8);
    if (!LblChyba->text().isEmpty())
        PlaceErrorLabel(LblChyba->text());
}

void ThlavnyFrm::PlaceErrorLabel(const QString &text) {
    const int left = LabelPamat->x() + LabelPamat->width() + 8;
    FitLabel(LblChyba, text, QRect(left, 81, ResultRightEdge - left, 30), true, 13, 9);
}

void ThlavnyFrm::HideResult() {
    vysledokEdt->hide();
    vysledokScr->hide();
    Shape1->update();
}

void ThlavnyFrm::AddToHistory() {
    vstupRdt->setFocus();
    vstupRdt->SelectAll();
    vstupRdt->SetSelectionPlain();
    vstupRdt->SelectAll();
    KProgramState::Instance().JustEvaluated = true;
    const QString input = vstupRdt->Text();
    const QString entry = HistoryEntry(input, vysledokEdt->text(), m_model.BuildVariableList(input));
    if (ThistoriaFrm *historia = Historia())
        historia->PridajDoHistorie(entry);
}

void ThlavnyFrm::ShowError(const TChyba &err) {
    const QString text = ErrorMessage(err);
    vstupRdt->SelectAll();
    vstupRdt->SetSelectionPlain();
    ShowResult(QString());
    PlaceErrorLabel(text);
    vstupRdt->setFocus();
    vstupRdt->SetCaret(int(vstupRdt->Text().size()));
    if (err.SpanEnd != 0)
        vstupRdt->Select(err.SpanStart, err.SpanEnd - err.SpanStart);
    else
        vstupRdt->SelectAll();
}

void ThlavnyFrm::Shape1MouseDown() { vysledokEdt->deselect(); }

void ThlavnyFrm::ShowVariablesWindow(const QString &expression, const QString &excludedName) {
    TpremenneFrm *premenne = Premenne();
    if (!premenne)
        return;
    QStringList names;
    Guarded([&] { CollectVariableNames(expression, m_model.Context(), names, excludedName); });
    GiveFormStyle(premenne);
    premenne->show();
    premenne->raise();
    premenne->activateWindow();
    premenne->FocusEditor(names);
}

void ThlavnyFrm::ActivateInput() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    vstupRdt->setFocus(Qt::OtherFocusReason);
}

void ThlavnyFrm::TakeResult(long double value) {
    Guarded([&] {
        SyncModelWithControls();
        QString shown;
        if (m_model.TakeRealResult(value, shown))
            ShowResult(shown);
        else
            ShowError(m_model.LastError);
    });
}

// ---------------------------------------------------------------------------
// The tool keys

bool ThlavnyFrm::PrepareToolExpression(quint8 emptyCode, QString &expression) {
    LblChyba->clear();
    SyncModelWithControls();
    if (m_model.PrepareToolExpression(vstupRdt->Text(), emptyCode, expression))
        return true;
    ShowError(m_model.LastError);
    return false;
}

void ThlavnyFrm::grafBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(33, e))
            return;
        // x is the graph's own variable: it needs no value.
        const QString x = QStringLiteral("x");
        AddMissingVariables(e, x);
        ValidateVariableValues(e, m_model.LastError, x, KontrolaRealne);
        if (m_model.LastError.Code == TErrorCode::MissingValue) {
            ShowError(m_model.LastError);
            ShowVariablesWindow(e, x);
            return;
        }
        if (m_tools)
            m_tools->ShowGraph(e);
    });
}

void ThlavnyFrm::derivaciaBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(33, e))
            return;
        // The derivative is symbolic: no variable needs a value.
        if (m_tools)
            m_tools->ShowDerivatives(e);
    });
}

void ThlavnyFrm::sumaBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(34, e))
            return;
        // The sum window checks the variables itself when it calculates.
        if (m_tools)
            m_tools->ShowSum(e);
    });
}

// ---------------------------------------------------------------------------
// Modes

void ThlavnyFrm::MarkDown(const QList<QToolButton *> &group) {
    for (QToolButton *b : group)
        SetBold(b, b->isChecked());
}

void ThlavnyFrm::ApplyEnabling() {
    SyncModelWithControls();
    const quint8 set = m_model.NumberSet;
    const quint8 radix = m_model.Radix;
    setUpdatesEnabled(false);
    for (QObject *child : children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w)
            continue;
        const QVariant tag = w->property(TagProperty);
        if (tag.isValid())
            w->setEnabled(IsEnabledForMode(tag.toInt(), set, radix));
    }
    UpDownModulo->setEnabled(set == MnozinaModulo);
    setUpdatesEnabled(true);
    update();
}

void ThlavnyFrm::SwitchNumberSet(quint8 numberSet) {
    MarkDown({sbRealne, sbKomplexne, sbModulo});
    ApplyEnabling();
    m_model.NumberSet = numberSet;
    RepaintChildControls();
}

void ThlavnyFrm::SwitchBase(quint8 base) {
    MarkDown({sbHex, sbDec, sbOct, sbBin});
    SyncModelWithControls();
    // The model converts from the old base and takes the new one, also
    // after an error.
    const TPrepnutieSustavy out = m_model.SwitchBase(base, vstupRdt->Text(), vysledokEdt->text());
    ApplyEnabling();
    if (out.InputConverted)
        vstupRdt->SetText(out.Input);
    if (out.ResultConverted) {
        if (out.Result.isEmpty())
            vysledokEdt->clear();
        ShowResult(out.Result);
    }
    if (m_model.LastError.Failed())
        ShowError(m_model.LastError);
    RepaintChildControls();
}

void ThlavnyFrm::UpdateAngleUnit() {
    const QToolButton *keys[3] = {sbDeg, sbRad, sbGrad};
    for (quint8 unit = 0; unit < 3; ++unit) {
        auto *b = const_cast<QToolButton *>(keys[unit]);
        SetBold(b, b->isChecked());
        if (b->isChecked())
            m_model.AngleUnit = TAngleUnit(unit);
    }
}

bool ThlavnyFrm::UpDownModuloChangingEx(int newValue, bool up) {
    Guarded([&] {
        const quint16 position = StepModulus(m_prvocisla, quint16(UpDownModulo->Position()), newValue, up);
        const QSignalBlocker quiet(UpDownModulo);
        UpDownModulo->SetPosition(position);
        sbModulo->setText(QStringLiteral("Z (") + QString::number(position) + QLatin1Char(')'));
    });
    return false;
}

// ---------------------------------------------------------------------------
// Companions

QString ThlavnyFrm::InputText() const { return vstupRdt->Text(); }

void ThlavnyFrm::SetInputText(const QString &text) {
    Guarded([&] { vstupRdt->SetText(text); });
}

void ThlavnyFrm::SetBackEnabled(bool enabled) { BtnSpat->setEnabled(enabled); }

void ThlavnyFrm::UseExpression(const QString &text) {
    QString expression = text;
    const qsizetype eq = expression.indexOf(QLatin1Char('='));
    if (eq >= 0)
        expression.remove(0, eq + 1);
    AddMissingVariables(expression, QString());
    if (TpremenneFrm *premenne = Premenne()) {
        GiveFormStyle(premenne);
        premenne->show();
    }
    SetInputText(expression);
    show();
    raise();
    activateWindow();
}

void ThlavnyFrm::GiveFormStyle(QWidget *window) const {
    if (!window)
        return;
    SetStaysOnTop(window, KProgramSettings::Instance().OnTop);
}

// ---------------------------------------------------------------------------
// Moving and closing

bool ThlavnyFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == vstupRdt) {
        if (event->type() == QEvent::KeyPress) {
            auto *e = static_cast<QKeyEvent *>(event);
            bool typed = false;
            Guarded([&] {
                vstupRdtKeyDown(e->key(), e->modifiers());
                // A typed character never reaches the input itself: the key
                // rules put it in or drop it. Backspace, Enter, Tab and the
                // control keys go on to the input's own handling.
                TypedOnMainKeyboard = !e->modifiers().testFlag(Qt::KeypadModifier);
                // Alt and Meta chords are the menus' and the desktop's keys,
                // never characters for the expression: one that no shortcut
                // took is dropped.
                if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) {
                    typed = true;
                    return;
                }
                for (QChar c : e->text())
                    if (c.unicode() >= 32 && c.unicode() != 127) {
                        typed = true;
                        vstupRdtKeyPress(c);
                    }
            });
            TypedOnMainKeyboard = false;
            return typed;
        }
        if (event->type() == QEvent::KeyRelease) {
            auto *e = static_cast<QKeyEvent *>(event);
            vstupRdtKeyUp(e->key(), e->modifiers());
        }
    } else if (watched == vstupRdt->viewport()) {
        // After the input has taken the release: a click into a selection
        // clears it only then.
        if (event->type() == QEvent::MouseButtonRelease)
            QMetaObject::invokeMethod(this, [this] { Guarded([this] { vstupRdtMouseUp(); }); }, Qt::QueuedConnection);
    } else if (watched == pohybLbl) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton)
                pohybLblMouseDown(e->position().toPoint());
        } else if (event->type() == QEvent::MouseMove) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons().testFlag(Qt::LeftButton))
                pohybLblMouseMove(e->position().toPoint());
        }
    } else if (watched == zavrietImg || watched == minimalizovatImg || watched == nahladImg) {
        TitlePictureEvent(static_cast<TObrazok *>(watched), event);
    }
    if (auto *control = qobject_cast<QWidget *>(watched); control && control->property(HintGroupProperty).isValid()) {
        const bool keyGroup = control->property(HintGroupProperty).toBool();
        if (event->type() == QEvent::Enter || (keyGroup && event->type() == QEvent::MouseMove)) {
            if (keyGroup)
                ZmenHint(control);
            else
                CheckBoxHypMouseEnter(control);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ThlavnyFrm::SaveAtClose() {
    KProgramSettings &s = KProgramSettings::Instance();
    bool ok = true;
    // Each write is tried on its own, so that one failure loses nothing else.
    try {
        s.Memory = LabelPamat->text();
        s.Top = y();
        s.Left = x();
        ok = s.Save(&SettingsIni()) && ok;
    } catch (...) {
        ok = false;
    }
    try {
        if (ThistoriaFrm *historia = Historia(); s.SaveHistory && historia)
            ok = historia->SaveHistoryFile() && ok;
    } catch (...) {
        ok = false;
    }
    try {
        // Constants changed and not yet written would be lost with the window.
        if (auto *konstanty = m_companions.Get<TkonstantyFrm>(TCompanion::Constants))
            ok = konstanty->SaveConstants() && ok;
    } catch (...) {
        ok = false;
    }
    try {
        ok = WriteUserId(SettingsIni(), m_userId) && ok;
    } catch (...) {
        ok = false;
    }
    if (!ok)
        ShowWarningBox(m_texts.msgError, m_texts.msgCouldntSaveSettings, this);
    return ok;
}

void ThlavnyFrm::minimalizovatImgClick() {
    // A window in a modal loop is left alone, since hiding it would end the
    // loop; while one runs, this picture cannot be clicked anyway.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && IsProgramWindow(window) && window->isVisible()
            && window->windowModality() == Qt::NonModal) {
            m_hiddenByMinimise.append(window);
            window->hide();
        }
    showMinimized();
    // Without a window manager nothing takes the main window off the screen:
    // then the others come back too, rather than being lost.
    QTimer::singleShot(MinimiseCheckMs, this, [this] {
        if (isMinimized() && windowHandle() && windowHandle()->isExposed())
            showNormal();
    });
}

void ThlavnyFrm::RestoreHiddenWindows() {
    const QList<QPointer<QWidget>> hidden = std::exchange(m_hiddenByMinimise, {});
    // They come back over the main window, as they were, while the keyboard
    // stays with the main window that the desktop has just restored.
    for (const QPointer<QWidget> &window : hidden)
        if (window) {
            const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
            window->setAttribute(Qt::WA_ShowWithoutActivating);
            window->show();
            window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
        }
}

void ThlavnyFrm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        RestoreHiddenWindows();
}

void ThlavnyFrm::closeEvent(QCloseEvent *event) {
    if (!m_closed) {
        m_closed = true;
        SaveAtClose();
        QCoreApplication::quit();
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Title area

void ThlavnyFrm::pohybLblMouseDown(const QPoint &at) { m_dragFrom = at; }

void ThlavnyFrm::pohybLblMouseMove(const QPoint &at) {
    QScreen *primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->virtualGeometry() : QRect(0, 0, 1024, 768);
    const QRect outer = frameGeometry();
    const QPoint target = DragPosition(outer, at - m_dragFrom, screen);
    if (target == outer.topLeft())
        return;
    MoveTouchingCompanions(outer, target, m_companions.Docked());
    move(target);
}

void ThlavnyFrm::TitlePictureEvent(TObrazok *picture, QEvent *event) {
    const bool close = picture == zavrietImg;
    // Only the close and minimise pictures have a highlighted look.
    const bool lights = picture != nahladImg;
    const char *const pressed = "stlaceny";
    switch (event->type()) {
    case QEvent::Enter:
        if (lights)
            picture->SetImage((close ? pomZavrietaAktImg : pomMinimalizovatAktImg)->Image());
        break;
    case QEvent::Leave:
        if (lights)
            picture->SetImage((close ? pomZavrietImg : pomMinimalizovatImg)->Image());
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !picture->property(pressed).toBool()) {
            picture->setProperty(pressed, true);
            picture->move(picture->pos() + QPoint(1, 1));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (picture->property(pressed).toBool()) {
            picture->setProperty(pressed, false);
            picture->move(picture->pos() - QPoint(1, 1));
        }
        break;
    default:
        break;
    }
}

void ThlavnyFrm::RepaintChildControls() {
    for (QObject *child : children())
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
            w->repaint();
}

// ---------------------------------------------------------------------------
// Status-bar hints

void ThlavnyFrm::InstallHints() {
    // Controls that show their hint when the mouse enters them; the keys
    // show it also as the mouse moves over them.
    static const QStringList enterControls = {
        QStringLiteral("Shape1"),     QStringLiteral("LabelPamat"),   QStringLiteral("nahladImg"),
        QStringLiteral("CheckBoxHyp"), QStringLiteral("CheckBoxZlomky"), QStringLiteral("vstupRdt"),
        QStringLiteral("EditDesM"),   QStringLiteral("UpDownDesM"),   QStringLiteral("UpDownModulo"),
        QStringLiteral("vysledokEdt")};
    for (const THintRow &row : HintRows()) {
        const QString name = QLatin1String(row.Control);
        QWidget *control = findChild<QWidget *>(name);
        if (!control)
            continue;
        control->setStatusTip(QString::fromUtf8(row.BuiltIn));
        control->setProperty(HintGroupProperty, !enterControls.contains(name));
        control->installEventFilter(this);
    }
}

void ThlavnyFrm::SetHint(const QString &control, const QString &text) {
    if (QWidget *w = findChild<QWidget *>(control))
        w->setStatusTip(text);
}

void ThlavnyFrm::ZmenHint(QWidget *control) {
    if (control)
        StatusPanelHint->setText(QLatin1Char(' ') + control->statusTip());
}

void ThlavnyFrm::CheckBoxHypMouseEnter(QWidget *control) {
    // Every control bound to this handler is of a kind that shows a hint.
    ZmenHint(control);
}

void ThlavnyFrm::ObnovHint() { StatusPanelHint->clear(); }

void ThlavnyFrm::mouseMoveEvent(QMouseEvent *event) {
    // Only over the window's own background: a control under the mouse
    // that passed the move on keeps its hint.
    if (!childAt(event->position().toPoint()))
        ObnovHint();
    QWidget::mouseMoveEvent(event);
}

// ---------------------------------------------------------------------------
// Help menu and the update check

void ThlavnyFrm::ZobrazitNavodActExecute() {
    const QString path = ManualPath(ProgramDir(), m_texts.ManualFile);
    if (!path.isEmpty()) {
        if (const auto &open = AppContext().OpenUrl)
            open(QUrl::fromLocalFile(path));
        return;
    }
    ShowWarningBox(m_texts.msgError, m_texts.msgCouldntFindManual, this);
}

TUpdateCheck *ThlavnyFrm::StartUpdateCheck(bool automatic) {
    auto *check =
        new TUpdateCheck(UpdateUrl(AppContext().UpdateInfoUrl, m_userId, m_texts.LanguageCode, automatic), UpdateTimeoutMs, this);
    connect(check, &TUpdateCheck::Finished, check, &QObject::deleteLater);
    return check;
}

bool ThlavnyFrm::UpdateCheckRunning() const {
    return (m_menuCheck && m_menuCheck->IsRunning()) || (m_startCheck && m_startCheck->IsRunning());
}

void ThlavnyFrm::ZistitNovsiuVerziuActExecute() {
    if (m_menuCheck && m_menuCheck->IsRunning())
        return; // the one already asked for answers
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_menuCheck = StartUpdateCheck(false);
    connect(m_menuCheck, &TUpdateCheck::Finished, this, [this](TUpdateResult result) {
        QApplication::restoreOverrideCursor();
        switch (result) {
        case TUpdateResult::Newer:
            OfferDownload();
            break;
        case TUpdateResult::Latest:
            ShowInfoBox(m_texts.msgUpdateCheck, m_texts.msgUsingLatestVersion, this);
            break;
        case TUpdateResult::Failed:
            ShowWarningBox(m_texts.msgUpdateCheck, m_texts.msgUnableToFindUpdates, this);
            break;
        }
    });
    m_menuCheck->Start();
}

void ThlavnyFrm::TimerZaciatokTimer() {
    TimerZaciatok->stop();
    if (!KProgramSettings::Instance().CheckUpdatesAtStart || m_startCheck)
        return; // once per start
    m_startCheck = StartUpdateCheck(true);
    // Only a newer build is worth a word at start.
    connect(m_startCheck, &TUpdateCheck::Finished, this, [this](TUpdateResult result) {
        if (result == TUpdateResult::Newer)
            OfferDownload();
    });
    m_startCheck->Start();
}

void ThlavnyFrm::OfferDownload() {
    const TAnswer answer = AppContext().Prompter().Show(this, TMessageKind::InformationQuestion, m_texts.msgUpdateCheck,
                                                        m_texts.msgNewVersionFound);
    if (answer == TAnswer::Yes)
        if (const auto &open = AppContext().OpenUrl)
            open(QUrl(m_texts.DownloadPage));
}
