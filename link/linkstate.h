#pragma once
// The link state every window shares: the receive buffer and its count, the reply flags a waiting
// transaction polls, the echo values a reply must carry, and the results of the last replies.

#include "link/canid.h"
#include "link/databuffer.h"
#include "link/nsmsettings.h"
#include "link/psetreport.h"
#include "link/rundownresult.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace clink {

// Status of the last system-status reply.
struct SystemStatusRecord {
    int PsetCount = 0;
    int CurrentPset = 0;
    int StatusUnits = 0;
    double StatusTarget = 0;
    std::array<QString, 4> SystemStatusLines{}; // each 40 characters
};

struct LinkState {
    int16_t ConnectionType = ParallelPort;

    DataBufferArray DataBuffer;
    int DataCount = 0;

    bool ReplyReady = false;
    bool AckReceived = false;
    // Elements 1..5 are used: the values a reply must echo (0 in element 3 means any value).
    std::array<int, 6> RequestData{};
    int EepromReadIndex = 0;

    // Poll multiplier from "delays.ini"; 2 until the file has been read.
    long TransferDelay = 2;

    // Data bytes 0..7 of the last USB reply (element 0 = reply code).
    std::array<int, 9> UsbRxBytes{};
    bool UsbFailed = false;
    bool UsbTransferOk = false;

    // Ethernet receive text not yet parsed, and the fields of the frame being handled
    // (1 the head, 2..5 the identifier image, 6..13 data bytes 0..7).
    QByteArray EthernetRxText;
    std::array<int, 19> EthernetFields{};
    // Set by the 0x50 revision reply: the rest of the block it came in is dropped.
    bool FirstFrameOnly = false;
    // A version read is waiting for its answer: the acknowledgement of its code carries the version.
    bool VersionReadPending = false;
    // What the running Ethernet transaction awaits: the reply identifier (0: none named), and the reply's
    // code (data byte 0, or for an acknowledgement [A0 code ...] the code it acknowledges; 0: any). The
    // answer judge drops frames on another identifier, naming another code or echoing another request.
    CanId AwaitedId = 0;
    int AwaitedCode = 0;
    // The awaited confirmation must echo RequestData(3) exactly, also when it is 0: the value of a write
    // (a read's reply with the same address must not confirm it).
    bool ExactEcho = false;

    // Run-screen values of the run-data reply (1..18) and the cycle status words (1..7).
    std::array<int, 19> RunDataWords{};
    std::array<int, 8> CycleStatusWords{};
    // Data bytes 0..7 of the last button-state frame (10EF0602) heard over Ethernet, kept apart from
    // DataBuffer, which other replies fill too: the button monitor clears it before its request and shows
    // only what arrived on this identifier.
    std::optional<std::array<int, 8>> ButtonReplyFrame;
    // Data bytes 0..7 of the last fault report (13EF0106, codes 10, 11, 12 and 15) heard over Ethernet, kept
    // apart from DataBuffer for the same reason.
    std::array<int, 8> ToolReportFrame{};

    QString ControllerIpAddress = QStringLiteral("None");
    QString ControllerIpPort = QStringLiteral("1100");

    // Image of the parallel port's data register.
    int PortShadow = 0;

    SystemStatusRecord SystemStatus;
    // The last rundown's result (manual calibration) and the NSM unit's settings.
    RundownResultRecord RundownResult;
    NsmSettingsRecord NsmSettings;

    // The controller software version of the last version read ("4.02").
    QString SccVersionText;
    // One report record per Pset number, filled by the Pset report read.
    PsetReportTableArray PsetReportTable{};
    // Elements 1 and 2: the two samples of the last curve reply (0..65535).
    std::array<int32_t, 3> CurveUploadData{};
};

// Stores the system-status reply (data bytes 1..7) into the status record and its four report lines.
// Where a status frame's target and status bytes go: the record and DataBuffer(0..3), as a status read
// takes them, or the record alone (the controller's own broadcast, which may come during a transfer).
enum class StatusStore { RecordAndBuffer, RecordOnly };
void buildSystemStatusRecord(LinkState& state, const std::array<int, 8>& d,
                             StatusStore store = StatusStore::RecordAndBuffer);

} // namespace clink
