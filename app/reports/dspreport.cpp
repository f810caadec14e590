#include "app/reports/dspreport.h"

#include "link/databuffer.h"
#include "link/replywords.h"

#include <array>

namespace app {

namespace {

// Words at bytes 0, 2, ..., 86, one line each.
constexpr std::array<const char16_t*, 44> WordLabels{
    u"Tq Filter Freq: ",
    u"Current Filter Freq: ",
    u"Hall Error Count: ",
    u"Free Timeout Sec: ",
    u"Load Timeout Sec: ",
    u"Cycle Complete (ms): ",
    u"Boot Delay (ms): ",
    u"Wd Send (ms): ",
    u"Wd Rcv (ms): ",
    u"Max EOC Cnt: ",
    u"Max Can Cnt: ",
    u"Max Xducer Cnt: ",
    u"Max Send Cnt: ",
    u"Max TID Cnt: ",
    u"Hall Filter Tau (us): ",
    u"Data Points: ",
    u"Data Skip Increment: ",
    u"Soft Start Dwell (ms): ",
    u"Soft Start Dwell RPM: ",
    u"Soft Start Ramp (ms): ",
    u"No Soft Start Dwell (ms): ",
    u"No Soft Start Dwell RPM: ",
    u"No Soft Start Ramp (ms): ",
    u"Ergo Drop %: ",
    u"Ergo Ramp (ms): ",
    u"Wd Buttons (ms): ",
    u"Tq In Mud cnt: ",
    u"Hi Voltage Drop Tq: ",
    u"Open Loop Rpm %: ",
    u"Rehit Reject Default: ",
    u"Rehit Reject Angle: ",
    u"Stop Mode Default: ",
    u"Msg Send (ms): ",
    u"Fault Send (ms) ",
    u"Fault Send Cnt: ",
    u"No CAN Rcv Re-Init (ms): ",
    u"RBR Dwell Down (ms): ",
    u"RBR Dwell Up (ms): ",
    u"RBR Backoff Deg : ",
    u"RBR Control : ",
    u"Tube Nut Rev Dwell (ms): ",
    u"Tube Nut Backoff Rpm: ",
    u"Tube Nut Home Dwell: ",
    u"ReRun Rev Torque %: ",
};

// The light ring word: three two-bit fields, each naming what lights the ring.
constexpr int LightRingByte = 88;
constexpr int LightRingFieldBits = 2;
constexpr int LightRingFieldMask = 3;
constexpr std::array<const char16_t*, 3> LightRingLabels{u"Light Ring Cw: ", u"Light Ring Center: ",
                                                         u"Light Ring Ccw: "};
constexpr std::array<const char16_t*, 4> LightRingValues{u"None", u"Fwd", u"Rev", u"Aux"};

struct WordRow {
    const char16_t* label;
    int byte;
};
constexpr std::array<WordRow, 6> AdaptiveRows{{
    {u"Adaptive Adjustment % : ", 90},
    {u"Adaptive Control : ", 92},
    {u"Master Transducer : ", 94},
    {u"Locked Rotor (ms) : ", 96},
    {u"Drive Fault Delay : ", 98},
    {u"RBR First Rundown (inlb): ", 100},
}};
constexpr int StartDelayFlagByte = 102;
constexpr WordRow StartDelayRow{u"Start Delay (ms): ", 104};
// A word the menu's report shows and the DSP file leaves out.
constexpr WordRow E106Row{u"E106 : ", 106};
constexpr int MultipleFunctionByte = 108;
constexpr std::array<WordRow, 3> MultipleRows{{
    {u"Multiple Tq Check Rpm: ", 112},
    {u"Multiple Check Tq% (%Max): ", 114},
    {u"Multiple Tq Check Timeout (ms): ", 116},
}};

void addWord(QStringList& lines, const clink::DataBufferArray& D, const WordRow& row) {
    lines.append(QString::fromUtf16(row.label) + QString::number(dspWord(D, row.byte)));
}

template <size_t N>
void addWords(QStringList& lines, const clink::DataBufferArray& D, const std::array<WordRow, N>& rows) {
    for (const WordRow& row : rows)
        addWord(lines, D, row);
}

} // namespace

int dspWord(const clink::DataBufferArray& D, int k) {
    return clink::unsignedWord(D[k + 1], D[k]);
}

QStringList makeDspParameterReport(const QString& time, const QString& date, const clink::DataBufferArray& D,
                                   ReportForm form) {
    QStringList lines{QStringLiteral("Company  : Brenstal"),
                      QStringLiteral("File Data: Dsp Parameter File"),
                      QStringLiteral("Time     : ") + time,
                      QStringLiteral("Date     : ") + date,
                      QStringLiteral("   "),
                      QStringLiteral("-------------- PARAMETERS --------------")};
    for (size_t i = 0; i < WordLabels.size(); ++i)
        lines.append(QString::fromUtf16(WordLabels[i]) + QString::number(dspWord(D, int(2 * i))));

    const int ring = dspWord(D, LightRingByte);
    for (size_t f = 0; f < LightRingLabels.size(); ++f) {
        const int field = (ring >> (LightRingFieldBits * int(f))) & LightRingFieldMask;
        lines.append(QString::fromUtf16(LightRingLabels[f]) +
                     QString::fromUtf16(LightRingValues[size_t(field)]));
    }

    addWords(lines, D, AdaptiveRows);
    lines.append(dspWord(D, StartDelayFlagByte) == 0 ? QStringLiteral("Start Delay: Off")
                                                     : QStringLiteral("Start Delay: On"));
    addWord(lines, D, StartDelayRow);
    if (form == ReportForm::Menu)
        addWord(lines, D, E106Row);
    lines.append(dspWord(D, MultipleFunctionByte) > 0 ? QStringLiteral("Multiple Function : Enabled")
                                                      : QStringLiteral("Multiple Function : Disabled"));
    addWords(lines, D, MultipleRows);
    return lines;
}

} // namespace app
