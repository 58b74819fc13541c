// Where a top-level window goes on a screen's work area, whatever size the program asked for.
#pragma once

#include <QMargins>
#include <QRect>

// `window` is its frame's top-left corner and the size inside the frame. The size shrinks to what the
// area holds with the frame around it, and the window moves so that its frame lies wholly on the area.
// An empty area changes nothing.
QRect FitOnScreen(const QRect& window, const QMargins& frame, const QRect& available);
