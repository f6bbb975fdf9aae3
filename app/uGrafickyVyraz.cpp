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
// reads it; brackets stay nodes of their own, as they are drawn. Each part
// of the text still to be read waits on a stack of tasks; a chain of terms
// is split in one go into a chain of nodes.
struct TGrafickyVyraz::TParser {
    struct TTask {
        TGrafickyVyraz *Node;
        int S, E;
    };
    TExpressionSplitter split;
    std::vector<TTask> tasks;
    std::vector<int> chain;

    explicit TParser(const QString &text) : split(text) {}

    void Run(TGrafickyVyraz &root, int s, int e) {
        tasks.push_back({&root, s, e});
        while (!tasks.empty()) {
            const TTask t = tasks.back();
            tasks.pop_back();
            Parse(*t.Node, t.S, t.E);
        }
    }

    // A node below parent, whose text is read now (a link of a chain) or,
    // with a range, later.
    static std::unique_ptr<TGrafickyVyraz> Node(TGrafickyVyraz &parent, int fontSize) {
        return std::unique_ptr<TGrafickyVyraz>(new TGrafickyVyraz(&parent, parent.X, parent.Y, fontSize));
    }
    std::unique_ptr<TGrafickyVyraz> Child(TGrafickyVyraz &parent, int s, int e, int fontSize) {
        std::unique_ptr<TGrafickyVyraz> node = Node(parent, fontSize);
        tasks.push_back({node.get(), s, e});
        return node;
    }

    void Parse(TGrafickyVyraz &node, int s, int e) {
        const TExpressionSplitter::TSplit p = split.Split(s, e, &chain);
        switch (p.Kind) {
        case nkOperand:
            node.Kind = nkOperand;
            node.Text = split.Mid(s, e);
            break;
        case nkBrackets:
            node.Kind = nkBrackets;
            node.Child1 = Child(node, s + 1, e - 1, node.FontSize);
            break;
        case nkFunction:
            // The name, then its bracket group as a bracket node.
            node.Kind = nkFunction;
            node.Text = split.Mid(s, p.Pos - 1);
            node.Child2 = Child(node, p.Pos, e, node.FontSize);
            break;
        case nkFactorial:
        case nkPercent:
            node.Kind = p.Kind;
            node.Child1 = Child(node, s, p.Pos - 1, node.FontSize);
            break;
        case nkPower: Powers(node, s, e); break;
        default: Operators(node, s, e); break;
        }
    }

    // A chain of "+", "-", "*" and "/", which group to the left: the nodes
    // down the left operands.
    void Operators(TGrafickyVyraz &top, int s, int e) {
        TGrafickyVyraz *node = &top;
        for (size_t k = chain.size(); k-- > 0;) {
            const int p = chain[k];
            const QChar op = split.At(p);
            node->Kind = op == QLatin1Char('+')   ? nkPlus
                         : op == QLatin1Char('-') ? nkMinus
                         : op == QLatin1Char('*') ? nkTimes
                                                  : nkDivide;
            int rs = p + 1, re = k + 1 < chain.size() ? chain[k + 1] - 1 : e;
            // The bar groups the numerator and the denominator: their own
            // enclosing brackets are not drawn.
            const bool bar = node->Kind == nkDivide;
            if (bar && split.IsGroup(rs, re)) {
                ++rs;
                --re;
            }
            node->Child2 = Child(*node, rs, re, node->FontSize);
            if (k > 0) {
                node->Child1 = Node(*node, node->FontSize);
                node = node->Child1.get();
                continue;
            }
            int ls = s, le = p - 1;
            if (bar && split.IsGroup(ls, le)) {
                ++ls;
                --le;
            }
            node->Child1 = Child(*node, ls, le, node->FontSize);
        }
    }

    // A chain of "^", which group to the right: the nodes down the
    // exponents, each smaller than its base.
    void Powers(TGrafickyVyraz &top, int s, int e) {
        TGrafickyVyraz *node = &top;
        for (size_t k = 0; k < chain.size(); ++k) {
            const int exponentSize = std::max(MinGrafickyFontSize, node->FontSize * 2 / 3);
            node->Kind = nkPower;
            node->Child1 = Child(*node, k == 0 ? s : chain[k - 1] + 1, chain[k] - 1, node->FontSize);
            if (k + 1 == chain.size()) {
                node->Child2 = Child(*node, chain[k] + 1, e, exponentSize);
            } else {
                node->Child2 = Node(*node, exponentSize);
                node = node->Child2.get();
            }
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
    parser.Run(*this, 1, int(text.size()));
}

TGrafickyVyraz::~TGrafickyVyraz() {
    // One node at a time: a node's own destructor then finds no child.
    if (!Child1 && !Child2)
        return;
    std::vector<std::unique_ptr<TGrafickyVyraz>> pending;
    for (std::unique_ptr<TGrafickyVyraz> *child : {&Child1, &Child2})
        if (*child)
            pending.push_back(std::move(*child));
    while (!pending.empty()) {
        std::unique_ptr<TGrafickyVyraz> n = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<TGrafickyVyraz> *child : {&n->Child1, &n->Child2})
            if (*child)
                pending.push_back(std::move(*child));
    }
}

bool TGrafickyVyraz::IsRoot() const {
    return Kind == nkPower && Child2->Kind == nkBrackets && Child2->Child1->Kind == nkDivide;
}

void TGrafickyVyraz::Shift(int dx, int dy) {
    X += dx;
    Y += dy;
    if (Kind == nkFactorial || Kind == nkFunction || Kind == nkPercent)
        BaselineY += dy;
    m_pendingX += dx;
    m_pendingY += dy;
}

void TGrafickyVyraz::Settle() {
    if (!m_pendingX && !m_pendingY)
        return;
    for (TGrafickyVyraz *child : {Child1.get(), Child2.get()})
        if (child)
            child->Shift(m_pendingX, m_pendingY);
    m_pendingX = m_pendingY = 0;
}

void TGrafickyVyraz::SettleDown(int levels) {
    Settle();
    if (levels > 1)
        for (TGrafickyVyraz *child : {Child1.get(), Child2.get()})
            if (child)
                child->SettleDown(levels - 1);
}

void TGrafickyVyraz::SettleAll() {
    std::vector<TGrafickyVyraz *> stack{this};
    while (!stack.empty()) {
        TGrafickyVyraz *n = stack.back();
        stack.pop_back();
        n->Settle();
        for (TGrafickyVyraz *child : {n->Child1.get(), n->Child2.get()})
            if (child)
                stack.push_back(child);
    }
}

void TGrafickyVyraz::MoveBy(int dx, int dy) {
    Shift(dx, dy);
    SettleAll();
}

int TGrafickyVyraz::MeasuredChildren(TGrafickyVyraz *children[3]) {
    switch (Kind) {
    case nkBrackets:
    case nkFactorial:
    case nkPercent: children[0] = Child1.get(); return 1;
    case nkFunction: children[0] = Child2.get(); return 1;
    case nkPlus:
    case nkMinus:
    case nkTimes:
    case nkDivide:
        children[0] = Child1.get();
        children[1] = Child2.get();
        return 2;
    case nkPower: {
        if (!IsRoot()) {
            children[0] = Child2.get();
            children[1] = Child1.get();
            return 2;
        }
        // The base, the power under the root and its index; an index of 1
        // or 2 is not written, and not measured.
        const TGrafickyVyraz &fraction = *Child2->Child1;
        children[0] = Child1.get();
        children[1] = fraction.Child1.get();
        if (IsOperand(*fraction.Child2, "1") || IsOperand(*fraction.Child2, "2"))
            return 2;
        children[2] = fraction.Child2.get();
        return 3;
    }
    default: return 0;
    }
}

void TGrafickyVyraz::Measure(TPlatno &canvas) {
    // Every node's children before the node itself, on a stack of its own.
    std::vector<std::pair<TGrafickyVyraz *, bool>> stack{{this, false}}; // a node, and whether its children are done
    while (!stack.empty()) {
        const auto [n, childrenDone] = stack.back();
        stack.pop_back();
        if (childrenDone) {
            n->MeasureOwn(canvas);
            continue;
        }
        stack.emplace_back(n, true);
        TGrafickyVyraz *children[3];
        for (int i = n->MeasuredChildren(children); i-- > 0;)
            stack.emplace_back(children[i], false);
    }
    SettleAll();
}

void TGrafickyVyraz::MeasureOwn(TPlatno &canvas) {
    canvas.SetFontSize(FontSize);
    switch (Kind) {
    case nkOperand:
        Height = canvas.TextHeight(Text);
        Width = canvas.TextWidth(Text);
        break;
    case nkBrackets: {
        TGrafickyVyraz &inside = *Child1;
        Height = inside.Height;
        Width = inside.Width + 2 * inside.Height / 5 + 4;
        inside.Shift(inside.Height / 5 + 2, 0);
        break;
    }
    case nkFunction: {
        // The name is centred on the content of its bracket.
        const int w = canvas.TextWidth(Text) + 2;
        TGrafickyVyraz &argument = *Child2;
        Width = argument.Width + w;
        Height = argument.Height;
        argument.Shift(w, 0);
        argument.Settle();
        const TGrafickyVyraz &content = *argument.Child1;
        BaselineY = content.Y + content.Height / 2 - canvas.TextHeight(QStringLiteral(")")) / 2;
        break;
    }
    case nkDivide: {
        TGrafickyVyraz &numerator = *Child1;
        TGrafickyVyraz &denominator = *Child2;
        denominator.Shift(0, numerator.Height + 4);
        Width = std::max(numerator.Width, denominator.Width) + 8;
        Height = numerator.Height + denominator.Height + 4;
        numerator.Shift((Width - numerator.Width) / 2, 0);
        denominator.Shift((Width - denominator.Width) / 2, 0);
        break;
    }
    case nkFactorial:
    case nkPercent: {
        const int s = canvas.TextWidth(Kind == nkFactorial ? QStringLiteral("!") : QStringLiteral("%")) + 2;
        TGrafickyVyraz &operand = *Child1;
        operand.Settle();
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
            MeasureRoot();
        else
            MeasurePower();
        break;
    default: break;
    }
}

void TGrafickyVyraz::MeasureOperator(TPlatno &canvas) {
    TGrafickyVyraz &left = *Child1;
    TGrafickyVyraz &right = *Child2;
    const int mid = canvas.SignMiddle();
    // The sign's room is measured in a font whose line is FontSize pixels
    // high.
    canvas.SetFontHeight(FontSize);
    const int s = canvas.TextWidth(SignOf(Kind)) + 10;
    Width = left.Width + right.Width + s;
    right.Shift(left.Width + s, 0);
    // Both operands' sign rows come to one height; the rows are read from
    // the operands and two levels below them.
    left.SettleDown(2);
    right.SettleDown(2);
    const int b = SignAnchor(left, Y, mid, true);
    const int a = SignAnchor(right, Y, mid, false);
    const int d = b - a;
    if (d < 0) {
        left.Shift(0, -d);
        BaselineY = b - d;
    } else {
        right.Shift(0, d);
        BaselineY = b;
    }
    Height = std::max(left.Y + left.Height, right.Y + right.Height) - Y - std::min(left.Y - Y, right.Y - Y);
}

void TGrafickyVyraz::MeasurePower() {
    TGrafickyVyraz &base = *Child1;
    TGrafickyVyraz &exponent = *Child2;
    PlaceRaised(base, exponent);
    Y = exponent.Y;
}

void TGrafickyVyraz::PlaceRaised(TGrafickyVyraz &base, TGrafickyVyraz &raised) {
    raised.Shift(base.Width + 2, 0);
    // The raised part's bottom comes to the middle of the base, or the base
    // goes down by half the raised part when that is less than half the
    // base.
    if (raised.Height >= base.Height / 2)
        base.Shift(0, raised.Height - base.Height / 2);
    else
        base.Shift(0, raised.Height / 2);
    Width = base.Width + raised.Width + 2;
    Height = base.Y + base.Height - raised.Y;
}

void TGrafickyVyraz::MeasureRoot() {
    TGrafickyVyraz &base = *Child1;
    TGrafickyVyraz &bracket = *Child2;
    TGrafickyVyraz &power = *bracket.Child1->Child1; // the numerator: the power under the root
    TGrafickyVyraz &index = *bracket.Child1->Child2; // the denominator: the root's index
    const bool unitPower = IsOperand(power, "1");
    if (!unitPower) {
        PlaceRaised(base, power);
        Y = bracket.Y;
    } else {
        base.Shift(2, 0);
        Height = base.Height;
        power.Shift(base.Width + 2, 0);
    }
    if (IsOperand(index, "1")) {
        // x^(m/1) is x to the m-th, and x^(1/1) is x itself.
        if (unitPower)
            Width = base.Width + 2;
        return;
    }
    // Room for the root sign, and for its bar above what it covers.
    const int r = Height * 3 / 5;
    power.Shift(r, 2);
    base.Shift(r, 2);
    Height += 2;
    if (!IsOperand(index, "2")) {
        // The index stands above the sign's tick; a tall one lowers the rest.
        if (index.Height > Height / 2) {
            const int d = index.Height - Height / 2 + 2;
            Shift(0, d);
            SettleDown(3); // down to the power and the index, read below
            index.Shift(0, -d);
            Y -= d;
            Height += d;
        } else {
            index.Shift(0, Height / 2 - index.Height - 2);
        }
        const int w = index.Width - 4;
        base.Shift(w, 0);
        power.Shift(w, 0);
    }
    Width = power.X + power.Width - index.X + 2;
    // Room above the sign's bar, so that it does not run into a fraction
    // bar or a sign above it.
    Shift(0, 2);
    Y -= 2;
    Height += 2;
}

void TGrafickyVyraz::Draw(TPlatno &canvas) const {
    // Each node paints what is its own, then its children; the stack holds
    // the nodes still to paint.
    std::vector<const TGrafickyVyraz *> stack{this};
    while (!stack.empty()) {
        const TGrafickyVyraz *n = stack.back();
        stack.pop_back();
        // A bracket's arcs and a root's sign reach a little beyond the box.
        const int f = n->FontSize;
        if (!canvas.IsVisible(QRect(n->X, n->Y, n->Width, n->Height).adjusted(-f, -f, f, f)))
            continue;
        canvas.SetFontSize(f);
        const TGrafickyVyraz *children[3];
        for (int i = n->DrawOwn(canvas, children); i-- > 0;)
            stack.push_back(children[i]);
    }
}

int TGrafickyVyraz::DrawOwn(TPlatno &canvas, const TGrafickyVyraz *children[3]) const {
    switch (Kind) {
    case nkOperand: canvas.TextOut(X, Y, Text); return 0;
    case nkBrackets: {
        const TGrafickyVyraz &inside = *Child1;
        DrawParentheses(canvas, inside.X - 2, inside.Y, inside.Width + 2, inside.Height);
        children[0] = &inside;
        return 1;
    }
    case nkPlus:
    case nkMinus:
    case nkTimes:
        DrawOperator(canvas);
        children[0] = Child1.get();
        children[1] = Child2.get();
        return 2;
    case nkDivide: {
        const int bar = Y + Child1->Height + 2;
        canvas.Line(X, bar, X + Width, bar);
        children[0] = Child1.get();
        children[1] = Child2.get();
        return 2;
    }
    case nkFactorial:
    case nkPercent:
        canvas.TextOut(X + Child1->Width + 2, BaselineY,
                       Kind == nkFactorial ? QStringLiteral("!") : QStringLiteral("%"));
        children[0] = Child1.get();
        return 1;
    case nkPower: {
        children[0] = Child1.get();
        if (!IsRoot()) {
            children[1] = Child2.get();
            return 2;
        }
        DrawRoot(canvas);
        const TGrafickyVyraz &power = *Child2->Child1->Child1;
        const TGrafickyVyraz &index = *Child2->Child1->Child2;
        int count = 1;
        if (!IsOperand(power, "1"))
            children[count++] = &power;
        if (!IsOperand(index, "1") && !IsOperand(index, "2"))
            children[count++] = &index;
        return count;
    }
    case nkFunction:
        canvas.TextOut(X, BaselineY, Text);
        children[0] = Child2.get();
        return 1;
    default: return 0;
    }
}

void TGrafickyVyraz::DrawOperator(TPlatno &canvas) const {
    const TGrafickyVyraz &left = *Child1;
    const TGrafickyVyraz &right = *Child2;
    const QString sign = SignOf(Kind);
    const int middle = (X + left.Width + right.X) / 2;
    canvas.TextOut(middle - canvas.TextWidth(sign) / 2, Y + BaselineY, sign);
}

void TGrafickyVyraz::DrawRoot(TPlatno &canvas) const {
    // The root sign; the base, the power and the index are painted as the
    // root's children.
    const TGrafickyVyraz &base = *Child1;
    const TGrafickyVyraz &bracket = *Child2;
    const TGrafickyVyraz &power = *bracket.Child1->Child1;
    const TGrafickyVyraz &index = *bracket.Child1->Child2;
    if (IsOperand(index, "1"))
        return;
    DrawRadicalSign(canvas, X, bracket.Y, base.Y + base.Height - power.Y, base.Width + power.Width + 2, index.Width);
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
