#pragma once
// The clock behind the few waits that are timed rather than counted (the parallel-port version read and
// the tool RPM and diagnostics reads wait up to one thousandth of a day). Tests use a clock they advance.

#include <QElapsedTimer>

#include <cstdint>

namespace clink {

// One thousandth of a day, in milliseconds.
inline constexpr int64_t ThousandthOfADayMs = 86400;

class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Milliseconds from an arbitrary start, never going back.
    virtual int64_t nowMs() = 0;
    // The clock moves as the link waits. One that never has (a test's clock nobody moves) cannot pace
    // requests by time: the link then sends as its counts say.
    virtual bool moves() const { return true; }
};

class SteadyLinkClock : public LinkClock {
public:
    SteadyLinkClock() { timer_.start(); }
    int64_t nowMs() override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

// A clock that moves only when told to, or by a fixed step at every reading; once told to follow real time,
// also as real time passes (for a link whose answers come in real time, as over a socket).
class ManualLinkClock : public LinkClock {
public:
    int64_t nowMs() override {
        now_ += stepPerReading;
        return now_ + (real_.isValid() ? real_.elapsed() : 0);
    }
    bool moves() const override { return advanced_ || stepPerReading != 0 || real_.isValid(); }
    void advance(int64_t ms) {
        now_ += ms;
        advanced_ = advanced_ || ms != 0;
    }
    void followRealTime() {
        if (!real_.isValid())
            real_.start();
    }
    int64_t stepPerReading = 0;

private:
    int64_t now_ = 0;
    bool advanced_ = false;
    QElapsedTimer real_;
};

} // namespace clink
