#pragma once
// The Tool menu's commands as the controller sees them: the calibration values, the link check before the
// one-location reader, the listing of every location, the write loop, the tool id, the copies between the
// calibration and the factory calibration, and the tool parameter report. Each command runs from its link
// check to its last box, holding the program busy.
//
//   ToolSession tool(services, progress);
//   if (const ReportLines lines = tool.mnuReadToolParameters())
//       ... show *lines in a new report window ...

#include "app/sessions/commandsession.h"

namespace clink {
struct PreCheck;
}

namespace app {

struct CalibrationCopy;

class ToolSession : public CommandSession {
public:
    // Cal Value over Ethernet: passes of two yields after the link check.
    static constexpr long EthernetSettleCycles = 100;

    using CommandSession::CommandSession;

    void mnuCalValue();
    // The link check of the one-location reader; true when its window may open (the reads are made from
    // it, one per Enter).
    bool mnuReadToolEepromLocation();
    // The one-location reader's Enter: the location becomes ValueEntryResult, is read and its value shown.
    void readToolEepromLocation(double location);
    ReportLines mnuReadAllToolEeLocations();
    void mnuWriteToolEeprom();
    void mnuWriteToolId();
    void mnuResetToolCal();
    void mnuSetFactoryCalibration();
    ReportLines mnuReadToolParameters();

    // The tool check shared with the RPM and diagnostics commands: the link pre-check for the tool
    // EEPROM's reply (USB without reopen), then over Ethernet a settling pause.
    static clink::PreCheck toolCheck();

private:
    // Shows the bar, then reads the calibration locations first..last into DataBuffer(0..); a failure shows
    // "Read Cal Value Failed: Msg " with the location's number (45 = 1).
    bool readCalLocations(int first, int last);
    // The copy between the calibration values with the link check, the bar and the boxes of the command.
    void copyCalibration(const CalibrationCopy& copy, const QString& complete);
};

} // namespace app
