#include "app/commands/toolcommands.h"

#include "app/ui/appcontext.h"

namespace app {

ToolCommands::ToolCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

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

void ToolCommands::mnuCalValue_Click() {
    session_.mnuCalValue();
}

void ToolCommands::mnuReadToolEepromLocation_Click() {
    if (!session_.mnuReadToolEepromLocation())
        return;
    // The reads are made from the window, one per Enter.
    frame.ctx.windows.open(wnd::frmValue2);
}

void ToolCommands::mnuReadAllToolEeLocations_Click() {
    frame.showReport(session_.mnuReadAllToolEeLocations());
}

void ToolCommands::mnuWriteToolEeprom_Click() {
    session_.mnuWriteToolEeprom();
}

void ToolCommands::mnuWriteToolId_Click() {
    session_.mnuWriteToolId();
}

void ToolCommands::mnuResetToolCal_Click() {
    session_.mnuResetToolCal();
}

void ToolCommands::mnuSetFactoryCalibration_Click() {
    session_.mnuSetFactoryCalibration();
}

void ToolCommands::mnuReadToolParameters_Click() {
    frame.showReport(session_.mnuReadToolParameters());
}

} // namespace app
