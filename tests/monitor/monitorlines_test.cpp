// The monitors' pure pieces: the fault table, the rundown scaling, the run-screen record and its log
// rows, and the NSM report reader.
#include "monitor/faultcodes.h"
#include "monitor/nsmreport.h"
#include "monitor/rundownlines.h"
#include "monitor/rundownlogmodel.h"
#include "monitor/runrecord.h"
#include "monitor/runscreenlog.h"
#include "tests/monitor/logrows.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

using namespace monitor;
using monitortest::logRows;

namespace {

const QString Blank = QStringLiteral(" ");

TEST(FaultCodes, EachSetFlagTheGroupExaminesAddsItsLine) {
    EXPECT_EQ(faultGroupLines(0x10, 0x21, 0x10), (QStringList{"---- Auto Reset Faults Received ----",
                                                              "TID TIMEOUT", "TOOL GND", "ILLEGAL TOOL"}));
    // A flag without a text of its own adds one blank; flags not examined add nothing.
    EXPECT_EQ(faultGroupLines(0x11, 0x20, 0), (QStringList{"---- Cycle Reset Faults Received ----", Blank}));
    EXPECT_EQ(faultGroupLines(0x10, 0, 0xE0), QStringList{"---- Auto Reset Faults Received ----"});
    EXPECT_EQ(faultGroupLines(0x11, 0, 0xF0), QStringList{"---- Cycle Reset Faults Received ----"});
    EXPECT_EQ(faultGroupLines(0x12, 0x80, 0xF0),
              (QStringList{"---- External Reset Faults Received ----", "XDUCER PARAMETER VALUE",
                           "TARGET VALUE FAULT", "TID EE WRITE"}));

    const QStringList warnings = faultGroupLines(0x15, 0xFF, 0xFF);
    ASSERT_EQ(warnings.size(), 17);
    EXPECT_EQ(warnings.first(), "---- Warnings Received Received ----");
    EXPECT_EQ(warnings.count(Blank), 5);
    EXPECT_EQ(warnings.mid(1, 3), (QStringList{"COLLECT OVERRUN", Blank, "NO DIRECTION HALL"}));
    EXPECT_EQ(warnings.mid(12), (QStringList{"XDUCER OFFSET", "TUBENUT PINCH TORQUE", "TUBENUT PINCH TIME",
                                             "TUBENUT PINCH RPM = 0", "EE PARAM. VALUE"}));

    // Every group with every flag: 55 flags are examined, and only the four codes are groups.
    int examined = 0;
    for (int g : {0x10, 0x11, 0x12, 0x15}) {
        EXPECT_TRUE(isFaultGroup(g));
        examined += int(faultGroupLines(g, 0xFF, 0xFF).size()) - 1;
    }
    EXPECT_EQ(examined, 55);
    for (int code : {0, 0x13, 0x40, 0x50, 10, 15})
        EXPECT_FALSE(isFaultGroup(code)) << code;
    EXPECT_TRUE(faultGroupLines(0x13, 0xFF, 0xFF).isEmpty());
}

TEST(RundownLines, TorquesScaleByTheTargetWithHalvesToEven) {
    // Target 25: k = 250.
    EXPECT_EQ(torqueScale(25), 250);
    EXPECT_EQ(torqueScale(120.3), 1203);
    EXPECT_EQ(shownTorque(1000, 250), 25);
    EXPECT_EQ(shownTorque(500, 250), 12.5);
    // x k / 1000 of 12.5 and 13.5.
    EXPECT_EQ(shownTorque(125, 100), 1.2);
    EXPECT_EQ(shownTorque(135, 100), 1.4);
    // Words are signed; products beyond 16 bits are kept.
    EXPECT_EQ(signedWord(0x18, 0xFC), -1000);
    EXPECT_EQ(shownTorque(-1000, 250), -25);
    EXPECT_EQ(shownTorque(32767, 65535), 214738.5);

    const RundownWords words = rundownWords({0x40, 7, 0xE8, 0x03, 0x68, 0x01, 0xF4, 0x01});
    EXPECT_EQ(words.torque, 1000);
    EXPECT_EQ(words.angle, 360);
    EXPECT_EQ(words.externalTorque, 500);
    const QString target = QStringLiteral("Current Target: 25                      ");
    EXPECT_EQ(rundownLines(target, words, 25),
              (QStringList{target, "Tool Final Torque: 25", "Tool Final Angle: 360",
                           "External Transducer Final Torque: 12.5"}));
    EXPECT_EQ(rundownLines(target, rundownWords({0x40, 0, 0, 0x80, 0xFF, 0xFF, 0, 0}), 25)[1],
              "Tool Final Torque: -819.2");
}

RunRecordBytes record(int resultByte, int units = 5) {
    // Target 78.9 (3, 21), high 100, low 50, angle 789, angle high 90.5, low 10, torque 80.1.
    return {3, 21, 3, 232, 1, 244, 3, 21, 3, 137, 0, 100, 3, 33, resultByte, units, 2, 8};
}

TEST(RunRecord, WordsAreHighByteFirstAndDividedByTenExceptTheAngle) {
    const RunResult r = decodeRunRecord(record(0x0C));
    EXPECT_EQ(r.target, "78.9");
    EXPECT_EQ(r.torqueHigh, "100");
    EXPECT_EQ(r.torqueLow, "50");
    EXPECT_EQ(r.finalAngle, "789");
    EXPECT_EQ(r.angleHigh, "90.5");
    EXPECT_EQ(r.angleLow, "10");
    EXPECT_EQ(r.finalTorque, "80.1");
    EXPECT_EQ(r.resultCode, 12);
    EXPECT_EQ(r.unitsCode, 5);
    EXPECT_EQ(r.currentPset, 2);
    EXPECT_EQ(r.psetCount, 8);
    // Only the low five bits are the result code.
    EXPECT_EQ(decodeRunRecord(record(0x21)).resultCode, 1);
    EXPECT_EQ(decodeRunRecord(record(0xE6)).resultCode, 6);
}

TEST(RunRecord, ResultCodesNameWhatWasOutOfLimits) {
    // The bits of an even code name the limits the rundown broke (2 torque high, 4 torque low, 8 angle high,
    // 16 angle low), at most one side of each; a broken limit colours its digits red (high) or yellow (low),
    // and a torque limit broken alone is spelt out in the status. Any odd code is an accept.
    constexpr int LastCode = 31; // the low five bits of the result byte
    for (int code = 0; code <= LastCode; ++code) {
        SCOPED_TRACE(code);
        const std::optional<ResultStatus> s = resultStatus(code);
        const bool accept = code % 2 != 0;
        const bool torqueHigh = !accept && (code & 2), torqueLow = !accept && (code & 4);
        const bool angleHigh = !accept && (code & 8), angleLow = !accept && (code & 16);
        if (!accept && (code == 0 || (torqueHigh && torqueLow) || (angleHigh && angleLow))) {
            EXPECT_FALSE(s);
            EXPECT_EQ(resultLogText(code), QString::number(code));
            continue;
        }
        const QString torque = torqueHigh ? "Hi" : torqueLow ? "Lo" : "";
        const QString angle = angleHigh ? "Hi" : angleLow ? "Lo" : "";
        QStringList broken;
        if (!torque.isEmpty())
            broken << "Tq " + torque;
        if (!angle.isEmpty())
            broken << "Angle " + angle;
        const QString log = accept ? "Accept" : broken.join(u'/');
        ASSERT_TRUE(s);
        EXPECT_EQ(s->status, "Status: " + (!torque.isEmpty() && angle.isEmpty() ? "Torque " + torque : log));
        EXPECT_EQ(s->torqueColour, torqueHigh ? ResultRed : torqueLow ? ResultYellow : ResultGreen);
        EXPECT_EQ(s->angleColour, angleHigh ? ResultRed : angleLow ? ResultYellow : ResultGreen);
        EXPECT_EQ(resultLogText(code), log);
    }
    EXPECT_EQ(ResultRed, QColor(255, 0, 0));
    EXPECT_EQ(ResultYellow, QColor(255, 255, 0));
    EXPECT_EQ(ResultGreen, QColor(0, 255, 0));
    EXPECT_EQ(unitsText(1), "In-Lb");
    EXPECT_EQ(unitsText(4), "Kg-M");
    EXPECT_EQ(unitsText(5), "Nm");
    EXPECT_FALSE(unitsText(0));
    EXPECT_FALSE(unitsText(7));
}

TEST(RundownLog, RowsAreQuotedFieldsAndTheLogBeginsWithItsHeading) {
    testsupport::TempProgramFolder folder;
    EXPECT_EQ(RundownLogFile::path(), folder.file("Pset_RundownData.txt"));
    const QStringList fields = {"15:07:30", "14/06/2009", "80.1", "78.9", "100", "50", "789",
                                "90.5",     "10",         "6",    "Nm",   "",    "2"};
    EXPECT_EQ(RundownLogFile::row(fields),
              R"("15:07:30","14/06/2009","80.1","78.9","100","50","789","90.5","10","6","Nm","","2")");

    // Clearing a missing log creates none; the first row brings the heading.
    ASSERT_TRUE(RundownLogFile::clear());
    EXPECT_FALSE(QFile::exists(RundownLogFile::path()));
    EXPECT_FALSE(logRows(RundownLogFile::read()));
    ASSERT_TRUE(RundownLogFile::append(fields));
    ASSERT_TRUE(RundownLogFile::append(fields));
    const QByteArray heading =
        R"("Time","Date","Final Tq","Tq Target","Tq Hi Limit","Tq Lo Limit","Final Angle",)"
        R"("Angle Hi","Angle Lo","Result","Units","BarCode","PSet")"
        "\r\n";
    const QByteArray row = RundownLogFile::row(fields).toLatin1() + "\r\n";
    EXPECT_EQ(folder.read("Pset_RundownData.txt"), heading + row + row);
    const std::optional<QList<QStringList>> rows = logRows(RundownLogFile::read());
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (QList<QStringList>{RundownLogFile::Header, fields, fields}));

    ASSERT_TRUE(RundownLogFile::clear());
    EXPECT_EQ(folder.read("Pset_RundownData.txt"), heading);

    // Rows written elsewhere: short rows are filled up, long ones cut, commas inside quotes kept.
    EXPECT_EQ(RundownLogFile::fieldsOf(R"("a,b", 2 ,"c")"),
              (QStringList{"a,b", "2", "c", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(RundownLogFile::fieldsOf(QByteArray(R"("x",)").repeated(14)).size(), RundownLogFile::Fields);
}

TEST(RundownLog, AppendsLeaveEveryEarlierByteAndClearRewritesTheHeadingOnly) {
    testsupport::TempProgramFolder folder;
    const QStringList fields = {"08:00:01", "01/02/2026", "1",      "2",  "3", "4", "5",
                                "6",        "7",          "Accept", "Nm", "",  "1"};
    const QByteArray row = RundownLogFile::row(fields).toLatin1() + "\r\n";
    // A log written elsewhere: other line ends, a blank line, a character above 127, and a last row cut
    // short by a crash.
    const QByteArray earlier = RundownLogFile::row(RundownLogFile::Header).toLatin1() + "\r\n" +
                               "\"a\xe9\",\"b\"\n\r\n  \r\"c\"\r" + "\"09:00:00\",\"01/02";
    ASSERT_TRUE(folder.write("Pset_RundownData.txt", earlier));
    ASSERT_TRUE(RundownLogFile::append(fields));
    ASSERT_TRUE(RundownLogFile::append(fields));
    EXPECT_EQ(folder.read("Pset_RundownData.txt"), earlier + "\r\n" + row + row);

    const auto rows = logRows(RundownLogFile::read());
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 6);
    EXPECT_EQ(rows->at(1).mid(0, 3), (QStringList{QStringLiteral("a\u00e9"), "b", ""}));
    EXPECT_EQ(rows->at(2)[0], "c");
    EXPECT_EQ(rows->at(3).mid(0, 3), (QStringList{"09:00:00", "01/02", ""}));
    EXPECT_EQ(rows->at(5), fields);

    ASSERT_TRUE(RundownLogFile::clear());
    EXPECT_EQ(folder.read("Pset_RundownData.txt"),
              RundownLogFile::row(RundownLogFile::Header).toLatin1() + "\r\n");
}

TEST(RundownLog, ARowOfAnyLengthGivesNoMoreThanTheGridShows) {
    // A heading of one 4 MB field: the field is cut to what a cell keeps, blanks before it dropped first.
    const QByteArray huge(4 << 20, 'x');
    const RundownLogRows rows("\r\n  \"  " + huge + "\"\r\n\"a\"\n");
    ASSERT_EQ(rows.size(), 2);
    const QStringList heading = rows.fields(0);
    ASSERT_EQ(heading.size(), RundownLogFile::Fields);
    EXPECT_EQ(heading[0], QString(RundownLogFile::LongestField, u'x'));
    EXPECT_EQ(heading[1], QString());
    EXPECT_EQ(rows.fields(1)[0], "a");
    // Thirteen fields, then a long tail that is never looked at: the same fields as without it.
    const QByteArray thirteen = QByteArray(R"("x",)").repeated(12) + R"(" y ")";
    EXPECT_EQ(RundownLogFile::fieldsOf(thirteen + ",\"" + huge), RundownLogFile::fieldsOf(thirteen));
    EXPECT_EQ(RundownLogFile::fieldsOf(thirteen).last(), "y");
}

TEST(RundownLog, TheGridModelTakesCellsFromTheLogAsAsked) {
    RundownLogModel model;
    // No log rows: no names, one empty row.
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), RundownLogFile::Fields);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "");
    EXPECT_EQ(model.index(0, 12).data().toString(), "");

    QByteArray bytes = RundownLogFile::row(RundownLogFile::Header).toLatin1() + "\r\n";
    model.setRows(RundownLogRows(bytes));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(12, Qt::Horizontal).toString(), "PSet");
    EXPECT_EQ(model.index(0, 0).data().toString(), "");

    // A long log: every row is there, in order, blank lines left out.
    constexpr int Rundowns = 100000;
    bytes.reserve(bytes.size() + Rundowns * 40);
    for (int i = 1; i <= Rundowns; ++i) {
        bytes += "\"" + QByteArray::number(i) + "\",\"d\",\"" + QByteArray::number(i % 97) + "\"\r\n";
        if (i % 1000 == 0)
            bytes += "\r\n \xa0\t\r\n";
    }
    model.setRows(RundownLogRows(bytes));
    ASSERT_EQ(model.rowCount(), Rundowns);
    EXPECT_EQ(model.index(0, 0).data().toString(), "1");
    EXPECT_EQ(model.index(Rundowns - 1, 0).data().toString(), QString::number(Rundowns));
    EXPECT_EQ(model.index(Rundowns - 1, 2).data().toString(), QString::number(Rundowns % 97));
    EXPECT_EQ(model.index(4999, 0).data().toString(), "5000");
    EXPECT_EQ(model.index(4999, 12).data().toString(), "");
    EXPECT_FALSE(model.index(4999, 0).data(Qt::EditRole).isValid());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Date");
}

QString spindle(int k, QChar fill) {
    const QString key = k < 10 ? QStringLiteral("SPINDLE 0%1:").arg(k) : QStringLiteral("SPINDLE %1:").arg(k);
    return key + QString(63, fill);
}

TEST(NsmReport, ReportsEndAtTheMarkAndCarryTheirNumberAndSpindles) {
    NsmReportParser parser;
    // Spindle 1's text runs 74 characters from its key; spindle 3's stops at the end of the report; there is
    // no spindle 2.
    const QString one = spindle(1, u'a') + "\r\nSPINDLE 03:ccc\r\n12@END";
    const QList<QStringList> reports = parser.feed(one);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0], (QStringList{"Rundown Number :12", spindle(1, u'a'), "SPINDLE 03:ccc\r\n12@END"}));
    EXPECT_TRUE(parser.pending().isEmpty());

    // Keys and the end mark in any letter case; spindle 10's key.
    EXPECT_EQ(NsmReportParser::reportLines("spindle 10:" + QString(63, u'z') + " 7@end"),
              (QStringList{"Rundown Number :7", "spindle 10:" + QString(63, u'z')}));
    // An end mark at the very start: rundown number 0.
    EXPECT_EQ(NsmReportParser::reportLines("@END"), QStringList{"Rundown Number :0"});
    EXPECT_EQ(NsmReportParser::reportLines("5@END"), QStringList{"Rundown Number :5"});
}

TEST(NsmReport, TextWithoutAnAtSignIsDroppedAndTheRestAfterTheMarkIsKept) {
    NsmReportParser parser;
    EXPECT_TRUE(parser.feed("noise before the report ").isEmpty());
    EXPECT_TRUE(parser.pending().isEmpty());
    EXPECT_TRUE(parser.feed("@START ").isEmpty());
    EXPECT_TRUE(parser.feed(spindle(2, u'b')).isEmpty());
    EXPECT_EQ(parser.pending(), "@START " + spindle(2, u'b'));
    // Two reports in one piece, and the start of a third.
    const QList<QStringList> reports =
        parser.feed(" 3@END@S " + spindle(1, u'x') + " 4@end@S " + spindle(5, u'y'));
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0], (QStringList{"Rundown Number :3", spindle(2, u'b')}));
    EXPECT_EQ(reports[1], (QStringList{"Rundown Number :4", spindle(1, u'x')}));
    EXPECT_EQ(parser.pending(), "@S " + spindle(5, u'y'));
    const QList<QStringList> third = parser.feed("99@END");
    ASSERT_EQ(third.size(), 1);
    EXPECT_EQ(third[0], (QStringList{"Rundown Number :99", spindle(5, u'y')}));

    // A report that never ends is given up once it outgrows any report; the next one is read whole.
    EXPECT_TRUE(parser.feed("@S " + QString(NsmReportParser::MaxPendingText, u'n')).isEmpty());
    EXPECT_TRUE(parser.pending().isEmpty());
    const QList<QStringList> fourth = parser.feed("@S " + spindle(6, u'z') + " 5@END");
    ASSERT_EQ(fourth.size(), 1);
    EXPECT_EQ(fourth[0], (QStringList{"Rundown Number :5", spindle(6, u'z')}));
}

} // namespace
