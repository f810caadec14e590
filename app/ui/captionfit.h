#pragma once
// Small windows and boxes are at least wide enough to show their whole caption in the title bar, beside the
// bar's icon and buttons.

class QMessageBox;
class QWidget;

namespace app {

// Room the title bar takes besides the caption: the window icon and its three buttons.
inline constexpr int TitleBarChrome = 120;

// The width a window needs to show its caption.
int captionWidth(const QWidget& window);
// Widens the window (and keeps it from being made narrower) to its caption's width.
void fitCaption(QWidget& window);
// The same for a message box, which sizes itself to its text.
void fitCaption(QMessageBox& box);

} // namespace app
