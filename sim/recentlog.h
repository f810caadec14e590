#pragma once
// A log that keeps only its most recent entries, so a stand-in that runs for a million requests keeps a
// flat memory. Tests read it like a vector: size(), [i], front(), back(), iteration, clear().

#include <cstddef>
#include <deque>
#include <utility>

namespace sim {

template <typename T> class RecentLog {
public:
    using value_type = T;
    using const_iterator = typename std::deque<T>::const_iterator;

    explicit RecentLog(size_t capacity) : capacity_(capacity) {}

    void push_back(T item) {
        items_.push_back(std::move(item));
        if (items_.size() > capacity_)
            items_.pop_front();
    }
    void clear() { items_.clear(); }

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    size_t capacity() const { return capacity_; }
    const T& operator[](size_t i) const { return items_[i]; }
    const T& front() const { return items_.front(); }
    const T& back() const { return items_.back(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    size_t capacity_;
    std::deque<T> items_;
};

// How many entries the stand-in's logs keep.
inline constexpr size_t RecentLogCapacity = 65536;

} // namespace sim
