#pragma once
// The ladder image: what the controller holds of a ladder program, as slots of one byte each.
//
//   slot                      content
//   0                         rung count, 0..30
//   20(r-1)+1  .. 20(r-1)+10  input codes of rung r, in tree order, ended by the first slot below 1
//   20(r-1)+11 .. 20(r-1)+20  output codes of rung r
//   599+2n (601..615)         counter n's preset (n = 1..8), round half to even; 600+2n always 0
//   615+2n / 616+2n           timer n's preset in 40 ms ticks (n = 1..3), high byte / low byte
//   (617/618 .. 621/622)
//   623..650                  0
//
// Presets are placed only for counters and timers the tree uses: any node with code 48..55 or
// 96/98/100, under either list (a parameter-set switch places that counter's preset as well).
// The send goes as frames on the command identifier: a header, four frames per rung (the input and output
// slots in quarters of five), then, when presets are placed, four preset quarters and a tail. Received
// images come back as 110 blocks of six slots (0..659).

#include "ladder/ladderprogram.h"

#include <QString>
#include <QStringList>

#include <array>
#include <span>
#include <vector>

namespace clink {
class DataBufferArray;
}

namespace ladder {

inline constexpr int LadderImageSlots = 660;     // 110 received blocks of 6
inline constexpr int LadderImageSentSlots = 651; // 0..650: cleared before a build, listed in the trace
inline constexpr int RungSlots = 20;
inline constexpr int ListSlots = 10;
inline constexpr int TimerTicksPerSecond = 25; // one tick is 40 ms
inline constexpr int LadderFrameCode = 0x61;

using LadderImage = std::array<int, LadderImageSlots>;
using LadderFrame = std::array<int, 8>;

// The first slot of rung r's inputs (r = 1..30); its outputs start ListSlots later.
constexpr int inputSlot(int r) {
    return RungSlots * (r - 1) + 1;
}
constexpr int outputSlot(int r) {
    return inputSlot(r) + ListSlots;
}
// Counter n's preset slot (n = 1..8) and timer n's high and low slots (n = 1..3).
constexpr int counterSlot(int n) {
    return 599 + 2 * n;
}
constexpr int timerHighSlot(int n) {
    return 615 + 2 * n;
}
constexpr int timerLowSlot(int n) {
    return timerHighSlot(n) + 1;
}

struct LadderImageBuild {
    bool ok = false;
    QString errorText;   // why the program cannot be sent (ok false): names the rung
    LadderImage image{}; // slots 0..659
    int rungCount = 0;
    bool presetsUsed = false;
    // The transfer trace: node count, rung count, per rung its list nodes and codes, then every slot.
    QStringList trace;

    // The image frames in sending order (the restart command after them is not among them).
    std::vector<LadderFrame> frames() const;
};

// Builds the image of a program. A rung whose list holds more than 10 elements, or an element code
// outside 1..255, is refused before anything is built for sending.
LadderImageBuild buildLadderImage(const LadderProgram& program);

// The slots a send leaves in the receive buffer (0..650), and the image read back from it (0..659).
std::span<const int> sentSlots(const LadderImage& image);
LadderImage ladderImageFrom(const clink::DataBufferArray& buffer);

} // namespace ladder
