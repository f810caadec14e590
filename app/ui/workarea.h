#pragma once
// The room a window has on the screen, and keeping a window inside it. A window in the main window's MDI
// area has that area (without its scroll bars); a window of its own has the screen's available area.
// Windows open no larger than their work area, and a window whose contents grew (a longer line, a longer
// path) widens to show them as far as its work area allows.

#include <QSize>

class QWidget;

namespace app {

// The feature window a control belongs to: its MDI child window or its own window.
QWidget& windowOf(QWidget& control);
// What is seen around the window: its MDI frame, or the window itself.
QWidget& frameOf(QWidget& window);
// The room the window has.
QSize workArea(QWidget& window);
// Grows the window's frame to what its contents need at least (their minimum size) as far as the work area
// allows, and shrinks a frame larger than the work area to it; an MDI frame is kept inside the area (its
// top-left stays where it is when it can).
void fitWorkArea(QWidget& window);

} // namespace app
