#include "ladder/plcfile.h"

#include "app/palverin2006.h"
#include "base/dialogs.h"
#include "base/textlines.h"
#include "base/vbrules.h"
#include "ladder/elementcatalogue.h"

#include <QFile>

namespace ladder {

namespace {

constexpr int LargestImage = 255;
const QString FileMissingText = QStringLiteral("File does not exists");
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
    const double value = base::vbVal(record.Value);
    if (const int n = counterOfCode(code); n && record.Text.startsWith(counterPrefix(n)))
        presets.setCounter(n, value);
    else if (const int t = timerOfStartCode(code); t && record.Text.startsWith(timerStartPrefix(t)))
        presets.setTimer(t, value);
}

} // namespace

std::optional<QByteArray> readPlcFileBytes(const QString& path, base::Dialogs& dialogs) {
    QFile file(path);
    if (app::Palverin2006::FileExists(path) && file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    dialogs.message(FileMissingText, FileErrorCaption, base::MessageIcon::Critical);
    return std::nullopt;
}

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

PlcFileLoad readPlcProgram(const QByteArray& file) {
    LadderProgram program = LadderProgram::empty();
    int collisions = 0;
    const std::vector<PlcNodeRecord> records = decodePlcRecords(file);
    for (size_t i = 0; i < records.size(); ++i) {
        const PlcNodeRecord& record = records[i];
        const int parent = program.tree.find(record.Relative);
        const std::optional<int16_t> code = base::CInt(base::vbVal(record.Image));
        if (parent < 0 || !code || *code < 0 || *code > LargestImage)
            return PlcFileLoad{std::nullopt, int(i) + 1};
        takePreset(record, *code, program.presets);
        program.tree.addCounted(parent, record.Key, record.Text, *code, collisions);
    }
    for (int i = 0; i < program.tree.count(); ++i)
        if (isRungKey(program.tree.node(i).key))
            ++program.RungCount;
    return PlcFileLoad{std::move(program), 0};
}

} // namespace ladder
