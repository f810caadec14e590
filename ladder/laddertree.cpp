#include "ladder/laddertree.h"

#include "base/numbertext.h"
#include "ladder/plcnoderecord.h"

#include <algorithm>

namespace ladder {

QString appendToKey(const QString& key, const QString& suffix) {
    const qsizetype room = PlcNodeRecord::KeyWidth - suffix.size();
    return (key.size() <= room ? key : key.left(std::max<qsizetype>(room, 0))) + suffix;
}

int LadderTree::find(const QString& key) const {
    return index_.value(keyField(key), -1);
}

std::optional<int> LadderTree::add(int parent, const QString& key, const QString& text, int16_t image) {
    if (contains(key) || (parent != -1 && !valid(parent)))
        return std::nullopt;
    return append(parent, key, text, image);
}

int LadderTree::append(int parent, const QString& key, const QString& text, int16_t image) {
    nodes_.push_back(LadderNode{key, text, image, parent});
    const int index = count() - 1;
    index_.insert(keyField(key), index);
    return index;
}

std::optional<int> LadderTree::addCounted(int parent, const QString& key, const QString& text, int16_t image,
                                          int& counter, const KeyClaim& claimed) {
    if (parent != -1 && !valid(parent))
        return std::nullopt;
    if (!contains(key))
        return append(parent, key, text, image);
    // The renamed key is kept as it is stored, and is free in that form: saved and opened again, it is
    // the same key and takes no other node's place.
    QString free;
    do
        free = keyField(appendToKey(base::Trim(key), QString::number(++counter)));
    while (contains(free) || (claimed && claimed(free)));
    return append(parent, free, text, image);
}

int LadderTree::level(int index) const {
    int levels = 0;
    for (int up = valid(index) ? nodes_[size_t(index)].parent : -1; up >= 0; up = nodes_[size_t(up)].parent)
        ++levels;
    return levels;
}

void LadderTree::reserve(int count) {
    nodes_.reserve(size_t(std::max(count, 0)));
    index_.reserve(std::max(count, 0));
}

bool LadderTree::setKey(int index, const QString& key) {
    const int holder = find(key);
    if (holder == index)
        return true;
    if (holder != -1)
        return false;
    index_.remove(keyField(nodes_[size_t(index)].key));
    nodes_[size_t(index)].key = key;
    index_.insert(keyField(key), index);
    return true;
}

void LadderTree::remove(int index) {
    if (!valid(index))
        return;
    // Mark the node and its descendants (a descendant always comes after its parent).
    std::vector<bool> gone(nodes_.size(), false);
    gone[size_t(index)] = true;
    for (size_t i = size_t(index) + 1; i < nodes_.size(); ++i)
        gone[i] = nodes_[i].parent >= 0 && gone[size_t(nodes_[i].parent)];
    std::vector<int> newIndex(nodes_.size(), -1);
    std::vector<LadderNode> kept;
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (gone[i])
            continue;
        newIndex[i] = int(kept.size());
        LadderNode node = nodes_[i];
        if (node.parent >= 0)
            node.parent = newIndex[size_t(node.parent)];
        kept.push_back(node);
    }
    nodes_ = std::move(kept);
    reindex();
}

std::vector<int> LadderTree::children(int parent) const {
    std::vector<int> list;
    for (int i = 0; i < count(); ++i)
        if (nodes_[size_t(i)].parent == parent)
            list.push_back(i);
    return list;
}

int LadderTree::childCount(int parent) const {
    return int(children(parent).size());
}

void LadderTree::reindex() {
    index_.clear();
    for (int i = 0; i < count(); ++i)
        index_.insert(keyField(nodes_[size_t(i)].key), i);
}

} // namespace ladder
