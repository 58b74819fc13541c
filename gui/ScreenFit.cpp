#include "gui/ScreenFit.h"

#include <algorithm>

QRect FitOnScreen(const QRect& window, const QMargins& frame, const QRect& available)
{
    if (available.isEmpty())
        return window;
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int w = std::max(1, std::min(window.width(), available.width() - frameWidth));
    const int h = std::max(1, std::min(window.height(), available.height() - frameHeight));
    const int x
        = std::max(available.left(), std::min(window.x(), available.left() + available.width() - w - frameWidth));
    const int y
        = std::max(available.top(), std::min(window.y(), available.top() + available.height() - h - frameHeight));
    return QRect(x, y, w, h);
}
