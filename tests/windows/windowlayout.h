#pragma once
// What a technician finds broken in a shown window, as lines naming the control: a control squeezed below
// its own minimum size, tabs pushed behind scroll arrows, lines cut by a list narrower than the work area,
// a one-line text with a scroll bar, a window larger than its work area.

#include <QSize>
#include <QStringList>

class QWidget;

namespace shown {

// Visible controls smaller than their minimum size hint (the insides of scrolled views excepted).
QStringList clippedControls(const QWidget& window);
// Tabs that lie partly outside their tab bar.
QStringList hiddenTabs(const QWidget& window);
// Lists and text boxes that scroll sideways although the window (its frame) could be that much wider in
// the work area, and text boxes that show a scroll bar for a text of one line.
QStringList needlessScrollBars(const QWidget& window, const QWidget& frame, int workAreaWidth);
// Sibling controls that cover each other.
QStringList overlappingControls(const QWidget& window);
// The frame larger than the work area.
QStringList tooLarge(const QWidget& frame, QSize workArea);

// All of the above.
QStringList layoutProblems(const QWidget& window, const QWidget& frame, QSize workArea);

} // namespace shown
