// The NSM unit's setting locations (13EF0D01 [90|60 hi lo v] -> 13EF010D [30 hi lo v]) and the data
// logger's memory (13EF0305 [AA lo hi] -> 13EF0503 [AA hi lo m0..m4], parallel port only).
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int LargestByte = 0xFF;
// Data-logger addresses are 16 bits.
constexpr long LargestLoggerAddress = 0xFFFF;

// Ethernet: DoEvents cycles (of two) after the read's filter frame, DoEvents after the write's opening
// frame, the most sends per location, and the reply wait (passes of one DoEvents) per location for the
// read and per call for the write.
constexpr long NsmReadFilterCycles = 500;
constexpr long NsmWriteOpeningDoEvents = 2;
constexpr int NsmSends = 51;
constexpr long NsmWaitPasses = 301;

const QString NsmEthernetFailed = QStringLiteral("Error Collecting Data");
const QString NsmEthernetFailedCaption = QStringLiteral("Getting NSM Settings");
} // namespace

bool DataTx::ReadNsmSettings() {
    bool ok = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        ok = readNsmSettingsPp();
        break;
    case TcpIp:
        ok = readNsmSettingsEthernet();
        break;
    case Usb:
        ok = readNsmSettingsUsb();
        break;
    default:
        return false;
    }
    if (ok)
        fillNsmSettings(s_.NsmSettings, s_.DataBuffer);
    return ok;
}

bool DataTx::readNsmSettingsEthernet() {
    if (link_.ethernet.SendFilterFrame(ids::NsmReply))
        link_.pump.pause(NsmReadFilterCycles * 2);
    ClearReceiveBuffer();
    for (int location = 0; location < NsmSettingsRecord::Locations; ++location) {
        const int hi = addressHigh(location);
        const int lo = addressLow(location);
        s_.ReplyReady = false;
        s_.RequestData[1] = hi;
        s_.RequestData[2] = lo;
        s_.RequestData[3] = 0;
        s_.AckReceived = false;
        SharedWaitBudget budget(link_.pump, NsmWaitPasses, 1);
        // The handler stores the value at DataCount; the transaction counts it.
        const bool ok = ethernetAttempts(ids::NsmReply, ids::NsmRequest, {ReadCode, hi, lo, 0, 0, 0, 0, 0},
                                         NsmSends, [&](int, bool sent) {
                                             if (sent)
                                                 budget.wait([this] { return s_.ReplyReady; });
                                             return true;
                                         });
        if (!ok) {
            link_.dialogs.message(NsmEthernetFailed, NsmEthernetFailedCaption, base::MessageIcon::Critical);
            return false;
        }
        ++s_.DataCount;
    }
    return true;
}

bool DataTx::WriteNsmSettings(int address, int value) {
    if (value < 0 || value > LargestByte)
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return writeNsmSettingsPp(address, value);
    case TcpIp:
        return writeNsmSettingsEthernet(address, value);
    case Usb:
        return writeNsmSettingsUsb(address, value);
    default:
        return false;
    }
}

bool DataTx::writeNsmSettingsEthernet(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    if (link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, {}))
        link_.pump.pause(NsmWriteOpeningDoEvents);
    // AckReceived keeps what the last exchange left: after a read the first confirmation is taken.
    s_.ReplyReady = false;
    s_.RequestData[1] = hi;
    s_.RequestData[2] = lo;
    s_.RequestData[3] = value;
    s_.RequestData[4] = 0;
    s_.RequestData[5] = 0;
    SharedWaitBudget budget(link_.pump, NsmWaitPasses, 1);
    const bool ok = ethernetAttempts(ids::NsmReply, ids::NsmRequest, {WriteCode, hi, lo, value, 0, 0, 0, 0},
                                     NsmSends, [&](int, bool sent) {
                                         if (sent)
                                             budget.wait([this] { return s_.ReplyReady; });
                                         return true;
                                     });
    s_.AckReceived = false;
    s_.RequestData[4] = 0;
    s_.RequestData[5] = 0;
    return ok;
}

bool DataTx::ReadDataLogger(int address) {
    if (address < 0 || address > LargestLoggerAddress)
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readDataLoggerPp(address);
    case TcpIp:
        return readDataLoggerEthernet(address);
    default:
        return false; // the logger is not read over USB
    }
}

bool DataTx::ReadDataLoggerRoute(long address) {
    if (address < 0 || address > LargestLoggerAddress)
        return false; // the address does not fit the request's two bytes: nothing is sent
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readDataLoggerRoutePp(int(address));
    case TcpIp:
        return readDataLoggerRouteEthernet(int(address));
    default:
        return false;
    }
}

// The parallel-port and USB paths, and the logger's Ethernet text frames, come with the drivers of
// those links.
bool DataTx::readNsmSettingsPp() {
    return false;
}
bool DataTx::readNsmSettingsUsb() {
    return false;
}
bool DataTx::writeNsmSettingsPp(int, int) {
    return false;
}
bool DataTx::writeNsmSettingsUsb(int, int) {
    return false;
}
bool DataTx::readDataLoggerPp(int) {
    return false;
}
bool DataTx::readDataLoggerEthernet(int) {
    return false;
}
bool DataTx::readDataLoggerRoutePp(int) {
    return false;
}
bool DataTx::readDataLoggerRouteEthernet(int) {
    return false;
}

} // namespace clink
