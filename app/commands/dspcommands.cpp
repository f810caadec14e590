#include "app/commands/dspcommands.h"

#include "app/ui/appcontext.h"

namespace app {

DspCommands::DspCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void DspCommands::bind() {
    frame.onMenu(QStringLiteral("mnuDspResetToDefaults"), [this] { mnuDspResetToDefaults_Click(); });
    frame.onMenu(QStringLiteral("mnuDspRev"), [this] { mnuDspRev_Click(); });
    frame.onMenu(QStringLiteral("mnuViewDspEepromLocation"), [this] { mnuViewDspEepromLocation_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteDspEeprom"), [this] { mnuWriteDspEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteDspParameters"), [this] { mnuWriteDspParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuDspViewParameters"), [this] { mnuDspViewParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuRPM"), [this] { mnuRPM_Click(); });
    frame.onMenu(QStringLiteral("mnuDiag"), [this] { mnuDiag_Click(); });
}

void DspCommands::mnuDspResetToDefaults_Click() {
    session_.mnuDspResetToDefaults();
}

void DspCommands::mnuDspRev_Click() {
    session_.mnuDspRev();
}

void DspCommands::mnuViewDspEepromLocation_Click() {
    session_.mnuViewDspEepromLocation();
}

void DspCommands::mnuWriteDspEeprom_Click() {
    session_.mnuWriteDspEeprom();
}

void DspCommands::mnuWriteDspParameters_Click() {
    // The editor takes the DSP bytes from DataBuffer.
    if (session_.mnuWriteDspParameters())
        frame.ctx.windows.open(wnd::FrmDspParameters);
}

void DspCommands::mnuDspViewParameters_Click() {
    frame.showReport(session_.mnuDspViewParameters());
}

void DspCommands::mnuRPM_Click() {
    session_.mnuRPM();
}

void DspCommands::mnuDiag_Click() {
    session_.mnuDiag();
}

} // namespace app
