#include "uGrafFunkcie.h"

#include "uAppContext.h"
#include "uCisla.h"
#include "uFunkcie.h"
#include "uSpolocne.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
// The finest scale: the single-precision epsilon, in units per pixel.
constexpr long double MinScale = 1.1920928955e-8L;
// Zooming out stops once a pixel holds more than one unit.
constexpr long double MaxZoomOutScale = 1.0L;
// How far (in pixels) the origin may lie from the plot's edge.
constexpr long double OriginLimit = 32767.0L;
// Pixels of the plot are held well inside int, so that the arithmetic on
// them (FlipY, lines) cannot overflow.
constexpr long double PixelLimit = 1 << 30;

int RoundPixel(long double v) {
    if (!(v > -PixelLimit)) // NaN included
        return -(1 << 30);
    if (v > PixelLimit)
        return 1 << 30;
    return int(std::llrint(v)); // the current rounding: to nearest, ties to even
}

// A ruler label: the shortest text of at most 15 significant digits with
// the engine's decimal separator, in exponent form below 1E-4 and from 1E15,
// rounded as every number shown (the value's 18 digits, a half away from
// zero).
QString FloatToStr(long double v) {
    if (v == 0)
        return QStringLiteral("0");
    if (!std::isfinite(v))
        return QString::number(double(v));
    const QChar sep = DecSep();
    const QString general = FormatFloat(QStringLiteral("0.##############E-0"), v, sep);
    const int exponent = general.mid(general.indexOf(QLatin1Char('E')) + 1).toInt();
    if (exponent < -4 || exponent >= 15)
        return general;
    return FormatPlain(v, 14 - exponent, sep);
}

// Narrow faces first: a label should fit between two grid lines 20 pixels
// apart.
QFont LabelFont(int pixels) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Nimbus Sans Narrow")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

QFont PiFont() { return LabelFont(15); }

// Where the vertical ruler's labels start, and the room left after the
// widest of them.
constexpr int VRulerLabelLeft = 1;
constexpr int VRulerLabelRoom = 2;

// Whether the text names a trigonometric function, and so gets the pi grid:
// a name that holds "sin", "cos" or "tg" (sinh, cotg and arcsin count too),
// written in small letters, or an English name whose Slovak twin holds one
// (tan as tg, arccot as arccotg).
bool NamesTrigonometry(const QString &text) {
    const QList<int> found = FunctionOccurrences(text);
    for (const TFunctionInfo &f : FunctionTable) {
        if (found[int(f.Function)] < 0)
            continue;
        const QStringView name = f.SlovakTwin ? FunctionInfo(*f.SlovakTwin).Name : f.Name;
        if (name.contains(u"sin") || name.contains(u"cos") || name.contains(u"tg"))
            return true;
    }
    return false;
}

// Writes text with its cell's top-left corner at (x, y).
void TextOut(QPainter &painter, int x, int y, const QString &text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

} // namespace

// --- the point list ------------------------------------------------------------

bool TZoznamBodov::Add(long double x, long double y, bool defined) {
    const auto at = std::lower_bound(m_points.begin(), m_points.end(), x,
                                     [](const TBod &p, long double value) { return p.X < value; });
    if (at != m_points.end() && at->X == x)
        return false;
    m_points.insert(at, TBod{x, y, defined});
    return true;
}

void TZoznamBodov::Merge(const std::vector<TBod> &ascending) {
    std::vector<TBod> merged;
    merged.reserve(m_points.size() + ascending.size());
    auto held = m_points.begin();
    for (const TBod &p : ascending) {
        while (held != m_points.end() && held->X < p.X)
            merged.push_back(*held++);
        const bool taken = (held != m_points.end() && held->X == p.X) || (!merged.empty() && merged.back().X >= p.X);
        if (!taken)
            merged.push_back(p);
    }
    merged.insert(merged.end(), held, m_points.end());
    m_points.swap(merged);
}

// --- the model -------------------------------------------------------------------

TGrafFunkcie::TGrafFunkcie(QImage *graphCanvas, int width, int height, QImage *vRulerCanvas, QImage *hRulerCanvas,
                           TSamplerFactory samplerFactory)
    : m_graphCanvas(graphCanvas), m_vRulerCanvas(vRulerCanvas), m_hRulerCanvas(hRulerCanvas),
      m_samplerFactory(std::move(samplerFactory)), m_width(width), m_height(height) {
    if (!m_samplerFactory)
        m_samplerFactory = [](const QString &text) { return CompileFunction(text, QStringLiteral("x")); };
    m_expression = QStringLiteral("0");
    m_sampler = m_samplerFactory(m_expression);
    ResetOrigin();
}

long double TGrafFunkcie::XGridUnit() const { return m_trig ? Pi : 1; }

int TGrafFunkcie::Column(long double x) const { return RoundPixel((x + m_offsetX) / m_scaleX); }

int TGrafFunkcie::RowFromBottom(long double y) const { return RoundPixel((y + m_offsetY) / m_scaleY); }

void TGrafFunkcie::ResetOrigin() {
    m_offsetX = m_width * m_scaleX / 2;
    m_offsetY = m_height * m_scaleY / 2;
}

void TGrafFunkcie::Beep() const {
    if (AppContext().Beep)
        AppContext().Beep();
}

void TGrafFunkcie::ResetView() {
    m_scaleX = m_scaleY = DefaultScale;
    m_gridY = 1;
    // The x grid stays in the unit of the current mode, so that its labels
    // keep telling the truth until the next function sets the mode.
    m_gridX = DefaultGridX();
    ResetOrigin();
}

void TGrafFunkcie::SetExpression(const QString &text) {
    // An empty text is the function 0, with the grid of any other function
    // without trigonometry.
    m_expression = text.isEmpty() ? QStringLiteral("0") : text;
    m_trig = NamesTrigonometry(m_expression);
    m_gridX = DefaultGridX();
    m_sampler = m_samplerFactory(m_expression);
}

void TGrafFunkcie::SetTrigMode(bool on) {
    if (on == m_trig)
        return;
    m_trig = on;
    m_gridX = on ? m_gridX / 2 : m_gridX * 2;
    Draw(true);
}

// --- sampling --------------------------------------------------------------------

void TGrafFunkcie::Sample(long double x, long double &lastY, std::vector<TBod> &into) {
    long double y = 0;
    const quint8 code = m_sampler ? m_sampler->Sample(x, y) : 29;
    // An overflow to infinity is as undefined as a failed evaluation: it is
    // a gap, never a line to the edge of the plot.
    const bool defined = code == 0 && std::isfinite(y);
    if (defined)
        lastY = y;
    into.push_back(TBod{x, lastY, defined});
}

void TGrafFunkcie::SampleFunction() {
    m_points.Clear();
    long double lastY = 0;

    std::vector<TBod> main;
    main.reserve(std::size_t(std::max(0, m_width / 5 + 2)));
    for (int i = 1; i < m_width + 5; i += 5)
        Sample(i * m_scaleX - m_offsetX, lastY, main);
    m_points.Merge(main);

    if (!m_trig && !m_expression.contains(QLatin1Char('/')))
        return;
    // The extra samples lie on the multiples of the step that fall on the
    // plot's columns (a negative one not on column 0), so a pole at such a
    // point gives an undefined sample that breaks the curve. Only those on
    // the plot are taken: with the origin far away the walk does not pass
    // through the invisible multiples between it and the plot.
    const long double step = m_trig ? Pi / 2 : 1;
    const long double first = std::ceil(-m_offsetX / step);
    if (!std::isfinite(first) || std::fabs(first) > 1e15L)
        return;
    auto k = static_cast<long long>(first);
    while (Column((k - 1) * step) >= 0)
        --k;
    while (Column(k * step) < 0)
        ++k;
    std::vector<TBod> extra;
    for (;; ++k) {
        const long double x = k * step;
        const int c = Column(x);
        if (c >= m_width)
            break;
        if (k < 0 && c == 0)
            continue;
        Sample(x, lastY, extra);
    }
    m_points.Merge(extra);
}

QList<QPolygon> TGrafFunkcie::CurvePieces() const {
    // A point is usable when defined and its screen row fits 16 bits with
    // room to spare: from -30001 to 32699.
    const long double low = (m_height - 32700) * m_scaleY - m_offsetY;
    const long double high = (m_height + 30000) * m_scaleY - m_offsetY;
    QList<QPolygon> pieces;
    bool broken = true;
    for (const TBod &p : m_points) {
        if (!p.Defined || !(low < p.Y && p.Y < high)) {
            broken = true;
            continue;
        }
        if (broken)
            pieces.append(QPolygon());
        broken = false;
        pieces.last().append(QPoint(Column(p.X), FlipY(RowFromBottom(p.Y))));
    }
    return pieces;
}

// --- painting ----------------------------------------------------------------------

QList<TMriezkovaCiara> TGrafFunkcie::GridLines(long double step, long double offset, long double scale, int size,
                                               bool piLabels) const {
    QList<TMriezkovaCiara> lines;
    if (!(step > 0) || !(scale > 0) || size <= 0)
        return lines;
    auto line = [&](long double t, int p) {
        TMriezkovaCiara l;
        l.Pixel = p;
        l.Value = t - offset;
        l.Pi = piLabels;
        l.Label = FloatToStr(piLabels ? l.Value / Pi : l.Value);
        lines.append(l);
    };
    // Left of (below) the origin, lines from the plot's far edge down to
    // pixel 1; the walk starts at the first one on the plot.
    const long double far = std::floor((offset - size * scale) / step);
    long long k = std::isfinite(far) && far > 1 ? static_cast<long long>(far) : 1;
    for (;; ++k) {
        const long double t = offset - k * step;
        const int p = RoundPixel(t / scale);
        if (p <= 0)
            break;
        if (p < size)
            line(t, p);
    }
    std::reverse(lines.begin(), lines.end());
    // Right of (above) the origin: from the first line past the plot's edge
    // on while inside the plot.
    const long double near = std::ceil(-offset / step);
    k = std::isfinite(near) && near > 1 ? static_cast<long long>(near) : 1;
    for (;; ++k) {
        const long double t = offset + k * step;
        const int p = RoundPixel(t / scale);
        if (p >= size)
            break;
        if (p > 0)
            line(t, p);
    }
    return lines;
}

QList<TMriezkovaCiara> TGrafFunkcie::VerticalGridLines() const {
    return GridLines(m_gridX * XGridUnit(), m_offsetX, m_scaleX, m_width, m_trig);
}

QList<TMriezkovaCiara> TGrafFunkcie::HorizontalGridLines() const {
    return GridLines(m_gridY, m_offsetY, m_scaleY, m_height, false);
}

QFont TGrafFunkcie::RulerFont() { return LabelFont(11); }

int TGrafFunkcie::VerticalRulerWidth() const {
    const QFontMetrics metrics(RulerFont());
    int widest = metrics.horizontalAdvance(QStringLiteral("0"));
    for (const TMriezkovaCiara &l : HorizontalGridLines())
        widest = std::max(widest, metrics.horizontalAdvance(l.Label));
    return VRulerLabelLeft + widest + VRulerLabelRoom;
}

void TGrafFunkcie::PaintGrid() {
    QPainter plot(m_graphCanvas);
    plot.setPen(QPen(QColor::fromRgb(GridColor), 1, Qt::DotLine));
    const QColor text = QColor::fromRgb(AxisColor);

    if (m_hRulerCanvas) {
        QPainter ruler(m_hRulerCanvas);
        ruler.setPen(text);
        const QFont font = RulerFont();
        ruler.setFont(font);
        const QFont piFont = PiFont();
        const QFontMetrics metrics(font);
        const QFontMetrics piMetrics(piFont);
        const QString pi(QChar(0x03C0));
        const int piRaise = piMetrics.ascent() - metrics.ascent();
        // A label that would run into the one left of it is left out (the
        // line stays), so a dense grid of long numbers stays readable.
        int free = INT_MIN;
        for (const TMriezkovaCiara &l : VerticalGridLines()) {
            plot.drawLine(l.Pixel, 0, l.Pixel, m_height);
            const int x = !l.Pi ? l.Pixel : (l.Value > 0 ? l.Pixel - 2 : l.Pixel - 7);
            const int w = metrics.horizontalAdvance(l.Label);
            const int end = x + w + (l.Pi ? 1 + piMetrics.horizontalAdvance(pi) : 0);
            if (x < free)
                continue;
            free = end + 3;
            TextOut(ruler, x, 2, l.Label);
            if (l.Pi) {
                // The factor, then the pi sign on the same baseline.
                ruler.setFont(piFont);
                TextOut(ruler, x + w + 1, 2 - piRaise, pi);
                ruler.setFont(font);
            }
        }
    }
    if (m_vRulerCanvas) {
        QPainter ruler(m_vRulerCanvas);
        ruler.setPen(text);
        ruler.setFont(RulerFont());
        for (const TMriezkovaCiara &l : HorizontalGridLines()) {
            const int row = FlipY(l.Pixel);
            plot.drawLine(0, row, m_width, row);
            TextOut(ruler, VRulerLabelLeft, row - 6, l.Label);
        }
    }
}

void TGrafFunkcie::Draw(bool resample) {
    if (resample)
        SampleFunction();
    if (m_hRulerCanvas)
        m_hRulerCanvas->fill(QColor::fromRgb(RulerColor));
    if (m_vRulerCanvas)
        m_vRulerCanvas->fill(QColor::fromRgb(RulerColor));
    if (!m_graphCanvas)
        return;
    m_graphCanvas->fill(QColor::fromRgb(BackgroundColor));
    PaintGrid();

    // The axes, when near enough to be seen, each with its "0" on its ruler.
    QPainter plot(m_graphCanvas);
    plot.setPen(QPen(QColor::fromRgb(AxisColor), 1, Qt::SolidLine));
    const int r = FlipY(RowFromBottom(0));
    if (-10 < r && r < m_height + 10) {
        plot.drawLine(0, r, m_width, r);
        if (m_vRulerCanvas) {
            QPainter ruler(m_vRulerCanvas);
            ruler.setPen(QColor::fromRgb(AxisColor));
            ruler.setFont(RulerFont());
            TextOut(ruler, VRulerLabelLeft, r - 6, QStringLiteral("0"));
        }
    }
    const int c = Column(0);
    if (-10 < c && c < m_width + 10) {
        plot.drawLine(c, 0, c, m_height);
        if (m_hRulerCanvas) {
            QPainter ruler(m_hRulerCanvas);
            ruler.setPen(QColor::fromRgb(AxisColor));
            ruler.setFont(RulerFont());
            TextOut(ruler, c + 1, 2, QStringLiteral("0"));
        }
    }
    plot.end();
    DrawCurve();
}

void TGrafFunkcie::DrawCurve() {
    if (!m_graphCanvas)
        return;
    QPainter plot(m_graphCanvas);
    plot.setPen(QPen(QColor::fromRgb(CurveColor), 1, Qt::SolidLine));
    for (const QPolygon &piece : CurvePieces())
        if (piece.size() > 1)
            plot.drawPolyline(piece);
}

// --- changes of view -----------------------------------------------------------------

void TGrafFunkcie::ZoomIn(bool doX, bool doY) {
    bool changed = false;
    auto zoom = [this, &changed](long double &scale, long double &offset, int size, long double &grid) {
        if (scale <= MinScale || std::fabs(offset / (scale / 2)) >= OriginLimit) {
            Beep();
            return;
        }
        scale /= 2;
        offset -= size * scale / 2; // the plot's centre stays at its world point
        if (grid / scale > 160)
            grid /= 2;
        changed = true;
    };
    if (doX)
        zoom(m_scaleX, m_offsetX, m_width, m_gridX);
    if (doY)
        zoom(m_scaleY, m_offsetY, m_height, m_gridY);
    if (changed)
        Draw(true);
}

void TGrafFunkcie::ZoomOut(bool doX, bool doY) {
    bool changed = false;
    auto zoom = [&changed](long double &scale, long double &offset, int size, long double &grid) {
        if (scale > MaxZoomOutScale)
            return;
        offset += size * scale / 2;
        scale *= 2;
        if (grid / scale < 20)
            grid *= 2;
        changed = true;
    };
    if (doX)
        zoom(m_scaleX, m_offsetX, m_width, m_gridX);
    if (doY)
        zoom(m_scaleY, m_offsetY, m_height, m_gridY);
    if (changed)
        Draw(true);
    else
        Beep();
}

void TGrafFunkcie::Move(int dx, int dy) {
    bool movedX = false;
    bool movedY = false;
    const long double nx = m_offsetX + dx * m_scaleX;
    if (std::fabs(nx / m_scaleX) < OriginLimit) {
        m_offsetX = nx;
        movedX = true;
    }
    const long double ny = m_offsetY - dy * m_scaleY;
    if (std::fabs(ny / m_scaleY) < OriginLimit) {
        m_offsetY = ny;
        movedY = true;
    }
    if (!movedX && !movedY) {
        Beep();
        return;
    }
    // Only a new x range needs new samples; a vertical move repaints them.
    Draw(movedX && dx != 0);
}

void TGrafFunkcie::HalveGridStep(bool doX, bool doY) {
    bool changed = false;
    if (doX && m_gridX / 2 / m_scaleX >= 20) {
        m_gridX /= 2;
        changed = true;
    }
    if (doY && m_gridY / 2 / m_scaleY >= 20) {
        m_gridY /= 2;
        changed = true;
    }
    if (changed)
        Draw(false);
    else
        Beep();
}

void TGrafFunkcie::DoubleGridStep(bool doX, bool doY) {
    bool changed = false;
    if (doX && m_width >= m_gridX / m_scaleX) {
        m_gridX *= 2;
        changed = true;
    }
    if (doY && m_height >= m_gridY / m_scaleY) {
        m_gridY *= 2;
        changed = true;
    }
    if (changed)
        Draw(false);
    else
        Beep();
}

void TGrafFunkcie::Centre() {
    ResetOrigin();
    Draw(true);
}

void TGrafFunkcie::Resize(int newWidth, int newHeight) {
    m_offsetX += (newWidth - m_width) * m_scaleX / 2;
    m_offsetY += (newHeight - m_height) * m_scaleY / 2;
    m_width = newWidth;
    m_height = newHeight;
    Draw(true);
}
