// What reaches the controller over Ethernet: the stand-in counts the requests of each command per identifier
// and code, against a controller that acknowledges and then replies (in one write, or the reply in a write
// of its own 0, 5 or 60 ms after the acknowledgement) and one that answers each request once, answering at
// once or after 100 ms, and right after an NSM presence check. No command sends more than its
// exchange's timeline gives: the counts of each row, worked out from the sender's wait of 80 ms, the
// exchange's fixed pauses and first waits, and a two-frame exchange completing on its second answer.
// Answered at once the counts are exact; held, no more than these (a loaded machine may take an answer a
// send earlier). (The link's own reads and writes, status, Pset choice and read and the control commands
// are counted against every framing and hold in the seeded runs against the simulated line.) And a block
// receive from a controller that stops answering ends at the silence cap.
#include "app/parameterfile.h"
#include "app/reports/rundownreport.h"
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "link/nsmexchange.h"
#include "link/rundownlog.h"
#include "logicio/logictransfer.h"
#include "tests/link/silentlinks.h"
#include "tests/support/servicesfixture.h"

#include <functional>
#include <tuple>
#include <vector>

using namespace clink;
namespace codes = clink::codes;

namespace {

enum Column { Acknowledging, Once, AcknowledgingHeld, OnceHeld, Columns };
using PartCounts = std::array<int, Columns>;
constexpr PartCounts ControlCounts{1, 2, 2, 3};
constexpr PartCounts SingleFrame{1, 1, 1, 1};
constexpr PartCounts PsetReadCounts{4, 8, 4, 12};
constexpr int NotHeld = -1; // not run against held answers

constexpr int CalibrationCode = 0x20;
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int LogPset = 3;
// Long enough for the stand-in to read every request sent.
constexpr int SettleMs = 30;

struct Mode {
    const char* name;
    Column column;
    bool ackThenReply;
    int holdMs;
    bool presenceFirst = false;
    int ackGapMs = -1; // >= 0: the reply written on its own, this long after the acknowledgement
};

class WireCounts;

// Requests counted by identifier and code (data byte 0).
struct Counted {
    CanId id;
    int code;
    PartCounts part;
};

struct Command {
    const char* name;
    std::function<bool(WireCounts&)> run;
    std::vector<Counted> counted;
};

class WireCounts : public testsupport::ServicesFixture,
                   public ::testing::WithParamInterface<std::tuple<Mode, Command>> {
protected:
    WireCounts() : testsupport::ServicesFixture(true) {}
    void SetUp() override { connect(testsupport::Link::Ethernet); }

public:
    DataTx& tx() { return ctx.link.dataTx; }
    bool readLog() {
        return clink::RundownLogReader(ctx.link).read(LogPset) &&
               s.DataBuffer[app::RundownLogBlocks * 5 - 1] == model.rundownLogs[LogPset].back();
    }
    bool writeParameters() {
        app::ParameterFileCheck file;
        for (int line = 0; line < 4; ++line)
            file.writes.push_back({line + 1, app::ParameterWrite{100 + line, 0x30 + line}});
        file.lines = 4;
        file.validLines = 4;
        const app::ParameterEeprom eeprom{[this](int a, int v) { return tx().WriteToolEeprom(a, v); },
                                          [this](int a) { return tx().ReadToolEeprom(a); }};
        return app::transferParameterLines(file, eeprom, s, [](int) {}) == app::ParameterTransfer::Done &&
               model.toolEeprom[103] == 0x33;
    }
};

const Command Commands[] = {
    {"erase",
     [](WireCounts& w) { return w.tx().SendControlCommand(codes::ErasePsets); },
     {{ids::CommandRequest, codes::ErasePsets, ControlCounts}}},
    {"calibrate",
     [](WireCounts& w) { return w.tx().SendCalibrationCommand(1234); },
     {{ids::CalibrationRequest, CalibrationCode, SingleFrame}}},
    {"versionNumber",
     [](WireCounts& w) { return w.tx().SendSystemCommand() != 0; },
     {{ids::CommandRequest, codes::Version, ControlCounts}}},
    {"versionText",
     [](WireCounts& w) { return w.tx().ReadSccVersion(); },
     {{ids::CommandRequest, codes::Version, {2, 2, 2, 2}}}},
    {"transducerWrite",
     [](WireCounts& w) { return w.tx().WriteTransducerEeprom(7, 0x77); },
     {{ids::TransducerRequest, WriteCode, ControlCounts}}},
    {"nsmWrite",
     [](WireCounts& w) { return w.tx().WriteNsmSettings(3, 1); },
     {{ids::NsmRequest, WriteCode, ControlCounts}}},
    {"writeParameters",
     &WireCounts::writeParameters,
     {{ids::ToolEepromRequest, WriteCode, {4, 8, 4, 8}}, {ids::ToolEepromRequest, ReadCode, {4, 8, 8, 12}}}},
    {"psetReportRead",
     [](WireCounts& w) { return w.tx().ReadParameterSets(1); },
     {{ids::CommandRequest, codes::PsetRead, PsetReadCounts}}},
    {"rundownLog",
     &WireCounts::readLog,
     {{ids::CommandRequest, codes::RundownLogBlock, {140, 280, NotHeld, NotHeld}}}},
};

const Mode Modes[] = {
    {"acknowledging", Acknowledging, true, 0},
    {"once", Once, false, 0},
    {"acknowledgingHeld100", AcknowledgingHeld, true, 100},
    {"onceHeld100", OnceHeld, false, 100},
    {"onceAfterPresence", Once, false, 0, true},
    {"acknowledgingAfterPresence", Acknowledging, true, 0, true},
    {"acknowledgingApart0", Acknowledging, true, 0, false, 0},
    {"acknowledgingApart5", Acknowledging, true, 0, false, 5},
    {"acknowledgingApart60", Acknowledging, true, 0, false, 60},
};

TEST_P(WireCounts, NoCommandReachesTheControllerMoreOftenThanItsExchangeSendsIt) {
    const auto& [mode, command] = GetParam();
    dongle.ackThenReply = mode.ackThenReply;
    dongle.replyDelay = mode.holdMs;
    dongle.frameGapMs = mode.ackGapMs;
    if (mode.presenceFirst) {
        ASSERT_TRUE(clink::NsmExchange(ctx.link).readClock().has_value());
    }
    model.received.clear();
    ASSERT_TRUE(command.run(*this));
    waitFor([] { return false; }, SettleMs);
    for (const Counted& c : command.counted) {
        const int part = c.part[mode.column];
        const int sent = model.countReceived(c.id, c.code);
        if (mode.holdMs == 0)
            EXPECT_EQ(sent, part) << canIdText(c.id).toStdString() << " code " << c.code;
        else
            EXPECT_TRUE(sent >= 1 && sent <= part) << sent << " of " << canIdText(c.id).toStdString();
    }
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join(" | ").toStdString();
}

// Every command in every mode, but for a command that would take a minute against held answers.
std::vector<std::tuple<Mode, Command>> countedRuns() {
    std::vector<std::tuple<Mode, Command>> runs;
    for (const Mode& mode : Modes)
        for (const Command& command : Commands)
            if (command.counted.front().part[mode.column] != NotHeld)
                runs.emplace_back(mode, command);
    return runs;
}

INSTANTIATE_TEST_SUITE_P(Commands, WireCounts, ::testing::ValuesIn(countedRuns()),
                         [](const ::testing::TestParamInfo<std::tuple<Mode, Command>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

class BlockReceiveSilence : public linktest::CountingEthernetFixture {};

// A controller that answers the first block and nothing after: the receive ends once it has heard nothing
// for the silence cap, each attempt of the block having waited its sender's 80 ms; it does not go on to
// send the block's remaining attempts at once.
TEST_F(BlockReceiveSilence, ABlockReceiveFromAControllerThatStopsAnsweringEndsAtTheSilenceCap) {
    pump.clock = &clock;
    dongle.ackThenReply = true;
    model.unansweredLogicBlocks = {2};
    clink::BlockReceiver receiver(link, logicio::rungTableReceiveCounts(s.TransferDelay));
    const int64_t start = clock.nowMs();
    EXPECT_FALSE(receiver.receive(1, 3));
    EXPECT_EQ(receiver.missingBlock(), 2);
    EXPECT_LE(clock.nowMs() - start, 2 * SilenceCapMs);
    testsupport::waitFor([] { return false; }, SettleMs);
    const int asked = int(std::count(model.received.begin(), model.received.end(),
                                     CanMessage{ids::CommandRequest, {codes::LogicBlockRequest, 2}}));
    constexpr int64_t SendWaitMs = 80;
    EXPECT_GT(asked, 2);
    EXPECT_LE(asked, SilenceCapMs / SendWaitMs + 2);
}

} // namespace
