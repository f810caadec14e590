#pragma once
// The Transducer menu (hidden and disabled in the menu bar; the handlers are complete): the external
// transducer's parameter report, one EEPROM location read, the calibration value write and one EEPROM
// location write. Every exchange is answered on 12EF0604.

#include "app/ui/commandframe.h"

namespace app {

class TransducerCommands : public CommandGroup {
public:
    // Value-dialog ranges.
    static constexpr int LastLocation = 1023;
    static constexpr int LargestByte = 255;
    static constexpr int SmallestCalValue = 12;
    static constexpr int LargestCalValue = 1280;

    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuTrasnducerViewParameters_Click();
    void mnuTransducerReadEeprom_Click();
    void mnuWriteTransducerCalValue_Click();
    void mnuWriteXducerEeprom_Click();
};

} // namespace app
