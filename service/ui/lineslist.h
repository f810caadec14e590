#pragma once
// The list in which a service window (calibration, device test, settings collection) shows its session's
// lines (List1): wide and high enough for a session's prompts and results, always showing the newest line,
// and widened (with its window, as far as the work area allows) to show a longer line whole.

#include "app/ui/workarea.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
#include <QStringList>

#include <algorithm>

namespace service {

inline QListWidget* makeLinesList(QWidget* parent, int columns, int rows) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("List1"));
    const QFontMetrics metrics(list->font());
    list->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('X')) * columns, metrics.lineSpacing() * rows);
    return list;
}

inline void showLines(QListWidget& list, const QStringList& lines) {
    list.clear();
    list.addItems(lines);
    // Room for the longest line beside the frame and a vertical scroll bar.
    const int needed =
        list.sizeHintForColumn(0) + 2 * list.frameWidth() + list.verticalScrollBar()->sizeHint().width();
    if (needed > list.minimumWidth()) {
        QWidget& window = app::windowOf(list);
        const int room = app::workArea(window).width() - (app::frameOf(window).width() - list.width());
        list.setMinimumWidth(std::min(needed, std::max(room, list.minimumWidth())));
        app::fitWorkArea(window);
    }
    list.scrollToBottom();
}

} // namespace service
