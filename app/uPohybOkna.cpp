#include "uPohybOkna.h"

#include <algorithm>

namespace {

// One axis: position and size of the window, start and size of the screen.
int DragAxis(int position, int size, int screenStart, int screenSize, int low, int high) {
    // The screen's own coordinates, with the window's near edge at p.
    int p = std::clamp(position - screenStart, low, high);
    if (-9 <= p && p <= 9)
        p = 0;
    else if (screenSize - 10 < p + size && p + size < screenSize + 10)
        p = screenSize - size;
    return p + screenStart;
}

} // namespace

QPoint DragPosition(const QRect &window, const QPoint &delta, const QRect &screen) {
    const int w = window.width();
    const int h = window.height();
    const int x =
        DragAxis(window.x() + delta.x(), w, screen.x(), screen.width(), 20 - w, std::max(20 - w, screen.width() - 20));
    const int y =
        DragAxis(window.y() + delta.y(), h, screen.y(), screen.height(), 0, std::max(0, screen.height() - 50));
    return QPoint(x, y);
}
