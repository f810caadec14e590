#include "app/commands/toolcommands.h"

#include "app/ui/appcontext.h"

namespace app {

ToolCommands::ToolCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx, frame.progress()) {}

void ToolCommands::bind() {
    frame.onMenu(QStringLiteral("mnuCalValue"), [this] { mnuCalValue_Click(); });
    frame.onMenu(QStringLiteral("mnuReadToolEepromLocation"), [this] { mnuReadToolEepromLocation_Click(); });
    frame.onMenu(QStringLiteral("mnuReadAllToolEeLocations"), [this] { mnuReadAllToolEeLocations_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolEeprom"), [this] { mnuWriteToolEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolId"), [this] { mnuWriteToolId_Click(); });
    frame.onMenu(QStringLiteral("mnuResetToolCal"), [this] { mnuResetToolCal_Click(); });
    frame.onMenu(QStringLiteral("mnuSetFactoryCalibration"), [this] { mnuSetFactoryCalibration_Click(); });
    frame.onMenu(QStringLiteral("mnuReadToolParameters"), [this] { mnuReadToolParameters_Click(); });
}

void ToolCommands::run(void (ToolSession::*command)()) {
    auto busy = frame.busy();
    if (busy)
        (session_.*command)();
}

void ToolCommands::runReport(ReportLines (ToolSession::*command)()) {
    auto busy = frame.busy();
    if (busy)
        frame.showReport((session_.*command)());
}

void ToolCommands::mnuCalValue_Click() {
    run(&ToolSession::mnuCalValue);
}

void ToolCommands::mnuReadToolEepromLocation_Click() {
    {
        auto busy = frame.busy();
        if (!busy || !session_.mnuReadToolEepromLocation())
            return;
    }
    // The reads are made from the window, one per Enter.
    frame.ctx.windows.open(wnd::frmValue2);
}

void ToolCommands::mnuReadAllToolEeLocations_Click() {
    runReport(&ToolSession::mnuReadAllToolEeLocations);
}

void ToolCommands::mnuWriteToolEeprom_Click() {
    run(&ToolSession::mnuWriteToolEeprom);
}

void ToolCommands::mnuWriteToolId_Click() {
    run(&ToolSession::mnuWriteToolId);
}

void ToolCommands::mnuResetToolCal_Click() {
    run(&ToolSession::mnuResetToolCal);
}

void ToolCommands::mnuSetFactoryCalibration_Click() {
    run(&ToolSession::mnuSetFactoryCalibration);
}

void ToolCommands::mnuReadToolParameters_Click() {
    runReport(&ToolSession::mnuReadToolParameters);
}

} // namespace app
