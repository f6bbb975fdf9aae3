#include "fGrafyFunkcii.h"

#include "uDisk.h"
#include "uSpolocneOkna.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

namespace {

const QString Section = QStringLiteral("FunctionGraph");
const QString BuiltInCaptionPrefix = QStringLiteral("Graf funkcie y =");

// The client area as designed; the controls keep their distances from the
// edges they are anchored to.
constexpr int DesignWidth = 665;
constexpr int DesignHeight = 409;
constexpr int PanelHeight = 56;
// The vertical ruler as designed; it grows when a label needs more.
constexpr int DesignRulerWidth = 26;

// The images' sizes are 16-bit in the model's arithmetic.
int Fit16(int v) { return std::clamp(v, 1, 32767); }

enum class TPicture { Left, Right, Up, Down, Centre, Zoom };

// The pictures of the move buttons and the zoom button, drawn here.
QIcon Picture(TPicture kind) {
    const int size = 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x1F, 0x3A, 0x70);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    auto arrow = [&p](qreal angle) {
        // An arrow pointing right, turned about the centre.
        p.save();
        p.translate(8, 8);
        p.rotate(angle);
        p.drawLine(QPointF(-6, 0), QPointF(1, 0));
        QPainterPath head;
        head.moveTo(6.5, 0);
        head.lineTo(0, -5);
        head.lineTo(0, 5);
        head.closeSubpath();
        p.drawPath(head);
        p.restore();
    };
    switch (kind) {
    case TPicture::Right: arrow(0); break;
    case TPicture::Down: arrow(90); break;
    case TPicture::Left: arrow(180); break;
    case TPicture::Up: arrow(270); break;
    case TPicture::Centre:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 5, 5);
        p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
        p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
        p.setBrush(ink);
        p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
        break;
    case TPicture::Zoom:
        p.setBrush(QColor(0xDD, 0xE8, 0xF8));
        p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
        break;
    }
    return QIcon(pixmap);
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(26, 24);
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

QPushButton *MakeButton(QWidget *parent, const char *name, TPicture picture) {
    QPushButton *b = MakeButton(parent, name, QString());
    b->setIcon(Picture(picture));
    return b;
}

QGroupBox *MakeGroup(QWidget *parent, const char *name, const QString &title, const QList<QWidget *> &children) {
    auto *g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    auto *layout = new QHBoxLayout(g);
    layout->setContentsMargins(5, 2, 5, 4);
    layout->setSpacing(2);
    for (QWidget *w : children) {
        w->setParent(g);
        layout->addWidget(w);
    }
    return g;
}

} // namespace

void TObrazGrafu::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawImage(0, 0, Picture);
}

TGrafyFunkciiFrm::TGrafyFunkciiFrm(QWidget *parent, TGrafFunkcie::TSamplerFactory samplerFactory)
    : QWidget(parent, ToolWindowFlags) {
    setObjectName(QStringLiteral("GrafyFunkciiFrm"));
    setWindowTitle(BuiltInCaptionPrefix);
    setMinimumSize(320, 240);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Plain);
    grafImg = new TObrazGrafu(this);
    grafImg->setObjectName(QStringLiteral("grafImg"));
    grafImg->setCursor(Qt::OpenHandCursor);
    grafImg->installEventFilter(this);
    vodorovnePravitkoImg = new TObrazGrafu(this);
    vodorovnePravitkoImg->setObjectName(QStringLiteral("vodorovnePravitkoImg"));
    zvislePravitkoImg = new TObrazGrafu(this);
    zvislePravitkoImg->setObjectName(QStringLiteral("zvislePravitkoImg"));
    Label1 = new QLabel(QStringLiteral("y \\ x"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);

    ovladaniePnl = new QWidget(this);
    ovladaniePnl->setObjectName(QStringLiteral("ovladaniePnl"));

    vlavoBtn = MakeButton(this, "vlavoBtn", TPicture::Left);
    horeBtn = MakeButton(this, "horeBtn", TPicture::Up);
    doleBtn = MakeButton(this, "doleBtn", TPicture::Down);
    vpravoBtn = MakeButton(this, "vpravoBtn", TPicture::Right);
    vystredBtn = MakeButton(this, "vystredBtn", TPicture::Centre);
    posunUpd = new QSpinBox(this);
    posunUpd->setObjectName(QStringLiteral("posunUpd"));
    posunUpd->setRange(5, 80);
    posunUpd->setSingleStep(5);
    posunUpd->setValue(40);
    posunUpd->setFixedHeight(24);
    // The step is set with the arrows only: its text is read-only.
    if (auto *edit = posunUpd->findChild<QLineEdit *>()) {
        edit->setObjectName(QStringLiteral("posunEdt"));
        edit->setReadOnly(true);
    }
    PohybGpb = MakeGroup(ovladaniePnl, "PohybGpb", QStringLiteral("  Pohyb  "),
                         {vlavoBtn, horeBtn, doleBtn, vpravoBtn, vystredBtn, posunUpd});

    priblizBtn = MakeButton(this, "priblizBtn", QStringLiteral("+"));
    priblizBtn->setIcon(Picture(TPicture::Zoom));
    priblizBtn->setFixedWidth(38);
    oddialBtn = MakeButton(this, "oddialBtn", QStringLiteral("-"));
    priblizXBtn = MakeButton(this, "priblizXBtn", QStringLiteral("+X"));
    oddialXBtn = MakeButton(this, "oddialXBtn", QStringLiteral("-X"));
    priblizYBtn = MakeButton(this, "priblizYBtn", QStringLiteral("+Y"));
    oddialYBtn = MakeButton(this, "oddialYBtn", QStringLiteral("-Y"));
    mierkaGpb = MakeGroup(ovladaniePnl, "mierkaGpb", QStringLiteral("  Mierka  "),
                          {priblizBtn, oddialBtn, priblizXBtn, oddialXBtn, priblizYBtn, oddialYBtn});

    zvacsiMriezkuBtn = MakeButton(this, "zvacsiMriezkuBtn", QStringLiteral("+"));
    zmensiMriezkuBtn = MakeButton(this, "zmensiMriezkuBtn", QStringLiteral("-"));
    zvacsiiMriezkuXBtn = MakeButton(this, "zvacsiiMriezkuXBtn", QStringLiteral("+X"));
    zmensiMriezkuXBtn = MakeButton(this, "zmensiMriezkuXBtn", QStringLiteral("-X"));
    zcacsiiMriezkuYBtn = MakeButton(this, "zcacsiiMriezkuYBtn", QStringLiteral("+Y"));
    zmensiMriezkuYBtn = MakeButton(this, "zmensiMriezkuYBtn", QStringLiteral("-Y"));
    goniometrickaChb = new QCheckBox(QStringLiteral("Gon"), this);
    goniometrickaChb->setObjectName(QStringLiteral("goniometrickaChb"));
    MriezkaGpb = MakeGroup(ovladaniePnl, "MriezkaGpb", QString::fromUtf8("  Mriežka  "),
                           {zvacsiMriezkuBtn, zmensiMriezkuBtn, zvacsiiMriezkuXBtn, zmensiMriezkuXBtn,
                            zcacsiiMriezkuYBtn, zmensiMriezkuYBtn, goniometrickaChb});
    static_cast<QHBoxLayout *>(MriezkaGpb->layout())->insertSpacing(6, 4);

    auto *panel = new QHBoxLayout(ovladaniePnl);
    panel->setContentsMargins(7, 0, 7, 4);
    panel->setSpacing(6);
    panel->addWidget(PohybGpb);
    panel->addWidget(mierkaGpb);
    panel->addWidget(MriezkaGpb);
    panel->addStretch();

    // The model over the three images, at their design size.
    resize(DesignWidth, DesignHeight);
    move(366, 200);
    PlaceControls();
    m_graph = std::make_unique<TGrafFunkcie>(&grafImg->Picture, grafImg->width(), grafImg->height(),
                                             &zvislePravitkoImg->Picture, &vodorovnePravitkoImg->Picture,
                                             std::move(samplerFactory));
    m_graph->RulerColor = palette().color(QPalette::Button).rgb();

    connect(vpravoBtn, &QPushButton::clicked, this, [this] { Do([this] { m_graph->Move(Step(), 0); }); });
    connect(vlavoBtn, &QPushButton::clicked, this, [this] { Do([this] { m_graph->Move(-Step(), 0); }); });
    connect(horeBtn, &QPushButton::clicked, this, [this] { Do([this] { m_graph->Move(0, Step()); }); });
    connect(doleBtn, &QPushButton::clicked, this, [this] { Do([this] { m_graph->Move(0, -Step()); }); });
    connect(vystredBtn, &QPushButton::clicked, this, [this] { Do([this] { m_graph->Centre(); }); });
    const struct {
        QPushButton *button;
        void (TGrafFunkcie::*operation)(bool, bool);
        bool doX, doY;
    } pairs[] = {
        {priblizBtn, &TGrafFunkcie::ZoomIn, true, true},
        {priblizXBtn, &TGrafFunkcie::ZoomIn, true, false},
        {priblizYBtn, &TGrafFunkcie::ZoomIn, false, true},
        {oddialBtn, &TGrafFunkcie::ZoomOut, true, true},
        {oddialXBtn, &TGrafFunkcie::ZoomOut, true, false},
        {oddialYBtn, &TGrafFunkcie::ZoomOut, false, true},
        {zvacsiMriezkuBtn, &TGrafFunkcie::HalveGridStep, true, true},
        {zvacsiiMriezkuXBtn, &TGrafFunkcie::HalveGridStep, true, false},
        {zcacsiiMriezkuYBtn, &TGrafFunkcie::HalveGridStep, false, true},
        {zmensiMriezkuBtn, &TGrafFunkcie::DoubleGridStep, true, true},
        {zmensiMriezkuXBtn, &TGrafFunkcie::DoubleGridStep, true, false},
        {zmensiMriezkuYBtn, &TGrafFunkcie::DoubleGridStep, false, true},
    };
    for (const auto &p : pairs) {
        const auto operation = p.operation;
        const bool doX = p.doX;
        const bool doY = p.doY;
        connect(p.button, &QPushButton::clicked, this,
                [this, operation, doX, doY] { Do([&] { ((*m_graph).*operation)(doX, doY); }); });
    }
    connect(goniometrickaChb, &QCheckBox::toggled, this,
            [this](bool checked) { Do([&] { m_graph->SetTrigMode(checked); }); });

    Do([this] { m_graph->Draw(true); });
    ApplyLanguage();
}

TGrafyFunkciiFrm::~TGrafyFunkciiFrm() = default;

template <class F>
void TGrafyFunkciiFrm::Do(F operation) {
    operation();
    FitRuler();
    grafImg->update();
    vodorovnePravitkoImg->update();
    zvislePravitkoImg->update();
}

int TGrafyFunkciiFrm::Step() const { return posunUpd->value(); }

void TGrafyFunkciiFrm::FitRuler() {
    // A cut label would show another number ("0,12" for 0,125), so the
    // ruler takes the width of its widest label and the plot the rest. Only
    // the plot's width changes, and with it none of the ruler's labels.
    const int width = std::max(DesignRulerWidth, m_graph->VerticalRulerWidth());
    if (width == m_rulerWidth)
        return;
    m_rulerWidth = width;
    PlaceControls();
    m_graph->Resize(grafImg->Picture.width(), grafImg->Picture.height());
}

void TGrafyFunkciiFrm::SetFunction(const QString &text) {
    m_graph->ResetView();
    m_graph->SetExpression(text);
    {
        const QSignalBlocker blocker(goniometrickaChb);
        goniometrickaChb->setChecked(m_graph->Trig());
    }
    setWindowTitle(m_captionPrefix + QLatin1Char(' ') + text);
    Do([this] { m_graph->Draw(true); });
}

void TGrafyFunkciiFrm::ApplyLanguage() {
    m_captionPrefix = BuiltInCaptionPrefix;
    if (!LanguageIni())
        return;
    // A missing key keeps the built-in prefix (the caption, which holds the
    // function's text after the prefix, would repeat that text).
    m_captionPrefix = LanguageText(Section, QStringLiteral("GraphOfFunction"), BuiltInCaptionPrefix);
    setWindowTitle(m_captionPrefix + QStringLiteral(" x"));
    // A missing key leaves the group without a caption.
    PohybGpb->setTitle(LanguageText(Section, QStringLiteral("Move"), QString()));
    mierkaGpb->setTitle(LanguageText(Section, QStringLiteral("Scale"), QString()));
    MriezkaGpb->setTitle(LanguageText(Section, QStringLiteral("Grid"), QString()));
}

void TGrafyFunkciiFrm::PlaceControls() {
    const int dw = width() - DesignWidth;
    const int dh = height() - DesignHeight;
    // What the vertical ruler takes beyond its design width, the plot and
    // the horizontal ruler above it give up.
    const int wider = m_rulerWidth - DesignRulerWidth;
    Shape1->setGeometry(7, 7, 650 + dw, 339 + dh);
    grafImg->setGeometry(41 + wider, 32, 615 + dw - wider, 313 + dh);
    vodorovnePravitkoImg->setGeometry(37 + wider, 12, 611 + dw - wider, 21);
    zvislePravitkoImg->setGeometry(15, 32, m_rulerWidth, 313 + dh);
    Label1->move(13, 14);
    Label1->adjustSize();
    ovladaniePnl->setGeometry(0, height() - PanelHeight, width(), PanelHeight);
    // The bitmaps take the images' sizes.
    grafImg->Picture = QImage(Fit16(grafImg->width()), Fit16(grafImg->height()), QImage::Format_RGB32);
    vodorovnePravitkoImg->Picture =
        QImage(Fit16(vodorovnePravitkoImg->width()), Fit16(vodorovnePravitkoImg->height()), QImage::Format_RGB32);
    zvislePravitkoImg->Picture =
        QImage(Fit16(zvislePravitkoImg->width()), Fit16(zvislePravitkoImg->height()), QImage::Format_RGB32);
}

void TGrafyFunkciiFrm::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    PlaceControls();
    if (m_graph)
        Do([this] { m_graph->Resize(grafImg->Picture.width(), grafImg->Picture.height()); });
}

bool TGrafyFunkciiFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == grafImg) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton) {
                m_lastMouseX = e->position().toPoint().x();
                m_lastMouseY = e->position().toPoint().y();
                grafImg->setCursor(Qt::ClosedHandCursor);
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                grafImg->setCursor(Qt::OpenHandCursor);
        } else if (event->type() == QEvent::MouseMove) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons().testFlag(Qt::LeftButton)) {
                const QPoint at = e->position().toPoint();
                const int dx = std::clamp(at.x() - m_lastMouseX, -32768, 32767);
                const int dy = std::clamp(at.y() - m_lastMouseY, -32768, 32767);
                // The move draws the picture once; no second redraw.
                if (dx != 0 || dy != 0)
                    Do([&] { m_graph->Move(dx, dy); });
                m_lastMouseX = at.x();
                m_lastMouseY = at.y();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
