// The live monitors' sessions on each link against the stand-in: fault and rundown reports pushed by the
// controller, the button states and LED commands, the run screen's result messages and log, the transmit
// test and the closing frame; and what each of them refuses (foreign and misplaced messages, a busy link,
// a refused send, a failed transfer).
#include "app/reporttime.h"
#include "base/numbertext.h"
#include "tests/monitor/livemonitorsfixture.h"

using namespace monitortest;

namespace {

const QStringList AutoResetLines{"---- Auto Reset Faults Received ----", "TID TIMEOUT", "TOOL GND",
                                 "ILLEGAL TOOL"};
const QStringList WarningLines{"---- Warnings Received Received ----", "XDUCER OFF TOOL",
                               "TUBENUT PINCH TIME"};

TYPED_TEST_SUITE(LiveMonitors, linktest::LinkFixtures);

TYPED_TEST(LiveMonitors, PushedFaultsAreListedAsEachLinkKeepsItsList) {
    this->linkCheck(ids::ToolReply);
    this->monitor.load();
    this->reportFault(ControllerModel::faultMessage(0x10, 0x21, 0x10));
    this->monitor.faultTick();
    EXPECT_EQ(this->monitor.lines(), AutoResetLines);
    EXPECT_EQ(this->monitor.missCount(), 0);
    EXPECT_EQ(this->s.DataBuffer[2], 0x21);

    this->reportFault(ControllerModel::faultMessage(0x15, 0x08, 0x20));
    this->monitor.faultTick();
    // The parallel port shows the last report only; USB and Ethernet (until its sixth tick) add to the list.
    if constexpr (IsParallel<TypeParam>)
        EXPECT_EQ(this->monitor.lines(), WarningLines);
    else
        EXPECT_EQ(this->monitor.lines(), AutoResetLines + WarningLines);
    EXPECT_EQ(this->monitor.faultIntervalMs(), IsEthernet<TypeParam> ? 200 : 250);
}

TYPED_TEST(LiveMonitors, PushedRundownShowsTheTargetAndScaledTorques) {
    this->model.target = 250; // 25.0
    // The status comes as the controller's broadcast on the parallel port.
    if constexpr (IsParallel<TypeParam>)
        this->chip.broadcastEvery = sim::SpiChip::DefaultBroadcastEvery;
    this->linkCheck(ids::ToolReply);
    this->reportRundown(ControllerModel::rundownMessage(7, 1000, 360, 500));
    EXPECT_EQ(this->monitor.rundownTick(), MonitorSession::RundownTick::Continue);
    EXPECT_EQ(this->monitor.lines(),
              (QStringList{base::fixed40("Current Target: 25"), "Tool Final Torque: 25",
                           "Tool Final Angle: 360", "External Transducer Final Torque: 12.5"}));
    EXPECT_TRUE(this->dialogs.messages.empty());
    // The link listens for the next rundown again.
    if constexpr (IsParallel<TypeParam>) {
        EXPECT_EQ(this->chip.filterId(), ids::ToolReply);
    } else if constexpr (IsEthernet<TypeParam>) {
        EXPECT_EQ(this->s.RequestData[1], 0);
        ASSERT_TRUE(this->waitFor([this] { return this->dongle.frames.back().accept == ids::ToolReply; }));
    }
    // Nothing more came: the next tick changes nothing.
    EXPECT_EQ(this->monitor.rundownTick(), MonitorSession::RundownTick::Continue);
    EXPECT_EQ(this->monitor.lines().size(), 4);
}

TYPED_TEST(LiveMonitors, TheStandInsWorkCycleShowsItsFaultsAndRundowns) {
    this->model.target = 1200; // 120
    if constexpr (IsParallel<TypeParam>)
        this->chip.broadcastEvery = sim::SpiChip::DefaultBroadcastEvery;
    this->linkCheck(ids::ToolReply);
    this->monitor.load();
    const std::vector<QStringList> faults{{"---- Auto Reset Faults Received ----", "TID TIMEOUT"},
                                          {"---- Cycle Reset Faults Received ----", "LOAD RUN TIMEOUT"},
                                          {"---- External Reset Faults Received ----", "PSET VALUE"},
                                          {"---- Warnings Received Received ----", "XDUCER OFF TOOL"}};
    for (const QStringList& fault : faults) {
        this->reportFault(this->model.nextFault());
        this->monitor.faultTick();
        const QStringList& lines = this->monitor.lines();
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.mid(lines.size() - 2), fault);
    }
    // The third rundown of the round: torque high, angle 60; the monitor shows what the run screen does.
    this->model.nextRundown();
    this->model.nextRundown();
    this->reportRundown(this->model.nextRundown().back());
    EXPECT_EQ(this->monitor.rundownTick(), MonitorSession::RundownTick::Continue);
    EXPECT_EQ(this->monitor.lines(),
              (QStringList{base::fixed40("Current Target: 120"), "Tool Final Torque: 138",
                           "Tool Final Angle: 60", "External Transducer Final Torque: 138"}));
    EXPECT_TRUE(this->dialogs.messages.empty());
}

TYPED_TEST(LiveMonitors, ButtonStatesShowInTheirLabels) {
    this->model.buttons = {1, 0, 0, 5};
    this->linkCheck(ids::ButtonReply);
    ButtonMonitor buttons(this->link, this->busy);
    EXPECT_EQ(buttons.labels(), (ButtonMonitor::Labels{"Cw", "Center", "Ccw", "Trigger"}));
    // While a command holds the link, the tick asks nothing.
    {
        base::BusyGuard command(this->busy);
        EXPECT_FALSE(buttons.tick());
    }
    EXPECT_EQ(this->model.countReceived(ids::ToolEepromRequest, clink::ToolButtonExchange::ButtonRequestCode),
              0);
    bool shown = false;
    for (int tick = 0; tick < 3 && !shown; ++tick)
        shown = buttons.tick();
    ASSERT_TRUE(shown);
    EXPECT_EQ(buttons.labels(), (ButtonMonitor::Labels{"Cw: On", "Center: On", "Ccw: Off", "Trigger: Off"}));
}

TYPED_TEST(LiveMonitors, LedChoicesGoOutAtTheNextTickUntilExit) {
    this->linkCheck(ids::ButtonReply);
    ToolLedSession leds(this->link, this->busy);
    EXPECT_EQ(leds.text(), "Yellow: 0 Red: 0 Green: 0 Blue: 0");
    leds.choose(ToolLedSession::Red, ToolLedSession::Flash);
    leds.choose(ToolLedSession::Blue, ToolLedSession::On);
    EXPECT_EQ(leds.text(), "Yellow: 0 Red: 2 Green: 0 Blue: 1");
    EXPECT_TRUE(this->ledCommands().empty());
    ASSERT_TRUE(leds.tick());
    ASSERT_EQ(this->ledCommands().size(), 1u);
    EXPECT_EQ(this->ledCommands().back(), (std::array<int, 8>{0x70, 0, 2, 0, 1, 0, 0, 0}));
    leds.exit();
    EXPECT_FALSE(leds.tick());
    EXPECT_EQ(this->ledCommands().size(), 1u);
}

TYPED_TEST_SUITE(RunScreen, linktest::LinkFixtures);

TYPED_TEST(RunScreen, AResultIsShownInColourAndLogged) {
    // The first result after opening is whole over Ethernet too, without the controller's start frame.
    this->model.rundownStartFrame = false;
    EXPECT_EQ(this->screen.labels()[RunScreenSession::StatusLabel], "Status : ");
    ASSERT_EQ(this->screen.startLink(), RunScreenSession::Start::Polling);
    EXPECT_EQ(this->screen.labels()[RunScreenSession::StatusLabel], "Status: Drivers Started");
    this->deliver(this->model.rundownEvent(this->record()));

    const RunScreenSession::Labels& l = this->screen.labels();
    EXPECT_EQ(l[RunScreenSession::TorqueLabel], "8.5");
    EXPECT_EQ(l[RunScreenSession::AngleLabel], "789");
    EXPECT_EQ(l[RunScreenSession::TargetLabel], "Tq Target: 12");
    EXPECT_EQ(l[RunScreenSession::HighLabel], "Tq Hi: 15");
    EXPECT_EQ(l[RunScreenSession::LowLabel], "Tq Lo: 9");
    EXPECT_EQ(l[RunScreenSession::AngleHighLabel], "Angle Hi: 90");
    EXPECT_EQ(l[RunScreenSession::AngleLowLabel], "Angle Lo: 45");
    EXPECT_EQ(l[RunScreenSession::StatusLabel], "Status: Tq Lo/Angle Hi");
    EXPECT_EQ(l[RunScreenSession::UnitsLabel], "Nm");
    EXPECT_EQ(l[RunScreenSession::PsetLabel], "Current Pset: 3");
    EXPECT_EQ(l[RunScreenSession::PsetCountLabel], "Total Psets : 8");
    EXPECT_EQ(this->screen.torqueColour(), QColor(255, 255, 0));
    EXPECT_EQ(this->screen.angleColour(), QColor(255, 0, 0));

    const QDateTime now = this->fixedNow();
    const QByteArray expected =
        R"("Time","Date","Final Tq","Tq Target","Tq Hi Limit","Tq Lo Limit","Final Angle","Angle Hi","Angle Lo",)"
        R"("Result","Units","BarCode","PSet")"
        "\r\n\"" +
        app::reportTimeText(now).toLatin1() + "\",\"" + app::reportDateText(now).toLatin1() +
        R"(","8.5","12","15","9","789","90","45","Tq Lo/Angle Hi","Nm","","3")"
        "\r\n";
    EXPECT_EQ(this->folder.read("Pset_RundownData.txt"), expected);
}

TYPED_TEST(RunScreen, UnknownCodesKeepStatusColoursAndUnits) {
    ASSERT_EQ(this->screen.startLink(), RunScreenSession::Start::Polling);
    this->deliver(this->model.rundownEvent(this->record()));
    ControllerModel::RundownRecord odd = this->record(130);
    odd[14] = 0x06; // code 6
    odd[15] = 7;    // no such units
    this->deliver(this->model.rundownEvent(odd));
    EXPECT_EQ(this->screen.labels()[RunScreenSession::TargetLabel], "Tq Target: 13");
    EXPECT_EQ(this->screen.labels()[RunScreenSession::StatusLabel], "Status: Tq Lo/Angle Hi");
    EXPECT_EQ(this->screen.labels()[RunScreenSession::UnitsLabel], "Nm");
    EXPECT_EQ(this->screen.torqueColour(), QColor(255, 255, 0));
    const QList<QStringList> rows = this->loggedRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1][9], "6");
    EXPECT_EQ(rows[1][10], "Nm");
    EXPECT_EQ(rows[1][3], "13");
}

TYPED_TEST(RunScreen, TheStandInsWorkCycleShowsEveryResultInTurnAndLogsIt) {
    this->model.target = 1200;
    this->model.units = 1;
    ASSERT_EQ(this->screen.startLink(), RunScreenSession::Start::Polling);
    struct Shown {
        QString status;
        QString torque;
        QString angle;
        QString logged;
    };
    const std::vector<Shown> round{
        {"Status: Accept", "120", "45", "Accept"},
        {"Status: Accept", "123", "52", "Accept"},
        {"Status: Torque Hi", "138", "60", "Tq Hi"},
        {"Status: Accept", "115.2", "38", "Accept"},
        {"Status: Torque Lo", "100.8", "30", "Tq Lo"},
        {"Status: Angle Hi", "120.6", "95", "Angle Hi"},
        {"Status: Angle Lo", "119.4", "8", "Angle Lo"},
        {"Status: Tq Hi/Angle Hi", "134.4", "120", "Tq Hi/Angle Hi"},
    };
    for (const Shown& shown : round) {
        SCOPED_TRACE(shown.status.toStdString());
        std::vector<CanMessage> frames = this->model.nextRundown();
        // The run screen listens on its own identifier; the monitors' report goes elsewhere.
        std::erase_if(frames, [](const CanMessage& m) { return m.id != ids::RunData; });
        this->deliver(frames);
        const RunScreenSession::Labels& l = this->screen.labels();
        EXPECT_EQ(l[RunScreenSession::StatusLabel], shown.status);
        EXPECT_EQ(l[RunScreenSession::TorqueLabel], shown.torque);
        EXPECT_EQ(l[RunScreenSession::AngleLabel], shown.angle);
        EXPECT_EQ(l[RunScreenSession::TargetLabel], "Tq Target: 120");
        EXPECT_EQ(l[RunScreenSession::HighLabel], "Tq Hi: 132");
        EXPECT_EQ(l[RunScreenSession::LowLabel], "Tq Lo: 108");
        EXPECT_EQ(l[RunScreenSession::AngleHighLabel], "Angle Hi: 90");
        EXPECT_EQ(l[RunScreenSession::AngleLowLabel], "Angle Lo: 10");
        EXPECT_EQ(l[RunScreenSession::UnitsLabel], "In-Lb");
        EXPECT_EQ(l[RunScreenSession::PsetLabel], "Current Pset: 1");
    }
    const QList<QStringList> rows = this->loggedRows();
    ASSERT_EQ(rows.size(), qsizetype(round.size()));
    for (size_t i = 0; i < round.size(); ++i)
        EXPECT_EQ(rows[qsizetype(i)][9], round[i].logged) << i;
}

} // namespace
