#include "app/commands/loggercommands.h"

#include "app/commands/commandboxes.h"
#include "app/ui/appcontext.h"
#include "base/dialogs.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;
using base::MessageIcon;

namespace {
// The bar's maximum past the last address read.
constexpr int RouteBarSlack = 2;
constexpr int PsetBlockBarMaximum = LoggerPsetBlockLast + RouteBarSlack;
} // namespace

void DataLoggerCommands::bind() {
    frame.onMenu(QStringLiteral("mnuReadDataLoggerRoute"), [this] { mnuReadDataLoggerRoute_Click(); });
    frame.onMenu(QStringLiteral("mnuReadDataLoggerXducer"), [this] { mnuReadDataLoggerXducer_Click(); });
}

bool DataLoggerCommands::askFile(int records, int& file, int& count) {
    ValueEntry& values = frame.ctx.values;
    ValueEntryForm& v = values.frmValue();
    v.SetframeLogger(true);
    v.CwMinVal2(1);
    v.CwMaxVal2(LoggerFiles);
    v.CwVal2(1);
    v.CwMinVal3(1);
    v.CwMaxVal3(records);
    v.CwVal3(records);
    if (!values.show())
        return false;
    file = valueEntryNumber(values.results.ValueEntryData);
    count = valueEntryNumber(values.results.ValueEntryResult);
    return file >= 1 && file <= LoggerFiles && count >= 1 && count <= records;
}

bool DataLoggerCommands::readDirectory(int file) {
    frame.state().DataCount = 0;
    const int first = loggerDirectoryAddress(file);
    for (int a = first; a < first + LoggerDirectoryEntries; ++a) {
        if (!frame.dataTx().ReadDataLogger(a))
            return false;
    }
    return true;
}

bool DataLoggerCommands::readLocations(int first, int last) {
    QProgressBar& bar = frame.Bar1();
    for (int a = first; a <= last; ++a) {
        bar.setValue(a);
        if (!frame.dataTx().ReadDataLogger(a))
            return false;
    }
    return true;
}

void DataLoggerCommands::readPsetBlock() {
    clink::LinkState& s = frame.state();
    QProgressBar& bar = frame.Bar1();
    bar.setRange(LoggerPsetBlockFirst, PsetBlockBarMaximum);
    bar.setValue(LoggerPsetBlockFirst);
    for (int a = LoggerPsetBlockFirst; a <= LoggerPsetBlockLast; a += LoggerRouteEntries) {
        s.DataCount = loggerPsetBlockSlot(a);
        if (!frame.dataTx().ReadDataLoggerRoute(a))
            frame.dialogs().message(QStringLiteral("Error: Can not receive Info"),
                                    QStringLiteral("Transfer Error"), MessageIcon::Critical);
        bar.setValue(a);
    }
    bar.setValue(bar.minimum());
}

void DataLoggerCommands::mnuReadDataLoggerRoute_Click() {
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    int f = 0;
    int n = 0;
    if (!askFile(RouteRecords, f, n))
        return;
    if (!frame.dongleOnlyPreCheck(ids::CurveRequest2,
                                  QStringLiteral("Unable To Configure ") + s.ControllerIpAddress))
        return;
    WaitCursor hourglass;
    if (!readDirectory(f))
        return infoBox(frame, QStringLiteral("Unable To Read Data"));
    if (s.DataBuffer[LoggerEmptyFlag] == 0)
        return infoBox(frame, QStringLiteral("File Empty"));
    if (s.DataBuffer[LoggerFileType] == LoggerTransducerType)
        return frame.failBox(QStringLiteral("File Type Not Correct"));

    // The route report keeps its own window: the main window's output window stays as it is.
    Report report(new FrmOutput(frame.dialogs()), &frame.mdiArea());
    readPsetBlock();
    // Files 1..10 keep their Pset data in the project's table (the report reads it from the buffer).
    storeLoggerPsetData(loggerPsetData(s.DataBuffer, f), f, frame.ctx.psetTable);

    QProgressBar& bar = frame.Bar1();
    const int first = loggerRecordsAddress(f);
    const int last = first + LoggerRundownBytes * n;
    s.DataCount = LoggerRecordsIndex;
    bar.setRange(first, last + RouteBarSlack);
    bar.setValue(first);
    if (!readLocations(first, last)) {
        infoBox(frame, QStringLiteral("Unable To Reveive Data"));
        bar.setValue(bar.minimum());
        return;
    }
    report.add(makeLoggerRouteReport(s.DataBuffer, f, n));
    report.show();
    bar.setValue(bar.minimum());
}

void DataLoggerCommands::mnuReadDataLoggerXducer_Click() {
    AppContext& ctx = frame.ctx;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.dongleOnlyPreCheck(ids::CurveRequest2,
                                  QStringLiteral("Unable To Configure ") + s.ControllerIpAddress))
        return;
    int f = 0;
    int n = 0;
    if (!askFile(TransducerRecords, f, n))
        return;
    const int units = valueEntryNumber(ctx.values.results.ValueEntryOption);
    WaitCursor hourglass;
    if (!readDirectory(f))
        return infoBox(frame, QStringLiteral("Unable To Reveive Data"));
    if (s.DataBuffer[LoggerFileType] != LoggerTransducerType)
        return frame.failBox(QStringLiteral("File Does Not Contain Transducer Rundown Data"));
    if (s.DataBuffer[LoggerEmptyFlag] == 0)
        return frame.failBox(QStringLiteral("File Empty"));

    Report report = frame.newReport();
    report.window()->setEnabled(false);
    QProgressBar& bar = frame.Bar1();
    const int first = loggerRecordsAddress(f);
    const int last = first + LoggerReadingBytes * n;
    bar.setRange(first, last);
    bar.setValue(first);
    if (!readLocations(first, last)) {
        infoBox(frame, QStringLiteral("Unable To Receive Data"));
        bar.setValue(bar.minimum());
        return;
    }
    report.add(makeLoggerTransducerReport(s.DataBuffer, f, n, units));
    report.show();
    bar.setValue(bar.minimum());
    report.window()->setEnabled(true);
}

} // namespace app
