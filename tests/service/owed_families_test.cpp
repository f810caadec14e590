// Exchanges whose answers carry little or nothing of their request, each run right after an exchange on the
// same identifier that left answers owed or copies on their way, against a dongle that holds, repeats or
// answers once: the DSP revision after the tool's data and the tool's data after it, the NSM unit's clock
// after a clock read and its version after that, the transducer check after another, the rundown log after
// another Pset's log, the socket tray's passes, the serial output's set after its read. Every value taken is
// the stand-in's as it is now.
#include "base/progress.h"
#include "link/commandcodes.h"
#include "link/dsprevision.h"
#include "link/linkcheck.h"
#include "link/nsmexchange.h"
#include "link/rundownlog.h"
#include "link/serialout.h"
#include "link/sockettray.h"
#include "link/tooldiagnostics.h"
#include "sim/trayemitter.h"
#include "tests/service/owedfixture.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

using namespace clink;
namespace codes = clink::codes;
using base::DoEventsSlice;
using testsupport::Dongle;

namespace {

constexpr int SettleMs = 50; // a wait for the dongle's held answers lasts this much longer than the holds
class OwedFamilies : public testsupport::OwedFixture {
protected:
    // The tool's data read for the speed box; every stored byte must be the tool's.
    void readToolDataRightAway() {
        ASSERT_TRUE(link.dataTx.ReadToolRpm());
        const auto& diag = model.diag;
        const int expected[] = {diag.volt & 0xFF, diag.volt >> 8,  diag.maxTq & 0xFF,
                                diag.maxTq >> 8,  diag.rpm & 0xFF, diag.rpm >> 8};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(s.DataBuffer[i], expected[i]) << "tool data byte " << i;
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text, toolRpmText({.rpm = diag.rpm}));
    }
};

TEST_P(OwedFamilies, TheDspRevisionAfterTheToolDataAndTheToolDataAfterItAreEachTheirOwn) {
    model.dspRevisionMajor = 4;
    model.dspRevisionMinor = 7;
    model.diag.rpm = 0x1234;
    readToolDataRightAway();
    clink::DspRevision revision(link);
    ASSERT_TRUE(revision.mnuDspRev()) << dialogs.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Dsp Software Revision : 4.07"));
    EXPECT_DOUBLE_EQ(revision.DspVersion, 4.07);
    // A revision read for the editor right after, then the tool's data again at once.
    model.dspRevisionMinor = 8;
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + SettleMs);
    ASSERT_TRUE(revision.GetDspRev());
    EXPECT_DOUBLE_EQ(revision.DspVersion, 4.08);
    model.diag.rpm = 0x0987;
    readToolDataRightAway();
}

TEST_P(OwedFamilies, TheNsmClockReadRightAfterAClockReadIsTheClockAsItIsNowAndTheVersionFollows) {
    clink::NsmExchange nsm(link);
    model.nsmUnit.clock = {0x8F, 7, 6, 14, 9};
    ASSERT_EQ(nsm.readClock(), (clink::NsmAnswer{codes::NsmClock, 0x8F, 7, 6, 14, 9}));
    // The clock moves on; the answers the first read drew are still coming with the old one.
    model.nsmUnit.clock = {0x10, 21, 3, 2, 11};
    ASSERT_EQ(nsm.readClock(), (clink::NsmAnswer{codes::NsmClock, 0x10, 21, 3, 2, 11}));
    model.nsmUnit.major = 2;
    model.nsmUnit.minor = 14;
    nsm.viewVersion();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text, clink::nsmVersionText(2, 14, true));
    EXPECT_EQ(dialogs.messages.back().icon, base::MessageIcon::Information);
}

INSTANTIATE_TEST_SUITE_P(Dongles, OwedFamilies,
                         ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held150", 150},
                                           Dongle{"held400", 400}, Dongle{"held150Once", 150, false},
                                           Dongle{"held400Once", 400, false}, Dongle{"repeating", 0, true, 3},
                                           Dongle{"repeatingOnce", 0, false, 3},
                                           Dongle{"held40Repeating", 40, true, 5}),
                         testsupport::dongleName);

// A pass listens for the tray's own frames for little more than 100 ms after its first frame: run on
// dongles that pass them on sooner, once or repeated.
class OwedSocketTray : public testsupport::OwedFixture {};

// Passes a tray's status is heard within, however busy the machine.
constexpr int TrayPasses = 20;

TEST_P(OwedSocketTray, ASocketTrayPassAfterTheTrayChangedShowsItAsItIsNow) {
    model.socketTray = {true, 3, 5};
    sim::TrayEmitter tray(model, dongle);
    clink::SocketTrayListener listener(link);
    std::optional<clink::TrayStatus> heard;
    for (int pass = 0; pass < TrayPasses && !heard; ++pass)
        heard = listener.pass();
    EXPECT_EQ(heard, (clink::TrayStatus{3, 5}));
    // Socket 6 lifted, lamps 1 and 6 on: the next pass shows it, not a copy of what the tray said before.
    model.socketTray = {true, 6, 0x21};
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + SettleMs);
    heard.reset();
    for (int pass = 0; pass < TrayPasses && !heard; ++pass)
        heard = listener.pass();
    EXPECT_EQ(heard, (clink::TrayStatus{6, 0x21}));
    listener.stop();
}

INSTANTIATE_TEST_SUITE_P(Dongles, OwedSocketTray,
                         ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held40", 40},
                                           Dongle{"repeating", 0, true, 3},
                                           Dongle{"repeatingOnce", 0, false, 3},
                                           Dongle{"held40Repeating", 40, true, 5}),
                         testsupport::dongleName);

// The transducer check waits 100 ms in all for its answer: run on dongles that answer within it.
class OwedTransducerCheck : public testsupport::OwedFixture {};

TEST_P(OwedTransducerCheck, ATransducerCheckRightAfterAnotherIsAnsweredOnlyByATransducerThatIsThere) {
    LinkCheck check(link);
    // On a busy machine a held answer can miss the check's 100 ms: a transducer there answers one of a few.
    const auto answeredWithin = [&check](int checks) {
        for (int n = 0; n < checks; ++n)
            if (check.transducerCheck().ok)
                return true;
        return false;
    };
    constexpr int BusyMachineChecks = 3;
    EXPECT_TRUE(answeredWithin(BusyMachineChecks));
    // A copy later than the sender's wait, read late, passes for the next answer: the line shows it first.
    if (std::chrono::milliseconds(GetParam().repeatGapMs) > Ethernet::QuietLineDoEvents * DoEventsSlice) {
        testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + GetParam().repeatGapMs + SettleMs);
        EXPECT_TRUE(answeredWithin(BusyMachineChecks));
    }
    // The transducer is gone: the answers the check before drew, and their copies, are no answer to this one.
    model.noReply.insert(ids::TransducerReply2);
    const LinkCheckResult gone = check.transducerCheck();
    EXPECT_FALSE(gone.ok);
    EXPECT_EQ(gone.failText, QStringLiteral("External Transducer Not Communicating"));
    model.noReply.erase(ids::TransducerReply2);
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + SettleMs);
    EXPECT_TRUE(answeredWithin(BusyMachineChecks));
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, OwedTransducerCheck,
    ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held40", 40},
                      Dongle{"held40Once", 40, false}, Dongle{"repeating", 0, true, 3},
                      Dongle{"repeatingOnce", 0, false, 3}, Dongle{"held40Repeating", 40, true, 5},
                      Dongle{"acksApart60", 0, true, -1, 60}, Dongle{"copiesLate70", 0, true, 70},
                      Dongle{"copiesLate120", 0, true, 120}, Dongle{"copiesLate120Once", 0, false, 120}),
    testsupport::dongleName);

// The rundown log reads 140 blocks, one after another: run on dongles that answer within the log's own
// waits, once or repeated.
class OwedRundownLog : public testsupport::OwedFixture {};

TEST_P(OwedRundownLog, ALogReadRightAfterAnotherPsetsLogTakesEveryByteFromItsOwnPset) {
    auto& logs = model.rundownLogs;
    for (size_t i = 0; i < sim::ControllerModel::RundownLogBytes; ++i) {
        logs[2][i] = uint8_t((i * 13 + 1) & 0xFF);
        logs[3][i] = uint8_t((i * 7 + 90) & 0xFF);
    }
    clink::RundownLogReader reader(link);
    base::NoProgress progress;
    for (const int pset : {2, 3}) {
        ASSERT_TRUE(reader.read(pset, progress)) << "Pset " << pset;
        for (int i = 0; i < sim::ControllerModel::RundownLogBytes; ++i)
            ASSERT_EQ(s.DataBuffer[i], logs[pset][size_t(i)]) << "Pset " << pset << " byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Dongles, OwedRundownLog,
                         ::testing::Values(Dongle{"once", 0, false}, Dongle{"repeating", 0, true, 3}),
                         testsupport::dongleName);

// The serial output's set right after its read, on every dongle the link meets.
class OwedAcrossExchanges : public testsupport::OwedFixture {};

TEST_P(OwedAcrossExchanges, AReadOfTheSerialOutputThenASetReportsTheModeSet) {
    model.serialOut.mode = 0;
    clink::SerialOutExchange serialOut(link);
    ASSERT_EQ(serialOut.read(), std::optional<int>(0));
    // The set comes at once: the read's extra requests are still being answered with the old mode.
    EXPECT_EQ(serialOut.set(1), std::optional<int>(1));
    EXPECT_EQ(model.serialOut.mode, 1);
    // A read a moment later agrees.
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + SettleMs);
    EXPECT_EQ(serialOut.read(), std::optional<int>(1));
}

TEST_P(OwedAcrossExchanges, TheFirstReadsAfterAConnectAreTheControllersValuesNow) {
    // The status, then tool locations read, changed on the controller and read again: whatever the gateway
    // writes in front of an answer, each value is the stand-in's as it is now.
    model.currentPset = 3;
    ASSERT_TRUE(link.dataTx.ReadSystemStatus());
    EXPECT_EQ(s.SystemStatus.CurrentPset, 3);
    for (int address : {4, 5})
        for (int round = 1; round <= 2; ++round) {
            model.toolEeprom[size_t(address)] = 0x10 * round + address;
            s.DataCount = 0;
            ASSERT_TRUE(link.dataTx.ReadToolEeprom(address)) << "location " << address << ", round " << round;
            EXPECT_EQ(s.DataBuffer[0], 0x10 * round + address)
                << "location " << address << ", round " << round;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, OwedAcrossExchanges,
    ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held40", 40},
                      Dongle{"held150", 150}, Dongle{"held400", 400}, Dongle{"held150Once", 150, false},
                      Dongle{"held400Once", 400, false}, Dongle{"repeating", 0, true, 3},
                      Dongle{"repeatingOnce", 0, false, 3}, Dongle{"held40Repeating", 40, true, 5},
                      Dongle{"framesApart", 0, true, -1, 4}, Dongle{"held150FramesApart", 150, true, -1, 20},
                      Dongle{"acksApart60", 0, true, -1, 60}, Dongle{"copiesLate70", 0, true, 70},
                      Dongle{"copiesLate70Once", 0, false, 70}, Dongle{"copiesLate120", 0, true, 120},
                      Dongle{"staleStatus", 0, true, -1, -1, 150},
                      Dongle{"staleStatusOnce", 0, false, -1, -1, 150},
                      Dongle{"reports", 0, true, -1, -1, 0, 10},
                      Dongle{"bytePerTurn", 0, false, -1, -1, 0, 0, true},
                      Dongle{"previousInFront", 0, true, -1, -1, 0, 0, false, true},
                      Dongle{"previousInFrontOnce", 0, false, -1, -1, 0, 0, false, true},
                      Dongle{"held40PreviousInFront", 40, true, -1, -1, 0, 0, false, true}),
    testsupport::dongleName);

} // namespace
