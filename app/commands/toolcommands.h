#pragma once
// Tool menu: the tool EEPROM commands (calibration values, one location, all locations, the write loop,
// the tool id, the copies between calibration and factory calibration) and the tool parameter report.

#include "app/toolcalibration.h"
#include "app/ui/commandframe.h"

namespace app {

class ToolCommands : public CommandGroup {
public:
    // Cal Value over Ethernet: passes of two yields after the link check.
    static constexpr long EthernetSettleCycles = 100;

    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuCalValue_Click();
    void mnuReadToolEepromLocation_Click();
    void mnuReadAllToolEeLocations_Click();
    void mnuWriteToolEeprom_Click();
    void mnuWriteToolId_Click();
    void mnuResetToolCal_Click();
    void mnuSetFactoryCalibration_Click();
    void mnuReadToolParameters_Click();

    // The tool check shared with the RPM and diagnostics commands: the link pre-check for the tool
    // EEPROM's reply (USB without reopen), then over Ethernet a settling pause.
    static bool toolLinkCheck(CommandFrame& frame);

private:
    // The pre-checks of the tool EEPROM's reply with the texts of the write commands and of the two
    // commands that read every location.
    bool writeLinkCheck();
    bool readLinkCheck();
    // Starts Bar1, then reads the calibration locations first..last into DataBuffer(0..); a failure shows
    // "Read Cal Value Failed: Msg " with the location's number (45 = 1).
    bool readCalLocations(int first, int last);
    // The copy between the calibration values with the link check, Bar1 and the boxes of the command.
    void copyCalibration(const CalibrationCopy& copy, const QString& complete);
};

} // namespace app
