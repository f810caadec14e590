#pragma once
// Trees whose current item counts as the user's choice only when the user made it: a mouse press on an
// item (also on the item that is current already) or a key that moves the current item. A window that
// marks an item itself (after New or a transfer) raises nothing. A plain item view makes its first item
// current when it takes the focus; these trees take that back, so their current item is always one the
// user picked or the window marked. PickTree holds its own items; PickView shows a model.

#include <QTreeView>
#include <QTreeWidget>

namespace app {

class PickTree : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    // The user picked the tree's current item.
    void picked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

class PickView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

signals:
    // The user picked the view's current item.
    void picked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace app
