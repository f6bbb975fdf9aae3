// An expression drawn in textbook notation: fractions with a bar, raised
// and smaller exponents, powers with a bracketed fraction as exponent drawn
// as roots, brackets as drawn arcs, "*" as a centred dot and function names
// centred on their argument.
//
// TGrafickyVyraz builds its own tree from the text (the constructor), lays
// it out (Measure) and paints it (Draw) on a TPlatno, which measures and
// paints through QPainter on any paint device, so the whole of it works on a
// QImage without a window.
//
// None of these recurses along the tree: a sum of 30,000 terms is a chain of
// nodes as deep as it is long, and it is built, laid out, painted and freed
// with stacks of its own.
#pragma once

#include "uVyraz.h"

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;

// The drawing surface of the tree: the fonts of one family in point sizes
// or line heights, text measurement and text, line and arc painting. A
// canvas made on a device only measures; one made on a painter also paints.
class TPlatno {
public:
    // Measures fonts as they come out on device (the screen when null).
    explicit TPlatno(const QPaintDevice *device);
    // Measures on the painter's device and paints through the painter.
    explicit TPlatno(QPainter &painter);

    void SetFontName(const QString &name);

    // The font in points (as set last) ...
    void SetFontSize(int points);
    // ... or by the height of its text line in pixels.
    void SetFontHeight(int pixels);
    int FontSize() const { return m_points; }

    // The advance of s, and the height of a text line (whatever s holds).
    int TextWidth(const QString &s);
    int TextHeight(const QString &s);
    // How far below the top of a text line the middle of an operator sign
    // ("+", "-", a centred dot) stands: half an x-height above the baseline.
    int SignMiddle();

    // s with the top of its text line at y.
    void TextOut(int x, int y, const QString &s);
    void Line(int x1, int y1, int x2, int y2);
    void Polyline(const QPolygon &points);
    // The arc of the ellipse in box from startDegrees, counter-clockwise
    // through spanDegrees (0 degrees at three o'clock).
    void Arc(const QRect &box, int startDegrees, int spanDegrees);

    // Painting may skip what lies outside this rectangle (none: paint all).
    void SetVisibleRect(const QRect &rect) { m_visible = rect; }
    bool IsVisible(const QRect &box) const { return m_visible.isNull() || m_visible.intersects(box); }

private:
    struct TFont {
        QFont Font;
        QFontMetrics Metrics;
    };
    TFont &Current();
    void SelectForPainting();
    QPointF PixelCentre(const QPoint &p) const;

    QPainter *m_painter = nullptr;
    const QPaintDevice *m_device = nullptr;
    QString m_fontName = QStringLiteral("Arial");
    int m_points = 8;
    int m_pixels = 0; // the line height when the font was set by it, else 0
    // Fonts built so far: by point size, and by line height.
    std::array<std::optional<TFont>, 256> m_byPoints;
    std::array<std::optional<TFont>, 256> m_byHeight;
    const TFont *m_painterFont = nullptr;
    QRect m_visible;
};

// The smallest font size of a drawing; exponents shrink down to it.
constexpr int MinGrafickyFontSize = 8;

class TGrafickyVyraz : public TVyraz {
public:
    // Parses text into a tree whose every node starts at (x, y) with the
    // given font size (at least MinGrafickyFontSize). Malformed text (an
    // empty part, unbalanced brackets, an operator without an operand, text
    // after a postfix "!" or "%", a text longer than MaxExpressionLength)
    // raises EEngineRangeError.
    TGrafickyVyraz(const QString &text, TGrafickyVyraz *parent, int x, int y, int fontSize);
    ~TGrafickyVyraz() override;

    // Lays out the subtree: Width, Height and BaselineY of every node, and
    // the children moved into place (every position is final when it
    // returns). Runs before Draw.
    void Measure(TPlatno &canvas);
    // Paints the measured subtree.
    void Draw(TPlatno &canvas) const;

    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    // Moves the node and every node below it.
    void MoveBy(int dx, int dy);

    int X = 0; // left edge of the node's box
    int Y = 0; // top edge of the node's box
    // Where the node's own sign or name is written: for "+", "-" and "*" the
    // distance from Y down to the top of the sign; for "!", "%" and
    // functions the canvas Y of the top of the sign or name.
    int BaselineY = 0;
    int Height = 0;
    int Width = 0;
    int FontSize = MinGrafickyFontSize;
    TGrafickyVyraz *Parent = nullptr; // not owned
    // Left operand; the operand of "!" and "%"; the inside of a bracket; the
    // base of a power; the numerator.
    std::unique_ptr<TGrafickyVyraz> Child1;
    // Right operand; the argument of a function (always a bracket node); the
    // exponent; the denominator.
    std::unique_ptr<TGrafickyVyraz> Child2;

    // A power whose exponent is a bracket holding a fraction m/n: drawn as
    // the n-th root of the base to the m-th.
    bool IsRoot() const;

private:
    struct TParser;
    TGrafickyVyraz(TGrafickyVyraz *parent, int x, int y, int fontSize);

    // The layout moves what it has measured as it goes. A move of a node is
    // made at once for the node and only noted for what lies below it
    // (Shift), and passed on to the children when their places are read
    // (Settle): moving a chain of 30,000 nodes at each of its links would
    // cost the square of its length.
    int m_pendingX = 0; // a move of the children not made yet
    int m_pendingY = 0;
    void Shift(int dx, int dy);
    void Settle();
    // Settles the node and the nodes below it down to the given number of
    // levels, so that the places of the nodes one level further are read
    // right.
    void SettleDown(int levels);
    // Settles every node of the subtree.
    void SettleAll();

    // The children the node's layout measures before its own step, in the
    // order the step takes them; their number.
    int MeasuredChildren(TGrafickyVyraz *children[3]);
    // The node's own step of the layout, its children being measured.
    void MeasureOwn(TPlatno &canvas);
    void MeasureOperator(TPlatno &canvas);
    void MeasurePower();
    void MeasureRoot();
    // The measured raised part (an exponent, the power under a root) goes
    // to the right of the measured base, which is lowered beside it; the
    // node's width and height take both in.
    void PlaceRaised(TGrafickyVyraz &base, TGrafickyVyraz &raised);
    // Paints what belongs to the node itself; the children to paint after
    // it, their number.
    int DrawOwn(TPlatno &canvas, const TGrafickyVyraz *children[3]) const;
    void DrawOperator(TPlatno &canvas) const;
    void DrawRoot(TPlatno &canvas) const;
};

// The root sign: a tick of length Tick (at least H/5) at half height, a
// stroke down to the bottom, up to the top at y and a bar of W + 2 pixels.
void DrawRadicalSign(TPlatno &canvas, int x, int y, int h, int w, int tick);
// The bracket arcs around a text of height h whose top is at y: the left
// one with its ends at x, bulging left by h/5; the right one with its ends
// at x, bulging right.
void DrawLeftParenthesisArc(TPlatno &canvas, int x, int y, int h);
void DrawRightParenthesisArc(TPlatno &canvas, int x, int y, int h);
// Both arcs around the box (x, y, w, h).
void DrawParentheses(TPlatno &canvas, int x, int y, int w, int h);

// The text the preview draws for an input text: "0" for an input without
// anything but spaces, "???" for one that fails the syntax check (err gets
// the check's result), else the text with spaces removed, implicit
// multiplication written out and no number marks.
QString ExpressionPreviewText(const QString &text, TChyba &err);
