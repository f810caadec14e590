#pragma once
// The controller as the program sees it through the dongle: its memories with plausible defaults, and
// the answer to each request it receives (one reply per request, as the controller answers).

#include "link/canid.h"
#include "link/psetreport.h"
#include "sim/recentlog.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace sim {

using clink::CanId;
using clink::CanMessage;

// Which link carried the request; a few requests are laid out differently per link.
enum class Transport { ParallelPort, Ethernet, Usb };

class ControllerModel {
public:
    static constexpr int ToolEepromSize = 1024;

    ControllerModel();

    // Answers one received message; the returned frames are the controller's replies.
    std::vector<CanMessage> respond(const CanMessage& request, Transport transport);

    // The periodic status broadcast (10EF0301).
    CanMessage statusBroadcast() const;

    // --- memories (tests seed and inspect them) ---
    std::array<uint8_t, ToolEepromSize> toolEeprom{};
    int psetCount = 8;
    int currentPset = 1;
    int units = 1;     // 1 lb-in .. 5 Nm
    int target = 1200; // raw, x10
    int statusB6 = 0;
    int statusB7 = 0;

    // --- service memories: transducer, DSP parameters, NSM unit, data logger, rundown, tool data ---
    static constexpr int TransducerEepromSize = 1024;
    static constexpr int DspSize = 1024;
    static constexpr int NsmLocations = 9;
    static constexpr int LoggerSize = 65536;
    static constexpr int RundownBytes = 18;
    using RundownRecord = std::array<uint8_t, RundownBytes>;
    std::array<uint8_t, TransducerEepromSize> transducerEeprom{};
    // Parameter words little-endian at their byte address.
    std::array<uint8_t, DspSize> dspBytes{};
    std::array<uint8_t, NsmLocations> nsm{};
    std::vector<uint8_t> loggerMem;
    // The last rundown's result: words high byte first (target, torque limits, final angle, angle
    // limits, final torque), then result byte, units, current Pset, Pset count.
    RundownRecord rundown{};
    // Raw tool data words: offset voltage (1/100 V), maximum torque capability (1/10 lb-in), speed.
    struct ToolData {
        int volt = 250;
        int maxTq = 1300;
        int rpm = 2500;
    } diag;
    // Calibration values received, in order (each also stored at tool EEPROM 45/46).
    std::vector<int> calibrationValues;
    // A rundown report begins with a [01 0 ...] frame before its three result frames.
    bool rundownStartFrame = true;

    // A rundown completes with this result: it becomes rundown[], and the frames the controller sends
    // on its own (10EF1102) are returned for the front end to deliver.
    std::vector<CanMessage> rundownEvent(const RundownRecord& record);
    std::vector<CanMessage> rundownEvent() { return rundownEvent(rundown); }
    // The next rundown comes with the replies to the n-th status request (15EF0301) from now: what a
    // dongle that asked for 10EF1102 and waits on it sees.
    void armRundown(int onStatusRequest = 1) { rundownArmedIn_ = onStatusRequest; }

    // --- software version, Psets, logic and ladder blocks, curves ---
    // Software version; the major number is the controller type.
    int verMajor = 4;
    int verMinor = 2;
    // The controller types the stand-in plays: 3 keeps a ladder program, 4 the version 2 logic, 5 the batch
    // (version 3) logic.
    static constexpr int FirstControllerType = 3;
    static constexpr int LastControllerType = 5;
    // Plays a controller of this type: the version answer (type and that type's minor number) and the
    // program store the type uses; a type-3 controller holds its factory ladder program (three rungs: an
    // accepted rundown lights the green light, a rejected one the red light, input 1 drives output 1) and
    // restores it on the logic reset. A type outside 3..5 changes nothing and gives false.
    bool playControllerType(int type);
    // Psets by number, each in its received layout (four packets of seven bytes). Pset numbers without a
    // slot read as zeros.
    static constexpr int PsetSlots = 10;
    using PsetBytes = std::array<int, clink::PsetBytes>;
    std::array<PsetBytes, PsetSlots> psets{};
    // Logic and ladder blocks by number (logic 1..117, ladder 0..109), six bytes each; the defaults
    // image is what a logic reset restores. Unknown blocks read as zeros.
    using Block = std::array<int, 6>;
    std::map<int, Block> logicBlocks;
    std::map<int, Block> logicDefaults;
    // Curve samples by curve number; a request for index i answers samples i and i + 1 (0 beyond the end).
    std::map<int, std::vector<uint16_t>> curves;
    // Logic restarts carried out.
    int logicRestarts = 0;
    // The logic store as one run of words (model_logic.cpp): block n, from firstBlock on, holds words
    // 6(n - firstBlock)..+5. Tests preload a controller's program and read back what a send left.
    void storeLogicWords(const std::vector<int>& words, int firstBlock = 1);
    std::vector<int> logicWords(int blocks, int firstBlock = 1) const;
    // Logic faults, the same on every repeat of a request: blocks [61 n ...] neither stored nor
    // acknowledged, requests [62 n ...] not answered, and codes on the command identifier that get no
    // reply at all (0xA0 the type query, 0x63 the logic reset, 0x64 the restart...). The next logic
    // acknowledgement or answer carries the block number + 1, once.
    std::set<int> unacknowledgedLogicBlocks;
    std::set<int> unansweredLogicBlocks;
    std::set<int> silentCommandCodes;
    bool wrongLogicBlockEcho = false;
    // --- the ladder store of a type-3 controller (model_ladder.cpp): while the model plays one (verMajor 3)
    // the frames [61 b k s1..s5] and the requests [62 k ...] reach this slot image instead of the logic
    // blocks; the logic reset 0x63 restores ladderDefaults as well as the logic defaults. Header [61 0 0 c]:
    // slot 0 = c, slots 1..659 cleared; frame (b, k), b 1..32, k 1..4: slots 20(b - 1) + 5(k - 1) + 1 .. + 5;
    // answer block k (0..109): slots 6k..6k + 5. The logic knobs (unanswered blocks, silent codes, wrong
    // echo) apply too.
    static constexpr int LadderControllerType = 3;
    static constexpr int LadderSlots = 660;
    using LadderImage = std::array<int, LadderSlots>;
    LadderImage ladderSlots{};
    LadderImage ladderDefaults{};
    // Frames (b, k) neither stored nor acknowledged (b 0 is the header).
    std::set<std::pair<int, int>> unacknowledgedLadderFrames;
    bool playsLadder() const { return verMajor == LadderControllerType; }
    // --- DSP: the defaults image the reset command (09EF0601 [0B]) restores, and the software revision
    // the DSP reports in its revision frame 13EF0106 [50 0 0 0 0 0 minor major] ---
    std::array<uint8_t, DspSize> dspDefaults{};
    int dspRevisionMajor = 3;
    int dspRevisionMinor = 1;
    int dspResets = 0;
    // The DSP sends its revision frame on its own (heard on the parallel port).
    bool dspRevisionUnprompted = true;
    CanMessage dspRevisionFrame() const;
    // The frames the bus carries on their own every period: the status broadcast, the DSP revision, the
    // socket tray's status while one is attached.
    std::vector<CanMessage> unpromptedFrames() const;

    // --- rundown logs, the NSM unit's version, clock and clear, presence probes (model_units.cpp) ---
    static constexpr int RundownLogBytes = 700;
    using RundownLog = std::array<uint8_t, RundownLogBytes>;
    // Each Pset's log of its last 100 rundowns (7 bytes each); a Pset without one reads zeros. By default
    // Psets 1..8 hold a few rundowns around their target.
    static std::map<int, RundownLog> defaultRundownLogs();
    std::map<int, RundownLog> rundownLogs = defaultRundownLogs();
    struct NsmUnitState {
        int major = 1;
        int minor = 3;
        // Hour (bit 7 and 13 and above: PM), minute, three date fields in display order.
        std::array<int, 5> clock{0x8F, 7, 6, 14, 9};
        int rundownClears = 0;
    } nsmUnit;
    // Rundown-log blocks that get no answer; the next rundown-log answer carries a wrong block number once.
    std::set<int> silentRundownBlocks;
    // Psets whose rundown log gets no answer at all.
    std::set<int> silentRundownPsets;
    bool wrongRundownEcho = false;

    // --- the tool's button sensors (model_calibration.cpp) ---
    // The four sensor words the tool streams on 16EF0102 after a button-test request (10EF0201 [40 0 ...]),
    // each frame [cw hi, cw lo, trigger hi, trigger lo, ccw hi, ccw lo, center hi, center lo]. Tests set
    // them per measuring step (released, pressed).
    struct ButtonSensorWords {
        int cw = 1000;
        int trigger = 1000;
        int ccw = 1000;
        int center = 1000;
    };
    ButtonSensorWords buttonSensors;
    // The words while the technician holds the buttons. None (the default): the buttons are never held, and
    // tests set buttonSensors for each step. Given, the stand-in plays a technician who follows the
    // calibration's prompts over Ethernet: after a button-test request the buttons are released for the
    // first reading, held for the second, released for the third..., each reading beginning with the
    // filter frame that lets the stream through (a zero-data frame on 16EF0102).
    std::optional<ButtonSensorWords> heldButtonSensors;
    static constexpr int ButtonTestCode = 0x40;
    // A button-test request [40 0 ...] starts the stream afresh; it runs until the tool is asked anything
    // else on its request identifier (an EEPROM read or write, the button state) or for this long, so a
    // person has time to set the light ring and press Run Test between the readings.
    static constexpr std::chrono::milliseconds ButtonStreamTime{60000};
    bool buttonStreamRunning() const { return buttonStreamRunning_ && clock() < buttonStreamEnd_; }
    // The stream's next frame while it runs; the front ends take it at their own pace (one per PC frame on
    // USB, one per quiet interrupt-flag read on the parallel port, on a timer over Ethernet).
    std::optional<CanMessage> nextButtonSensorFrame();
    int buttonFramesSent = 0;
    // The stand-in's clock (a steady clock); tests put a counting one in.
    std::function<std::chrono::milliseconds()> clock = steadyClock;
    static std::chrono::milliseconds steadyClock();

    // --- devices: serial-output mode, socket tray, the tool's cycle counters (model_devices.cpp) ---
    // The serial-output mode byte (any value is kept); the next silentModeRequests mode requests get no
    // answer.
    struct SerialOutState {
        int mode = 0;
        int silentModeRequests = 0;
    } serialOut;
    // A socket tray on the bus, sending 13EF0110 [10 outSocket 0 0 0 0 0 lamps] on its own while attached:
    // among the controller's own frames (parallel port), through the Ethernet dongle's emitSpontaneous, and
    // as the frame the USB dongle hears while it waits on the tray's identifier.
    struct SocketTrayState {
        bool attached = false;
        int outSocket = 0;
        int lamps = 0;
    } socketTray;
    CanMessage trayFrame() const;
    // The tool counts each end-of-cycle message 13EF0106 [40 01] in its three counters (big-endian words
    // at tool EEPROM 256, 258 and 260), trailing the messages by `lag` cycles; one that does not count
    // keeps them.
    struct ToolCounterState {
        bool counts = true;
        int lag = 0;
        int endOfCycles = 0;
    } toolCounter;

    // --- the live monitors' messages (model_monitors.cpp) ---
    // The tool's buttons as the button-state request (10EF0201 [30 ...]) reports them on 10EF0602
    // [0 cw trigger ccw center 0 0 0]; 0 released, any other value pressed.
    struct ToolButtons {
        int cw = 0;
        int trigger = 0;
        int ccw = 0;
        int center = 0;
    } buttons;
    // A fault report on the tool's identifier (13EF0106): group 0x10, 0x11, 0x12 or 0x15, the two flag bytes.
    static CanMessage faultMessage(int group, int flags2, int flags3);
    // A rundown report on the same identifier: [40 status T A E], each word signed, low byte first.
    static CanMessage rundownMessage(int cycleStatus, int torque, int angle, int externalTorque);

    // --- a tool at work (model_workcycle.cpp): the rundowns and faults the controller reports on its own ---
    // The next rundown of a fixed round of outcomes around the status target (accepted ones, and each
    // torque and angle limit missed once): final torque and angle judged against the torque window
    // (target +- TorqueBandPermille) and the angle window (AngleLowLimit..AngleHighLimit tenths of a
    // degree). It becomes rundown[] and is reported both ways the controller reports a rundown: the run
    // screen's record on 10EF1102 (start frame, three blocks) and the monitors' report on 13EF0106
    // (torques in thousandths of the target). The result code: 1 accepted, else 2 torque high, 4 torque
    // low, 8 angle high, 16 angle low, added.
    static constexpr int TorqueBandPermille = 100;
    static constexpr int AngleHighLimit = 900;
    static constexpr int AngleLowLimit = 100;
    std::vector<CanMessage> nextRundown();
    int rundownsPlayed = 0;
    // The next fault of a round through the four groups (auto-reset, cycle-reset, external-reset faults,
    // warnings), one flag each, on 13EF0106.
    CanMessage nextFault();
    int faultsPlayed = 0;

    // --- fault knobs ---
    // Tool EEPROM, transducer EEPROM and DSP parameter requests for these addresses get no reply.
    std::set<int> silentAddresses;
    // Tool and transducer EEPROM writes are confirmed but the location keeps its value.
    bool writeNotApplied = false;
    // Requests with these identifiers get no reply.
    std::set<CanId> noReply;
    // The next reply carries another value (data byte 3 + 1) once.
    bool wrongEcho = false;

    // The messages received, in order (the most recent RecentLogCapacity).
    RecentLog<CanMessage> received{RecentLogCapacity};
    // Requests received with the given identifier and data byte 0 (0 = any code).
    int countReceived(CanId id, int code = -1) const;

private:
    std::vector<CanMessage> toolEepromRequest(const CanMessage& m);
    std::vector<CanMessage> buttonTestRequest(const CanMessage& m);
    void endButtonStreamOn(const CanMessage& request);
    void countButtonReadingOn(const CanMessage& request, Transport transport);
    bool buttonStreamRunning_ = false;
    // The readings begun since the last button-test request.
    int buttonReadings_ = 0;
    std::chrono::milliseconds buttonStreamEnd_{0};
    std::vector<CanMessage> statusRequest(const CanMessage& m);
    void seedServiceMemories();
    void seedDspDefaults();
    bool silentEepromRequest(const CanMessage& m, Transport transport) const;
    std::vector<CanMessage> dspCommand(const CanMessage& m);
    std::vector<CanMessage> dspRevisionRequest(const CanMessage& m, Transport transport) const;
    std::vector<CanMessage> transducerRequest(const CanMessage& m, Transport transport);
    std::vector<CanMessage> dspRequest(const CanMessage& m);
    std::vector<CanMessage> nsmRequest(const CanMessage& m);
    std::vector<CanMessage> loggerRequest(const CanMessage& m);
    std::vector<CanMessage> toolDataRequest(const CanMessage& m);
    std::vector<CanMessage> calibrationCommand(const CanMessage& m);
    std::vector<CanMessage> rundownResultRequest(const CanMessage& m);
    void reportArmedRundown(const CanMessage& request, std::vector<CanMessage>& replies);
    int rundownArmedIn_ = 0;
    // Version, control codes, Pset packets and logic blocks on the command identifier.
    std::vector<CanMessage> commandRequest(const CanMessage& m);
    std::vector<CanMessage> psetPacket(const CanMessage& m);
    // Logic and ladder blocks [61 n ...] and their requests [62 n ...] (model_logic.cpp).
    std::vector<CanMessage> logicRequest(const CanMessage& m);
    int echoedLogicBlock(int block);
    std::vector<CanMessage> ladderRequest(const CanMessage& m);
    void holdFactoryLadder();
    std::vector<CanMessage> curveRequest(const CanMessage& m, CanId replyId) const;
    void seedCommandDefaults();
    // Pset selection (0x21..0x28) and rundown clearing (0x81) on the command identifier (model_psets.cpp).
    static bool isPsetCommand(const CanMessage& m);
    std::vector<CanMessage> psetCommand(const CanMessage& m, Transport transport);
    PsetBytes stagedPset_{};

    // Rundown-log blocks, the NSM unit's own codes and the presence probes; nothing for other requests.
    std::vector<CanMessage> unitRequest(const CanMessage& m);
    // The serial-output mode, the tool's cycle messages and the tray heard over USB; nothing for others.
    std::vector<CanMessage> deviceRequest(const CanMessage& m, Transport transport);
    // The button-state request; nothing for other requests.
    std::vector<CanMessage> monitorRequest(const CanMessage& m) const;
    void applyWrongEcho(std::vector<CanMessage>& replies);
};

// A FilterFrame (all data 0) on any identifier.
bool isZeroData(const CanMessage& m);

} // namespace sim
