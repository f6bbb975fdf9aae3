#include "fNahladVyrazu.h"

#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

// The picture: paints the window's drawing on white. Only the part being
// shown is painted, so a drawing far larger than the screen costs no more
// than the part in view.
class TObrazokVyrazu : public QWidget {
public:
    explicit TObrazokVyrazu(QWidget *parent) : QWidget(parent) {}

    const TGrafickyVyraz *Tree = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        if (!Tree)
            return;
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing);
        TPlatno canvas(painter);
        canvas.SetFontName(PreviewFontName);
        canvas.SetVisibleRect(event->rect());
        Tree->Draw(canvas);
    }
};

bool PlacePreviewBeside(const QRect &master, const QSize &window, int screenWidth, QPoint &position) {
    if (master.x() > window.width()) {
        position = QPoint(master.x() - window.width(), master.y());
        return true;
    }
    if (master.x() + master.width() < screenWidth - window.width()) {
        position = QPoint(master.x() + master.width(), master.y());
        return true;
    }
    return false;
}

TnahladVyrazuFrm::TnahladVyrazuFrm(TMainWindowLink *main, QWidget *parent) : TMagneticForm(parent) {
    setObjectName(QStringLiteral("nahladVyrazuFrm"));
    setWindowTitle(QStringLiteral("Náhľad výrazu"));
    setMinimumSize(100, 70);
    resize(204, 97);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Base, Qt::white);
    ScrollBox1->setPalette(white);
    Image1 = new TObrazokVyrazu(ScrollBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->resize(0, 0);
    ScrollBox1->setWidget(Image1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollBox1);

    // Creation: snapping, placement beside the main window, the language.
    SetMaster(main ? main->Window() : nullptr);
    SetSnapDistance(5);
    CentreOnScreen(this);
    QPoint beside;
    if (Master() &&
        PlacePreviewBeside(Master()->frameGeometry(), frameGeometry().size(), PrimaryScreenSize().width(), beside))
        move(beside);
    ApplyLanguage();
}

TnahladVyrazuFrm::~TnahladVyrazuFrm() { Image1->Tree = nullptr; }

void TnahladVyrazuFrm::SetExpression(const QString &text) { m_expressionText = text; }

void TnahladVyrazuFrm::Redraw() {
    if (m_expressionText.isEmpty())
        return;
    Image1->Tree = nullptr;
    m_tree.reset();
    TPlatno canvas(Image1);
    canvas.SetFontName(PreviewFontName);
    auto build = [&](const QString &text) {
        m_tree = std::make_unique<TGrafickyVyraz>(text, nullptr, PreviewMargin, PreviewMargin, PreviewFontSize);
        m_tree->Measure(canvas);
    };
    try {
        build(m_expressionText);
    } catch (const std::exception &) {
        // A text the tree cannot take (malformed, too long, too deep).
        build(QStringLiteral("???"));
    }
    // The picture never outgrows what a widget may be; a larger drawing is
    // cut at its right and bottom.
    const int width = std::min<qint64>(qint64(m_tree->GetWidth()) + 2 * PreviewMargin, QWIDGETSIZE_MAX);
    const int height = std::min<qint64>(qint64(m_tree->GetHeight()) + 2 * PreviewMargin, QWIDGETSIZE_MAX);
    Image1->Tree = m_tree.get();
    Image1->resize(width, height);
    Image1->update();
}

void TnahladVyrazuFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    TranslateWindowTitle(this, QStringLiteral("ExpressionPreviewForm"), QStringLiteral("Caption"));
}
