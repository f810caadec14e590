// The rundown-log, data-logger, NSM and transducer commands on the main window, against the stand-in on
// each link: what is sent, the boxes shown, and the reports printed.
#include "app/commands/loggercommands.h"
#include "app/commands/nsmcommands.h"
#include "app/commands/rundowncommands.h"
#include "app/commands/transducercommands.h"
#include "app/nsmexchange.h"
#include "app/reports/systemreports.h"
#include "app/reports/transducerreport.h"
#include "app/reporttime.h"
#include "app/ui/frmmain.h"
#include "base/torque.h"
#include "base/vbrules.h"
#include "link/commandcodes.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "tests/app/logimages.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/ui/appfixture.h"
#include "tests/support/waitfor.h"

#include <QCoreApplication>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

using namespace clink;
using namespace logtest;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

using Message = testsupport::ScriptedDialogs::Message;

const QDateTime ReportClock(QDate(2009, 6, 14), QTime(8, 0, 0));

class LogCommands : public apptest::AppFixture {
protected:
    LogCommands() {
        ctx.now = [] { return ReportClock; };
    }
    ~LogCommands() override {
        ctx.link.spi.usePort(ctx.link.ppdev);
        ctx.link.usb.setDevice(ctx.link.ftdi);
    }

    void usePp() {
        ASSERT_TRUE(chip.open());
        ctx.link.spi.usePort(chip);
        s.ConnectionType = ParallelPort;
        s.TransferDelay = 1;
        ctx.link.spi.InitializePort();
    }
    void useUsb() {
        s.ConnectionType = Usb;
        ctx.link.usb.setDevice(device);
        ASSERT_TRUE(ctx.link.usb.OpenDevice());
        ASSERT_TRUE(ctx.link.usb.ConfigureDevice());
    }
    // The user enters a value in the value panel, or picks a logger file, record count and unit.
    void enterValue(double v) {
        valueEntry->answers.enqueue(
            {app::ValueButton::Enter, [v](app::ValueEntryForm& f) { f.value.setValue(v); }});
    }
    void enterEeprom(int address, int data) {
        valueEntry->answers.enqueue({app::ValueButton::Enter, [=](app::ValueEntryForm& f) {
                                         f.eeAddress.setValue(address);
                                         f.eeData.setValue(data);
                                     }});
    }
    void enterLogger(int file, int records, int unit = base::Nm) {
        valueEntry->answers.enqueue({app::ValueButton::Enter, [=](app::ValueEntryForm& f) {
                                         f.loggerFile.setValue(file);
                                         f.loggerRecords.setValue(records);
                                         f.option = unit;
                                     }});
    }
    void cancelValue() { valueEntry->answers.enqueue({app::ValueButton::Cancel, {}}); }

    template <class Group> Group& group() { return *main.group<Group>(); }
    QStringList reportLines() const {
        const auto windows = main.mdiArea()->subWindowList();
        if (windows.isEmpty())
            return {};
        return qobject_cast<app::FrmOutput*>(windows.last()->widget())->lines();
    }
    int windows() const { return int(main.mdiArea()->subWindowList().size()); }
    const Message& lastMessage() const { return dialogs->messages.back(); }
    // Requests the unit or controller received with an identifier and code, in order.
    std::vector<CanMessage> received(CanId id, int code) const {
        std::vector<CanMessage> r;
        for (const CanMessage& m : model.received)
            if (m.id == id && m.data[0] == code)
                r.push_back(m);
        return r;
    }
    void seedRundownLog(int pset) {
        const DataBufferArray D = rundownLog();
        sim::ControllerModel::RundownLog log{};
        for (int i = 0; i < sim::ControllerModel::RundownLogBytes; ++i)
            log[size_t(i)] = uint8_t(D[i]);
        model.rundownLogs[pset] = log;
    }
    bool logReadIntoBuffer() const {
        const DataBufferArray D = rundownLog();
        for (int i = 0; i < app::RundownLogBytes; ++i)
            if (s.DataBuffer[i] != D[i])
                return false;
        return true;
    }

    sim::SpiChip chip{&model};
    sim::FtdiSim device{model};
    app::FrmMain main{ctx};
};

// ---------------------------------------------------------------------------------------------------------
// Rundown log

TEST_F(LogCommands, RundownDataPrintsTheReport) {
    connectEthernet();
    dongle.duplicateReplies = true; // both answers of an exchange to its first request
    seedRundownLog(3);
    enterValue(3);
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();

    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.panel, app::ValuePanel::Value);
    EXPECT_EQ(form.prompt, "Select Pset To Read Rundown From");
    EXPECT_EQ(form.value.maximum, model.psetCount);
    EXPECT_EQ(form.value.minimum, 1);
    EXPECT_EQ(form.value.value, 1);

    EXPECT_EQ(s.EepromReadIndex, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    // The stand-in's Pset 3 is a torque target of 125.0 Nm.
    const PsetReportRecord& record = s.PsetReportTable[3];
    const app::RundownReportInput in{app::reportTimeText(ReportClock), app::reportDateText(ReportClock),
                                     QStringLiteral("3"), app::psetReportTexts(record), 125.0};
    const QStringList lines = reportLines();
    EXPECT_EQ(lines, app::makeRundownReport(in, rundownLog()));
    EXPECT_EQ(lines[6], app::psetReportTexts(record)[0]);
    EXPECT_EQ(lines[24], "1           ACCEPT      125.00      45          125         ");
    EXPECT_EQ(main.frame().OutputWindow()->lines(), lines);
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(LogCommands, RundownDataOnTheParallelPortAndUsb) {
    seedRundownLog(3);
    const auto expectedReport = [&] {
        const PsetReportRecord& record = s.PsetReportTable[3];
        const app::RundownReportInput in{app::reportTimeText(ReportClock), app::reportDateText(ReportClock),
                                         QStringLiteral("3"), app::psetReportTexts(record), 125.0};
        return app::makeRundownReport(in, rundownLog());
    };
    // The Pset read leaves the dongle accepting the log's answers.
    usePp();
    enterValue(3);
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_EQ(reportLines(), expectedReport());

    s.PsetReportTable = {};
    useUsb();
    enterValue(3);
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(windows(), 2);
    EXPECT_EQ(reportLines(), expectedReport());
    // A wrong echo ends the read at once.
    model.wrongRundownEcho = true;
    enterValue(3);
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Read Rundown Data Failed(3)"});
    EXPECT_EQ(windows(), 2);
}

TEST_F(LogCommands, RundownDataCancelledOrFailing) {
    connectEthernet();
    model.psetCount = 12;
    cancelValue();
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(windows(), 0);
    EXPECT_EQ(received(ids::CommandRequest, codes::PsetRead).size(), 0u);

    // Pset 10 has no report record.
    enterValue(10);
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Read Rundown Data Failed(2)"});
    EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), 0u);

    // No status: nothing asked.
    s.ConnectionType = NoConnection;
    group<app::RundownCommands>().mnuSystemReadRundownData_Click();
    EXPECT_EQ(lastMessage().text, "Read Rundown Data Failed(1)");
    EXPECT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(windows(), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(LogCommands, RundownLogOnTheParallelPort) {
    usePp();
    ASSERT_TRUE(ctx.link.dataTx.ConfigureCanDongle(ids::CommandReply)); // as the Pset read leaves it
    seedRundownLog(3);
    bool ok = false;
    main.Get_RundownData2(3, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), size_t(app::RundownLogBlocks));

    // A block that never comes: the read gives up on it after its tries.
    model.silentRundownBlocks.insert(5);
    model.received.clear();
    main.Get_RundownData2(3, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(),
              size_t(5 + app::RundownLogReader::PpTries));
    EXPECT_EQ(main.Bar1()->value(), 5);
}

TEST_F(LogCommands, RundownLogOverUsbAndAWrongEcho) {
    useUsb();
    seedRundownLog(4);
    bool ok = false;
    main.Get_RundownData2(4, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.DataCount, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    EXPECT_EQ(main.Bar1()->maximum(), app::RundownLogBlocks);
    EXPECT_EQ(main.Bar1()->value(), app::RundownLogBlocks - 1);

    // An answer for another block ends the read at once.
    model.wrongRundownEcho = true;
    const size_t before = device.frames.size();
    main.Get_RundownData2(4, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(device.frames.size(), before + 1);
    EXPECT_EQ(s.DataCount, 0);
}

TEST_F(LogCommands, RundownLogOverEthernetStoresTheSecondAnswerOfEachBlock) {
    connectEthernet();
    seedRundownLog(2);
    bool ok = false;
    main.Get_RundownData2(2, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.EepromReadIndex, app::RundownLogBytes);
    EXPECT_TRUE(logReadIntoBuffer());
    // The stand-in passes an acknowledgement and the answer: the first arms, the second is stored.
    EXPECT_EQ(received(ids::CommandRequest, codes::RundownLogBlock).size(), size_t(app::RundownLogBlocks));
    EXPECT_EQ(filterFramesReceived(ids::CommandReply), app::RundownLogReader::EthernetFilterFrames);

    // A connection that is gone ends the read.
    ctx.link.socket.close();
    waitFor([&] { return !ctx.link.socket.isConnected(); });
    main.Get_RundownData2(2, ok);
    EXPECT_FALSE(ok);
}

// ---------------------------------------------------------------------------------------------------------
// Data logger (parallel port only)

TEST_F(LogCommands, LoggerRouteReportThroughTheSimulatedChip) {
    usePp();
    model.loggerMem = loggerImage(routeBuffer(), RouteFile, RouteRundowns, app::LoggerRundownBytes);
    enterLogger(RouteFile, RouteRundowns);
    group<app::DataLoggerCommands>().mnuReadDataLoggerRoute_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.panel, app::ValuePanel::Logger);
    EXPECT_EQ(form.loggerFile.maximum, app::LoggerFiles);
    EXPECT_EQ(form.loggerRecords.maximum, 100);
    EXPECT_EQ(form.loggerRecords.value, 100);

    expectGolden(reportLines(), QStringLiteral("logger_route_report.txt"));
    // The route report keeps its own window.
    EXPECT_EQ(main.frame().OutputWindow(), nullptr);
    EXPECT_EQ(main.Bar1()->value(), main.Bar1()->minimum());
    // Ten directory reads, 7n + 1 record reads; 49 Pset-block reads.
    EXPECT_EQ(model.countReceived(ids::LoggerRequest), 10 + 7 * RouteRundowns + 1 + 49);
}

TEST_F(LogCommands, LoggerRouteKeepsTheFilesPsetDataInThePsetTable) {
    usePp();
    model.loggerMem = loggerImage(routeBuffer(), RouteFile, RouteRundowns, app::LoggerRundownBytes);
    app::PsetRecord& record = ctx.psetTable[RouteFile];
    record.setText(app::PsetField::Strategy, QStringLiteral("4"));
    record.setText(app::PsetField::TqPercent, QStringLiteral("10"));
    record.setText(app::PsetField::TqThreshold, QStringLiteral("33.5"));
    record.setText(app::PsetField::AngleTarget, QStringLiteral("7"));
    record.setText(app::PsetField::CurveFile, QStringLiteral("None"));
    const app::PsetRecord before = record;
    enterLogger(RouteFile, RouteRundowns);
    group<app::DataLoggerCommands>().mnuReadDataLoggerRoute_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();

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
    expectGolden(reportLines(), QStringLiteral("logger_route_report.txt"));
}

TEST_F(LogCommands, LoggerTransducerReportThroughTheSimulatedChip) {
    usePp();
    model.loggerMem = loggerImage(readingsBuffer(), ReadingsFile, Readings, app::LoggerReadingBytes);
    enterLogger(ReadingsFile, Readings, base::Nm);
    group<app::DataLoggerCommands>().mnuReadDataLoggerXducer_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(valueEntry->shown.at(0).loggerRecords.maximum, 350);
    const QStringList lines = reportLines();
    expectGolden(lines, QStringLiteral("logger_transducer_report.txt"));
    EXPECT_EQ(lines[5], "Reading #1 :11.3 Nm");
    EXPECT_EQ(main.frame().OutputWindow()->lines(), lines);
    EXPECT_TRUE(main.frame().OutputWindow()->isEnabled());
}

TEST_F(LogCommands, LoggerFilesThatCannotBePrinted) {
    usePp();
    // A transducer file asked for as a route, a rundown file asked for as readings, an empty file.
    model.loggerMem = loggerImage(readingsBuffer(), ReadingsFile, Readings, app::LoggerReadingBytes);
    enterLogger(ReadingsFile, 1);
    group<app::DataLoggerCommands>().mnuReadDataLoggerRoute_Click();
    model.loggerMem = loggerImage(routeBuffer(), RouteFile, RouteRundowns, app::LoggerRundownBytes);
    enterLogger(RouteFile, 1);
    group<app::DataLoggerCommands>().mnuReadDataLoggerXducer_Click();
    enterLogger(7, 1);
    group<app::DataLoggerCommands>().mnuReadDataLoggerRoute_Click();
    enterLogger(7, 1);
    group<app::DataLoggerCommands>().mnuReadDataLoggerXducer_Click();
    ASSERT_EQ(dialogs->messages.size(), 4u);
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"File Type Not Correct", "File Does Not Contain Transducer Rundown Data",
                           "File Empty", "File Does Not Contain Transducer Rundown Data"}));
    EXPECT_EQ(dialogs->messages[2].icon, MessageIcon::Information);
    EXPECT_EQ(windows(), 0);

    // The logger is not read off the parallel port.
    useUsb();
    group<app::DataLoggerCommands>().mnuReadDataLoggerXducer_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Configure None");
    connectEthernet();
    enterLogger(1, 1);
    group<app::DataLoggerCommands>().mnuReadDataLoggerRoute_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Read Data");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
}

// ---------------------------------------------------------------------------------------------------------
// NSM

TEST_F(LogCommands, NsmTimeDateAndVersionOnEachLink) {
    model.nsmUnit.major = 2;
    model.nsmUnit.minor = 5;
    auto& nsm = group<app::NsmCommands>();
    usePp();
    nsm.mnuNsmViewTimeDate_Click();
    nsm.MnuNsmViewVersion_Click();
    useUsb();
    nsm.mnuNsmViewTimeDate_Click();
    nsm.MnuNsmViewVersion_Click();
    connectEthernet();
    nsm.mnuNsmViewTimeDate_Click();
    nsm.MnuNsmViewVersion_Click();
    const QString time = QStringLiteral("Time: 15:07 PM  Date: 6/14/09");
    const std::vector<std::tuple<QString, QString, MessageIcon>> expected{
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version 2.5", "NSM View Version", MessageIcon::Information},
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version 2.5", "Palverin2006", MessageIcon::Information},
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version : 2.5", "Palverin2006", MessageIcon::Information}};
    ASSERT_EQ(dialogs->messages.size(), expected.size()) << dialogs->messageTexts().join(u'|').toStdString();
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs->messages[i].text, std::get<0>(expected[i])) << i;
        EXPECT_EQ(dialogs->messages[i].caption, std::get<1>(expected[i])) << i;
        EXPECT_EQ(dialogs->messages[i].icon, std::get<2>(expected[i])) << i;
    }
}

TEST_F(LogCommands, NsmSettingsReportAndFailures) {
    usePp();
    auto& nsm = group<app::NsmCommands>();
    nsm.mnuNsmViewSettings_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    // The stand-in's unit: reverse check on, 3 retries, reverse timer 2, one spindle, latch timer 5,
    // deadman, collect data, MID buttons.
    QStringList expected;
    for (const char* t : {"Number Of Spindles: 1", "System Type: Deadman", "Run Rev Tq Check: On",
                          "Button Latch Timer: 5", "Reverse Timer: 2", "Collect Data: Yes", "Buttons: MID"})
        expected << base::fixed40(QString::fromLatin1(t));
    EXPECT_EQ(reportLines(), expected);
    EXPECT_EQ(s.NsmSettings.items[1].text, base::fixed40(QStringLiteral("Number Of Retries: 3")));
    EXPECT_EQ(s.NsmSettings.items[3].text, base::fixed40({}));

    // The clear listens on its own identifier; the other links have no answer to read.
    nsm.mnuNsmClearRundown_Click();
    EXPECT_EQ(lastMessage().text, "Rundown Cleared Successfully");
    EXPECT_EQ(model.nsmUnit.rundownClears, 1);
    useUsb();
    nsm.mnuNsmClearRundown_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Configure None");
    // The USB dongle does not take the filter frame: the write and then the command open the device again.
    const int opens = device.opens;
    device.writeFails = 1;
    nsm.mnuNsmViewSettings_Click();
    EXPECT_EQ(device.opens, opens + 2);
    EXPECT_EQ(lastMessage().text, "NSM Not Communicating");
    device.writeFails = 1;
    nsm.mnuNsmWriteSettings_Click();
    EXPECT_EQ(lastMessage().text, "Unable to connect using USB");
    EXPECT_EQ(windows(), 1);
}

TEST_F(LogCommands, NsmWriteSettingsOpensItsWindowAfterTheRead) {
    QStringList opened;
    QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                     [&](const QString& name, QWidget*) { opened << name; });
    usePp();
    group<app::NsmCommands>().mnuNsmWriteSettings_Click();
    group<app::NsmCommands>().mnuNsmRundowns_Click();
    EXPECT_EQ(opened, (QStringList{"FormNsm", "frmLogData"}));
    EXPECT_EQ(s.DataCount, 9);
    // A failed read shows no window.
    model.noReply.insert(ids::NsmRequest);
    group<app::NsmCommands>().mnuNsmWriteSettings_Click();
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(lastMessage().text, "NSM Settings Not Received");
}

TEST(NsmSilent, EthernetPresenceCheckEndsWithinTheWaitCap) {
    // A pump that never waits: the budget a wait would have spent is counted instead.
    auto pump = std::make_unique<testsupport::CountingEventPump>();
    testsupport::CountingEventPump& counting = *pump;
    counting.betweenPolls = [] { QCoreApplication::processEvents(); };
    auto dialogs = std::make_unique<testsupport::ScriptedDialogs>();
    testsupport::ScriptedDialogs& shown = *dialogs;
    app::AppSeams seams;
    seams.dialogs = std::move(dialogs);
    seams.pump = std::move(pump);
    seams.clock = std::make_unique<ManualLinkClock>();
    seams.valuePrompt = std::make_unique<apptest::ScriptedValueEntry>();
    seams.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    app::AppContext ctx(std::move(seams));
    app::FrmMain main(ctx);

    sim::ControllerModel model;
    model.noReply.insert(ids::NsmReply);
    sim::TcpDongle dongle(model);
    ASSERT_TRUE(dongle.listen(0));
    ctx.state.ConnectionType = TcpIp;
    ctx.link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
    ASSERT_TRUE(testsupport::waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));

    main.group<app::NsmCommands>()->mnuNsmViewTimeDate_Click();
    ASSERT_EQ(shown.messageTexts(), QStringList{"NSM Not Communicating"});
    EXPECT_EQ(shown.messages[0].icon, MessageIcon::Critical);
    // One wait drew the whole budget: the wait cap, not 10001 x 10001 DoEvents.
    EXPECT_EQ(counting.budgetSpent, app::NsmExchange::PresenceBudget);
    EXPECT_EQ(app::NsmExchange::PresenceBudget, 1000000L); // 10 s of 10 us DoEvents
    // The filter frame and eleven probes.
    EXPECT_TRUE(testsupport::waitFor([&] { return model.countReceived(ids::NsmReply) == 12; }));
}

// ---------------------------------------------------------------------------------------------------------
// Transducer

TEST_F(LogCommands, TransducerParametersReport) {
    usePp();
    for (int a = 0; a <= app::TransducerReportLast; ++a)
        model.transducerEeprom[size_t(a)] = uint8_t(a);
    model.transducerEeprom[35] = 16;
    model.transducerEeprom[36] = 200;
    group<app::TransducerCommands>().mnuTrasnducerViewParameters_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines, app::makeTransducerReport(app::reportTimeText(ReportClock),
                                               app::reportDateText(ReportClock), s.DataBuffer));
    EXPECT_EQ(lines[13], "Max Tq : 51216");
    EXPECT_EQ(lines[17], "LAST CAL DATE: 49/50/51");
    EXPECT_EQ(main.Bar1()->value(), 0);

    // USB has no transducer: the first read fails.
    useUsb();
    group<app::TransducerCommands>().mnuTrasnducerViewParameters_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"External Transducer Data Not Received"});
    EXPECT_EQ(windows(), 1);
}

TEST_F(LogCommands, TransducerCalValueWritesTheHighByteFirst) {
    usePp();
    enterValue(300);
    group<app::TransducerCommands>().mnuWriteTransducerCalValue_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Transfer Completed Successfully"});
    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.prompt, "Transducer Cal Value");
    EXPECT_EQ(form.value.minimum, 12);
    EXPECT_EQ(form.value.maximum, 1280);
    const auto writes = received(ids::TransducerRequest, 0x60);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].data, (std::array<int, 8>{0x60, 0, 46, 1, 0, 0, 0, 0}));
    EXPECT_EQ(writes[1].data, (std::array<int, 8>{0x60, 0, 45, 44, 0, 0, 0, 0}));
    EXPECT_EQ(model.transducerEeprom[46], 1);
    EXPECT_EQ(model.transducerEeprom[45], 44);

    // A failed high byte: the low byte is not tried.
    model.noReply.insert(ids::TransducerRequest);
    enterValue(12);
    group<app::TransducerCommands>().mnuWriteTransducerCalValue_Click();
    EXPECT_EQ(lastMessage().text, "Data Not Written To External Transducer");
    const auto later = received(ids::TransducerRequest, 0x60);
    EXPECT_TRUE(
        std::all_of(later.begin() + 2, later.end(), [](const CanMessage& m) { return m.data[2] == 46; }));

    // USB: the dongle-only check fails with this command's spelling.
    useUsb();
    group<app::TransducerCommands>().mnuWriteTransducerCalValue_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Configure CanDongle");
}

TEST_F(LogCommands, TransducerSingleLocations) {
    usePp();
    model.transducerEeprom[300] = 77;
    auto& t = group<app::TransducerCommands>();
    enterValue(300);
    t.mnuTransducerReadEeprom_Click();
    enterEeprom(301, 9);
    t.mnuWriteXducerEeprom_Click();
    cancelValue();
    t.mnuTransducerReadEeprom_Click();
    cancelValue();
    t.mnuWriteXducerEeprom_Click();
    EXPECT_EQ(
        dialogs->messageTexts(),
        (QStringList{"Eeprom Location 300 = 77", "Write Transducer Eeprom -> Completed (Add: 301 Data: 9)"}));
    EXPECT_EQ(model.transducerEeprom[301], 9);
    EXPECT_EQ(model.countReceived(ids::TransducerRequest), 2);
    useUsb();
    t.mnuTransducerReadEeprom_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Configure Candongle");
}

TEST_F(LogCommands, TransducerPresenceOverEthernet) {
    connectEthernet();
    // One answer per frame: the first frame's answer only arms the handler, the probe's completes it.
    group<app::TransducerCommands>().mnuTrasnducerViewParameters_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(reportLines().size(), 18);
    EXPECT_EQ(reportLines()[15],
              "EXTERNAL TRANSDUCER CAL : " +
                  QString::number(model.transducerEeprom[46] * 256 + model.transducerEeprom[45]));
    // The first frame and one probe, counted once the socket has delivered what was sent.
    EXPECT_TRUE(waitFor([&] { return model.countReceived(ids::TransducerReply2) >= 2; }));
    waitFor([] { return false; }, 20);
    EXPECT_EQ(model.countReceived(ids::TransducerReply2), 2);

    model.received.clear();
    model.noReply.insert(ids::TransducerReply2);
    group<app::TransducerCommands>().mnuTrasnducerViewParameters_Click();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"External Transducer Not Communicating"});
    EXPECT_TRUE(waitFor([&] { return model.countReceived(ids::TransducerReply2) == 12; }));
    EXPECT_EQ(model.countReceived(ids::TransducerRequest), 0);
}

} // namespace
