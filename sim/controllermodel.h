#pragma once
// The controller as the program sees it through the dongle: its memories with plausible defaults, and
// the answer to each request it receives (one reply per request, as the controller answers).

#include "link/canid.h"

#include <array>
#include <cstdint>
#include <set>
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
    int units = 1;         // 1 lb-in .. 5 Nm
    int target = 1200;     // raw, x10
    int statusB6 = 0;
    int statusB7 = 0;

    // --- fault knobs ---
    // Requests with these identifiers get no reply.
    std::set<CanId> noReply;
    // The next reply carries another value (data byte 3 + 1) once.
    bool wrongEcho = false;

    // Every message received, in order.
    std::vector<CanMessage> received;
    // Requests received with the given identifier and data byte 0 (0 = any code).
    int countReceived(CanId id, int code = -1) const;

private:
    std::vector<CanMessage> toolEepromRequest(const CanMessage& m);
    std::vector<CanMessage> statusRequest(const CanMessage& m);
    void applyWrongEcho(std::vector<CanMessage>& replies);
};

// A FilterFrame (all data 0) on any identifier.
bool isZeroData(const CanMessage& m);

} // namespace sim
