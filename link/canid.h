#pragma once
// CAN identifiers of the controller's message catalogue (29-bit extended identifiers, written as eight
// hexadecimal digits) and the conversions between their text, value and byte forms.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace clink {

using CanId = uint32_t;

// One CAN message: identifier and its 8 data bytes (byte 0 is the command or reply code).
struct CanMessage {
    CanId id = 0;
    std::array<int, 8> data{};
    bool operator==(const CanMessage&) const = default;
};

namespace ids {
// Tool EEPROM: request 0x90 read / 0x60 write; reply 0x30.
inline constexpr CanId ToolEepromRequest = 0x10EF0201;
inline constexpr CanId ToolEepromReply = 0x12EF0602;
// Reply copied whole into DataBuffer(0..7) (button monitor).
inline constexpr CanId ButtonReply = 0x10EF0602;
// System status broadcast (0x10).
inline constexpr CanId StatusBroadcast = 0x10EF0301;
// System status request and reply (0x10 status, 0xC2 serial-output mode).
inline constexpr CanId StatusRequest = 0x15EF0301;
// Pset, logic, rundown, system and control commands; reply 0x10 and 0xC2 as for the status.
inline constexpr CanId CommandRequest = 0x15EF0103;
// Pset packets, rundown result, logic blocks, acknowledgements, rundown-log blocks.
inline constexpr CanId CommandReply = 0x09EF0801;
// Transducer EEPROM: request 0x90/0x60, reply 0x30; second reply identifier 0x01, 0x30, 0xDD.
inline constexpr CanId TransducerRequest = 0x10EF0401;
inline constexpr CanId TransducerReply = 0x12EF0604;
inline constexpr CanId TransducerReply2 = 0x11EF0604;
// DSP parameters: read request, write request (0x60, 0x0B), reply 0x30.
inline constexpr CanId DspReadRequest = 0x16EF0601;
inline constexpr CanId DspWriteRequest = 0x09EF0601;
inline constexpr CanId DspReply = 0x12EF0106;
// NSM unit: request and reply (0xDD), replies.
inline constexpr CanId NsmRequest = 0x13EF0D01;
inline constexpr CanId NsmReply = 0x13EF010D;
inline constexpr CanId NsmReply2 = 0x10EF010D;
// Tool RPM and diagnostics request; DSP/tool reply with many codes.
inline constexpr CanId ToolRequest = 0x13EF0601;
inline constexpr CanId ToolReply = 0x13EF0106;
// Filter-only identifiers.
inline constexpr CanId RevisionDone = 0x15EF0310;
inline constexpr CanId ConnectFilter = 0x10EF0101;
inline constexpr CanId DspReadDone = 0x10EF0103;
// Curve upload: request, reply; second curve request (also the data-logger reply) and its reply.
inline constexpr CanId CurveRequest = 0x13EF0605;
inline constexpr CanId CurveReply = 0x13EF0506;
inline constexpr CanId CurveRequest2 = 0x13EF0503;
inline constexpr CanId CurveReply2 = 0x12EF0305;
// Data-logger read (parallel port only).
inline constexpr CanId LoggerRequest = 0x13EF0305;
// Calibration command.
inline constexpr CanId CalibrationRequest = 0x08EF0601;
// Run data (0x01, 0x10 in three frames).
inline constexpr CanId RunData = 0x10EF1102;
inline constexpr CanId Reply11EF0110 = 0x11EF0110;
inline constexpr CanId Reply13EF0110 = 0x13EF0110;
inline constexpr CanId BlockReply = 0x16EF0102;
// USB link test frame and its reply.
inline constexpr CanId UsbTestRequest = 0x10000000;
inline constexpr CanId UsbTestReply = 0x1000DE20;
} // namespace ids

// "10ef0201" -> 0x10EF0201 (case does not matter); nothing for a text that is not 1..8 hex digits.
std::optional<CanId> parseCanId(const QString& text);
// 0x10EF0201 -> "10EF0201".
QString canIdText(CanId id);
// The identifier's four bytes, most significant first.
std::array<int, 4> canIdBytes(CanId id);
// The register image (identifier shifted left by 3 bits), most significant byte first, as the dongle
// reports received identifiers.
std::array<int, 4> canIdImage(CanId id);
// Identifier from a register image, built byte by byte as the dongle's reports are decoded.
CanId canIdFromImage(int b0, int b1, int b2, int b3);

// True when every data value fits the byte a frame carries (0..255).
inline bool allBytes(const std::array<int, 8>& data) {
    for (int v : data)
        if (v < 0 || v > 0xFF)
            return false;
    return true;
}

// Address of a one-byte location split into its high and low bytes.
inline int addressHigh(int address) {
    return (address >> 8) & 0xFF;
}
inline int addressLow(int address) {
    return address & 0xFF;
}

} // namespace clink
