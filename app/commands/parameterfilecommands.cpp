#include "app/commands/parameterfilecommands.h"

#include "app/ui/appcontext.h"

namespace app {

ParameterFileCommands::ParameterFileCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx, frame.progress()) {}

void ParameterFileCommands::bind() {
    frame.onMenu(QStringLiteral("mnuEncryptToolFile"), [this] { mnuEncryptToolFile_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolParameters"), [this] { mnuWriteToolParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTransducerParameters"),
                 [this] { mnuWriteTransducerParameters_Click(); });
}

void ParameterFileCommands::mnuEncryptToolFile_Click() {
    auto busy = frame.busy();
    if (busy)
        session_.mnuEncryptToolFile();
}

void ParameterFileCommands::mnuWriteToolParameters_Click() {
    auto busy = frame.busy(true);
    if (busy)
        session_.mnuWriteToolParameters();
}

void ParameterFileCommands::mnuWriteTransducerParameters_Click() {
    auto busy = frame.busy(true);
    if (busy)
        session_.mnuWriteTransducerParameters();
}

} // namespace app
