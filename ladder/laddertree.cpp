#include "ladder/laddertree.h"

#include "base/numbertext.h"
#include "ladder/plcnoderecord.h"

#include <algorithm>

namespace ladder {

QString appendToKey(const QString& key, const QString& suffix) {
    const qsizetype room = PlcNodeRecord::KeyWidth - suffix.size();
    return (key.size() <= room ? key : key.left(std::max<qsizetype>(room, 0))) + suffix;
}

std::optional<int> LadderTree::add(int parent, const QString& key, const QString& text, int16_t image) {
    if (contains(key) || (parent != -1 && !valid(parent)))
        return std::nullopt;
    return append(parent, key, text, image);
}

std::optional<int> LadderTree::addRepeated(int parent, const QString& key, const QString& text,
                                           int16_t image) {
    if (parent != -1 && !valid(parent))
        return std::nullopt;
    return append(parent, key, text, image);
}

int LadderTree::append(int parent, const QString& key, const QString& text, int16_t image) {
    nodes_.push_back(LadderNode{key, text, image, parent});
    const int index = count() - 1;
    enter(index);
    return index;
}

std::optional<int> LadderTree::addCounted(int parent, const QString& key, const QString& text, int16_t image,
                                          int& counter, const KeyClaim& claimed) {
    if (parent != -1 && !valid(parent))
        return std::nullopt;
    return append(parent, contains(key) ? freeKey(key, counter, claimed) : key, text, image);
}

QString LadderTree::freeKey(const QString& key, int& counter, const KeyClaim& claimed) const {
    QString free;
    do
        free = keyField(appendToKey(base::Trim(key), QString::number(++counter)));
    while (contains(free) || (claimed && claimed(free)));
    return free;
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
    if (nodes_[size_t(index)].key == key)
        return true;
    if (contains(key))
        return false;
    leave(index);
    nodes_[size_t(index)].key = key;
    enter(index);
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

void LadderTree::enter(int index) {
    const QString& key = nodes_[size_t(index)].key;
    if (contains(key))
        ++repeats_[key];
    else
        index_.insert(key, index);
}

void LadderTree::leave(int index) {
    const QString& key = nodes_[size_t(index)].key;
    const auto repeat = repeats_.find(key);
    if (repeat == repeats_.end()) {
        index_.remove(key);
        return;
    }
    if (--*repeat == 0)
        repeats_.erase(repeat);
    if (find(key) != index)
        return;
    // The first holder leaves: the next in creation order takes its place.
    for (int next = index + 1; next < count(); ++next)
        if (nodes_[size_t(next)].key == key) {
            index_.insert(key, next);
            return;
        }
}

void LadderTree::reindex() {
    index_.clear();
    repeats_.clear();
    for (int i = 0; i < count(); ++i)
        enter(i);
}

} // namespace ladder
