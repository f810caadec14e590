#include "logicio/batchtable.h"

#include <QtEndian>

#include <algorithm>

namespace logicio {

namespace {
constexpr int WordBytes = 2;
constexpr int AllFlags = 0x7F;
constexpr int LastPset = 8;
constexpr int LastOutput = 12;
constexpr int LastInput = 12;
constexpr int SmallestBatch = 1;
constexpr int LargestBatch = 99;
} // namespace

BatchTable::Limits BatchTable::limits(Field field) {
    switch (field) {
    case Flags:
        return {0, AllFlags};
    case Pset:
        return {0, LastPset};
    case OutputAll:
    case OutputEach:
        return {0, LastOutput};
    case BatchSize:
        return {SmallestBatch, LargestBatch};
    case ResetPrevInput:
    case NextInput:
        return {0, LastInput};
    }
    return {0, 0};
}

int16_t BatchTable::word(int i) const {
    return i >= 0 && i < Words ? words_[size_t(i)] : int16_t(0);
}

void BatchTable::setWord(int i, int16_t value) {
    if (i >= 0 && i < Words)
        words_[size_t(i)] = value;
}

int16_t BatchTable::value(int batch, Field field) const {
    return isBatch(batch) ? word(index(batch, field)) : int16_t(0);
}

int16_t BatchTable::setValue(int batch, Field field, int value) {
    const Limits range = limits(field);
    const auto held = int16_t(std::clamp(value, range.minimum, range.maximum));
    if (isBatch(batch))
        setWord(index(batch, field), held);
    return held;
}

bool BatchTable::flag(int batch, Flag flag) const {
    return (value(batch, Flags) & flag) != 0;
}

void BatchTable::setFlag(int batch, Flag flag, bool on) {
    if (!isBatch(batch))
        return;
    const int flags = value(batch, Flags);
    setWord(index(batch, Flags), int16_t(on ? flags | flag : flags & ~flag));
}

QByteArray BatchTable::encode() const {
    QByteArray bytes(FileSize, '\0');
    for (int i = 0; i < Words; ++i)
        qToLittleEndian<int16_t>(words_[size_t(i)], bytes.data() + WordBytes * i);
    return bytes;
}

BatchTable BatchTable::decode(const QByteArray& bytes) {
    BatchTable table;
    for (int i = 0; i < Words && WordBytes * (i + 1) <= bytes.size(); ++i)
        table.words_[size_t(i)] = qFromLittleEndian<int16_t>(bytes.constData() + WordBytes * i);
    return table;
}

} // namespace logicio
