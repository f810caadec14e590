#include "monitor/faultcodes.h"

#include <array>

namespace monitor {

namespace {
// A flag's text; Blank: a line holding one blank; Unused: the flag is not examined.
constexpr const char* Blank = "";
constexpr const char* Unused = nullptr;
constexpr int FlagsPerByte = 8;

struct FaultGroup {
    int code;
    const char* heading;
    std::array<const char*, FlagsPerByte> byte2;
    std::array<const char*, FlagsPerByte> byte3;
};

// clang-format off
const std::array<FaultGroup, 4> Groups = {{
    {faults::AutoReset, "---- Auto Reset Faults Received ----",
     {"TID TIMEOUT", Blank, Blank, "XDUCER TIMEOUT", Blank, "TOOL GND", "POWER ON THROTTLE", "BUTTON TIMEOUT"},
     {"BUTTON STATE", "UNDEFINED VOLTAGE", "INCOMPATIBLE VOLTAGE", "TOOL UPDATE REQUIRED", "ILLEGAL TOOL",
      Unused, Unused, Unused}},
    {faults::CycleReset, "---- Cycle Reset Faults Received ----",
     {"FREE RUN TIMEOUT", "LOAD RUN TIMEOUT", "HALL ERROR", "TOOL OFFSET", "XDUCER OFFSET", Blank, "TOOL LEVEL",
      "XDUCER LEVEL"},
     {Blank, "LOCKED ROTOR", "DRIVE FAULT", Blank, Unused, Unused, Unused, Unused}},
    {faults::ExternalReset, "---- External Reset Faults Received ----",
     {"PSET VALUE", Blank, "MCU PARAMETER TIMEOUT", "TID PARAMETER VALUE", "MCU STRATEGY VALUE",
      "TID PARAMETER TIMEOUT", Blank, "XDUCER PARAMETER VALUE"},
     {Blank, "XDUCER PARAMETER TIMEOUT", Blank, Blank, "TARGET VALUE FAULT", "TID EE WRITE", Unused, Unused}},
    {faults::Warnings, "---- Warnings Received Received ----",
     {"COLLECT OVERRUN", Blank, "NO DIRECTION HALL", "XDUCER OFF TOOL", "XDUCER LEVEL", "XDUCER PARAMETER VALUE",
      Blank, "XDUCER PARAMETER TIMEOUT"},
     {Blank, Blank, Blank, "XDUCER OFFSET", "TUBENUT PINCH TORQUE", "TUBENUT PINCH TIME", "TUBENUT PINCH RPM = 0",
      "EE PARAM. VALUE"}},
}};
// clang-format on

const FaultGroup* findGroup(int code) {
    for (const FaultGroup& g : Groups) {
        if (g.code == code)
            return &g;
    }
    return nullptr;
}

void addFlags(QStringList& lines, const std::array<const char*, FlagsPerByte>& texts, int flags) {
    for (int bit = 0; bit < FlagsPerByte; ++bit) {
        const char* text = texts[size_t(bit)];
        if (text == Unused || ((flags >> bit) & 1) == 0)
            continue;
        lines.append(*text == '\0' ? BlankFaultLine : QString::fromLatin1(text));
    }
}
} // namespace

bool isFaultGroup(int code) {
    return findGroup(code) != nullptr;
}

QStringList faultGroupLines(int group, int byte2, int byte3) {
    const FaultGroup* g = findGroup(group);
    if (!g)
        return {};
    QStringList lines{QString::fromLatin1(g->heading)};
    addFlags(lines, g->byte2, byte2);
    addFlags(lines, g->byte3, byte3);
    return lines;
}

} // namespace monitor
