#pragma once
// The link types and the general receive buffer, apart from the rest of the link state, for the records
// that are filled from the buffer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace clink {

enum ConnectionKind : int16_t { NoConnection = 0, ParallelPort = 1, TcpIp = 2, Usb = 3 };

// The general receive buffer: indexes 0..6000. Writes go through a checked store; a write that would
// fall outside is refused (the caller drops the whole frame).
class DataBufferArray {
public:
    static constexpr int Size = 6001;
    int16_t operator[](int i) const { return (i >= 0 && i < Size) ? data_[size_t(i)] : int16_t(0); }
    // True when count entries from first are all inside the buffer.
    static bool fits(int first, int count) { return first >= 0 && count >= 0 && first + count <= Size; }
    bool put(int i, int value) {
        if (!fits(i, 1))
            return false;
        data_[size_t(i)] = int16_t(value);
        return true;
    }
    // Puts words from first on; false, and nothing put, when they do not all fit.
    bool putWords(int first, std::span<const int> words) {
        if (!fits(first, int(words.size())))
            return false;
        for (size_t i = 0; i < words.size(); ++i)
            data_[size_t(first) + i] = int16_t(words[i]);
        return true;
    }
    void clear() { data_.fill(0); }

private:
    std::array<int16_t, Size> data_{};
};

} // namespace clink
