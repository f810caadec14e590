#include "ladder/laddertreemodel.h"

namespace ladder {

LadderTreeModel::LadderTreeModel(const LadderTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    refresh();
}

void LadderTreeModel::refresh() {
    beginResetModel();
    const int count = tree_.count();
    // Place count lists the roots; every node lists its children.
    const auto placeOfNode = [&](int node) {
        const int parent = tree_.node(node).parent;
        return tree_.valid(parent) ? parent : count;
    };
    first_.assign(size_t(count) + 2, 0);
    for (int node = 0; node < count; ++node)
        ++first_[size_t(placeOfNode(node)) + 1];
    for (size_t place = 1; place < first_.size(); ++place)
        first_[place] += first_[place - 1];
    children_.assign(size_t(count), 0);
    row_.assign(size_t(count), 0);
    std::vector<int> filled(first_.begin(), first_.end() - 1);
    for (int node = 0; node < count; ++node) {
        const size_t place = size_t(placeOfNode(node));
        row_[size_t(node)] = filled[place] - first_[place];
        children_[size_t(filled[place]++)] = node;
    }
    endResetModel();
}

int LadderTreeModel::placeOf(const QModelIndex& parent) const {
    return parent.isValid() ? nodeOf(parent) : int(row_.size());
}

QModelIndex LadderTreeModel::indexOf(int node) const {
    if (node < 0 || node >= int(row_.size()))
        return {};
    return createIndex(row_[size_t(node)], 0, quintptr(node));
}

QModelIndex LadderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    const int node = children_[size_t(first_[size_t(placeOf(parent))] + row)];
    return createIndex(row, 0, quintptr(node));
}

QModelIndex LadderTreeModel::parent(const QModelIndex& child) const {
    const int node = nodeOf(child);
    return node < 0 ? QModelIndex() : indexOf(tree_.node(node).parent);
}

int LadderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const size_t place = size_t(placeOf(parent));
    return first_[place + 1] - first_[place];
}

int LadderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant LadderTreeModel::data(const QModelIndex& index, int role) const {
    const int node = nodeOf(index);
    if (node < 0 || node >= tree_.count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return tree_.node(node).text;
    case CodeRole:
        return int(tree_.node(node).image);
    case NodeRole:
        return node;
    default:
        return {};
    }
}

} // namespace ladder
