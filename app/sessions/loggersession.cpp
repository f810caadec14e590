#include "app/sessions/loggersession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/loggerreports.h"
#include "base/dialogs.h"

namespace app {

namespace ids = clink::ids;
using base::MessageIcon;

namespace {
// The bar's maximum past the last address read.
constexpr int RouteBarSlack = 2;
constexpr int PsetBlockBarMaximum = LoggerPsetBlockLast + RouteBarSlack;
} // namespace

bool DataLoggerSession::askFile(int records, int& file, int& count) {
    ValueEntryForm& v = values().frmValue();
    v.SetframeLogger(true);
    v.CwMinVal2(1);
    v.CwMaxVal2(LoggerFiles);
    v.CwVal2(1);
    v.CwMinVal3(1);
    v.CwMaxVal3(records);
    v.CwVal3(records);
    if (!values().show())
        return false;
    file = valueEntryNumber(values().results.ValueEntryData);
    count = valueEntryNumber(values().results.ValueEntryResult);
    return file >= 1 && file <= LoggerFiles && count >= 1 && count <= records;
}

bool DataLoggerSession::loggerCheck() {
    return linkGate().dongleOnly(ids::CurveRequest2,
                                 QStringLiteral("Unable To Configure ") + state().ControllerIpAddress);
}

bool DataLoggerSession::readDirectory(int file) {
    state().DataCount = 0;
    const int first = loggerDirectoryAddress(file);
    for (int a = first; a < first + LoggerDirectoryEntries; ++a) {
        if (!dataTx().ReadDataLogger(a))
            return false;
    }
    return true;
}

bool DataLoggerSession::readLocations(int first, int last) {
    for (int a = first; a <= last; ++a) {
        progress().setValue(a);
        if (!dataTx().ReadDataLogger(a))
            return false;
    }
    return true;
}

void DataLoggerSession::readPsetBlock() {
    clink::LinkState& s = state();
    progress().setRange(LoggerPsetBlockFirst, PsetBlockBarMaximum);
    progress().setValue(LoggerPsetBlockFirst);
    for (int a = LoggerPsetBlockFirst; a <= LoggerPsetBlockLast; a += LoggerRouteEntries) {
        s.DataCount = loggerPsetBlockSlot(a);
        if (!dataTx().ReadDataLoggerRoute(a))
            dialogs().message(QStringLiteral("Error: Can not receive Info"), QStringLiteral("Transfer Error"),
                              MessageIcon::Critical);
        progress().setValue(a);
    }
    progress().setValue(LoggerPsetBlockFirst);
}

ReportLines DataLoggerSession::mnuReadDataLoggerRoute() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    clink::LinkState& s = state();
    int f = 0;
    int n = 0;
    if (!askFile(RouteRecords, f, n) || !loggerCheck())
        return {};
    if (!readDirectory(f)) {
        infoBox(QStringLiteral("Unable To Read Data"));
        return {};
    }
    if (s.DataBuffer[LoggerEmptyFlag] == 0) {
        infoBox(QStringLiteral("File Empty"));
        return {};
    }
    if (s.DataBuffer[LoggerFileType] == LoggerTransducerType) {
        failBox(QStringLiteral("File Type Not Correct"));
        return {};
    }
    readPsetBlock();
    // Files 1..10 keep their Pset data in the project's table (the report reads it from the buffer).
    storeLoggerPsetData(loggerPsetData(s.DataBuffer, f), f, services.psetTable);

    const int first = loggerRecordsAddress(f);
    const int last = first + LoggerRundownBytes * n;
    s.DataCount = LoggerRecordsIndex;
    progress().setRange(first, last + RouteBarSlack);
    progress().setValue(first);
    const bool read = readLocations(first, last);
    if (!read)
        infoBox(QStringLiteral("Unable To Reveive Data"));
    ReportLines lines;
    if (read)
        lines = makeLoggerRouteReport(s.DataBuffer, f, n);
    progress().setValue(first);
    return lines;
}

ReportLines DataLoggerSession::mnuReadDataLoggerXducer() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    clink::LinkState& s = state();
    if (!loggerCheck())
        return {};
    int f = 0;
    int n = 0;
    if (!askFile(TransducerRecords, f, n))
        return {};
    const int units = valueEntryNumber(values().results.ValueEntryOption);
    if (!readDirectory(f)) {
        infoBox(QStringLiteral("Unable To Reveive Data"));
        return {};
    }
    if (s.DataBuffer[LoggerFileType] != LoggerTransducerType) {
        failBox(QStringLiteral("File Does Not Contain Transducer Rundown Data"));
        return {};
    }
    if (s.DataBuffer[LoggerEmptyFlag] == 0) {
        failBox(QStringLiteral("File Empty"));
        return {};
    }
    const int first = loggerRecordsAddress(f);
    const int last = first + LoggerReadingBytes * n;
    progress().setRange(first, last);
    progress().setValue(first);
    const bool read = readLocations(first, last);
    if (!read)
        infoBox(QStringLiteral("Unable To Receive Data"));
    ReportLines lines;
    if (read)
        lines = makeLoggerTransducerReport(s.DataBuffer, f, n, units);
    progress().setValue(first);
    return lines;
}

} // namespace app
