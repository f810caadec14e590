#pragma once
// The rung tree: nodes in creation order, each with a key (unique in the tree), a text, an image number
// (the element code for element nodes) and a parent. The root is node 0. Keys are compared as the ladder
// file stores them: padded with blanks or cut to the key field, case included. Two keys that would be one
// record key are one key here, so a tree saved and opened again keeps every node under its own parent. Any
// text is a valid key (a received unknown element has a blank key).

#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ladder {

struct LadderNode {
    QString key;
    QString text;
    int16_t image = 0;
    int parent = -1; // index of the parent node; -1 for the root

    bool operator==(const LadderNode&) const = default;
};

class LadderTree {
public:
    int count() const { return int(nodes_.size()); }
    const LadderNode& node(int index) const { return nodes_[size_t(index)]; }
    bool valid(int index) const { return index >= 0 && index < count(); }

    // The index of the node with this key (as stored), or -1.
    int find(const QString& key) const;
    bool contains(const QString& key) const { return find(key) >= 0; }

    // Appends a root (parent -1) or the last child of parent. Refused (nothing) when the key is taken or
    // the parent does not exist.
    std::optional<int> add(int parent, const QString& key, const QString& text, int16_t image);
    // Appends under parent with the first free key: key, else Trim(key) followed by counter + 1,
    // counter + 2 ... in the stored form (the key cut where the digits would not fit the field). A key is
    // free when no node holds it and claimed (when given) does not claim it for a node still to come.
    // counter is advanced and kept by the caller for a whole load or rebuild.
    using KeyClaim = std::function<bool(const QString& storedKey)>;
    std::optional<int> addCounted(int parent, const QString& key, const QString& text, int16_t image,
                                  int& counter, const KeyClaim& claimed = {});
    // Gives a node a new key; refused when another node holds it.
    bool setKey(int index, const QString& key);
    void setText(int index, const QString& text) { nodes_[size_t(index)].text = text; }

    // Makes room for count nodes at once (a file about to be loaded says how many it holds).
    void reserve(int count);

    // Removes a node with everything below it; later nodes keep their order.
    void remove(int index);

    // Levels above a node: 0 for the root, 1 for a rung, 2 for a list node, 3 for an element.
    int level(int index) const;

    // Children of a node in creation order.
    std::vector<int> children(int parent) const;
    int childCount(int parent) const;

    bool operator==(const LadderTree& other) const { return nodes_ == other.nodes_; }

private:
    // Appends a node whose key is known to be free under a parent known to exist; its index.
    int append(int parent, const QString& key, const QString& text, int16_t image);
    void reindex();

    std::vector<LadderNode> nodes_;
    QHash<QString, int> index_;
};

// key followed by suffix, the key cut where the suffix would not fit the key field, so the suffix is
// always stored: a key made unique by its digits stays unique in the file.
QString appendToKey(const QString& key, const QString& suffix);

} // namespace ladder
