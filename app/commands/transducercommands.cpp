#include "app/commands/transducercommands.h"

#include "app/ui/appcontext.h"

namespace app {

TransducerCommands::TransducerCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void TransducerCommands::bind() {
    frame.onMenu(QStringLiteral("mnuTrasnducerViewParameters"),
                 [this] { mnuTrasnducerViewParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuTransducerReadEeprom"), [this] { mnuTransducerReadEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTransducerCalValue"),
                 [this] { mnuWriteTransducerCalValue_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteXducerEeprom"), [this] { mnuWriteXducerEeprom_Click(); });
}

void TransducerCommands::mnuTrasnducerViewParameters_Click() {
    frame.showReport(session_.mnuTrasnducerViewParameters());
}

void TransducerCommands::mnuTransducerReadEeprom_Click() {
    session_.mnuTransducerReadEeprom();
}

void TransducerCommands::mnuWriteTransducerCalValue_Click() {
    session_.mnuWriteTransducerCalValue();
}

void TransducerCommands::mnuWriteXducerEeprom_Click() {
    session_.mnuWriteXducerEeprom();
}

} // namespace app
