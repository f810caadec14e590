#pragma once
// The transactions of the controller's message catalogue. Each one branches on the connection type and
// follows the one pattern of its link: on the parallel port it polls the dongle's CAN controller, on
// Ethernet it sends text frames and waits for the reply handlers, on USB it sends a frame and reads the
// reply. Every transaction returns true when the reply was taken and false when its retries ran out.

#include "link/canid.h"
#include "link/commandcodes.h"
#include "link/linkstate.h"

#include <QString>

#include <array>
#include <functional>

namespace base {
class EventPump;
}

namespace clink {

class ControllerLink;
class SharedWaitBudget;

// What DataTx::StartCalibration reports.
enum CalibrationStart : int {
    CalibrationPending = 0,     // no final-torque report within the wait; the caller asks again
    CalibrationFinalTorque = 1, // the rundown reached its final torque
    CalibrationLinkFailed = 2,  // the link could not be used; the box has been shown
};

class DataTx {
public:
    // Sends (counted) of the Ethernet attempt loops: attempts 0..500.
    static constexpr int EthernetAttempts = 501;

    explicit DataTx(ControllerLink& link);

    // Zeroes DataBuffer(0..6000) and sets DataCount to 0.
    void ClearReceiveBuffer();

    // Link check for reply identifier X. Parallel port: configures the dongle to accept only X.
    // Ethernet: true only while the socket is connected. USB: not used (false).
    bool ConfigureCanDongle(CanId awaited);

    // --- CAN dongle set-up and messages (parallel port; SendCanMessage also has an Ethernet text form) ---
    // Arguments every transaction passes to SendCanMessage.
    static constexpr int MessageLead = 0;
    static constexpr int MessageCtrl = 3;
    static constexpr int MessageSpare = 1;
    static constexpr int MessageDlc = 8;

    // Loads acceptance filter 0 and mask 0 for the reply identifier and the receive interrupt set-up.
    void SetCanFilters(CanId awaited);
    // Releases the reset line and tells whether the controller is in configuration / normal mode.
    bool CheckConfigMode();
    bool CheckNormalMode();
    // Parallel port: loads transmit buffer 0 and requests its transmission (no wait). Ethernet: the old
    // "%CAN...NAC%" text frame, or the box "Ethernet not connected" while the socket is down.
    void SendCanMessage(int lead, CanId id, int ctrl, int spare, int dlc, const std::array<int, 8>& data);
    // The same with the arguments every transaction passes (lead 0, ctrl 3, spare 1, 8 data bytes).
    void SendCanMessage(const CanMessage& message) {
        SendCanMessage(MessageLead, message.id, MessageCtrl, MessageSpare, MessageDlc, message.data);
    }
    // One message that awaits no answer, on the link chosen: over Ethernet and USB in a frame that has the
    // dongle pass the accept identifier back (over Ethernet the send's own wait for ReplyReady follows when
    // data byte 0 is not 0); on the parallel port the dongle is left as it is. False when the link refused
    // the frame or none is chosen.
    bool SendUnanswered(CanId accept, const CanMessage& message);
    // A transaction that calls SendCanMessage more than once holds one of these while it runs: the
    // "Ethernet not connected" box is then shown at most once for the whole transaction.
    class SendBatch {
    public:
        explicit SendBatch(DataTx& tx) : tx_(tx) {
            if (tx_.batchDepth_++ == 0)
                tx_.notConnectedShown_ = false;
        }
        ~SendBatch() { --tx_.batchDepth_; }
        SendBatch(const SendBatch&) = delete;
        SendBatch& operator=(const SendBatch&) = delete;

    private:
        DataTx& tx_;
    };

    // Tool EEPROM, one byte per transaction (addresses 0..1023).
    bool ReadToolEeprom(int address);
    bool WriteToolEeprom(int address, int value);

    // External transducer EEPROM, one byte (parallel port and Ethernet only; false at once on USB).
    bool WriteTransducerEeprom(int address, int value);
    bool ReadTransducerEeprom(int address);
    // DSP parameter words at byte addresses, low byte first; a read appends two DataBuffer entries.
    bool WriteDspEeprom(int address, int value);
    bool ReadDspEeprom(int address);

    // Manual calibration: wait for a rundown's final torque, read its result into RundownResult, send
    // the new calibration value (no confirmation exists; false only when it could not be sent).
    CalibrationStart StartCalibration();
    bool ReadRundownResult();
    bool SendCalibrationCommand(long value);

    // NSM unit: its nine locations into DataBuffer(0..8) and NsmSettings; one location written.
    bool ReadNsmSettings();
    bool WriteNsmSettings(int address, int value);
    // Data logger memory (parallel port only): one entry, or the five entries of a route location.
    bool ReadDataLogger(int address);
    bool ReadDataLoggerRoute(long address);

    // Live tool data while the user runs the tool; both show their prompt and their result box.
    bool ReadToolRpm();
    bool RunToolDiagnostics();

    // --- System status, version and control commands ---
    // Poll limit every caller of ReadSystemStatus passes.
    static constexpr long StatusPollLimit = 5000;
    // Reads the controller's status into SystemStatus and DataBuffer(0..3) (clearing DataBuffer first).
    // Needs no link check beforehand. On the parallel port pollLimit becomes the poll count used.
    bool ReadSystemStatus(long& pollLimit);
    bool ReadSystemStatus() {
        long pollLimit = StatusPollLimit;
        return ReadSystemStatus(pollLimit);
    }
    // The controller software's major version; 0 when no answer came.
    int SendSystemCommand();
    // Major and minor version into DataBuffer(0..1) and SccVersionText.
    bool ReadSccVersion(int code = codes::Version);
    // A control command (reset logic, restart logic, erase Psets, clear rundowns); true when acknowledged.
    bool SendControlCommand(int code);
    // The USB dongle's test exchange: DataBuffer(0..7) and a box with the reply bytes. Always on USB.
    bool ShowDataArray();

    // --- Pset transfer ---
    // The four packets of a Pset into DataBuffer(0..27).
    bool ReadPsetBlock(int pset);
    // The same read, then PsetReportTable(pset); false and nothing written for a Pset without a record.
    bool ReadParameterSets(int pset);
    // One packet (code 0x71..0x74 and seven bytes); true when acknowledged.
    bool SendPsetData(const std::array<int, 8>& packet);
    // The status read before a Pset receive, with the link set up around it: on the parallel port the
    // dongle for the status broadcast before and for the Pset packets after, over Ethernet the status
    // filter frame before, over USB the read alone. Each step is reported as it ends; a failed step ends
    // the read. With no link chosen nothing is read and the count of the last status read stands (true).
    enum class PsetCountStep {
        DongleConfigured, // the dongle was set up
        DongleFailed,     // the dongle could not be set up
        Connected,        // the status filter frame went out
        NotConnected,     // the status filter frame could not be sent
        StatusReceived,   // SystemStatus holds the controller's status
        StatusMissing,    // no status came
    };
    bool ReadPsetCount(const std::function<void(PsetCountStep)>& step);
    // Makes Pset n the controller's current one: [20+n 0 ...] on 15EF0103, sent once with no answer
    // awaited and no dongle set-up (over Ethernet the status answer it draws ends the sender's wait).
    // Nothing goes out with no link chosen.
    void SelectPset(int pset);
    // Over Ethernet: the serial-number frame (no answer awaited). False on the other links and while the
    // socket is down.
    bool SendSerialNumber(const QString& text);

    // --- Logic and ladder programs ---
    // Block n (1..) of the logic image in DataBuffer(6(n-1)..6n-1).
    bool SendLogicIoProgram(int block);
    // Parallel port: waits for the acknowledgement of block n; false at once on the other links.
    bool SendLogicIoBlock(int block);
    // One ladder frame; acknowledged as [A0 d0 d1 d2].
    bool SendPlcProgram(const std::array<int, 8>& frame);
    // Parallel port: one look for a message beginning with the four bytes.
    bool SendPlcBlock(const std::array<int, 4>& expected);
    // Takes an answer block [code n six bytes] and appends the six bytes at DataCount. On Ethernet the
    // reply handler collects the blocks and this gives false.
    bool ReceiveLogicIoProgram(int code, int block);

    // --- Curve upload ---
    // The two samples at index of a controller curve, into CurveUploadData(1..2).
    bool RequestCurveData(int curve, int index);
    // The same from the data-logger curve (no Ethernet reply handler: false on Ethernet).
    bool RequestCurveDataAlt(int curve, int index);

private:
    bool configureCanDonglePp(CanId awaited);
    void sendCanMessagePp(CanId id, int ctrl, int dlc, const std::array<int, 8>& data);
    void sendCanMessageEthernet(int lead, CanId id, int ctrl, int spare, int dlc,
                                const std::array<int, 8>& data);
    int batchDepth_ = 0;
    bool notConnectedShown_ = false;

    bool readToolEepromPp(int address);
    bool readToolEepromEthernet(int address);
    bool readToolEepromUsb(int address);
    bool writeToolEepromPp(int address, int value);
    bool writeToolEepromEthernet(int address, int value);
    bool writeToolEepromUsb(int address, int value);

    // One transducer or DSP exchange on Ethernet (filter frame, echo, sends on a shared wait budget).
    struct EepromExchange;
    bool eepromExchangeEthernet(const EepromExchange& x);
    bool writeTransducerEepromPp(int address, int value);
    bool readTransducerEepromPp(int address);
    bool writeDspEepromPp(int address, int value);
    bool writeDspEepromUsb(int address, int value);
    bool readDspEepromPp(int address);
    bool readDspEepromUsb(int address);

    CalibrationStart startCalibrationPp();
    CalibrationStart startCalibrationEthernet();
    CalibrationStart startCalibrationUsb();
    bool readRundownResultPp();
    bool readRundownResultEthernet();
    bool readRundownResultUsb();
    bool sendCalibrationCommandPp(const std::array<int, 8>& data);
    bool sendCalibrationCommandUsb(const std::array<int, 8>& data);

    bool readNsmSettingsPp();
    bool readNsmSettingsEthernet();
    bool readNsmSettingsUsb();
    bool writeNsmSettingsPp(int address, int value);
    bool writeNsmSettingsEthernet(int address, int value);
    bool writeNsmSettingsUsb(int address, int value);
    bool readDataLoggerPp(int address);
    bool readDataLoggerEthernet(int address);
    bool readDataLoggerRoutePp(int address);
    bool readDataLoggerRouteEthernet(int address);

    // The tool data request shared by ReadToolRpm and RunToolDiagnostics: the prompt, the request, and
    // DataBuffer(0..5) filled from the reply.
    bool toolDataExchange(const QString& prompt);
    bool toolDataPp(const QString& prompt);
    bool toolDataEthernet(const QString& prompt);
    bool toolDataUsb(const QString& prompt);

    bool readSystemStatusPp(long& pollLimit);
    bool readSystemStatusEthernet();
    bool readSystemStatusUsb();
    bool acceptSystemStatus();
    // Parallel port: the dongle set up for the awaited reply, or the box "Unable To Configure Can Dongle -
    // Transfer Aborted" and false.
    bool configureOrAbort(CanId awaited);
    int sendSystemCommandPp();
    int sendSystemCommandEthernet();
    int sendSystemCommandUsb();
    bool readSccVersionPp(int code);
    bool readSccVersionEthernet(int code);
    bool readSccVersionUsb(int code);
    bool sendControlCommandPp(int code);
    bool sendControlCommandEthernet(int code);
    bool sendControlCommandUsb(int code);

    bool readPsetPacketsPp(int pset);
    bool readPsetPacketsUsb(int pset);
    bool readPsetPacketEthernet(int pset, int packet, long beforeSend, long wait);
    bool sendPsetDataPp(const std::array<int, 8>& packet);
    bool sendPsetDataEthernet(const std::array<int, 8>& packet);
    bool sendPsetDataUsb(const std::array<int, 8>& packet);

    bool sendLogicIoProgramPp(int block, const std::array<int, 8>& frame);
    bool sendLogicIoProgramEthernet(int block, const std::array<int, 8>& frame);
    bool sendLogicIoProgramUsb(int block, const std::array<int, 8>& frame);
    bool sendPlcProgramPp(const std::array<int, 8>& frame);
    bool sendPlcProgramEthernet(const std::array<int, 8>& frame);
    bool sendPlcProgramUsb(const std::array<int, 8>& frame);
    bool receiveLogicIoProgramPp(int code, int block);
    bool receiveLogicIoProgramUsb(int code, int block);
    void appendBlock(const std::function<int(int n)>& answerByte);

    struct CurveIds {
        CanId request;
        CanId reply;
        CanId firstTransmit; // transmit identifier of the Ethernet frame that precedes the requests
    };
    bool requestCurve(const CurveIds& ids, int curve, int index);
    bool requestCurvePp(const CurveIds& ids, const std::array<int, 8>& request);
    bool requestCurveEthernet(const CurveIds& ids, const std::array<int, 8>& request);
    bool requestCurveUsb(const CurveIds& ids, const std::array<int, 8>& request);
    void takeCurveSamples(int s1Low, int s1High, int s2Low, int s2High);

    // The attempt loop of the Ethernet transactions: sends the request up to `attempts` times while
    // ReplyReady is not set and the transaction is not over; a refused send (socket down) ends it. From
    // now on only frames on the accept identifier reach the reply handlers (AwaitedId). beforeSend
    // (when set) runs before each send, afterSend (when set) after each send with the attempt number, and
    // returns false to end the loop early. A reply that came during beforeSend ends the loop before the
    // send, and a request is not sent again while the answer to the last one is due. Returns ReplyReady.
    bool ethernetAttempts(CanId accept, CanId transmit, const std::array<int, 8>& data, int attempts,
                          const std::function<bool(int attempt)>& afterSend = {},
                          const std::function<void()>& beforeSend = {});

    // The pass loop of the command transactions on Ethernet: up to `bound` sends of the request while
    // ReplyReady is not set; beforeSend DoEvents precede each send; after each send the transaction waits
    // for the reply on one budget of `wait` DoEvents shared by all its sends. The wait also ends, without
    // drawing on the budget, when an answer that can be the last send's own came after it: a controller
    // that answers once per request sends its reply only to the next send.
    struct EthernetPasses {
        int bound = EthernetAttempts;
        long beforeSend = 0;
        long wait = 0;
    };
    bool ethernetPasses(const EthernetPasses& passes, CanId accept, CanId transmit,
                        const std::array<int, 8>& data);

    ControllerLink& link_;
    LinkState& s_;
};

} // namespace clink
