#pragma once
// The rung tree: nodes in creation order, each with a key, a text, an image number (the element code for
// element nodes) and a parent. The root is node 0. A key is taken as it is given, blanks and case included,
// and the tree refuses a key another node holds: an element placed by the editor carries no blanks, one read
// from a ladder file carries them up to the key field. The file cuts every key to that field, so two nodes
// may store one key: read back, such a repeat stays on a node that nothing hangs under (addRepeated), and
// find() gives the first node holding a key, the one a record naming it as its parent hangs under. Any text
// is a valid key (a received unknown element has a blank key).

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

    // The index of the first node with this key, or -1.
    int find(const QString& key) const { return index_.value(key, -1); }
    bool contains(const QString& key) const { return index_.contains(key); }

    // Appends a root (parent -1) or the last child of parent. Refused (nothing) when the key is taken or
    // the parent does not exist.
    std::optional<int> add(int parent, const QString& key, const QString& text, int16_t image);
    // Appends under parent keeping a key another node may hold already: a node read from a ladder file
    // whose key repeats an earlier one and that no record names as its parent. find() stays with the first.
    std::optional<int> addRepeated(int parent, const QString& key, const QString& text, int16_t image);
    // Appends under parent with key, or with freeKey(key) when the key is taken.
    using KeyClaim = std::function<bool(const QString& storedKey)>;
    std::optional<int> addCounted(int parent, const QString& key, const QString& text, int16_t image,
                                  int& counter, const KeyClaim& claimed = {});
    // Trim(key) followed by counter + 1, counter + 2 ... in the stored form (the key cut where the digits
    // would not fit the field, then padded): the first that no node holds and claimed (when given) does not
    // claim for a node still to come. Saved and read again it is the same key and takes no other node's
    // place. counter is advanced and kept by the caller for a whole load or rebuild.
    QString freeKey(const QString& key, int& counter, const KeyClaim& claimed = {}) const;
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
    // Appends a node under a parent known to exist; its index.
    int append(int parent, const QString& key, const QString& text, int16_t image);
    // Takes node index into the index of keys: the first holder of its key, or one more repeat of it.
    void enter(int index);
    // Takes node index out of the index of keys; the next node holding the same key becomes its first.
    void leave(int index);
    void reindex();

    std::vector<LadderNode> nodes_;
    // Each key's first node.
    QHash<QString, int> index_;
    // How many nodes after the first hold a key, for the keys that repeat.
    QHash<QString, int> repeats_;
};

// key followed by suffix, the key cut where the suffix would not fit the key field, so the suffix is
// always stored: a key made unique by its digits stays unique in the file.
QString appendToKey(const QString& key, const QString& suffix);

} // namespace ladder
