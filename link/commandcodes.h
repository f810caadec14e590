#pragma once
// Data byte 0 codes of the command identifier (15EF0103) and its answers (09EF0801), and of the curve
// upload, shared by the transactions and the controller stand-in.

namespace clink::codes {

// Answers: the system status, the acknowledgement of a command or packet.
inline constexpr int Status = 0x10;
inline constexpr int Acknowledge = 0xA0;

// Software version request (answered [A0 A0 major minor]).
inline constexpr int Version = 0xA0;

// Control commands.
inline constexpr int ResetLogicDefaults = 0x63;
inline constexpr int RestartLogic = 0x64;
inline constexpr int ErasePsets = 0x76;
inline constexpr int ClearRundowns = 0x81;

// Pset packets 1..4 sent by the PC (0x71..0x74); the controller's packets carry 1..4.
inline constexpr int PsetPacket1 = 0x71;
inline constexpr int PsetPackets = 4;
inline constexpr int PsetRead = 0x75;
// The select-Pset command: this plus the Pset number makes that Pset the controller's current one.
inline constexpr int SelectPset = 0x20;

// Logic and ladder blocks: a block sent by the PC, and the request for / answer with a block.
inline constexpr int LogicBlock = 0x61;
inline constexpr int LogicBlockRequest = 0x62;

// A rundown's result block, asked [10 block 0 ...] and answered [10 block six bytes].
inline constexpr int RundownResult = 0x10;

// The answer to a byte or word read or written in an EEPROM (the tool's, the transducer's, the NSM unit's
// settings, the DSP's): [30, the address, the value].
inline constexpr int EepromAnswer = 0x30;

// Curve upload request and its answer.
inline constexpr int CurveRequest = 0x0F;
inline constexpr int CurveReply = 0x20;

// A block of five bytes of a Pset's rundown log, and its answer [EA pset block x0..x4].
inline constexpr int RundownLogBlock = 0x80;
inline constexpr int RundownLogAnswer = 0xEA;

// The NSM unit's own requests on 13EF0D01, each answered with its code: software version [AA major
// minor], clock [DD hour minute date1 date2 date3], and the rundown clear (answered on 10EF010D).
inline constexpr int NsmVersion = 0xAA;
inline constexpr int NsmClock = 0xDD;
inline constexpr int NsmClearRundowns = 0xBB;
// The clock set [DE month day year minute hour 0 0], answered with the time now held in the clock's layout.
inline constexpr int NsmClockSet = 0xDE;

// The serial-output mode: read [C1 0 ...], set [C0 mode 0 ...]; answered on 15EF0301 [C2 mode ...].
inline constexpr int SerialOutSet = 0xC0;
inline constexpr int SerialOutRead = 0xC1;
inline constexpr int SerialOutMode = 0xC2;

// The DSP's revision on 13EF0106 [50 ...], asked for by a zero-data frame there. Over Ethernet the DSP first
// acknowledges [50 0 ...], then sends the revision, whatever framing the controller answers its own requests
// in.
inline constexpr int DspRevision = 0x50;

// The tool's data on 13EF0106 [D1 0 six bytes], asked for by the tool data read.
inline constexpr int ToolData = 0xD1;

// The tool's cycle messages on 13EF0106: the end of a cycle [40 01 0 ...], which the tool counts, and the
// message after a count was found right [50 00 08 0 ...].
inline constexpr int ToolEndOfCycle = 0x40;
inline constexpr int ToolCycleCounted = 0x50;

// The socket tray's status on 13EF0110 [10 socket-out 0 0 0 0 0 lamps].
inline constexpr int TrayStatus = 0x10;

// The external transducer's answer to its presence probe on 11EF0604.
inline constexpr int TransducerPresent = 0x01;

} // namespace clink::codes
