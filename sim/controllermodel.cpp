#include "sim/controllermodel.h"

#include <algorithm>

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr int ToolEepromReadCode = 0x90;
constexpr int ToolEepromWriteCode = 0x60;
constexpr int EepromReplyCode = 0x30;
constexpr int StatusCode = 0x10;
// The value an EEPROM read outside the tool's memory returns.
constexpr int AbsentLocation = 0xFF;
} // namespace

bool isZeroData(const CanMessage& m) {
    return std::all_of(m.data.begin(), m.data.end(), [](int b) { return b == 0; });
}

ControllerModel::ControllerModel() {
    // A plausible tool: id 0x0102 at 2..3, calibration 5000 at 45..46, factory value 5000 at 47..48.
    for (int a = 0; a < ToolEepromSize; ++a)
        toolEeprom[size_t(a)] = uint8_t((a * 7 + 3) & 0xFF);
    toolEeprom[2] = 0x01;
    toolEeprom[3] = 0x02;
    toolEeprom[45] = 5000 & 0xFF;
    toolEeprom[46] = 5000 >> 8;
    toolEeprom[47] = 5000 & 0xFF;
    toolEeprom[48] = 5000 >> 8;
    seedServiceMemories();
    seedCommandDefaults();
    seedDspDefaults();
}

int ControllerModel::countReceived(CanId id, int code) const {
    return int(std::count_if(received.begin(), received.end(), [&](const CanMessage& m) {
        return m.id == id && (code < 0 || m.data[0] == code);
    }));
}

std::vector<CanMessage> ControllerModel::respond(const CanMessage& request, Transport transport) {
    received.push_back(request);
    endButtonStreamOn(request);
    countButtonReadingOn(request, transport);
    if (noReply.count(request.id) || silentEepromRequest(request, transport))
        return {};
    std::vector<CanMessage> replies;
    switch (request.id) {
    case ids::ToolEepromRequest:
        replies = toolEepromRequest(request);
        break;
    case ids::StatusRequest:
        replies = statusRequest(request);
        break;
    case ids::TransducerRequest:
        replies = transducerRequest(request, transport);
        break;
    case ids::DspWriteRequest:
    case ids::DspReadRequest:
        replies = dspCommand(request);
        break;
    case ids::ToolReply:
        replies = dspRevisionRequest(request, transport);
        break;
    case ids::NsmRequest:
        replies = nsmRequest(request);
        break;
    case ids::LoggerRequest:
        replies = loggerRequest(request);
        break;
    case ids::ToolRequest:
        replies = toolDataRequest(request);
        break;
    case ids::CalibrationRequest:
        replies = calibrationCommand(request);
        break;
    case ids::CommandRequest:
        replies = isPsetCommand(request) ? psetCommand(request, transport) : commandRequest(request);
        break;
    case ids::CurveRequest:
        replies = curveRequest(request, ids::CurveReply);
        break;
    case ids::CurveRequest2:
        replies = curveRequest(request, ids::CurveReply2);
        break;
    case ids::UsbTestRequest:
        // The USB dongle's link test: the frame comes back as it went.
        replies = {{ids::UsbTestReply, request.data}};
        break;
    default:
        break; // filter frames and requests the controller does not answer
    }
    if (replies.empty())
        replies = unitRequest(request);
    if (replies.empty())
        replies = deviceRequest(request, transport);
    if (replies.empty())
        replies = monitorRequest(request);
    reportArmedRundown(request, replies);
    applyWrongEcho(replies);
    return replies;
}

CanMessage ControllerModel::statusBroadcast() const {
    return {
        ids::StatusBroadcast,
        {StatusCode, psetCount, currentPset, units, target & 0xFF, (target >> 8) & 0xFF, statusB6, statusB7}};
}

std::vector<CanMessage> ControllerModel::toolEepromRequest(const CanMessage& m) {
    const int hi = m.data[1];
    const int lo = m.data[2];
    const int address = hi * 256 + lo;
    const bool inside = address >= 0 && address < ToolEepromSize;
    if (m.data[0] == ToolEepromReadCode) {
        const int value = inside ? toolEeprom[size_t(address)] : AbsentLocation;
        return {{ids::ToolEepromReply, {EepromReplyCode, hi, lo, value, 0, 0, 0, 0}}};
    }
    if (m.data[0] == ButtonTestCode)
        return buttonTestRequest(m);
    if (m.data[0] == ToolEepromWriteCode) {
        if (inside && !writeNotApplied)
            toolEeprom[size_t(address)] = uint8_t(m.data[3] & 0xFF);
        return {{ids::ToolEepromReply, {EepromReplyCode, hi, lo, m.data[3], 0, 0, 0, 0}}};
    }
    return {};
}

std::vector<CanMessage> ControllerModel::statusRequest(const CanMessage& m) {
    if (!isZeroData(m))
        return {};
    CanMessage reply = statusBroadcast();
    reply.id = ids::StatusRequest;
    return {reply};
}

void ControllerModel::applyWrongEcho(std::vector<CanMessage>& replies) {
    if (!wrongEcho || replies.empty())
        return;
    wrongEcho = false;
    replies.front().data[3] = (replies.front().data[3] + 1) & 0xFF;
}

} // namespace sim
