#include "app/commands/parameterfilecommands.h"

#include "app/ui/appcontext.h"

namespace app {

ParameterFileCommands::ParameterFileCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void ParameterFileCommands::bind() {
    frame.onMenu(QStringLiteral("mnuEncryptToolFile"), [this] { mnuEncryptToolFile_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolParameters"), [this] { mnuWriteToolParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTransducerParameters"),
                 [this] { mnuWriteTransducerParameters_Click(); });
}

void ParameterFileCommands::mnuEncryptToolFile_Click() {
    session_.mnuEncryptToolFile();
}

void ParameterFileCommands::mnuWriteToolParameters_Click() {
    session_.mnuWriteToolParameters();
}

void ParameterFileCommands::mnuWriteTransducerParameters_Click() {
    session_.mnuWriteTransducerParameters();
}

} // namespace app
