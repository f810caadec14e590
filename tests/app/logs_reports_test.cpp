// Rundown-log, data-logger, NSM and transducer reports: exact lines against golden files built from fixed
// memory images, and the number rules at their edges.
#include "app/nsmtexts.h"
#include "app/reports/loggerreports.h"
#include "app/reports/rundownreport.h"
#include "app/reports/transducerreport.h"
#include "base/numbertext.h"
#include "base/torque.h"
#include "link/nsmexchange.h"
#include "tests/app/logimages.h"

#include <gtest/gtest.h>

using namespace app;
using clink::DataBufferArray;
using namespace logtest;

namespace {

RundownReportInput rundownInput() {
    RundownReportInput in;
    in.time = QStringLiteral("10:15:30 AM");
    in.date = QStringLiteral("3/14/2009");
    in.psetText = QStringLiteral("3");
    in.torqueTarget = 50;
    for (const char* t :
         {"Units: Nm", "Strategy: Torque Control", "Torque Target: 50", "Torque Hi Limit: 55",
          "Torque Lo Limit: 45", "Torque Threshold: 5", "Torque Downshift: 40", "Torque Cycle Complete: 2",
          "Angle Target: 0", "Angle Hi Limit: 360", "Angle Lo Limit: 0", "Rpm Freespeed: 1000",
          "Rpm Downshift: 100", "Soft Start: Yes", "Ergo: No"})
        in.psetLines << base::fixed40(QString::fromLatin1(t));
    return in;
}

} // namespace

TEST(RundownReport, MatchesGoldenFile) {
    expectGolden(makeRundownReport(rundownInput(), rundownLog()), QStringLiteral("rundown_report.txt"));
}

TEST(RundownReport, TorqueColumnParsesBackAndCellsAreTwelveWide) {
    const QStringList lines = makeRundownReport(rundownInput(), rundownLog());
    const int first = lines.indexOf(QString(76, u'-')) + 1;
    ASSERT_GT(first, 0);
    const QStringList expectedTorques{"50.00", "60.00", "0.05", "0.50", "12.80", "3276.75"};
    for (int i = 0; i < expectedTorques.size(); ++i) {
        const QString& line = lines[first + i];
        ASSERT_EQ(line.size(), 5 * RundownCellWidth);
        EXPECT_EQ(line[RundownTorqueColumn - 2], u' ');
        const QString torque = line.mid(RundownTorqueColumn - 1, RundownCellWidth);
        EXPECT_EQ(base::rtrim(torque), expectedTorques[i]);
        EXPECT_DOUBLE_EQ(base::textValue(torque), expectedTorques[i].toDouble());
    }
    EXPECT_EQ(lines[first + int(expectedTorques.size())], QString(76, u'-'));
}

TEST(RundownReport, ResultTexts) {
    EXPECT_EQ(rundownResultText(0), "ACCEPT");
    EXPECT_EQ(rundownResultText(1), "ACCEPT");
    EXPECT_EQ(rundownResultText(0x41), "ACCEPT");
    EXPECT_EQ(rundownResultText(10), "TH/AH");
    EXPECT_EQ(rundownResultText(18), "TH/AL");
    EXPECT_EQ(rundownResultText(0xFF), "CODE 31");
    EXPECT_LE(rundownResultText(31).size(), RundownCellWidth);
}

TEST(RundownReport, EmptyLogGivesFrameOnly) {
    const QStringList lines = makeRundownReport(rundownInput(), DataBufferArray{});
    ASSERT_EQ(lines.size(), 6 + 15 + 4);
    EXPECT_EQ(lines.back(), QString(76, u'-'));
    EXPECT_EQ(lines[lines.size() - 2], QString(76, u'-'));
}

TEST(LoggerReports, RouteReportMatchesGoldenFile) {
    const QStringList lines = makeLoggerRouteReport(routeBuffer(), RouteFile, RouteRundowns);
    expectGolden(lines, QStringLiteral("logger_route_report.txt"));
    for (int i = lines.size() - 4; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 5 * LoggerCellWidth);
}

TEST(LoggerReports, PsetDataOfFileAndItsSlots) {
    const LoggerPsetData p = loggerPsetData(routeBuffer(), RouteFile);
    EXPECT_EQ(p.torqueTarget, 500);
    EXPECT_EQ(p.torqueHigh, 550);
    EXPECT_EQ(p.torqueLow, 450);
    EXPECT_EQ(p.angleHigh, 90);
    EXPECT_EQ(p.angleLow, 10);
    EXPECT_EQ(p.units, 5);
    // Route reads of five entries each land at their own offset: file 20's data lies inside the block.
    EXPECT_EQ(loggerPsetBlockSlot(LoggerPsetBlockLast) + LoggerRouteEntries,
              LoggerPsetBlockIndex + (LoggerPsetBlockLast - LoggerPsetBlockFirst) + LoggerRouteEntries);
    EXPECT_LE(LoggerPsetBlockIndex + LoggerPsetEntries * LoggerFiles,
              loggerPsetBlockSlot(LoggerPsetBlockLast) + LoggerRouteEntries);
    EXPECT_EQ(loggerRecordsAddress(1), 158);
    EXPECT_EQ(loggerRecordsAddress(20), 19 * 700 + 158);
    EXPECT_EQ(loggerDirectoryAddress(20), 14858 + 190);
}

TEST(LoggerReports, OnlyFilesOneToTenHaveAPsetRecord) {
    const LoggerPsetData p = loggerPsetData(routeBuffer(), RouteFile);
    PsetTable table;
    for (int f : {0, 11, 20})
        EXPECT_FALSE(storeLoggerPsetData(p, f, table)) << f;
    EXPECT_EQ(table, PsetTable());
    ASSERT_TRUE(storeLoggerPsetData(p, 10, table));
    EXPECT_EQ(table[10].text(PsetField::TqLo), "450       ");
    EXPECT_EQ(table[10].text(PsetField::Strategy), "          ");
}

TEST(LoggerReports, TimeAndDateLines) {
    DataBufferArray D;
    putBytes(D, 0, {1, 0x81, 30, 12, 25});
    EXPECT_EQ(loggerTimeLine(D), "Time: 1:30 PM");
    EXPECT_EQ(loggerDateLine(D), "Date: 12/25");
    putBytes(D, 1, {9, 5});
    EXPECT_EQ(loggerTimeLine(D), "Time: 9:05 AM");
    putBytes(D, 1, {12, 0});
    EXPECT_EQ(loggerTimeLine(D), "Time: 12:00 AM");
    putBytes(D, 1, {13, 59});
    EXPECT_EQ(loggerTimeLine(D), "Time: 13:59 PM");
}

TEST(LoggerReports, TransducerReportMatchesGoldenFile) {
    const DataBufferArray D = readingsBuffer();
    const QStringList lines = makeLoggerTransducerReport(D, ReadingsFile, Readings, base::Nm);
    expectGolden(lines, QStringLiteral("logger_transducer_report.txt"));
    EXPECT_EQ(lines[5], "Reading #1 :11.3 Nm");
    EXPECT_EQ(makeLoggerTransducerReport(D, 2, 1, base::LbIn).last(), "Reading #1 :100.0 in-lb");
    EXPECT_EQ(makeLoggerTransducerReport(D, 2, 1, 0).last(), "Reading #1 :");
}

TEST(NsmTexts, TimeDateAndVersion) {
    EXPECT_EQ(nsmTimeDateText(0x8F, 0x07, 0x06, 0x0E, 0x09), "Time: 15:07 PM  Date: 6/14/09");
    EXPECT_EQ(nsmTimeDateText(12, 30, 1, 2, 10), "Time: 12:30 AM  Date: 1/2/10");
    EXPECT_EQ(nsmTimeDateText(13, 0, 12, 31, 0), "Time: 13:00 PM  Date: 12/31/00");
    EXPECT_EQ(clink::nsmVersionText(2, 5, false), "Nsm Version 2.5");
    EXPECT_EQ(clink::nsmVersionText(2, 15, true), "Nsm Version : 2.15");
}

TEST(NsmTexts, SevenSettingsLinesThenBlanked) {
    clink::DataBufferArray locations;
    putBytes(locations, 0, {0, 5, 3, 2, 4, 6, 0, 1, 0});
    clink::NsmSettingsRecord settings;
    clink::fillNsmSettings(settings, locations);
    const QStringList lines = takeNsmSettingsLines(settings);
    const QStringList expected{"Number Of Spindles: 4", "System Type: Latched", "Run Rev Tq Check: On",
                               "Button Latch Timer: 6", "Reverse Timer: 2",     "Collect Data: Yes",
                               "Buttons: MID"};
    ASSERT_EQ(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], base::fixed40(expected[i]));
    for (size_t item = 0; item < settings.items.size(); ++item)
        EXPECT_EQ(settings.items[item].text,
                  base::fixed40(item == 1 ? QStringLiteral("Number Of Retries: 3") : QString()));
}

TEST(TransducerReport, EighteenLinesMatchGoldenFile) {
    DataBufferArray D;
    for (int a = 0; a <= TransducerReportLast; ++a)
        D.put(a, a);
    putBytes(D, 2, {17, 0, 255, 3, 9});
    putBytes(D, 29, {34, 12, 'K'});
    putBytes(D, 35, {16, 200});    // Max Tq 51216
    putBytes(D, 43, {0xFF, 0xFF}); // full scale 65535, never negative
    putBytes(D, 45, {44, 1});      // cal 300
    putBytes(D, 47, {0, 0});
    putBytes(D, 49, {6, 14, 9});
    const QStringList lines =
        makeTransducerReport(QStringLiteral("8:00:00 AM"), QStringLiteral("6/14/2009"), D);
    ASSERT_EQ(lines.size(), 18);
    expectGolden(lines, QStringLiteral("transducer_report.txt"));
}
