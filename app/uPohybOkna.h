// Where the borderless main window goes while it is dragged by its title.
#pragma once

#include <QPoint>
#include <QRect>

// The window's new top-left corner when it is dragged by delta from window
// (its outer rectangle) on a screen: at least 20 pixels of it stay on the
// screen horizontally and its title between the screen's top and 50 pixels
// above its bottom; then an edge that comes within 10 pixels of the screen's
// edge snaps onto it (left before right, top before bottom).
QPoint DragPosition(const QRect &window, const QPoint &delta, const QRect &screen);
