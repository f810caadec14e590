// The controller's answers for the tool and DSP service commands: the DSP reset to its defaults image,
// the DSP revision frame, and the EEPROM fault knobs.
#include "sim/controllermodel.h"

namespace sim {

namespace ids = clink::ids;

namespace {
constexpr int DspResetCode = 0x0B;
constexpr int RevisionCode = 0x50;
constexpr int RevisionMinorByte = 6;
constexpr int RevisionMajorByte = 7;
constexpr int EepromReadCode = 0x90;
} // namespace

void ControllerModel::seedDspDefaults() {
    dspDefaults = dspBytes;
}

CanMessage ControllerModel::dspRevisionFrame() const {
    CanMessage frame{ids::ToolReply, {RevisionCode, 0, 0, 0, 0, 0, 0, 0}};
    frame.data[RevisionMinorByte] = dspRevisionMinor & 0xFF;
    frame.data[RevisionMajorByte] = dspRevisionMajor & 0xFF;
    return frame;
}

std::vector<CanMessage> ControllerModel::unpromptedFrames() const {
    std::vector<CanMessage> frames{statusBroadcast()};
    if (dspRevisionUnprompted)
        frames.push_back(dspRevisionFrame());
    if (socketTray.attached)
        frames.push_back(trayFrame());
    return frames;
}

std::vector<CanMessage> ControllerModel::dspCommand(const CanMessage& m) {
    if (m.id == ids::DspWriteRequest && m.data[0] == DspResetCode) {
        dspBytes = dspDefaults;
        ++dspResets;
        return {}; // the reset is not confirmed
    }
    return dspRequest(m);
}

std::vector<CanMessage> ControllerModel::dspRevisionRequest(const CanMessage& m, Transport transport) const {
    // A frame with zero data on the DSP's own identifier asks for the revision. Over Ethernet the DSP
    // first acknowledges (no revision in it), then sends the revision; the USB dongle passes the revision.
    if (!isZeroData(m))
        return {};
    switch (transport) {
    case Transport::Ethernet:
        return {{ids::ToolReply, {RevisionCode, 0, 0, 0, 0, 0, 0, 0}}, dspRevisionFrame()};
    case Transport::Usb:
        return {dspRevisionFrame()};
    case Transport::ParallelPort:
        break; // heard there only as the frame the DSP sends on its own
    }
    return {};
}

bool ControllerModel::silentEepromRequest(const CanMessage& m, Transport transport) const {
    if (silentAddresses.empty())
        return false;
    const auto& d = m.data;
    int address = -1;
    if (m.id == ids::ToolEepromRequest) {
        address = d[1] * 256 + d[2];
    } else if (m.id == ids::TransducerRequest) {
        // Over Ethernet a read carries a zero byte between its code and its address.
        const bool shifted = transport == Transport::Ethernet && d[0] == EepromReadCode;
        address = shifted ? d[2] * 256 + d[3] : d[1] * 256 + d[2];
    } else if ((m.id == ids::DspReadRequest || m.id == ids::DspWriteRequest) && d[0] != DspResetCode) {
        // DSP locations are carried low byte first, after a zero byte.
        address = d[3] * 256 + d[2];
    }
    return silentAddresses.count(address) != 0;
}

} // namespace sim
