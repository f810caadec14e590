#pragma once
// The controller's logic image: the 20 rungs as byte values, one per word, sent and received in blocks of
// six words. Rung r fills the twelve words from 12(r-1):
//
//   +0 +1   condition 1: list index, value
//   +2 +3   condition 2: list index (+128 when the operator before it is OR), value
//   +4 +5   condition 3, the same
//   +6 +7   condition 4, the same
//   +8..+11 actions 1..4: list index only
//
// Words 240..615 are 0; words 616/617, 618/619 and 620/621 hold the presets of timers 1, 2 and 3 in 50 ms
// ticks (high byte, low byte); the rest is 0. A preset is held once per timer: the last start action of a
// timer, in rung then slot order, sets it.
//
// The encoder writes every word that travels, each held to a byte; the decoder accepts any word.

#include "logicio/logicrung.h"
#include "logicio/logicversion.h"

#include <QStringList>

#include <array>
#include <span>

namespace clink {
class DataBufferArray;
}

namespace logicio {

class LogicImage {
public:
    // Words 0..706: the largest image listing.
    static constexpr int Words = 707;
    static constexpr int WordsPerRung = 12;
    static constexpr int WordsPerBlock = 6;
    static constexpr int TimerPresetWord = 616; // timer t at 616 + 2(t - 1)
    static constexpr int TicksPerSecond = 20;

    // Word i; 0 outside the image.
    int word(int i) const { return i >= 0 && i < Words ? words_[size_t(i)] : 0; }
    void setWord(int i, int value) {
        if (i >= 0 && i < Words)
            words_[size_t(i)] = value;
    }

    // The preset of timer t (1..3) in ticks, as an unsigned 16-bit number.
    int timerTicks(int timer) const;

    // The words the variant's encoder writes, from word 0: what a send puts in DataBuffer.
    std::span<const int> sentWords(LogicVariant variant) const;
    // The variant's blocks gathered in DataBuffer from word 0 (after a receive).
    static LogicImage fromDataBuffer(const clink::DataBufferArray& buffer, LogicVariant variant);

    bool operator==(const LogicImage&) const = default;

private:
    std::array<int, Words> words_{};
};

// The image of rungs 1..20 (the same for both variants; copyTo and the listing differ).
LogicImage EncodeLogic(const LogicRungs& rungs);

// Rebuilds the codes and texts of rungs 1..20 from an image, with the texts of the given set (see
// decodeVariantForControllerType), then both summaries in the refresh form. An index without a table
// entry gives the empty text and keeps its code. A timer preset gives whole seconds, held to 255.
void DecodeLogic(LogicVariant textSet, const LogicImage& image, LogicRungs& rungs);

// The diagnostic listing of an image: "LogicIo[i] = v" per word (the version 3 listing quotes each line).
QStringList logicListing(LogicVariant variant, const LogicImage& image);
// Writes the listing to "NewLogic.txt" in the program's folder. Nothing reads it back: a failure to
// write it is logged and ignored.
void writeLogicListing(LogicVariant variant, const LogicImage& image);

} // namespace logicio
