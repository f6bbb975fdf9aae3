#include "uGrafickyVyraz.h"

#include "Analyzator.h"
#include "KomplexnyAnalyzator.h"
#include "uAppContext.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <vector>

// --- canvas -----------------------------------------------------------------

TPlatno::TPlatno(const QPaintDevice *device) : m_device(device) {}

TPlatno::TPlatno(QPainter &painter) : m_painter(&painter), m_device(painter.device()) {}

void TPlatno::SetFontName(const QString &name) {
    if (name == m_fontName)
        return;
    m_fontName = name;
    for (auto &f : m_byPoints)
        f.reset();
    for (auto &f : m_byHeight)
        f.reset();
    m_painterFont = nullptr;
}

void TPlatno::SetFontSize(int points) {
    m_points = std::clamp(points, 1, int(m_byPoints.size()) - 1);
    m_pixels = 0;
}

void TPlatno::SetFontHeight(int pixels) { m_pixels = std::clamp(pixels, 1, int(m_byHeight.size()) - 1); }

TPlatno::TFont &TPlatno::Current() {
    if (m_pixels > 0) {
        std::optional<TFont> &slot = m_byHeight[size_t(m_pixels)];
        if (!slot) {
            // A pixel size sets the em, and the line of text is taller than
            // that: shrink the em until the line is as high as asked.
            QFont font(m_fontName);
            font.setPixelSize(m_pixels);
            const int line = QFontMetrics(font, m_device).height();
            if (line > m_pixels)
                font.setPixelSize(std::max(1, m_pixels * m_pixels / line));
            slot.emplace(TFont{font, QFontMetrics(font, m_device)});
        }
        return *slot;
    }
    std::optional<TFont> &slot = m_byPoints[size_t(m_points)];
    if (!slot) {
        QFont font(m_fontName);
        font.setPointSize(m_points);
        slot.emplace(TFont{font, QFontMetrics(font, m_device)});
    }
    return *slot;
}

void TPlatno::SelectForPainting() {
    const TFont &font = Current();
    if (m_painterFont != &font) {
        m_painter->setFont(font.Font);
        m_painterFont = &font;
    }
}

int TPlatno::TextWidth(const QString &s) { return Current().Metrics.horizontalAdvance(s); }

int TPlatno::TextHeight(const QString &) { return Current().Metrics.height(); }

int TPlatno::SignMiddle() {
    const QFontMetrics &metrics = Current().Metrics;
    return metrics.ascent() - metrics.xHeight() / 2;
}

void TPlatno::TextOut(int x, int y, const QString &s) {
    if (!m_painter)
        return;
    SelectForPainting();
    m_painter->drawText(QPoint(x, y + Current().Metrics.ascent()), s);
}

// A smoothing painter draws a one-pixel line on the pixels' edges, half on
// each of two rows; moved by half a pixel it covers the pixels it names.
QPointF TPlatno::PixelCentre(const QPoint &p) const {
    const qreal half = m_painter->testRenderHint(QPainter::Antialiasing) ? 0.5 : 0.0;
    return QPointF(p) + QPointF(half, half);
}

void TPlatno::Line(int x1, int y1, int x2, int y2) {
    if (m_painter)
        m_painter->drawLine(PixelCentre(QPoint(x1, y1)), PixelCentre(QPoint(x2, y2)));
}

void TPlatno::Polyline(const QPolygon &points) {
    if (!m_painter)
        return;
    QPolygonF centres;
    for (const QPoint &p : points)
        centres << PixelCentre(p);
    m_painter->drawPolyline(centres);
}

void TPlatno::Arc(const QRect &box, int startDegrees, int spanDegrees) {
    if (m_painter)
        m_painter->drawArc(box, startDegrees * 16, spanDegrees * 16);
}

// --- helpers ------------------------------------------------------------------

namespace {

bool IsOperatorKind(int kind) { return kind == nkPlus || kind == nkMinus || kind == nkTimes; }

bool IsOperand(const TGrafickyVyraz &n, const char *text) {
    return n.Kind == nkOperand && n.Text == QLatin1String(text);
}

// The sign written for "+", "-" and "*": multiplication is a centred dot.
QString SignOf(int kind) {
    switch (kind) {
    case nkPlus: return QStringLiteral("+");
    case nkMinus: return QStringLiteral("-");
    default: return QString(QChar(0x00B7));
    }
}

// Lowers a base beside a raised part of height raised: the raised part's
// bottom comes to the middle of the base, or the base goes down by half the
// raised part when that is less than half the base.
void LowerBase(TGrafickyVyraz &base, int raised) {
    if (raised >= base.Height / 2)
        base.MoveBy(0, raised - base.Height / 2);
    else
        base.MoveBy(0, raised / 2);
}

// The signs' rows: where the top of the line of an operator's sign stands
// beside an operand. mid is how far the middle of the sign lies below that
// top, so a sign meant to sit on a line (a fraction's bar, the middle of a
// bracket) starts mid above it.

// The row of a bracket node b, relative to b.Y: a sum inside lends its own
// sign's row, an operand its text row; anything else puts the sign on the
// middle.
int BracketAnchor(const TGrafickyVyraz &b, int mid) {
    const TGrafickyVyraz &inside = *b.Child1;
    if (IsOperatorKind(inside.Kind))
        return inside.BaselineY + inside.Y - b.Y;
    if (inside.Kind == nkOperand)
        return inside.Y - b.Y;
    return b.Height / 2 - mid;
}

// The row beside the operand n of an operator whose top is at y, relative
// to y: on a fraction's bar, on a power's base, on the row of an operand, a
// function's name or an inner sign.
int SignAnchor(const TGrafickyVyraz &n, int y, int mid, bool left) {
    switch (n.Kind) {
    case nkDivide: return n.Y - y + n.Child1->Height + 2 - mid;
    case nkPower: {
        // The sign keeps to the base's row: the raised exponent does not
        // count, and a bracketed base counts as a bracket would.
        const TGrafickyVyraz &base = *n.Child1;
        switch (base.Kind) {
        case nkOperand: return base.Y - y;
        case nkFunction: return base.BaselineY - y;
        case nkBrackets: return base.Y - y + BracketAnchor(base, mid);
        default: return left ? n.Y - y + n.Height / 2 - mid : base.Y - y;
        }
    }
    case nkBrackets: return n.Y - y + BracketAnchor(n, mid);
    case nkPlus:
    case nkMinus:
    case nkTimes: return n.Y - y + n.BaselineY;
    case nkFunction: return n.BaselineY - y;
    default: return n.Y - y;
    }
}

} // namespace

void DrawRadicalSign(TPlatno &canvas, int x, int y, int h, int w, int tick) {
    const int t = std::max(tick, h / 5);
    QPolygon points;
    points << QPoint(x, y + h / 2) << QPoint(x + t, y + h / 2) << QPoint(x + t + h / 5, y + h)
           << QPoint(x + t + 2 * h / 5, y) << QPoint(x + t + 2 * h / 5 + w + 2, y);
    canvas.Polyline(points);
}

void DrawLeftParenthesisArc(TPlatno &canvas, int x, int y, int h) {
    const int s = h + 2 * h / 5;
    canvas.Arc(QRect(x - h / 5, y - h / 5, s, s), 135, 90);
}

void DrawRightParenthesisArc(TPlatno &canvas, int x, int y, int h) {
    const int s = h + 2 * h / 5;
    canvas.Arc(QRect(x - s / 2 - 7 * s / 20, y - h / 5, s, s), 315, 90);
}

void DrawParentheses(TPlatno &canvas, int x, int y, int w, int h) {
    DrawLeftParenthesisArc(canvas, x, y, h);
    DrawRightParenthesisArc(canvas, x + w, y, h);
}

// --- parser -----------------------------------------------------------------

// Builds the preview tree of a text from its splits, as the expression tree
// reads it; brackets stay nodes of their own, as they are drawn.
struct TGrafickyVyraz::TParser {
    TExpressionSplitter split;

    explicit TParser(const QString &text) : split(text) {}

    std::unique_ptr<TGrafickyVyraz> Child(TGrafickyVyraz &parent, int s, int e, int fontSize, int depth) {
        std::unique_ptr<TGrafickyVyraz> node(new TGrafickyVyraz(&parent, parent.X, parent.Y, fontSize));
        Parse(*node, s, e, depth + 1);
        return node;
    }

    void SplitBinary(TGrafickyVyraz &node, quint8 kind, int p, int s, int e, int depth) {
        node.Kind = kind;
        int ls = s, le = p - 1, rs = p + 1, re = e;
        if (kind == nkDivide) {
            // The bar groups the numerator and the denominator: their own
            // enclosing brackets are not drawn.
            if (ls <= le && split.Split(ls, le).Kind == nkBrackets) {
                ++ls;
                --le;
            }
            if (rs <= re && split.Split(rs, re).Kind == nkBrackets) {
                ++rs;
                --re;
            }
        }
        const int rightSize = kind == nkPower ? std::max(MinGrafickyFontSize, node.FontSize * 2 / 3) : node.FontSize;
        node.Child2 = Child(node, rs, re, rightSize, depth);
        node.Child1 = Child(node, ls, le, node.FontSize, depth);
    }

    void Parse(TGrafickyVyraz &node, int s, int e, int depth) {
        if (depth > MaxTreeDepth)
            throw EEngineRangeError("expression nested too deeply");
        const TExpressionSplitter::TSplit p = split.Split(s, e);
        switch (p.Kind) {
        case nkOperand:
            node.Kind = nkOperand;
            node.Text = split.Mid(s, e);
            break;
        case nkBrackets:
            node.Kind = nkBrackets;
            node.Child1 = Child(node, s + 1, e - 1, node.FontSize, depth);
            break;
        case nkFunction:
            // The name, then its bracket group as a bracket node.
            node.Kind = nkFunction;
            node.Text = split.Mid(s, p.Pos - 1);
            node.Child2 = Child(node, p.Pos, e, node.FontSize, depth);
            break;
        case nkFactorial:
        case nkPercent:
            node.Kind = p.Kind;
            node.Child1 = Child(node, s, p.Pos - 1, node.FontSize, depth);
            break;
        default: SplitBinary(node, p.Kind, p.Pos, s, e, depth); break;
        }
    }
};

// --- node -------------------------------------------------------------------

TGrafickyVyraz::TGrafickyVyraz(TGrafickyVyraz *parent, int x, int y, int fontSize)
    : X(x), Y(y), FontSize(std::clamp(fontSize, MinGrafickyFontSize, 255)), Parent(parent) {}

TGrafickyVyraz::TGrafickyVyraz(const QString &text, TGrafickyVyraz *parent, int x, int y, int fontSize)
    : TGrafickyVyraz(parent, x, y, fontSize) {
    if (text.size() > MaxExpressionLength)
        throw EEngineRangeError("expression longer than 65535 characters");
    TParser parser(text);
    parser.Parse(*this, 1, int(text.size()), 0);
}

TGrafickyVyraz::~TGrafickyVyraz() = default;

bool TGrafickyVyraz::IsRoot() const {
    return Kind == nkPower && Child2->Kind == nkBrackets && Child2->Child1->Kind == nkDivide;
}

void TGrafickyVyraz::MoveBy(int dx, int dy) {
    X += dx;
    Y += dy;
    if (Kind == nkFactorial || Kind == nkFunction || Kind == nkPercent)
        BaselineY += dy;
    if (Child1)
        Child1->MoveBy(dx, dy);
    if (Child2)
        Child2->MoveBy(dx, dy);
}

void TGrafickyVyraz::Measure(TPlatno &canvas) {
    canvas.SetFontSize(FontSize);
    switch (Kind) {
    case nkOperand:
        Height = canvas.TextHeight(Text);
        Width = canvas.TextWidth(Text);
        break;
    case nkBrackets: {
        TGrafickyVyraz &inside = *Child1;
        inside.Measure(canvas);
        Height = inside.Height;
        Width = inside.Width + 2 * inside.Height / 5 + 4;
        inside.MoveBy(inside.Height / 5 + 2, 0);
        break;
    }
    case nkFunction: {
        // The name is centred on the content of its bracket.
        const int w = canvas.TextWidth(Text) + 2;
        TGrafickyVyraz &argument = *Child2;
        argument.Measure(canvas);
        Width = argument.Width + w;
        Height = argument.Height;
        argument.MoveBy(w, 0);
        canvas.SetFontSize(FontSize);
        const TGrafickyVyraz &content = *argument.Child1;
        BaselineY = content.Y + content.Height / 2 - canvas.TextHeight(QStringLiteral(")")) / 2;
        break;
    }
    case nkDivide: {
        TGrafickyVyraz &numerator = *Child1;
        TGrafickyVyraz &denominator = *Child2;
        numerator.Measure(canvas);
        denominator.Measure(canvas);
        denominator.MoveBy(0, numerator.Height + 4);
        Width = std::max(numerator.Width, denominator.Width) + 8;
        Height = numerator.Height + denominator.Height + 4;
        numerator.MoveBy((Width - numerator.Width) / 2, 0);
        denominator.MoveBy((Width - denominator.Width) / 2, 0);
        break;
    }
    case nkFactorial:
    case nkPercent: {
        const int s = canvas.TextWidth(Kind == nkFactorial ? QStringLiteral("!") : QStringLiteral("%")) + 2;
        TGrafickyVyraz &operand = *Child1;
        operand.Measure(canvas);
        canvas.SetFontSize(FontSize);
        Height = operand.Height;
        Width = operand.Width + s;
        if (operand.Kind == nkBrackets && IsOperatorKind(operand.Child1->Kind))
            BaselineY = operand.Child1->BaselineY + Y;
        else
            BaselineY = operand.Y + operand.Height / 2 - canvas.TextHeight(QStringLiteral(")")) / 2;
        break;
    }
    case nkPlus:
    case nkMinus:
    case nkTimes: MeasureOperator(canvas); break;
    case nkPower:
        if (IsRoot())
            MeasureRoot(canvas);
        else
            MeasurePower(canvas);
        break;
    default: break;
    }
}

void TGrafickyVyraz::MeasureOperator(TPlatno &canvas) {
    TGrafickyVyraz &left = *Child1;
    TGrafickyVyraz &right = *Child2;
    left.Measure(canvas);
    right.Measure(canvas);
    canvas.SetFontSize(FontSize);
    const int mid = canvas.SignMiddle();
    // The sign's room is measured in a font whose line is FontSize pixels
    // high.
    canvas.SetFontHeight(FontSize);
    const int s = canvas.TextWidth(SignOf(Kind)) + 10;
    Width = left.Width + right.Width + s;
    right.MoveBy(left.Width + s, 0);
    // Both operands' sign rows come to one height.
    const int b = SignAnchor(left, Y, mid, true);
    const int a = SignAnchor(right, Y, mid, false);
    const int d = b - a;
    if (d < 0) {
        left.MoveBy(0, -d);
        BaselineY = b - d;
    } else {
        right.MoveBy(0, d);
        BaselineY = b;
    }
    Height = std::max(left.Y + left.Height, right.Y + right.Height) - Y - std::min(left.Y - Y, right.Y - Y);
}

void TGrafickyVyraz::MeasurePower(TPlatno &canvas) {
    TGrafickyVyraz &base = *Child1;
    TGrafickyVyraz &exponent = *Child2;
    exponent.Measure(canvas);
    base.Measure(canvas);
    PlaceRaised(base, exponent);
    Y = exponent.Y;
}

void TGrafickyVyraz::PlaceRaised(TGrafickyVyraz &base, TGrafickyVyraz &raised) {
    raised.MoveBy(base.Width + 2, 0);
    LowerBase(base, raised.Height);
    Width = base.Width + raised.Width + 2;
    Height = base.Y + base.Height - raised.Y;
}

void TGrafickyVyraz::MeasureRoot(TPlatno &canvas) {
    TGrafickyVyraz &base = *Child1;
    TGrafickyVyraz &bracket = *Child2;
    TGrafickyVyraz &power = *bracket.Child1->Child1; // the numerator: the power under the root
    TGrafickyVyraz &index = *bracket.Child1->Child2; // the denominator: the root's index
    base.Measure(canvas);
    const bool unitPower = IsOperand(power, "1");
    if (!unitPower) {
        power.Measure(canvas);
        PlaceRaised(base, power);
        Y = bracket.Y;
    } else {
        base.MoveBy(2, 0);
        Height = base.Height;
        power.Measure(canvas);
        power.MoveBy(base.Width + 2, 0);
    }
    if (IsOperand(index, "1")) {
        // x^(m/1) is x to the m-th, and x^(1/1) is x itself.
        if (unitPower)
            Width = base.Width + 2;
        return;
    }
    // Room for the root sign, and for its bar above what it covers.
    const int r = Height * 3 / 5;
    power.MoveBy(r, 2);
    base.MoveBy(r, 2);
    Height += 2;
    if (!IsOperand(index, "2")) {
        // The index stands above the sign's tick; a tall one lowers the rest.
        index.Measure(canvas);
        if (index.Height > Height / 2) {
            const int d = index.Height - Height / 2 + 2;
            MoveBy(0, d);
            index.MoveBy(0, -d);
            Y -= d;
            Height += d;
        } else {
            index.MoveBy(0, Height / 2 - index.Height - 2);
        }
        const int w = index.Width - 4;
        base.MoveBy(w, 0);
        power.MoveBy(w, 0);
    }
    Width = power.X + power.Width - index.X + 2;
    // Room above the sign's bar, so that it does not run into a fraction
    // bar or a sign above it.
    MoveBy(0, 2);
    Y -= 2;
    Height += 2;
}

void TGrafickyVyraz::Draw(TPlatno &canvas) const {
    // A bracket's arcs and a root's sign reach a little beyond the box.
    if (!canvas.IsVisible(QRect(X, Y, Width, Height).adjusted(-FontSize, -FontSize, FontSize, FontSize)))
        return;
    canvas.SetFontSize(FontSize);
    switch (Kind) {
    case nkOperand: canvas.TextOut(X, Y, Text); break;
    case nkBrackets: {
        const TGrafickyVyraz &inside = *Child1;
        inside.Draw(canvas);
        DrawParentheses(canvas, inside.X - 2, inside.Y, inside.Width + 2, inside.Height);
        break;
    }
    case nkPlus:
    case nkMinus:
    case nkTimes: DrawOperator(canvas); break;
    case nkDivide: {
        const int bar = Y + Child1->Height + 2;
        Child1->Draw(canvas);
        Child2->Draw(canvas);
        canvas.Line(X, bar, X + Width, bar);
        break;
    }
    case nkFactorial:
    case nkPercent:
        canvas.TextOut(X + Child1->Width + 2, BaselineY,
                       Kind == nkFactorial ? QStringLiteral("!") : QStringLiteral("%"));
        Child1->Draw(canvas);
        break;
    case nkPower:
        if (IsRoot()) {
            DrawRoot(canvas);
        } else {
            Child1->Draw(canvas);
            Child2->Draw(canvas);
        }
        break;
    case nkFunction:
        canvas.TextOut(X, BaselineY, Text);
        Child2->Draw(canvas);
        break;
    default: break;
    }
}

void TGrafickyVyraz::DrawOperator(TPlatno &canvas) const {
    const TGrafickyVyraz &left = *Child1;
    const TGrafickyVyraz &right = *Child2;
    const QString sign = SignOf(Kind);
    const int middle = (X + left.Width + right.X) / 2;
    canvas.TextOut(middle - canvas.TextWidth(sign) / 2, Y + BaselineY, sign);
    left.Draw(canvas);
    right.Draw(canvas);
}

void TGrafickyVyraz::DrawRoot(TPlatno &canvas) const {
    const TGrafickyVyraz &base = *Child1;
    const TGrafickyVyraz &bracket = *Child2;
    const TGrafickyVyraz &power = *bracket.Child1->Child1;
    const TGrafickyVyraz &index = *bracket.Child1->Child2;
    base.Draw(canvas);
    if (!IsOperand(power, "1"))
        power.Draw(canvas);
    if (IsOperand(index, "1"))
        return;
    DrawRadicalSign(canvas, X, bracket.Y, base.Y + base.Height - power.Y, base.Width + power.Width + 2, index.Width);
    if (!IsOperand(index, "2"))
        index.Draw(canvas);
}

// --- the preview's text -------------------------------------------------------

QString ExpressionPreviewText(const QString &text, TChyba &err) {
    QString t = StripBlanks(text, TNumberSet::Real); // a word operator between blanks stays apart
    if (t.isEmpty())
        return QStringLiteral("0");
    try {
        CheckSyntax(t, TEvaluationContext(DecSep()), err);
        if (err.Failed())
            return QStringLiteral("???");
        MarkComplexNumbers(t);
        InsertImplicitMultiplication(t, WordTailReal, DigitsAndLetters, TNumberSet::Real);
    } catch (const std::exception &) {
        return QStringLiteral("???");
    }
    t.remove(QLatin1Char('['));
    t.remove(QLatin1Char(']'));
    return t;
}
