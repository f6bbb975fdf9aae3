// The expression preview: a small companion window that shows an
// expression in textbook notation. The main window fills it (SetExpression)
// and has it drawn (Redraw).
#pragma once

#include "uGrafickyVyraz.h"
#include "uMagneticForm.h"

#include <memory>

class QScrollArea;
class TMainWindowLink;
class TObrazokVyrazu;

// Where the preview goes beside the main window (outer rectangles): at its
// top, against its left edge when the main window's left is beyond the
// preview's width, else against its right edge when the main window's right
// lies before the screen width less the preview's width; else nowhere
// (false).
bool PlacePreviewBeside(const QRect &master, const QSize &window, int screenWidth, QPoint &position);

class TnahladVyrazuFrm : public TMagneticForm {
    Q_OBJECT
public:
    // main (may be null) is the main window it snaps to.
    explicit TnahladVyrazuFrm(TMainWindowLink *main, QWidget *parent = nullptr);
    ~TnahladVyrazuFrm() override;

    // The text to draw next; nothing is drawn yet.
    void SetExpression(const QString &text);
    // Builds, measures and draws the text set last, the picture taking the
    // drawing's size plus a margin of 5 on every side. An empty text keeps
    // the picture as it is; a text the drawing cannot take is drawn as
    // "???".
    void Redraw();

    void ApplyLanguage();

    // The drawing last built (none before the first Redraw).
    const TGrafickyVyraz *Tree() const { return m_tree.get(); }

private:
    std::unique_ptr<TGrafickyVyraz> m_tree;
    QString m_expressionText;
    QScrollArea *ScrollBox1;
    TObrazokVyrazu *Image1;
};

// The font of the preview's drawing, its size and its margin.
inline const QString PreviewFontName = QStringLiteral("Arial");
constexpr int PreviewFontSize = 16;
constexpr int PreviewMargin = 5;
