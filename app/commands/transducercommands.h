#pragma once
// The Transducer menu (hidden and disabled in the menu bar; the handlers are complete): the external
// transducer's parameter report, one EEPROM location read, the calibration value write and one EEPROM
// location write. The handlers run the command's session.

#include "app/sessions/transducersession.h"
#include "app/ui/commandframe.h"

namespace app {

class TransducerCommands : public CommandGroup {
public:
    explicit TransducerCommands(CommandFrame& frame);
    void bind() override;

    void mnuTrasnducerViewParameters_Click();
    void mnuTransducerReadEeprom_Click();
    void mnuWriteTransducerCalValue_Click();
    void mnuWriteXducerEeprom_Click();

private:
    TransducerSession session_;
};

} // namespace app
