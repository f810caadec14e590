#pragma once
// Tool menu: the tool EEPROM commands (calibration values, one location, all locations, the write loop,
// the tool id, the copies between calibration and factory calibration) and the tool parameter report. The
// handlers run the command's session; a report comes back as lines for a new report window.

#include "app/sessions/toolsession.h"
#include "app/ui/commandframe.h"

namespace app {

class ToolCommands : public CommandGroup {
public:
    explicit ToolCommands(CommandFrame& frame);
    void bind() override;

    void mnuCalValue_Click();
    void mnuReadToolEepromLocation_Click();
    void mnuReadAllToolEeLocations_Click();
    void mnuWriteToolEeprom_Click();
    void mnuWriteToolId_Click();
    void mnuResetToolCal_Click();
    void mnuSetFactoryCalibration_Click();
    void mnuReadToolParameters_Click();

private:
    ToolSession session_;
};

} // namespace app
