#pragma once
// Counter and timer presets of a ladder program: eight counters (counters 1-3 count 1 to 99, counters
// 4-8 count 1 to 255) and three timers in seconds (1 to 240). They start at 1. Timer presets keep
// fractions: a received preset of 510 ticks is 20.4 s, and sending it back must give 510 ticks again.

#include <QString>

#include <array>

namespace ladder {

class LadderPresets {
public:
    static constexpr int Counters = 8;
    static constexpr int Timers = 3;
    static constexpr double Minimum = 1;
    static constexpr double SmallCounterMaximum = 99; // counters 1 to 3
    static constexpr int SmallCounters = 3;
    static constexpr double CounterMaximum = 255; // counters 4 to 8
    static constexpr double TimerMaximum = 240;   // seconds

    // Counter n (1..8), timer n (1..3). A number outside 1..8 / 1..3 reads 0.
    double cwCounter(int n) const;
    double cwTimer(int n) const;
    // Sets a preset, kept inside the control's range (0 becomes 1, 120 on counter 1 becomes 99). A number
    // outside 1..8 / 1..3 is ignored.
    void setCounter(int n, double value);
    void setTimer(int n, double value);
    // Every preset back to 1.
    void reset();

    static double counterMaximum(int n);

    bool operator==(const LadderPresets&) const = default;

private:
    std::array<double, Counters> counters_{1, 1, 1, 1, 1, 1, 1, 1};
    std::array<double, Timers> timers_{1, 1, 1};
};

// A preset as list texts and files show it: the shortest decimal form, "12", "20.4".
QString presetText(double value);

} // namespace ladder
