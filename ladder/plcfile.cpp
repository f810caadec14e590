#include "ladder/plcfile.h"

#include "app/programcore.h"
#include "base/cp1252.h"
#include "base/dialogs.h"
#include "base/numbertext.h"
#include "base/textlines.h"
#include "ladder/elementcatalogue.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>

namespace ladder {

namespace {

constexpr int LargestImage = 255;
// Elements are the deepest nodes of a ladder (root, rung, list, element): a record under an element is
// damage, so no tree is deeper than this, whatever the file.
constexpr int ElementLevel = 3;
// Room made up front for the nodes a file says it holds, at most this many (a damaged file may be huge).
constexpr qint64 MaxReservedNodes = 1 << 20;
const QString FileMissingText = QStringLiteral("File does not exists");
const QString DamagedText = QStringLiteral("File is damaged (record %1)");
const QString FileErrorCaption = QStringLiteral("File Error");

// The preset a node carries in its record, or nothing.
std::optional<double> carriedPreset(const LadderNode& node, const LadderPresets& presets) {
    if (const int n = counterOfCode(node.image))
        return presets.cwCounter(n);
    if (const int n = timerOfStartCode(node.image); n && node.text.startsWith(timerStartPrefix(n)))
        return presets.cwTimer(n);
    return std::nullopt;
}

// Takes the preset a loaded record carries, when its image and text name one.
void takePreset(const PlcNodeRecord& record, int code, LadderPresets& presets) {
    const double value = base::textValue(record.Value);
    if (const int n = counterOfCode(code); n && record.Text.startsWith(counterPrefix(n)))
        presets.setCounter(n, value);
    else if (const int t = timerOfStartCode(code); t && record.Text.startsWith(timerStartPrefix(t)))
        presets.setTimer(t, value);
}

// What the records after the first repeated key hold, gathered when a key first repeats: the keys they
// hold, and the keys they name as parents with the last record naming each. A repeated key stays on its node
// unless a later record names it as its parent; a node then renamed takes a key no later record holds, so
// each of those still hangs its children where the file says. Kept as hashes of the stored bytes. A device
// that cannot go back (a pipe) claims no key and counts every repeated key as named.
class LaterRecords {
public:
    explicit LaterRecords(QIODevice& file) : file_(file), start_(file.pos()) {}

    // True when a record after the first repeated key holds this key.
    bool claims(const QString& storedKey) {
        gather();
        return std::binary_search(keys_.begin(), keys_.end(), hashOf(storedKey));
    }

    // True when a record after record number names this key as its parent.
    bool namedAsParent(const QString& storedKey, int number) {
        gather();
        if (file_.isSequential())
            return true;
        const size_t hash = hashOf(storedKey);
        const auto named = std::lower_bound(parents_.begin(), parents_.end(), Naming{hash, 0},
                                            [](const Naming& a, const Naming& b) { return a.hash < b.hash; });
        return named != parents_.end() && named->hash == hash && named->last > number;
    }

private:
    struct Naming {
        size_t hash;
        int last; // the last record (1-based) naming the key
    };

    static size_t hashOf(const QString& storedKey) { return qHash(base::toCp1252(storedKey)); }

    // Reads the records after the one just read once, then goes back to where the reading stood.
    void gather() {
        if (gathered_)
            return;
        gathered_ = true;
        if (file_.isSequential())
            return;
        const qint64 resume = file_.pos();
        int number = int((resume - start_) / PlcNodeRecord::Size);
        char bytes[PlcNodeRecord::Size];
        while (file_.read(bytes, PlcNodeRecord::Size) == PlcNodeRecord::Size) {
            parents_.push_back(Naming{qHash(QByteArrayView(bytes, PlcNodeRecord::RelativeWidth)), ++number});
            keys_.push_back(
                qHash(QByteArrayView(bytes + PlcNodeRecord::RelativeWidth, PlcNodeRecord::KeyWidth)));
        }
        std::sort(keys_.begin(), keys_.end());
        // By key, the last record naming it first; then that one alone.
        std::sort(parents_.begin(), parents_.end(), [](const Naming& a, const Naming& b) {
            return a.hash != b.hash ? a.hash < b.hash : a.last > b.last;
        });
        parents_.erase(std::unique(parents_.begin(), parents_.end(),
                                   [](const Naming& a, const Naming& b) { return a.hash == b.hash; }),
                       parents_.end());
        file_.seek(resume);
    }

    QIODevice& file_;
    const qint64 start_; // where the first record begins
    bool gathered_ = false;
    std::vector<size_t> keys_;
    std::vector<Naming> parents_;
};

} // namespace

std::vector<PlcNodeRecord> plcRecords(const LadderProgram& program) {
    const LadderTree& tree = program.tree;
    std::vector<PlcNodeRecord> records;
    for (int i = 1; i < tree.count(); ++i) {
        const LadderNode& node = tree.node(i);
        const std::optional<double> preset = carriedPreset(node, program.presets);
        const int parent = node.parent;
        records.push_back(PlcNodeRecord{tree.valid(parent) ? tree.node(parent).key : QString(), node.key,
                                        node.text, QString::number(node.image),
                                        preset ? presetText(*preset) : QStringLiteral("0")});
    }
    return records;
}

QByteArray plcFileBytes(const LadderProgram& program) {
    return encodePlcRecords(plcRecords(program));
}

bool writePlcFile(const QString& path, const LadderProgram& program, QString* error) {
    return base::writeFileAtomically(path, plcFileBytes(program), error);
}

PlcFileLoad readPlcProgram(QIODevice& file, const PlcRecordSink& taken) {
    LadderProgram program = LadderProgram::empty();
    int collisions = 0;
    int number = 0;
    if (!file.isSequential())
        program.tree.reserve(int(std::min<qint64>(file.size() / PlcNodeRecord::Size, MaxReservedNodes)) + 1);
    LaterRecords later(file);
    const LadderTree::KeyClaim claimed = [&later](const QString& key) { return later.claims(key); };
    char bytes[PlcNodeRecord::Size];
    while (file.read(bytes, PlcNodeRecord::Size) == PlcNodeRecord::Size) {
        ++number;
        const PlcNodeRecord record = PlcNodeRecord::decode(QByteArrayView(bytes, PlcNodeRecord::Size));
        const int parent = program.tree.find(record.Relative);
        const std::optional<int16_t> code = base::CInt(base::textValue(record.Image));
        if (parent < 0 || program.tree.level(parent) >= ElementLevel || !code || *code < 0 ||
            *code > LargestImage)
            return PlcFileLoad{std::nullopt, number, false};
        takePreset(record, *code, program.presets);
        // A repeated key is kept, so the file is saved again as it was, unless a later record names it as
        // its parent: that record hangs under the first node holding it, and this one gets a key of its own.
        if (program.tree.contains(record.Key) && !later.namedAsParent(record.Key, number))
            program.tree.addRepeated(parent, record.Key, record.Text, *code);
        else
            program.tree.addCounted(parent, record.Key, record.Text, *code, collisions, claimed);
        if (taken)
            taken(record);
    }
    if (auto* device = qobject_cast<QFileDevice*>(&file); device && device->error() != QFileDevice::NoError)
        return PlcFileLoad{std::nullopt, 0, true};
    for (int i = 0; i < program.tree.count(); ++i)
        if (isRungKey(program.tree.node(i).key))
            ++program.RungCount;
    return PlcFileLoad{std::move(program), 0, false};
}

PlcFileLoad readPlcProgram(const QByteArray& file) {
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return readPlcProgram(buffer);
}

std::optional<LadderProgram> loadPlcFile(const QString& path, base::Dialogs& dialogs,
                                         const PlcRecordSink& taken) {
    QFile file(path);
    if (!app::ProgramCore::FileExists(path) || !base::openRegularFile(file, QIODevice::ReadOnly)) {
        dialogs.message(FileMissingText, FileErrorCaption, base::MessageIcon::Critical);
        return std::nullopt;
    }
    PlcFileLoad load = readPlcProgram(file, taken);
    if (load.unreadable)
        dialogs.message(FileMissingText, FileErrorCaption, base::MessageIcon::Critical);
    else if (!load.program)
        dialogs.message(DamagedText.arg(load.damagedRecord), FileErrorCaption, base::MessageIcon::Critical);
    return std::move(load.program);
}

} // namespace ladder
