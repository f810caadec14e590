#pragma once
// Trees whose current item counts as the user's choice only when the user made it: a mouse press on an
// item (also on the item that is current already) or a key that moves the current item. A window that
// marks an item itself (after New or a transfer) raises nothing. A plain item view makes its first item
// current when it takes the focus; these trees take that back, so their current item is always one the
// user picked or the window marked. PickTree holds its own items; PickView shows a model.

#include <QMouseEvent>
#include <QTreeView>
#include <QTreeWidget>

namespace app {

// The picking rules over a tree view; userPicked() runs on each pick.
template <typename View> class Picking : public View {
public:
    using View::View;

protected:
    virtual void userPicked() = 0;

    void mousePressEvent(QMouseEvent* event) override {
        View::mousePressEvent(event);
        const QModelIndex pressed = this->indexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && pressed.isValid() && pressed == this->currentIndex())
            userPicked();
    }
    void keyPressEvent(QKeyEvent* event) override {
        const QPersistentModelIndex before = this->currentIndex();
        View::keyPressEvent(event);
        if (this->currentIndex().isValid() && this->currentIndex() != before)
            userPicked();
    }
    void focusInEvent(QFocusEvent* event) override {
        const bool noneCurrent = !this->currentIndex().isValid();
        View::focusInEvent(event);
        if (noneCurrent && this->currentIndex().isValid())
            this->setCurrentIndex({});
    }
};

class PickTree : public Picking<QTreeWidget> {
    Q_OBJECT
public:
    using Picking::Picking;

signals:
    // The user picked the tree's current item.
    void picked();

protected:
    void userPicked() override { emit picked(); }
};

class PickView : public Picking<QTreeView> {
    Q_OBJECT
public:
    using Picking::Picking;

signals:
    // The user picked the view's current item.
    void picked();

protected:
    void userPicked() override { emit picked(); }
};

} // namespace app
