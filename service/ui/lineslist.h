#pragma once
// The list in which a service window (calibration, device test, settings collection) shows its session's
// lines (List1): wide and high enough for a session's prompts and results, always showing the newest line.

#include <QFontMetrics>
#include <QListWidget>
#include <QStringList>

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
    list.scrollToBottom();
}

} // namespace service
