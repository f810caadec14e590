#include "app/ui/picktree.h"

#include <QMouseEvent>

namespace app {

void PickTree::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    const QTreeWidgetItem* pressed = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed && pressed == currentItem())
        emit picked();
}

void PickTree::keyPressEvent(QKeyEvent* event) {
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        emit picked();
}

void PickTree::focusInEvent(QFocusEvent* event) {
    const bool noneCurrent = currentItem() == nullptr;
    QTreeWidget::focusInEvent(event);
    if (noneCurrent && currentItem())
        setCurrentItem(nullptr);
}

} // namespace app
