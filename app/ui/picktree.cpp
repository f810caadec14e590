#include "app/ui/picktree.h"

#include <QMouseEvent>

#include <functional>

namespace app {

namespace {

// Each rule runs around the view's own handler (handle) and tells whether the user picked.
bool pressPicks(QTreeView& view, QMouseEvent* event, const std::function<void()>& handle) {
    handle();
    const QModelIndex pressed = view.indexAt(event->position().toPoint());
    return event->button() == Qt::LeftButton && pressed.isValid() && pressed == view.currentIndex();
}

bool keyPicks(QTreeView& view, const std::function<void()>& handle) {
    const QPersistentModelIndex before = view.currentIndex();
    handle();
    return view.currentIndex().isValid() && view.currentIndex() != before;
}

void takeBackFocusPick(QTreeView& view, const std::function<void()>& handle) {
    const bool noneCurrent = !view.currentIndex().isValid();
    handle();
    if (noneCurrent && view.currentIndex().isValid())
        view.setCurrentIndex({});
}

} // namespace

void PickTree::mousePressEvent(QMouseEvent* event) {
    if (pressPicks(*this, event, [&] { QTreeWidget::mousePressEvent(event); }))
        emit picked();
}

void PickTree::keyPressEvent(QKeyEvent* event) {
    if (keyPicks(*this, [&] { QTreeWidget::keyPressEvent(event); }))
        emit picked();
}

void PickTree::focusInEvent(QFocusEvent* event) {
    takeBackFocusPick(*this, [&] { QTreeWidget::focusInEvent(event); });
}

void PickView::mousePressEvent(QMouseEvent* event) {
    if (pressPicks(*this, event, [&] { QTreeView::mousePressEvent(event); }))
        emit picked();
}

void PickView::keyPressEvent(QKeyEvent* event) {
    if (keyPicks(*this, [&] { QTreeView::keyPressEvent(event); }))
        emit picked();
}

void PickView::focusInEvent(QFocusEvent* event) {
    takeBackFocusPick(*this, [&] { QTreeView::focusInEvent(event); });
}

} // namespace app
