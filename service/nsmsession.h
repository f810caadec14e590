#pragma once
// The NSM settings window's session. The window opens after the unit's eight settings were read into
// NsmSettings; it shows them, reads the unit's clock, and writes each setting (items 1..8) and the clock
// (item 9) on its own Write button. The unit numbers its settings 1..8; items 7 and 8 sit in elements 7 and
// 6 of NsmSettings:
//
//   item  setting                                  shown as        element
//   1     "Rev Tq Check (Deadman Mode Only)"       Off / On        0
//   2     "Number Of Retries (Latch Mode Only)"    number          1
//   3     "Retry Reverse Timer"                    number          2
//   4     "Number Of Spindles"                     number          3
//   5     "Button Latch Timer (Latch Mode Only)"   number          4
//   6     "System Type"                            Latched/Deadman 5
//   7     "Collect Data"                           No / Yes        7
//   8     "Run Commands"                           MID / I/O       6
//   9     "Time / Date"                            the clock

#include "service/nsmclock.h"

#include <QString>

#include <array>

namespace app {
class AppServices;
}

namespace service {

class NsmSession {
public:
    static constexpr int Settings = 8;
    static constexpr int ClockItem = 9;

    // The frame caption of an item (1..9).
    static QString caption(int item);
    // Items shown as a choice of two (the choice's index is the value).
    static bool isChoice(int item);
    // The NsmSettings element of a setting (1..8).
    static int element(int item);

    // Takes the settings just read into NsmSettings.
    explicit NsmSession(app::AppServices& ctx);

    // Reads the clock. False when another command holds the program busy.
    bool Form_Load();
    // The clock fields: filled by a successful read, edited by the user.
    NsmClock clock;
    // The clock fields hold the unit's time (a read succeeded).
    bool clockRead() const { return clockRead_; }

    // The value an item (1..8) shows.
    int value(int item) const;
    // The user's choice: a choice and the latch timer go into NsmSettings at once, the other numbers are
    // taken when their Write is pressed.
    void setValue(int item, int value);

    // Writes item 1..8, or the clock for 9. False when another command holds the program busy.
    bool Write_Click(int item);
    // Sends the clock fields; true when the unit echoed them.
    bool Send_NsmTimeDate2();

private:
    app::AppServices& ctx_;
    // The numbers of items 2..5 as the fields hold them (index = item).
    std::array<int, Settings + 1> fields_{};
    bool clockRead_ = false;
};

} // namespace service
