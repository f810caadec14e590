// The tool parameter report, the tool EEPROM listing and the DSP parameter report, line for line against
// golden files rendered from fixed memory images.
#include "app/reports/dspreport.h"
#include "app/reports/toolreports.h"
#include "link/linkstate.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

namespace {

const QString Time = QStringLiteral("14:05:07");
const QString Date = QStringLiteral("09/03/2026");

QStringList golden(const QString& name) {
    QStringList lines = testsupport::fileLines(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + name);
    EXPECT_FALSE(lines.isEmpty()) << name.toStdString();
    for (QString& line : lines) {
        line.replace(QStringLiteral("{time}"), Time);
        line.replace(QStringLiteral("{date}"), Date);
    }
    return lines;
}

clink::DataBufferArray image(int count, int factor, int offset) {
    clink::DataBufferArray b;
    for (int a = 0; a < count; ++a)
        b.put(a, (a * factor + offset) & 0xFF);
    return b;
}

void expectSameLines(const QStringList& actual, const QStringList& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

// The fixed tool image of the golden file: location a holds (7a + 3) mod 256, a pistol ("P" at 31).
clink::DataBufferArray toolImage() {
    clink::DataBufferArray L = image(app::ToolListingLocations, 7, 3);
    L.put(app::ToolModelLocation, app::PistolModel);
    return L;
}

// The fixed DSP image: byte k holds (29k + 5) mod 256, with the light ring word 0x0039, Tq Filter Freq
// 1200, the start delay word 256 and the multiple-function word 0.
clink::DataBufferArray dspImage() {
    clink::DataBufferArray D = image(app::DspReportBytes, 29, 5);
    for (auto [k, v] :
         {std::pair{88, 0x39}, {89, 0}, {0, 0xB0}, {1, 0x04}, {102, 0}, {103, 1}, {108, 0}, {109, 0}})
        D.put(k, v);
    return D;
}

} // namespace

TEST(ToolParameterReport, MatchesTheGoldenFile) {
    const QStringList report = app::makeToolParameterReport(Time, Date, toolImage());
    EXPECT_EQ(report.size(), app::ToolReportLines);
    expectSameLines(report, golden(QStringLiteral("tool_parameter_report.txt")));
}

TEST(ToolParameterReport, ReadsTheIdInTheOrderOfTheModel) {
    clink::DataBufferArray L;
    L.put(2, 1);
    L.put(3, 2);
    L.put(app::ToolModelLocation, app::PistolModel);
    EXPECT_EQ(app::makeToolParameterReport(Time, Date, L)[4], QStringLiteral("TOOL ID: 258"));
    L.put(app::ToolModelLocation, 0);
    EXPECT_EQ(app::makeToolParameterReport(Time, Date, L)[4], QStringLiteral("TOOL ID: 513"));
}

TEST(ToolParameterReport, PrintsPlainNumbers) {
    clink::DataBufferArray L;
    for (auto [a, v] : {std::pair{49, 12}, {50, 5}, {51, 9}, {33, 5}, {32, 220}, {7, 1}, {8, 0}})
        L.put(a, v);
    const QStringList report = app::makeToolParameterReport(Time, Date, L);
    EXPECT_TRUE(report.contains(QStringLiteral("LAST CAL DATE: 12/5/9")));
    EXPECT_TRUE(report.contains(QStringLiteral("MAX RPM    : 1500")));
    EXPECT_EQ(report[7], QStringLiteral("Cw Button Cal Val (Hi) : 256"));
    EXPECT_EQ(report.last(), QStringLiteral("KI PLUG SHIFT : 0"));
}

TEST(ToolEepromListing, ListsEveryLocationUpTo1024) {
    clink::DataBufferArray L;
    L.put(17, 255);
    L.put(1024, 0xFF);
    const QStringList listing = app::makeToolEepromListing(L);
    ASSERT_EQ(listing.size(), 1025);
    EXPECT_EQ(listing[0], QStringLiteral("Address 0: 0"));
    EXPECT_EQ(listing[17], QStringLiteral("Address 17: 255"));
    EXPECT_EQ(listing[1024], QStringLiteral("Address 1024: 255"));
}

TEST(DspParameterReport, MatchesTheGoldenFile) {
    const QStringList report = app::makeDspParameterReport(Time, Date, dspImage());
    EXPECT_EQ(report.size(), app::DspReportLines);
    expectSameLines(report, golden(QStringLiteral("dsp_parameter_report.txt")));
    EXPECT_EQ(report[6], QStringLiteral("Tq Filter Freq: 1200"));
    EXPECT_EQ(report.mid(50, 3),
              (QStringList{QStringLiteral("Light Ring Cw: Fwd"), QStringLiteral("Light Ring Center: Rev"),
                           QStringLiteral("Light Ring Ccw: Aux")}));
}

TEST(DspParameterReport, AllZeroBytes) {
    const QStringList report = app::makeDspParameterReport(Time, Date, clink::DataBufferArray{});
    ASSERT_EQ(report.size(), app::DspReportLines);
    for (int line : {7, 33, 50, 54, 59, 61, 62, 64, 66})
        EXPECT_TRUE(report[line - 1].endsWith(u": 0") || report[line - 1].endsWith(u") 0")) << line;
    EXPECT_EQ(report[50], QStringLiteral("Light Ring Cw: None"));
    EXPECT_EQ(report[52], QStringLiteral("Light Ring Ccw: None"));
    EXPECT_EQ(report[59], QStringLiteral("Start Delay: Off"));
    EXPECT_EQ(report[62], QStringLiteral("Multiple Function : Disabled"));
}

TEST(DspParameterReport, UnprintedBytesChangeNothing) {
    clink::DataBufferArray D = dspImage();
    const QStringList before = app::makeDspParameterReport(Time, Date, D);
    for (int k : {110, 111, 118, 127})
        D.put(k, 0x5A);
    EXPECT_EQ(app::makeDspParameterReport(Time, Date, D), before);
    D.put(108, 1);
    EXPECT_EQ(app::makeDspParameterReport(Time, Date, D)[62], QStringLiteral("Multiple Function : Enabled"));
}
