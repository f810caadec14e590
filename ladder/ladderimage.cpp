#include "ladder/ladderimage.h"

#include "base/numbertext.h"
#include "ladder/elementcatalogue.h"
#include "link/databuffer.h"

namespace ladder {

namespace {

constexpr int TraceWidth = 35;
constexpr int LargestCode = 255;
constexpr int ByteBits = 8;
constexpr int ByteMask = 0xFF;
constexpr int QuartersPerRung = 4;
constexpr int SlotsPerFrame = 5;
constexpr int FrameDataStart = 3; // d3: after the code, the block and the quarter
// Blocks 31 and 32 of the image: the presets.
constexpr int PresetBlock = MaximumRungs + 1;
constexpr int PresetTailBlock = MaximumRungs + 2;
constexpr int PresetFirstSlot = RungSlots * MaximumRungs;

LadderImageBuild refused(const QString& why) {
    LadderImageBuild build;
    build.errorText = why;
    return build;
}

QString padded(const QString& text) {
    return base::fixedField(text, TraceWidth);
}

// The frame [0x61, block, quarter, five slots from first].
LadderFrame quarterFrame(const LadderImage& image, int block, int quarter, int first) {
    LadderFrame frame{LadderFrameCode, block, quarter, 0, 0, 0, 0, 0};
    for (int i = 0; i < SlotsPerFrame; ++i)
        frame[size_t(FrameDataStart + i)] = image[size_t(first + i)];
    return frame;
}

void placePresets(const LadderProgram& program, LadderImageBuild& build) {
    const LadderTree& tree = program.tree;
    for (int i = 1; i < tree.count(); ++i) {
        const int code = tree.node(i).image;
        if (const int n = counterOfCode(code)) {
            build.image[size_t(counterSlot(n))] = int(base::roundHalfEven(program.presets.cwCounter(n)));
            build.presetsUsed = true;
        } else if (const int t = timerOfStartCode(code)) {
            const int ticks = int(base::roundHalfEven(program.presets.cwTimer(t) * TimerTicksPerSecond));
            build.image[size_t(timerHighSlot(t))] = ticks >> ByteBits;
            build.image[size_t(timerLowSlot(t))] = ticks & ByteMask;
            build.presetsUsed = true;
        }
    }
}

// Places the codes of one list node from slot first; false (with the error text) when they do not fit.
bool placeList(const LadderProgram& program, int listNode, int first, const QString& side, int rung,
               const QString& traceName, LadderImageBuild& build) {
    const std::vector<int> elements = listNode < 0 ? std::vector<int>() : program.tree.children(listNode);
    const QString rungName = QStringLiteral("Rung ") + QString::number(rung);
    if (int(elements.size()) > ListSlots) {
        build.errorText = rungName + QStringLiteral(" has too many ") + side;
        return false;
    }
    int slot = first;
    for (int element : elements) {
        const int code = program.tree.node(element).image;
        if (code < 1 || code > LargestCode) {
            build.errorText = rungName + QStringLiteral(" has an invalid element code");
            return false;
        }
        build.image[size_t(slot++)] = code;
        build.trace.append(traceName + QString::number(code));
    }
    return true;
}

} // namespace

LadderImageBuild buildLadderImage(const LadderProgram& program) {
    LadderImageBuild build;
    placePresets(program, build);
    for (int r = 1; r <= MaximumRungs; ++r)
        if (program.tree.find(inputsKey(r)) > 0)
            ++build.rungCount;
    build.image[0] = build.rungCount;
    build.trace.append(padded(QStringLiteral("Number of Nodes = ") + QString::number(program.tree.count())));
    build.trace.append(padded(QStringLiteral("Total I/O = ") + QString::number(build.rungCount)));
    for (int r = 1; r <= build.rungCount; ++r) {
        build.trace.append(padded(QStringLiteral("Inputs ") + QString::number(r)));
        if (!placeList(program, program.inputsNode(r), inputSlot(r), QStringLiteral("inputs"), r,
                       QStringLiteral("In = "), build))
            return refused(build.errorText);
        build.trace.append(padded(QStringLiteral("Outputs ") + QString::number(r)));
        if (!placeList(program, program.outputsNode(r), outputSlot(r), QStringLiteral("outputs"), r,
                       QStringLiteral("Out = "), build))
            return refused(build.errorText);
    }
    for (int i = 0; i < LadderImageSentSlots; ++i)
        build.trace.append(padded(QStringLiteral("Data ") + QString::number(i) + QStringLiteral(": ") +
                                  QString::number(build.image[size_t(i)])));
    build.ok = true;
    return build;
}

std::vector<LadderFrame> LadderImageBuild::frames() const {
    std::vector<LadderFrame> list;
    list.push_back(LadderFrame{LadderFrameCode, 0, 0, image[0], 0, 0, 0, 0});
    for (int r = 1; r <= image[0]; ++r)
        for (int k = 1; k <= QuartersPerRung; ++k)
            list.push_back(quarterFrame(image, r, k, inputSlot(r) + SlotsPerFrame * (k - 1)));
    if (presetsUsed) {
        for (int k = 1; k <= QuartersPerRung; ++k)
            list.push_back(
                quarterFrame(image, PresetBlock, k, PresetFirstSlot + SlotsPerFrame * (k - 1) + 1));
        list.push_back(LadderFrame{LadderFrameCode, PresetTailBlock, 1,
                                   image[size_t(timerHighSlot(LadderPresets::Timers))],
                                   image[size_t(timerLowSlot(LadderPresets::Timers))], 0, 0, 0});
    }
    return list;
}

std::span<const int> sentSlots(const LadderImage& image) {
    return std::span(image).first(LadderImageSentSlots);
}

LadderImage ladderImageFrom(const clink::DataBufferArray& buffer) {
    LadderImage image{};
    for (int i = 0; i < LadderImageSlots; ++i)
        image[size_t(i)] = buffer[i];
    return image;
}

} // namespace ladder
