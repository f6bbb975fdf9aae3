// Companion windows that snap to the main window's outer edges while they
// are dragged, move along with the main window when they touch it, and come
// back to the screen when they have been left wholly off it.
#pragma once

#include <QPointer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

// --- The geometry rules, on outer window rectangles in screen pixels. ------

// Where a window proposed at `proposed` ends up: its left edge snaps to the
// master's right edge, or else its right edge to the master's left edge,
// when within distance (bounds inclusive); the vertical axis likewise with
// top/bottom, independently of the horizontal one.
QPoint SnapPosition(const QRect &proposed, const QRect &master, int distance);

// True when one of the window's edges lies exactly on the opposite edge of
// other: right on left, left on right, top on bottom or bottom on top (the
// other axis is not compared).
bool TouchesRect(const QRect &window, const QRect &other);

// True when some of the window lies on a screen of the given size.
bool IsOnScreen(const QRect &window, const QSize &screen);
// The window's position after EnsureOnScreen: unchanged when on the
// screen, else centred on it.
QPoint OnScreenPosition(const QRect &window, const QSize &screen);

// Where a companion of the given outer size goes beside the main window:
// at its right edge when there is room, else at its left edge when there is
// room, else nowhere (false; the window keeps its own position).
bool PlaceBeside(const QRect &master, const QSize &window, int screenWidth, QPoint &position);

// The size of the primary screen.
QSize PrimaryScreenSize();

// --- The window class. ------------------------------------------------------

class TMagneticForm : public QWidget {
    Q_OBJECT
public:
    explicit TMagneticForm(QWidget *parent = nullptr);

    void SetMaster(QWidget *form) { m_master = form; }
    QWidget *Master() const { return m_master; }
    void SetSnapDistance(quint8 distance) { m_snapDistance = distance; }
    quint8 SnapDistance() const { return m_snapDistance; }

    // Moves the outer top-left corner to position, with snapping.
    void MoveTo(const QPoint &position);

    bool TouchesForm(const QWidget *other) const;
    // Moves the window by (dx, dy) without snapping.
    void MoveBy(int dx, int dy);
    // Brings a window that lies wholly off the screen to the screen's centre.
    void EnsureOnScreen();

protected:
    void moveEvent(QMoveEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPointer<QWidget> m_master;
    quint8 m_snapDistance = 0;
    bool m_snapping = false;
};

// The main window's drag: before it moves from oldRect to newTopLeft, each
// companion that touches it moves by the same amount, in the given order.
void MoveTouchingCompanions(const QRect &oldRect, const QPoint &newTopLeft, const QList<TMagneticForm *> &companions);
