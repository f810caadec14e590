#pragma once
// The batch counting table: 56 signed 16-bit words, eight batches of seven, program-wide and 0 at start.
// The batch editor keeps it in the companion file beside its *.Bio file ("B.Aio"); it never travels to the
// controller with the logic image.
//
//   word 7(k-1) + 0  flags: bit 0 Enable, 1 Count Accepts, 2 Count Rejects, 3 Display Count,
//                    4 Advance Pset, 5 Latch Output - ALL, 6 Latch Output - Each
//                 1  the Pset the batch runs (0..8)
//                 2  output for the whole batch (0..12)
//                 3  output for each fastener (0..12)
//                 4  batch size (1..99)
//                 5  input that resets the count or moves to the previous batch (0..12)
//                 6  input that moves to the next batch (0..12)

#include <QByteArray>

#include <array>
#include <cstdint>

namespace logicio {

class BatchTable {
public:
    static constexpr int Words = 56;
    static constexpr int Batches = 8;
    static constexpr int WordsPerBatch = 7;
    // The companion file: word i as a little-endian 16-bit record at byte 2i.
    static constexpr int FileSize = Words * 2;

    enum Field { Flags = 0, Pset, OutputAll, OutputEach, BatchSize, ResetPrevInput, NextInput };
    enum Flag : int16_t {
        Enable = 1 << 0,
        CountAccepts = 1 << 1,
        CountRejects = 1 << 2,
        DisplayCount = 1 << 3,
        AdvancePset = 1 << 4,
        LatchAll = 1 << 5,
        LatchEach = 1 << 6,
    };

    struct Limits {
        int minimum;
        int maximum;
    };
    // The range a field's editor holds (the flags: bits 0..6).
    static Limits limits(Field field);

    // Word i, 0..55 (0 outside).
    int16_t word(int i) const;
    void setWord(int i, int16_t value);

    // A field of batch k, 1..8.
    int16_t value(int batch, Field field) const;
    // Stores a value held to the field's limits and returns what was stored.
    int16_t setValue(int batch, Field field, int value);
    bool flag(int batch, Flag flag) const;
    // Sets or clears one flag bit, the other bits and words unchanged.
    void setFlag(int batch, Flag flag, bool on);

    void clear() { words_.fill(0); }

    // The companion file's bytes.
    QByteArray encode() const;
    // The table from a companion file; words beyond a short file read 0, bytes past 112 are ignored.
    static BatchTable decode(const QByteArray& bytes);

    bool operator==(const BatchTable&) const = default;

private:
    static bool isBatch(int batch) { return batch >= 1 && batch <= Batches; }
    static int index(int batch, Field field) { return WordsPerBatch * (batch - 1) + int(field); }

    std::array<int16_t, Words> words_{};
};

} // namespace logicio
