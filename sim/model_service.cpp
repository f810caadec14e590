// The controller's service answers: transducer EEPROM, DSP parameters, NSM unit, data logger, tool data,
// calibration command, the last rundown's result and the rundown report it sends on its own.
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int ConfirmCode = 0x30;
constexpr int LoggerCode = 0xAA;
constexpr int ToolDataCode = 0xD1;
constexpr int CalibrationCode = 0x20;
constexpr int CalibrationSubcode = 0x01;
constexpr int RundownCode = 0x10;
constexpr int RundownStartCode = 0x01;
constexpr int RundownBlocks = 3;
constexpr int RundownBlockBytes = 6;
constexpr int LoggerReplyBytes = 5;
// Tool EEPROM locations of the calibration value.
constexpr int CalibrationLow = 45;
constexpr int CalibrationHigh = 46;
// A location outside a memory reads as this.
constexpr int AbsentLocation = 0xFF;

// [10 b] and the six result bytes of block b (1..3).
CanMessage rundownBlock(CanId id, int block, const ControllerModel::RundownRecord& record) {
    CanMessage f{id, {RundownCode, block, 0, 0, 0, 0, 0, 0}};
    for (int i = 0; i < RundownBlockBytes; ++i)
        f.data[size_t(2 + i)] = record[size_t(RundownBlockBytes * (block - 1) + i)];
    return f;
}
} // namespace

void ControllerModel::seedServiceMemories() {
    for (size_t a = 0; a < transducerEeprom.size(); ++a)
        transducerEeprom[a] = uint8_t((a * 11 + 5) & 0xFF);
    for (size_t a = 0; a < dspBytes.size(); ++a)
        dspBytes[a] = uint8_t((a * 3 + 1) & 0xFF);
    // Reverse check on, 3 retries, reverse timer 2, one spindle, latch timer 5, deadman, collect data,
    // MID buttons.
    nsm = {0, 1, 3, 2, 1, 5, 1, 1, 0};
    loggerMem.resize(LoggerSize);
    for (size_t a = 0; a < loggerMem.size(); ++a)
        loggerMem[a] = uint8_t((a * 13 + 7) & 0xFF);
    // Target 120.0, limits 130.0 / 110.0, final angle 45, angle limits 90.0 / 10.0, final torque 121.5,
    // accepted, lb-in, Pset 1 of 8.
    rundown = {0x04, 0xB0, 0x05, 0x14, 0x04, 0x4C, 0x00, 0x2D, 0x03,
               0x84, 0x00, 0x64, 0x04, 0xBF, 0x01, 0x01, 0x01, 0x08};
}

std::vector<CanMessage> ControllerModel::transducerRequest(const CanMessage& m, Transport transport) {
    const auto& d = m.data;
    if (d[0] == WriteCode) {
        const int address = d[1] * 256 + d[2];
        if (address < TransducerEepromSize && !writeNotApplied)
            transducerEeprom[size_t(address)] = uint8_t(d[3] & 0xFF);
        return {{ids::TransducerReply, {ConfirmCode, d[1], d[2], d[3], 0, 0, 0, 0}}};
    }
    if (d[0] != ReadCode || transport == Transport::Usb)
        return {};
    // The read's address follows the code on the parallel port, one zero byte later over Ethernet.
    const int hi = transport == Transport::Ethernet ? d[2] : d[1];
    const int lo = transport == Transport::Ethernet ? d[3] : d[2];
    const int address = hi * 256 + lo;
    const int value = address < TransducerEepromSize ? transducerEeprom[size_t(address)] : AbsentLocation;
    return {{ids::TransducerReply, {ConfirmCode, hi, lo, value, 0, 0, 0, 0}}};
}

std::vector<CanMessage> ControllerModel::dspRequest(const CanMessage& m) {
    const auto& d = m.data;
    const int lo = d[2];
    const int hi = d[3];
    const size_t address = size_t(hi * 256 + lo);
    const bool inside = address + 1 < dspBytes.size();
    if (m.id == ids::DspWriteRequest && d[0] == WriteCode) {
        if (inside) {
            dspBytes[address] = uint8_t(d[4] & 0xFF);
            dspBytes[address + 1] = uint8_t(d[5] & 0xFF);
        }
        return {{ids::DspReply, {ConfirmCode, 0, lo, hi, d[4], d[5], 0, 0}}};
    }
    if (m.id == ids::DspReadRequest && d[0] == ReadCode) {
        const int vlo = inside ? dspBytes[address] : AbsentLocation;
        const int vhi = inside ? dspBytes[address + 1] : AbsentLocation;
        return {{ids::DspReply, {ConfirmCode, 0, lo, hi, vlo, vhi, 0, 0}}};
    }
    return {};
}

std::vector<CanMessage> ControllerModel::nsmRequest(const CanMessage& m) {
    const auto& d = m.data;
    const int address = d[1] * 256 + d[2];
    const bool inside = address < NsmLocations;
    if (d[0] == ReadCode) {
        const int value = inside ? nsm[size_t(address)] : AbsentLocation;
        return {{ids::NsmReply, {ConfirmCode, d[1], d[2], value, 0, 0, 0, 0}}};
    }
    if (d[0] == WriteCode) {
        if (inside)
            nsm[size_t(address)] = uint8_t(d[3] & 0xFF);
        return {{ids::NsmReply, {ConfirmCode, d[1], d[2], d[3], 0, 0, 0, 0}}};
    }
    return {}; // the opening frame with zero data and codes of other commands
}

std::vector<CanMessage> ControllerModel::loggerRequest(const CanMessage& m) {
    const auto& d = m.data;
    if (d[0] != LoggerCode)
        return {};
    // Asked low byte first, answered high byte first.
    const int lo = d[1];
    const int hi = d[2];
    const size_t address = size_t(hi * 256 + lo);
    CanMessage reply{ids::CurveRequest2, {LoggerCode, hi, lo, 0, 0, 0, 0, 0}};
    for (int i = 0; i < LoggerReplyBytes; ++i)
        reply.data[size_t(3 + i)] = loggerMem[(address + size_t(i)) % loggerMem.size()];
    return {reply};
}

std::vector<CanMessage> ControllerModel::toolDataRequest(const CanMessage& m) {
    if (m.data != std::array<int, 8>{ToolDataCode, 0, 0, 0, 0, 0, 0, 0})
        return {};
    return {{ids::ToolReply,
             {ToolDataCode, 0, lowByte(diag.volt), highByte(diag.volt), lowByte(diag.maxTq),
              highByte(diag.maxTq), lowByte(diag.rpm), highByte(diag.rpm)}}};
}

std::vector<CanMessage> ControllerModel::calibrationCommand(const CanMessage& m) {
    const auto& d = m.data;
    if (d[0] == CalibrationCode && d[1] == CalibrationSubcode) {
        calibrationValues.push_back(d[2] + d[3] * 256);
        toolEeprom[CalibrationLow] = uint8_t(d[2] & 0xFF);
        toolEeprom[CalibrationHigh] = uint8_t(d[3] & 0xFF);
    }
    return {}; // never confirmed
}

std::vector<CanMessage> ControllerModel::rundownResultRequest(const CanMessage& m) {
    const auto& d = m.data;
    const int block = d[1];
    if (d[0] != RundownCode || block < 1 || block > RundownBlocks)
        return {};
    return {rundownBlock(ids::CommandReply, block, rundown)};
}

std::vector<CanMessage> ControllerModel::rundownEvent(const RundownRecord& record) {
    rundown = record;
    std::vector<CanMessage> frames;
    if (rundownStartFrame)
        frames.push_back({ids::RunData, {RundownStartCode, 0, 0, 0, 0, 0, 0, 0}});
    for (int block = 1; block <= RundownBlocks; ++block)
        frames.push_back(rundownBlock(ids::RunData, block, rundown));
    return frames;
}

void ControllerModel::reportArmedRundown(const CanMessage& request, std::vector<CanMessage>& replies) {
    if (request.id != ids::StatusRequest || rundownArmedIn_ <= 0 || --rundownArmedIn_ > 0)
        return;
    const std::vector<CanMessage> frames = rundownEvent();
    replies.insert(replies.end(), frames.begin(), frames.end());
}

} // namespace sim
