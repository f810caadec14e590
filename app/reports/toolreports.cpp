#include "app/reports/toolreports.h"

#include "link/databuffer.h"
#include "link/replywords.h"

#include <array>

namespace app {

namespace {

const QString Blank3 = QStringLiteral("   ");

enum class Kind {
    Text,       // the label alone
    Byte,       // L(a)
    HighFirst,  // L(a) x 256 + L(a + 1): the lower location is the high byte
    HighSecond, // L(a + 1) x 256 + L(a): the higher location is the high byte
};

struct Row {
    const char16_t* label;
    Kind kind;
    int location;
};

constexpr Row text(const char16_t* label) {
    return {label, Kind::Text, 0};
}

// Button calibration values, controller and model data, cycle counters.
constexpr std::array<Row, 19> ButtonAndControllerRows{{
    {u"Cw Button Cal Val (Hi) : ", Kind::HighFirst, 7},
    {u"Cw Button Cal Val (Lo) : ", Kind::HighFirst, 9},
    {u"Trig Button Cal Val (Hi): ", Kind::HighFirst, 11},
    {u"Trig Button Cal Val (Lo): ", Kind::HighFirst, 13},
    {u"Ccw Button Cal Val (Hi) : ", Kind::HighFirst, 15},
    {u"Ccw Button Cal Val (Lo) : ", Kind::HighFirst, 17},
    {u"Center Button Cal Val (Hi) : ", Kind::HighFirst, 19},
    {u"Center Button Cal Val (Lo) : ", Kind::HighFirst, 21},
    text(u"   "),
    text(u"-------- TOOL CONTROLLER PARAMETERS --------"),
    {u"FLASH_RATE: ", Kind::Byte, 24},
    {u"CAN UPDATE RATE (HI): ", Kind::Byte, 25},
    {u"CAN UPDATE RATE (LO): ", Kind::Byte, 26},
    {u"MODEL NUMBER - NUMERIC LO  : ", Kind::Byte, 29},
    {u"MODEL NUMBER - NUMERIC HI  : ", Kind::Byte, 30},
    {u"MODEL Number - ALPCurrentAddress(ASCII): ", Kind::Byte, ToolModelLocation},
    {u"Cycle Count Reg1 : ", Kind::HighFirst, 256},
    {u"Cycle Count Reg2 : ", Kind::HighFirst, 258},
    {u"Cycle Count Reg3 : ", Kind::HighFirst, 260},
}};

// Runtime limits and transducer values up to the calibration date line.
constexpr std::array<Row, 12> RuntimeRows{{
    text(u"   "),
    text(u"--------- TOOL RUNTIME PARAMETERS ----------"),
    {u"MAX RPM    : ", Kind::HighSecond, 32},
    {u"VOLTAGE    : ", Kind::Byte, 34},
    {u"MAX TQ     : ", Kind::HighSecond, 35},
    text(u" "),
    {u"PPR_OUTPUT : ", Kind::HighSecond, 37},
    {u"GR_STAGE3  : ", Kind::HighSecond, 39},
    {u"GR_STAGE3_INVERSION : ", Kind::HighSecond, 41},
    {u"TQ TRANSDUCER FULL SCALE  : ", Kind::HighSecond, 43},
    {u"TQ TRANSDUCER CAL         : ", Kind::HighSecond, CalValueLow},
    {u"TQ TRANSDUCER FACTORY CAL :", Kind::HighSecond, FactoryCalLow},
}};

constexpr int CalDateLocation = 49;

// The three control-loop gain sets, each followed by a blank line except the last.
constexpr std::array<Row, 23> GainRows{{
    text(u" "),
    {u"PWM_LIMIT  : ", Kind::HighSecond, 64},
    {u"KP1        : ", Kind::HighSecond, 66},
    {u"KP SHIFT1  : ", Kind::HighSecond, 68},
    {u"KI1        : ", Kind::HighSecond, 70},
    {u"KI SHIFT1  : ", Kind::HighSecond, 72},
    {u"KD1 : ", Kind::HighSecond, 74},
    {u"KD SHIFT1 : ", Kind::HighSecond, 76},
    text(u" "),
    {u"PWM_LIMIT2  : ", Kind::HighSecond, 96},
    {u"KP2 : ", Kind::HighSecond, 98},
    {u"KP SHIFT2 : ", Kind::HighSecond, 100},
    {u"KI2 : ", Kind::HighSecond, 102},
    {u"KI SHIFT2 : ", Kind::HighSecond, 104},
    {u"KD2 : ", Kind::HighSecond, 106},
    {u"KD SHIFT2 : ", Kind::HighSecond, 108},
    text(u" "),
    {u"PWM_LIMIT3  : ", Kind::HighSecond, 128},
    {u"KP3 : ", Kind::HighSecond, 130},
    {u"KP SHIFT3 : ", Kind::HighSecond, 132},
    {u"KI3 : ", Kind::HighSecond, 134},
    {u"KI SHIFT3 : ", Kind::HighSecond, 136},
    {u"KD3 : ", Kind::HighSecond, 138},
}};
constexpr Row LastGainRow{u"KD SHIFT3 : ", Kind::HighSecond, 140};

// One voltage-class block, locations relative to its base.
constexpr std::array<Row, 17> VoltageBlockRows{{
    {u"PWM_LIMIT : ", Kind::HighSecond, 0},
    {u"KP DWELL : ", Kind::Byte, 2},
    {u"KP DWELL SHIFT : ", Kind::Byte, 3},
    {u"KI DWELL : ", Kind::Byte, 4},
    {u"KI DWELL SHIFT : ", Kind::Byte, 5},
    {u"KP RAMP : ", Kind::Byte, 6},
    {u"KP RAMP SHIFT : ", Kind::Byte, 7},
    {u"KI RAMP: ", Kind::Byte, 8},
    {u"KI RAMP SHIFT : ", Kind::Byte, 9},
    {u"KP THRESH : ", Kind::Byte, 10},
    {u"KP THRESH SHIFT : ", Kind::Byte, 11},
    {u"KI THRESH  : ", Kind::Byte, 12},
    {u"KI THRESH SHIFT : ", Kind::Byte, 13},
    {u"KP PLUG : ", Kind::Byte, 14},
    {u"KP PLUG SHIFT : ", Kind::Byte, 15},
    {u"KI PLUG : ", Kind::Byte, 16},
    {u"KI PLUG SHIFT : ", Kind::Byte, 17},
}};

struct VoltageBlock {
    const char16_t* spacer;
    const char16_t* title;
    int base;
};
constexpr std::array<VoltageBlock, 3> VoltageBlocks{{
    {u"   ", u"-------------- 160V PARAMETERS -------------", 576},
    {u"   ", u"------------- 320V PARAMETERS --------------", 608},
    {u" ", u"------------- FUTURE PARAMETERS ------------", 640},
}};

class ReportWriter {
public:
    ReportWriter(const clink::DataBufferArray& L, QStringList& lines) : L_(L), lines_(lines) {}

    int byte(int location) const { return L_[location] & 0xFF; }

    void add(const Row& row, int offset = 0) {
        const QString label = QString::fromUtf16(row.label);
        const int a = row.location + offset;
        switch (row.kind) {
        case Kind::Text:
            lines_.append(label);
            return;
        case Kind::Byte:
            lines_.append(label + QString::number(byte(a)));
            return;
        case Kind::HighFirst:
            lines_.append(label + QString::number(clink::unsignedWord(byte(a), byte(a + 1))));
            return;
        case Kind::HighSecond:
            lines_.append(label + QString::number(clink::unsignedWord(byte(a + 1), byte(a))));
            return;
        }
    }
    template <size_t N> void add(const std::array<Row, N>& rows, int offset = 0) {
        for (const Row& row : rows)
            add(row, offset);
    }

private:
    const clink::DataBufferArray& L_;
    QStringList& lines_;
};

} // namespace

int toolIdFromEeprom(const clink::DataBufferArray& L) {
    const int low = L[ToolIdLowLocation];
    const int high = L[ToolIdHighLocation];
    return (L[ToolModelLocation] & 0xFF) == PistolModel ? clink::unsignedWord(low, high)
                                                        : clink::unsignedWord(high, low);
}

QStringList makeToolParameterReport(const QString& time, const QString& date, const clink::DataBufferArray& L,
                                    ReportForm form) {
    QStringList lines;
    ReportWriter w(L, lines);
    lines << QStringLiteral("COMPANY  : Brenstal") << QStringLiteral("FILE DATA: Tool Parameters")
          << QStringLiteral("TIME   : ") + time;
    if (form == ReportForm::Menu)
        lines << QStringLiteral("DATE   : ") + date;
    lines << QStringLiteral("TOOL ID: ") + QString::number(toolIdFromEeprom(L)) << Blank3
          << QStringLiteral("---------- TOOL BUTTON PARAMETERS ----------");
    w.add(ButtonAndControllerRows);
    w.add(RuntimeRows);
    lines << QStringLiteral("LAST CAL DATE: ") + QString::number(w.byte(CalDateLocation)) + u'/' +
                 QString::number(w.byte(CalDateLocation + 1)) + u'/' +
                 QString::number(w.byte(CalDateLocation + 2));
    w.add(GainRows);
    w.add(LastGainRow);
    for (const VoltageBlock& block : VoltageBlocks) {
        lines << QString::fromUtf16(block.spacer) << QString::fromUtf16(block.title);
        w.add(VoltageBlockRows, block.base);
    }
    return lines;
}

QStringList makeToolEepromListing(const clink::DataBufferArray& L, int count) {
    QStringList lines;
    lines.reserve(count);
    for (int a = 0; a < count; ++a)
        lines.append(QStringLiteral("Address ") + QString::number(a) + QStringLiteral(": ") +
                     QString::number(L[a]));
    return lines;
}

} // namespace app
