// The rundown-log and data-logger sessions against the stand-in on each link: what is asked, the boxes
// shown, the reports returned, the progress bar, and the Pset data a logger file leaves in the Pset table.
#include "app/reports/rundownreport.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "app/sessions/loggersession.h"
#include "app/sessions/rundownsession.h"
#include "base/torque.h"
#include "link/commandcodes.h"
#include "link/rundownlog.h"
#include "tests/app/commandfixture.h"
#include "tests/app/logimages.h"

using namespace clink;
using namespace logtest;
using base::MessageIcon;
using testsupport::Link;
namespace codes = clink::codes;

namespace {

class LogSessions : public commandtest::CommandFixture {
protected:
    void enterLogger(int file, int records, int unit = base::Nm) {
        valueEntry->answers.enqueue({app::ValueButton::Enter, [=](app::ValueEntryForm& f) {
                                         f.loggerFile.setValue(file);
                                         f.loggerRecords.setValue(records);
                                         f.option = unit;
                                     }});
    }
    const testsupport::ScriptedDialogs::Message& lastMessage() const { return dialogs->messages.back(); }
    void seedRundownLog(int pset) { model.rundownLogs[pset] = rundownLogBytes(); }
    bool logReadIntoBuffer() const { return holdsRundownLog(s.DataBuffer); }
    QStringList expectedRundownReport(int pset) const {
        const PsetReportRecord& record = s.PsetReportTable[size_t(pset)];
        const QDateTime now = ctx.now();
        const app::RundownReportInput in{app::reportTimeText(now), app::reportDateText(now),
                                         QString::number(pset), app::psetReportTexts(record), 125.0};
        return app::makeRundownReport(in, rundownLog());
    }

    app::RundownSession rundown{ctx, progress};
    app::DataLoggerSession logger{ctx, progress};
};

// ---------------------------------------------------------------------------------------------------------
// Rundown log

TEST_F(LogSessions, RundownDataOnTheParallelPortAndUsb) {
    seedRundownLog(3);
    // The Pset read leaves the dongle accepting the log's answers.
    connect(Link::ParallelPort);
    valueEntry->enterValue(3);
    app::ReportLines report = rundown.mnuSystemReadRundownData();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(report, expectedRundownReport(3));
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_TRUE(progress.visible);
    EXPECT_EQ(progress.value, 0);

    s.PsetReportTable = {};
    connect(Link::Usb);
    valueEntry->enterValue(3);
    report = rundown.mnuSystemReadRundownData();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(report, expectedRundownReport(3));
    // A wrong echo ends the read at once.
    model.wrongRundownEcho = true;
    valueEntry->enterValue(3);
    EXPECT_FALSE(rundown.mnuSystemReadRundownData());
    EXPECT_EQ(messages(), QStringList{"Read Rundown Data Failed(3)"});
}

TEST_F(LogSessions, RundownDataCancelledOrFailing) {
    connect(Link::Ethernet);
    model.psetCount = 12;
    valueEntry->cancel();
    EXPECT_FALSE(rundown.mnuSystemReadRundownData());
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(received(ids::CommandRequest, codes::PsetRead).size(), 0u);
    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.panel, app::ValuePanel::Value);
    EXPECT_EQ(form.prompt, "Select Pset To Read Rundown From");
    EXPECT_EQ(form.value.maximum, 12);
    EXPECT_EQ(form.value.minimum, 1);
    EXPECT_EQ(form.value.value, 1);

    // Pset 10 has no report record.
    valueEntry->enterValue(10);
    EXPECT_FALSE(rundown.mnuSystemReadRundownData());
    EXPECT_EQ(messages(), QStringList{"Read Rundown Data Failed(2)"});
    EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), 0u);

    // No status: nothing asked.
    s.ConnectionType = NoConnection;
    EXPECT_FALSE(rundown.mnuSystemReadRundownData());
    EXPECT_EQ(lastMessage().text, "Read Rundown Data Failed(1)");
    EXPECT_EQ(valueEntry->shown.size(), 2u);
}

TEST_F(LogSessions, RundownLogOnTheParallelPort) {
    connect(Link::ParallelPort);
    ASSERT_TRUE(ctx.link.dataTx.ConfigureCanDongle(ids::CommandReply)); // as the Pset read leaves it
    seedRundownLog(3);
    EXPECT_TRUE(rundown.Get_RundownData2(3));
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), size_t(app::RundownLogBlocks));

    // A block that never comes: the read gives up on it after its tries.
    model.silentRundownBlocks.insert(5);
    model.received.clear();
    EXPECT_FALSE(rundown.Get_RundownData2(3));
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(),
              size_t(5 + clink::RundownLogReader::PpTries));
    EXPECT_EQ(progress.value, 5);
}

TEST_F(LogSessions, RundownLogOverUsbAndAWrongEcho) {
    connect(Link::Usb);
    seedRundownLog(4);
    EXPECT_TRUE(rundown.Get_RundownData2(4));
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    EXPECT_EQ(progress.maximum, app::RundownLogBlocks);
    EXPECT_EQ(progress.value, app::RundownLogBlocks - 1);

    // An answer for another block ends the read at once.
    model.wrongRundownEcho = true;
    const size_t before = ftdi.frames.size();
    EXPECT_FALSE(rundown.Get_RundownData2(4));
    EXPECT_EQ(ftdi.frames.size(), before + 1);
    EXPECT_EQ(s.DataCount, 0);
}

TEST_F(LogSessions, RundownLogOverEthernetStoresTheSecondAnswerOfEachBlock) {
    connect(Link::Ethernet);
    dongle.ackThenReply = true;
    seedRundownLog(2);
    EXPECT_TRUE(rundown.Get_RundownData2(2));
    EXPECT_EQ(s.EepromReadIndex, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    // The stand-in passes an acknowledgement and the answer: the first arms, the second is stored.
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), size_t(app::RundownLogBlocks));
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), clink::RundownLogReader::EthernetFilterFrames);

    // A connection that is gone ends the read.
    ctx.link.socket.close();
    waitFor([&] { return !ctx.link.socket.isConnected(); });
    EXPECT_FALSE(rundown.Get_RundownData2(2));
}

// ---------------------------------------------------------------------------------------------------------
// Data logger (parallel port only)

TEST_F(LogSessions, LoggerRouteKeepsTheFilesPsetDataInThePsetTable) {
    connect(Link::ParallelPort);
    model.loggerMem = loggerImage(routeBuffer(), RouteFile, RouteRundowns, app::LoggerRundownBytes);
    app::PsetRecord& record = ctx.psetTable[RouteFile];
    record.setText(app::PsetField::Strategy, QStringLiteral("4"));
    record.setText(app::PsetField::TqPercent, QStringLiteral("10"));
    record.setText(app::PsetField::TqThreshold, QStringLiteral("33.5"));
    record.setText(app::PsetField::AngleTarget, QStringLiteral("7"));
    record.setText(app::PsetField::CurveFile, QStringLiteral("None"));
    const app::PsetRecord before = record;
    enterLogger(RouteFile, RouteRundowns);
    const app::ReportLines report = logger.mnuReadDataLoggerRoute();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    ASSERT_TRUE(report);
    expectGolden(*report, QStringLiteral("logger_route_report.txt"));
    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.panel, app::ValuePanel::Logger);
    EXPECT_EQ(form.loggerFile.maximum, app::LoggerFiles);
    EXPECT_EQ(form.loggerRecords.maximum, 100);
    EXPECT_EQ(form.loggerRecords.value, 100);
    // Ten directory reads, 7n + 1 record reads; 49 Pset-block reads. The bar ends at its start.
    EXPECT_EQ(model.countReceived(ids::LoggerRequest), 10 + 7 * RouteRundowns + 1 + 49);
    EXPECT_EQ(progress.value, progress.minimum);

    // The six fields as the logger stores them (torques in tenths), left-aligned in ten characters.
    EXPECT_EQ(record.text(app::PsetField::Units), "5         ");
    EXPECT_EQ(record.text(app::PsetField::TqTarget), "500       ");
    EXPECT_EQ(record.text(app::PsetField::TqHi), "550       ");
    EXPECT_EQ(record.text(app::PsetField::TqLo), "450       ");
    EXPECT_EQ(record.text(app::PsetField::AngleHi), "90        ");
    EXPECT_EQ(record.text(app::PsetField::AngleLo), "10        ");
    for (int f = 0; f < app::PsetRecord::Fields; ++f) {
        const auto field = app::PsetField(f);
        if (field != app::PsetField::Units && field != app::PsetField::TqTarget &&
            field != app::PsetField::TqHi && field != app::PsetField::TqLo &&
            field != app::PsetField::AngleHi && field != app::PsetField::AngleLo) {
            EXPECT_EQ(record.text(field), before.text(field)) << f;
        }
    }
    for (int n : {1, 2, 4, 10})
        EXPECT_EQ(ctx.psetTable[n], app::PsetRecord()) << n;
}

TEST_F(LogSessions, LoggerTransducerReport) {
    connect(Link::ParallelPort);
    model.loggerMem = loggerImage(readingsBuffer(), ReadingsFile, Readings, app::LoggerReadingBytes);
    enterLogger(ReadingsFile, Readings, base::Nm);
    const app::ReportLines report = logger.mnuReadDataLoggerXducer();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    ASSERT_TRUE(report);
    expectGolden(*report, QStringLiteral("logger_transducer_report.txt"));
    EXPECT_EQ(report->value(5), "Reading #1 :11.3 Nm");
    EXPECT_EQ(valueEntry->shown.at(0).loggerRecords.maximum, 350);
    EXPECT_EQ(progress.value, progress.minimum);
}

TEST_F(LogSessions, LoggerFilesThatCannotBePrinted) {
    connect(Link::ParallelPort);
    // A transducer file asked for as a route, a rundown file asked for as readings, an empty file.
    model.loggerMem = loggerImage(readingsBuffer(), ReadingsFile, Readings, app::LoggerReadingBytes);
    enterLogger(ReadingsFile, 1);
    EXPECT_FALSE(logger.mnuReadDataLoggerRoute());
    model.loggerMem = loggerImage(routeBuffer(), RouteFile, RouteRundowns, app::LoggerRundownBytes);
    enterLogger(RouteFile, 1);
    EXPECT_FALSE(logger.mnuReadDataLoggerXducer());
    enterLogger(7, 1);
    EXPECT_FALSE(logger.mnuReadDataLoggerRoute());
    enterLogger(7, 1);
    EXPECT_FALSE(logger.mnuReadDataLoggerXducer());
    ASSERT_EQ(dialogs->messages.size(), 4u);
    EXPECT_EQ(messages(),
              (QStringList{"File Type Not Correct", "File Does Not Contain Transducer Rundown Data",
                           "File Empty", "File Does Not Contain Transducer Rundown Data"}));
    EXPECT_EQ(dialogs->messages[2].icon, MessageIcon::Information);

    // The logger is not read off the parallel port.
    connect(Link::Usb);
    EXPECT_FALSE(logger.mnuReadDataLoggerXducer());
    EXPECT_EQ(lastMessage().text, "Unable To Configure None");
    connect(Link::Ethernet);
    enterLogger(1, 1);
    EXPECT_FALSE(logger.mnuReadDataLoggerRoute());
    EXPECT_EQ(lastMessage().text, "Unable To Read Data");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
}

} // namespace
