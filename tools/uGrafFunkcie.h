// The graph of y = f(x): the view (offsets, scales, grid), the samples of the
// function across the visible range and the painting of the plot and its two
// rulers into images that the window owns. No widgets: every change of view
// is an operation here that ends with a redraw or, when nothing could
// change, with a beep.
#pragma once

#include "uVzorkovanie.h"

#include <QList>
#include <QPolygon>
#include <QRgb>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QFont;
class QImage;

// One sample of the function.
struct TBod {
    long double X = 0;
    long double Y = 0;
    bool Defined = false; // false where the evaluation failed
};

// The samples in strictly ascending X.
class TZoznamBodov {
public:
    // Inserts the point in its place by X; a point at an X already held is
    // not added (false then).
    bool Add(long double x, long double y, bool defined);
    // Adds points given in strictly ascending X by the same rule, in one
    // walk over the list.
    void Merge(const std::vector<TBod> &ascending);
    void Clear() { m_points.clear(); }

    int Count() const { return int(m_points.size()); }
    bool IsEmpty() const { return m_points.empty(); }
    const TBod &First() const { return m_points.front(); }
    const TBod &Last() const { return m_points.back(); }
    const TBod &At(int i) const { return m_points.at(std::size_t(i)); }
    std::vector<TBod>::const_iterator begin() const { return m_points.begin(); }
    std::vector<TBod>::const_iterator end() const { return m_points.end(); }

private:
    std::vector<TBod> m_points;
};

// A grid line: its pixel (the column, or the row counted from the bottom),
// the world value it stands at and the label written on the ruler. Pi is
// set where the label is a multiple of pi (the text is then the factor).
struct TMriezkovaCiara {
    int Pixel = 0;
    long double Value = 0;
    QString Label;
    bool Pi = false;
};

class TGrafFunkcie {
public:
    // Makes the sampler of a function text of x.
    using TSamplerFactory = std::function<std::unique_ptr<TFunctionSampler>(const QString &text)>;

    // The canvases are not owned and may be null (nothing is painted there).
    // The sampler factory defaults to the engine's compiled function of x.
    TGrafFunkcie(QImage *graphCanvas, int width, int height, QImage *vRulerCanvas, QImage *hRulerCanvas,
                 TSamplerFactory samplerFactory = {});

    // --- the view -------------------------------------------------------------
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // World distance from the plot's left edge to x = 0, and from its bottom
    // edge to y = 0.
    long double OffsetX() const { return m_offsetX; }
    long double OffsetY() const { return m_offsetY; }
    // World units per pixel.
    long double ScaleX() const { return m_scaleX; }
    long double ScaleY() const { return m_scaleY; }
    // Grid steps: along x counted in XGridUnit (1, or pi in trigonometric
    // mode), along y in y units.
    long double GridX() const { return m_gridX; }
    long double GridY() const { return m_gridY; }
    long double XGridUnit() const;
    bool Trig() const { return m_trig; }
    const QString &Expression() const { return m_expression; }
    const TZoznamBodov &Points() const { return m_points; }

    static constexpr QRgb BackgroundColor = 0xFFFFFFu;
    static constexpr QRgb AxisColor = 0x000000u;
    static constexpr QRgb GridColor = 0x808080u;
    static constexpr QRgb CurveColor = 0xFF0000u;
    // The fill of both rulers; the window gives its own face colour.
    QRgb RulerColor = 0xF0F0F0u;

    // --- pixels -----------------------------------------------------------------
    // The column of world x and the pixel row (from the bottom) of world y;
    // nearest, ties to even, held within the 32-bit range.
    int Column(long double x) const;
    int RowFromBottom(long double y) const;
    // The screen row (top = 0) of a row counted from the bottom.
    int FlipY(int py) const { return m_height - py - 1; }

    // --- operations -------------------------------------------------------------
    // A new function: the trigonometric mode follows from its text (it holds
    // "sin", "cos" or "tg", also inside longer names, or the English twin of
    // such a name: tan, cotan, arctan...), and with it the x grid; the text
    // is made ready for sampling once. An empty text is the function 0. No
    // redraw.
    void SetExpression(const QString &text);
    // Default scales and grid, origin in the middle; the trigonometric mode
    // and its x grid unit stay. No redraw.
    void ResetView();
    // Paints the rulers, grid, axes and curve; samples again first when asked.
    void Draw(bool resample);
    // Refills Points: one sample every fifth column from column 1 to four
    // columns past the right edge; with a "/" in the text, or in
    // trigonometric mode, also every integer (every multiple of pi/2) that
    // falls on the plot, so that a pole there breaks the curve.
    void SampleFunction();
    // The curve as DrawCurve paints it: runs of usable points in pixels
    // (column, screen row), broken at every undefined sample and every
    // sample too far above or below the plot.
    QList<QPolygon> CurvePieces() const;
    void DrawCurve();
    // The grid lines with their labels, as Draw paints them: vertical lines
    // (pixel = column) and horizontal ones (pixel = row from the bottom),
    // each strictly inside the plot, the axes left out.
    QList<TMriezkovaCiara> VerticalGridLines() const;
    QList<TMriezkovaCiara> HorizontalGridLines() const;
    // The font of the rulers' labels.
    static QFont RulerFont();
    // The width the vertical ruler needs to show its widest label whole: the
    // labels of the horizontal grid lines and the axis's "0", written from
    // pixel 1, with two pixels to spare before the plot.
    int VerticalRulerWidth() const;

    // Halve or double the scale per axis, about the plot's centre. Zooming
    // in stops at 1.1920928955e-8 units per pixel or where the origin would
    // lie 32767 pixels away (a beep per refused axis); zooming out stops
    // above 1 unit per pixel (one beep when no axis changed). Nothing is
    // drawn when no axis changed.
    void ZoomIn(bool doX, bool doY);
    void ZoomOut(bool doX, bool doY);
    // Shifts the picture by pixels in the mouse's directions (positive dx to
    // the right, positive dy down). An axis whose origin would lie 32767 or
    // more pixels away keeps its place; when neither moves, a beep. Only a
    // change of the x range samples again.
    void Move(int dx, int dy);
    // A denser grid (down to 20 pixels) or a sparser one (up to the plot's
    // size); a beep when no axis changed. The samples stay.
    void HalveGridStep(bool doX, bool doY);
    void DoubleGridStep(bool doX, bool doY);
    // Origin back to the middle, scales kept.
    void Centre();
    // Switches the trigonometric mode: x grid in multiples of pi, its step
    // halved (doubled when switched off). Nothing when already so.
    void SetTrigMode(bool on);
    // A new plot size; the world point at the centre stays there.
    void Resize(int newWidth, int newHeight);

private:
    void ResetOrigin();
    // The x grid step a function starts with in the current mode.
    long double DefaultGridX() const { return m_trig ? 0.5L : 1; }
    void Beep() const;
    QList<TMriezkovaCiara> GridLines(long double step, long double offset, long double scale, int size,
                                     bool piLabels) const;
    void PaintGrid();
    void Sample(long double x, long double &lastY, std::vector<TBod> &into);

    QImage *m_graphCanvas;
    QImage *m_vRulerCanvas;
    QImage *m_hRulerCanvas;
    TSamplerFactory m_samplerFactory;
    std::unique_ptr<TFunctionSampler> m_sampler;

    int m_width;
    int m_height;
    long double m_offsetX = 0;
    long double m_offsetY = 0;
    long double m_scaleX = DefaultScale;
    long double m_scaleY = DefaultScale;
    long double m_gridX = 1;
    long double m_gridY = 1;
    bool m_trig = false;
    QString m_expression;
    TZoznamBodov m_points;

    static constexpr long double DefaultScale = 0.025L;
};
