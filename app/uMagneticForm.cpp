#include "uMagneticForm.h"

#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>

// Qt's QRect::right() is one less than left + width; the rules here use the
// outer edges as left + width and top + height.
static int RightOf(const QRect &r) { return r.x() + r.width(); }
static int BottomOf(const QRect &r) { return r.y() + r.height(); }

QPoint SnapPosition(const QRect &proposed, const QRect &master, int distance) {
    int x = proposed.x();
    int y = proposed.y();
    const int d = distance;
    const int cx = proposed.width();
    const int cy = proposed.height();

    const int r = RightOf(master);
    const int l = master.x();
    if (r - d <= x && x <= r + d)
        x = r;
    else if (l - d <= x + cx && x + cx <= l + d)
        x = l - cx;

    const int b = BottomOf(master);
    const int t = master.y();
    if (b - d <= y && y <= b + d)
        y = b;
    else if (t - d <= y + cy && y + cy <= t + d)
        y = t - cy;
    return QPoint(x, y);
}

bool TouchesRect(const QRect &window, const QRect &other) {
    return RightOf(window) == other.x() || window.x() == RightOf(other) || window.y() == BottomOf(other) ||
           BottomOf(window) == other.y();
}

bool IsOnScreen(const QRect &window, const QSize &screen) {
    return window.x() < screen.width() && RightOf(window) > 0 && window.y() < screen.height() && BottomOf(window) > 0;
}

QPoint OnScreenPosition(const QRect &window, const QSize &screen) {
    if (IsOnScreen(window, screen))
        return window.topLeft();
    // Integer division truncates toward zero, as the rule asks.
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

bool PlaceBeside(const QRect &master, const QSize &window, int screenWidth, QPoint &position) {
    if (RightOf(master) < screenWidth - window.width()) {
        position = QPoint(RightOf(master), master.y());
        return true;
    }
    if (master.x() > window.width()) {
        position = QPoint(master.x() - window.width(), master.y());
        return true;
    }
    return false;
}

QSize PrimaryScreenSize() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(800, 600);
}

// ---------------------------------------------------------------------------

TMagneticForm::TMagneticForm(QWidget *parent) : QWidget(parent, Qt::Tool) {}

void TMagneticForm::MoveTo(const QPoint &position) {
    QPoint target = position;
    if (m_master) {
        const QRect proposed(position, frameGeometry().size());
        target = SnapPosition(proposed, m_master->frameGeometry(), m_snapDistance);
    }
    m_snapping = true;
    move(target);
    m_snapping = false;
}

void TMagneticForm::moveEvent(QMoveEvent *event) {
    QWidget::moveEvent(event);
    // A move that did not come through MoveTo (the user dragging the window)
    // is snapped afterwards.
    if (m_snapping || !m_master || !isVisible())
        return;
    const QRect outer = frameGeometry();
    const QPoint snapped = SnapPosition(outer, m_master->frameGeometry(), m_snapDistance);
    if (snapped != outer.topLeft()) {
        m_snapping = true;
        move(snapped);
        m_snapping = false;
    }
}

bool TMagneticForm::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        EnsureOnScreen();
    return QWidget::event(event);
}

bool TMagneticForm::TouchesForm(const QWidget *other) const {
    return other && TouchesRect(frameGeometry(), other->frameGeometry());
}

void TMagneticForm::MoveBy(int dx, int dy) {
    const QPointer<QWidget> master = m_master;
    m_master = nullptr;
    move(pos() + QPoint(dx, dy));
    m_master = master;
}

void TMagneticForm::EnsureOnScreen() {
    const QPoint target = OnScreenPosition(frameGeometry(), PrimaryScreenSize());
    if (target != frameGeometry().topLeft()) {
        m_snapping = true;
        move(target);
        m_snapping = false;
    }
}

void MoveTouchingCompanions(const QRect &oldRect, const QPoint &newTopLeft, const QList<TMagneticForm *> &companions) {
    const int dx = newTopLeft.x() - oldRect.x();
    const int dy = newTopLeft.y() - oldRect.y();
    for (TMagneticForm *companion : companions)
        if (companion && TouchesRect(companion->frameGeometry(), oldRect))
            companion->MoveBy(dx, dy);
}
