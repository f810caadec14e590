#pragma once
// The rung tree as the item model a tree view reads as it scrolls: one column, each node's text shown, its
// element code (CodeRole) and its index in the tree (NodeRole) for the window. Beside the tree it keeps
// only where each node stands among its parent's children, so half a million nodes cost a few megabytes
// here and no item is made per node. It follows the tree when told: refresh() after every change.
//
//   LadderTreeModel model(editor.tree());
//   view.setModel(&model);
//   editor.addRung();
//   model.refresh();

#include "ladder/laddertree.h"

#include <QAbstractItemModel>

#include <vector>

namespace ladder {

class LadderTreeModel : public QAbstractItemModel {
public:
    static constexpr int CodeRole = Qt::UserRole;
    static constexpr int NodeRole = Qt::UserRole + 1;

    explicit LadderTreeModel(const LadderTree& tree, QObject* parent = nullptr);

    // Takes the tree as it is now: every view of the model starts afresh (nothing expanded or current).
    void refresh();
    // The index of a node of the tree; invalid for none.
    QModelIndex indexOf(int node) const;
    // The node an index stands for, or -1.
    static int nodeOf(const QModelIndex& index) { return index.isValid() ? int(index.internalId()) : -1; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Where the children of a node (or, at the last place, the roots) are listed in children_.
    int placeOf(const QModelIndex& parent) const;

    const LadderTree& tree_;
    // The children of place p are children_[first_[p]] .. children_[first_[p + 1] - 1], in creation order.
    std::vector<int> first_;
    std::vector<int> children_;
    // Each node's row among its parent's children.
    std::vector<int> row_;
};

} // namespace ladder
