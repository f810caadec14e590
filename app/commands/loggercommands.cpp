#include "app/commands/loggercommands.h"

#include "app/ui/appcontext.h"

namespace app {

DataLoggerCommands::DataLoggerCommands(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void DataLoggerCommands::bind() {
    frame.onMenu(QStringLiteral("mnuReadDataLoggerRoute"), [this] { mnuReadDataLoggerRoute_Click(); });
    frame.onMenu(QStringLiteral("mnuReadDataLoggerXducer"), [this] { mnuReadDataLoggerXducer_Click(); });
}

void DataLoggerCommands::mnuReadDataLoggerRoute_Click() {
    const ReportLines lines = session_.mnuReadDataLoggerRoute();
    if (!lines)
        return;
    // The route report keeps its own window: the main window's output window stays as it is.
    Report report(new FrmOutput(frame.dialogs()), &frame.mdiArea());
    report.add(*lines);
    report.show();
}

void DataLoggerCommands::mnuReadDataLoggerXducer_Click() {
    frame.showReport(session_.mnuReadDataLoggerXducer());
}

} // namespace app
