#include "ladder/ladderrebuild.h"

#include "base/numbertext.h"
#include "ladder/elementcatalogue.h"
#include "ladder/plcnoderecord.h"

namespace ladder {

namespace {

constexpr int ByteBits = 8;
constexpr int TickMask = 0xFFFF; // the tick count is an unsigned 16-bit number

QString numbered(const QString& name, int n) {
    return name + u' ' + QString::number(n);
}

// Appends a node keyed by its text in the key field. A key already taken (the same element twice in the
// program) becomes the key without its blanks followed by the rebuild's count, again until no node holds
// it. The count stands after the whole key, so a text that fills the key field loses it again when saved:
// its copies store one key in the file, which a load keeps on each of them.
int appendNode(LadderTree& tree, int parent, const QString& text, int code, int& collisions) {
    QString key = keyField(text);
    while (tree.contains(key))
        key = base::Trim(key) + QString::number(++collisions);
    return *tree.add(parent, key, textField(text), int16_t(code));
}

// Appends the elements of one list: codes from slot first while at least 1, at most ListSlots of them.
void appendElements(const LadderImage& image, int first, int listNode, ElementSide side,
                    LadderProgram& program, int& collisions) {
    for (int slot = first; slot < first + ListSlots && image[size_t(slot)] >= 1; ++slot) {
        const int code = image[size_t(slot)];
        const QString text =
            side == ElementSide::Inputs ? GetInputText(code, program.presets) : GetOutputText(code);
        appendNode(program.tree, listNode, text, code, collisions);
    }
}

} // namespace

std::optional<LadderProgram> rebuildLadderProgram(const LadderImage& image) {
    const int rungs = image[0];
    if (rungs < 0 || rungs > MaximumRungs)
        return std::nullopt;
    LadderProgram program = LadderProgram::empty();
    for (int k = 1; k <= LadderPresets::Counters; ++k)
        program.presets.setCounter(k, image[size_t(counterSlot(k))]);
    for (int n = 1; n <= LadderPresets::Timers; ++n) {
        const int ticks =
            ((image[size_t(timerHighSlot(n))] << ByteBits) + image[size_t(timerLowSlot(n))]) & TickMask;
        program.presets.setTimer(n, double(ticks) / TimerTicksPerSecond);
    }
    const int root = 0;
    int collisions = 0;
    for (int n = 1; n <= rungs; ++n) {
        const QString rung = numbered(QStringLiteral("Rung"), n);
        const QString inputs = numbered(QStringLiteral("Inputs"), n);
        const QString outputs = numbered(QStringLiteral("Outputs"), n);
        const int rungNode = appendNode(program.tree, root, rung, RungImage, collisions);
        const int inputsNode = appendNode(program.tree, rungNode, inputs, InputsImage, collisions);
        appendElements(image, inputSlot(n), inputsNode, ElementSide::Inputs, program, collisions);
        const int outputsNode = appendNode(program.tree, rungNode, outputs, OutputsImage, collisions);
        appendElements(image, outputSlot(n), outputsNode, ElementSide::Outputs, program, collisions);
    }
    program.RungCount = rungs;
    return program;
}

} // namespace ladder
