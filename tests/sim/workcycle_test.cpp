// The stand-in's knobs for a person trying the program: the controller type it plays, the rundowns and
// faults it reports on its own, and how long the tool streams its button sensors.
#include "ladder/elementcatalogue.h"
#include "ladder/ladderimage.h"
#include "link/commandcodes.h"
#include "sim/controllermodel.h"

#include <QStringList>

#include <algorithm>

#include <gtest/gtest.h>

using namespace sim;
namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {

std::vector<CanMessage> ask(ControllerModel& m, CanId id, std::array<int, 8> d) {
    return m.respond({id, d}, Transport::Ethernet);
}

// A record word, high byte first.
int word(const ControllerModel::RundownRecord& r, size_t at) {
    return r[at] * 256 + r[at + 1];
}
// A report word, low byte first, signed.
int signedWord(const CanMessage& m, size_t at) {
    return int16_t(m.data[at] | (m.data[at + 1] << 8));
}

TEST(ControllerType, EachTypeAnswersItsVersionAndKeepsItsProgramInItsOwnStore) {
    struct Case {
        int type;
        int minor;
        bool ladder;
    };
    for (const Case c : {Case{3, 5, true}, Case{4, 2, false}, Case{5, 10, false}}) {
        SCOPED_TRACE(c.type);
        ControllerModel m;
        ASSERT_TRUE(m.playControllerType(c.type));
        EXPECT_EQ(ask(m, ids::CommandRequest, {0xA0}),
                  (std::vector<CanMessage>{{ids::CommandReply, {0xA0, 0xA0, c.type, c.minor, 0, 0, 0, 0}}}));
        EXPECT_EQ(m.playsLadder(), c.ladder);
        const auto logicBefore = m.logicBlocks;
        // Block frame 2, quarter 1: a ladder slot frame on type 3, logic block 2 on the others.
        EXPECT_EQ(ask(m, ids::CommandRequest, {0x61, 2, 1, 11, 12, 13, 14, 15}).size(), 1u);
        if (c.ladder) {
            EXPECT_EQ(m.logicBlocks, logicBefore);
            EXPECT_EQ(m.ladderSlots[21], 11);
            EXPECT_EQ(m.ladderSlots[25], 15);
            // Answer block 3 holds slots 18..23.
            EXPECT_EQ(ask(m, ids::CommandRequest, {0x62, 3}),
                      (std::vector<CanMessage>{{ids::CommandReply, {0x62, 3, 0, 0, 0, 11, 12, 13}}}));
        } else {
            EXPECT_EQ(m.logicBlocks[2], (ControllerModel::Block{1, 11, 12, 13, 14, 15}));
            EXPECT_EQ(m.ladderSlots, ControllerModel::LadderImage{});
            // Type 5's batch program uses blocks up to 117.
            EXPECT_EQ(ask(m, ids::CommandRequest, {0x62, 117})[0].data[2], m.logicDefaults[117][0]);
        }
    }
    // Types the stand-in cannot play change nothing.
    ControllerModel m;
    for (int type : {0, 2, 6, -4}) {
        EXPECT_FALSE(m.playControllerType(type));
        EXPECT_EQ(m.verMajor, 4);
        EXPECT_EQ(m.verMinor, 2);
    }
}

TEST(ControllerType, ALadderControllerHoldsItsFactoryProgramAndRestoresItOnTheLogicReset) {
    ControllerModel m;
    ASSERT_TRUE(m.playControllerType(3));
    // What the ladder editor's receive asks for: every answer block, six slots each.
    auto received = [&m] {
        ladder::LadderImage image{};
        for (int k = 0; k < ladder::LadderImageSlots / 6; ++k) {
            const std::vector<CanMessage> answer = ask(m, ids::CommandRequest, {codes::LogicBlockRequest, k});
            EXPECT_EQ(answer.size(), 1u) << k;
            if (answer.size() != 1u)
                return image;
            EXPECT_EQ(answer[0].data[1], k);
            for (size_t i = 0; i < 6; ++i)
                image[size_t(6 * k) + i] = answer[0].data[2 + i];
        }
        return image;
    };
    // The rungs as the editor shows them: each rung's input and output texts, up to the first empty slot.
    auto rungs = [](const ladder::LadderImage& image) {
        QStringList shown;
        const ladder::LadderPresets presets;
        for (int r = 1; r <= image[0]; ++r) {
            QStringList inputs;
            QStringList outputs;
            for (int s = 0; s < ladder::ListSlots && image[size_t(ladder::inputSlot(r) + s)] > 0; ++s)
                inputs << ladder::GetInputText(image[size_t(ladder::inputSlot(r) + s)], presets);
            for (int s = 0; s < ladder::ListSlots && image[size_t(ladder::outputSlot(r) + s)] > 0; ++s)
                outputs << ladder::GetOutputText(image[size_t(ladder::outputSlot(r) + s)]);
            shown << inputs.join(" AND ") + " -> " + outputs.join(", ");
        }
        return shown;
    };
    const QStringList factory{"Cycle Accept -> Green Light On", "Cycle Reject -> Red Light On",
                              "Input 1 On -> Output 1 On"};
    const ladder::LadderImage first = received();
    EXPECT_EQ(rungs(first), factory);
    // Nothing beyond the three rungs: no presets, no stray slots.
    EXPECT_EQ(std::count_if(first.begin(), first.end(), [](int slot) { return slot != 0; }), 7);

    // A program the editor sends replaces it: the header clears the image.
    EXPECT_EQ(ask(m, ids::CommandRequest, {codes::LogicBlock, 0, 0, 1}).size(), 1u);
    EXPECT_EQ(ask(m, ids::CommandRequest, {codes::LogicBlock, 1, 1, 2, 0, 0, 0, 0}).size(), 1u);
    EXPECT_EQ(ask(m, ids::CommandRequest, {codes::LogicBlock, 1, 3, 4, 0, 0, 0, 0}).size(), 1u);
    EXPECT_EQ(rungs(received()), QStringList{"Input 2 On -> Blue Light On"});
    // The logic reset brings the factory program back.
    EXPECT_EQ(ask(m, ids::CommandRequest, {codes::ResetLogicDefaults}).size(), 1u);
    EXPECT_EQ(received(), first);

    // The other types keep no ladder program.
    for (int type : {4, 5}) {
        ControllerModel other;
        ASSERT_TRUE(other.playControllerType(type));
        EXPECT_EQ(other.ladderSlots, ControllerModel::LadderImage{}) << type;
        EXPECT_EQ(other.ladderDefaults, ControllerModel::LadderImage{}) << type;
    }
}

TEST(WorkCycle, RundownsGoRoundEveryResultAndReachBothListenersAlike) {
    ControllerModel m;
    m.target = 1200; // 120.0
    m.units = 5;
    m.currentPset = 3;
    m.psetCount = 8;
    // Accepted, accepted, torque high, accepted, torque low, angle high, angle low, torque and angle high.
    const std::vector<int> results{1, 1, 2, 1, 4, 8, 16, 10};
    for (size_t n = 0; n < results.size() + 1; ++n) {
        SCOPED_TRACE(n);
        const std::vector<CanMessage> frames = m.nextRundown();
        ASSERT_EQ(frames.size(), 5u);
        // The run screen's record: the controller's start frame, then blocks 1..3 of the record.
        EXPECT_EQ(frames[0], (CanMessage{ids::RunData, {0x01, 0, 0, 0, 0, 0, 0, 0}}));
        const ControllerModel::RundownRecord& r = m.rundown;
        for (int b = 1; b <= 3; ++b) {
            EXPECT_EQ(frames[size_t(b)].id, ids::RunData);
            EXPECT_EQ(frames[size_t(b)].data[0], 0x10);
            EXPECT_EQ(frames[size_t(b)].data[1], b);
            for (size_t i = 0; i < 6; ++i)
                EXPECT_EQ(frames[size_t(b)].data[2 + i], r[size_t(6 * (b - 1)) + i]);
        }
        EXPECT_EQ(word(r, 0), 1200);
        EXPECT_EQ(word(r, 2), 1320);
        EXPECT_EQ(word(r, 4), 1080);
        EXPECT_EQ(word(r, 8), 900);
        EXPECT_EQ(word(r, 10), 100);
        EXPECT_EQ(r[14], results[n % results.size()]);
        EXPECT_EQ(r[15], 5);
        EXPECT_EQ(r[16], 3);
        EXPECT_EQ(r[17], 8);
        // The monitors' report: the same result, torques in thousandths of the target, the same angle.
        const CanMessage& report = frames[4];
        EXPECT_EQ(report.id, ids::ToolReply);
        EXPECT_EQ(report.data[0], 0x40);
        EXPECT_EQ(report.data[1], r[14]);
        EXPECT_EQ(signedWord(report, 2) * 1200, word(r, 12) * 1000);
        EXPECT_EQ(signedWord(report, 4), word(r, 6));
        EXPECT_EQ(signedWord(report, 6), signedWord(report, 2));
    }
    EXPECT_EQ(m.rundownsPlayed, 9);

    // The third of the round, exactly: torque 138.0 over 132.0, angle 60.
    ControllerModel t;
    t.target = 1200;
    t.nextRundown();
    t.nextRundown();
    const std::vector<CanMessage> high = t.nextRundown();
    EXPECT_EQ(high[3], (CanMessage{ids::RunData, {0x10, 3, 0x05, 0x64, 0x02, 0x01, 0x01, 0x08}}));
    EXPECT_EQ(high[4], (CanMessage{ids::ToolReply, {0x40, 0x02, 0x7E, 0x04, 60, 0, 0x7E, 0x04}}));

    // The limits follow the target the controller holds; a zero target reports zero torques.
    ControllerModel z;
    z.target = 0;
    const std::vector<CanMessage> zero = z.nextRundown();
    EXPECT_EQ(signedWord(zero[4], 2), 0);
    EXPECT_EQ(word(z.rundown, 12), 0);
}

TEST(WorkCycle, FaultsGoRoundTheFourGroupsOneFlagEach) {
    ControllerModel m;
    const std::vector<CanMessage> expected{
        {ids::ToolReply, {0x10, 0, 0x01, 0, 0, 0, 0, 0}},
        {ids::ToolReply, {0x11, 0, 0x02, 0, 0, 0, 0, 0}},
        {ids::ToolReply, {0x12, 0, 0x01, 0, 0, 0, 0, 0}},
        {ids::ToolReply, {0x15, 0, 0x08, 0, 0, 0, 0, 0}},
    };
    for (size_t n = 0; n < 6; ++n)
        EXPECT_EQ(m.nextFault(), expected[n % expected.size()]) << n;
    EXPECT_EQ(m.faultsPlayed, 6);
    // Reporting on its own asks nothing of the requests' memory.
    EXPECT_EQ(m.received.size(), 0u);
}

TEST(ButtonStream, RunsAMinuteUntilTheToolIsAskedAnythingElse) {
    ControllerModel m;
    std::chrono::milliseconds now{5000};
    m.clock = [&now] { return now; };
    const CanMessage test{ids::ToolEepromRequest, {0x40, 0, 0, 0, 0, 0, 0, 0}};

    m.respond(test, Transport::Ethernet);
    // A person takes their time between the readings: the stream is still there just before the minute.
    now += ControllerModel::ButtonStreamTime - std::chrono::milliseconds(1);
    EXPECT_TRUE(m.buttonStreamRunning());
    EXPECT_TRUE(m.nextButtonSensorFrame());
    // The readings' own filter frames and other identifiers do not end it.
    m.respond({0x16EF0102, {}}, Transport::Ethernet);
    m.respond({ids::ToolEepromRequest, {}}, Transport::Ethernet);
    m.respond({ids::StatusRequest, {}}, Transport::Ethernet);
    EXPECT_TRUE(m.nextButtonSensorFrame());
    now += std::chrono::milliseconds(1);
    EXPECT_FALSE(m.buttonStreamRunning());
    EXPECT_FALSE(m.nextButtonSensorFrame());
    // Ended by the clock, it stays ended when the clock is set back.
    now -= std::chrono::milliseconds(10);
    EXPECT_FALSE(m.nextButtonSensorFrame());
    EXPECT_EQ(m.buttonFramesSent, 2);

    // A new request starts a fresh minute; the next question to the tool (here writing the thresholds)
    // ends it at once.
    m.respond(test, Transport::Usb);
    EXPECT_TRUE(m.nextButtonSensorFrame());
    m.respond({ids::ToolEepromRequest, {0x60, 0, 7, 0x12, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_FALSE(m.buttonStreamRunning());
    EXPECT_FALSE(m.nextButtonSensorFrame());
    // The button-state request ends it too.
    m.respond(test, Transport::ParallelPort);
    m.respond({ids::ToolEepromRequest, {0x30, 0, 0, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    EXPECT_FALSE(m.nextButtonSensorFrame());
    EXPECT_EQ(m.buttonFramesSent, 3);
}

} // namespace
