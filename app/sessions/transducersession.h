#pragma once
// The Transducer menu's commands as the controller sees them: the external transducer's parameter report,
// one EEPROM location read, the calibration value write and one EEPROM location write. Every exchange is
// answered on 12EF0604. Each command runs from its link check to its last box, holding the program
// busy.

#include "app/sessions/commandsession.h"

namespace app {

class TransducerSession : public CommandSession {
public:
    // Value-dialog ranges.
    static constexpr int LastLocation = 1023;
    static constexpr int LargestByte = 255;
    static constexpr int SmallestCalValue = 12;
    static constexpr int LargestCalValue = 1280;

    using CommandSession::CommandSession;

    ReportLines mnuTrasnducerViewParameters();
    void mnuTransducerReadEeprom();
    void mnuWriteTransducerCalValue();
    void mnuWriteXducerEeprom();
};

} // namespace app
