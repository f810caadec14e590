// The rundown-log, data-logger, NSM and transducer commands on the main window, against the stand-in: the
// menus reach their sessions (tested headless in logs_sessions_test and nsm_commands_test) and show their
// reports in windows and Bar1.
#include "app/commands/loggercommands.h"
#include "app/commands/nsmcommands.h"
#include "app/commands/rundowncommands.h"
#include "app/commands/transducercommands.h"
#include "app/reports/rundownreport.h"
#include "app/reports/systemreports.h"
#include "app/reports/transducerreport.h"
#include "app/reporttime.h"
#include "app/ui/frmmain.h"
#include "base/numbertext.h"
#include "base/torque.h"
#include "link/commandcodes.h"
#include "link/rundownlog.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "tests/app/logimages.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/ui/appfixture.h"
#include "tests/support/waitfor.h"

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
    void seedRundownLog(int pset) { model.rundownLogs[pset] = rundownLogBytes(); }
    bool logReadIntoBuffer() const { return holdsRundownLog(s.DataBuffer); }

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
    // The main window's own rundown-log read drives Bar1 as well.
    bool ok = false;
    main.Get_RundownData2(3, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(main.Bar1()->maximum(), app::RundownLogBlocks);
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

// ---------------------------------------------------------------------------------------------------------
// NSM

// The menus reach the session (nsm_commands_test) and show its report; a failed step shows no window.
TEST_F(LogCommands, NsmMenusShowTheBoxesAndTheSettingsReport) {
    usePp();
    auto& nsm = group<app::NsmCommands>();
    nsm.mnuNsmViewSettings_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    ASSERT_EQ(windows(), 1);
    EXPECT_EQ(reportLines().size(), 7);
    EXPECT_EQ(reportLines().value(0), base::fixed40(QStringLiteral("Number Of Spindles: 1")));
    EXPECT_EQ(main.frame().OutputWindow()->lines(), reportLines());
    nsm.mnuNsmViewTimeDate_Click();
    nsm.MnuNsmViewVersion_Click();
    nsm.mnuNsmClearRundown_Click();
    EXPECT_EQ(dialogs->messageTexts(), (QStringList{"Time: 15:07 PM  Date: 6/14/09", "Nsm Version 1.3",
                                                    "Rundown Cleared Successfully"}));
    useUsb();
    device.writeFails = 1;
    nsm.mnuNsmViewSettings_Click();
    EXPECT_EQ(lastMessage().text, "NSM Not Communicating");
    EXPECT_EQ(windows(), 1);
    EXPECT_FALSE(ctx.busy.busy());
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

// ---------------------------------------------------------------------------------------------------------
// Transducer: the report window and the value entries reach the session (its commands are tested headless)

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
    t.mnuWriteTransducerCalValue_Click();
    EXPECT_EQ(lastMessage().text, "Unable To Configure CanDongle");
    EXPECT_EQ(dialogs->messages.size(), 4u);
}

} // namespace
