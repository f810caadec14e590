// The device windows' own exchanges on each link against the stand-in: the serial-output mode, the NSM
// clock, the socket tray's status and the tool's cycle messages. The cases every link shares run on each
// of them; the Ethernet race and the frames of each link have their own.
#include "link/nsmclock.h"
#include "link/serialout.h"
#include "link/sockettray.h"
#include "link/toolcycle.h"
#include "service/nsmclock.h"
#include "sim/trayemitter.h"
#include "tests/link/linkfixtures.h"

#include <algorithm>
#include <functional>
#include <type_traits>

using namespace clink;
using clink::TrayStatus;
using service::NsmClock;

namespace {

template <class F> class Devices : public linktest::OnEachLink<F> {
protected:
    static constexpr bool Ethernet = std::is_same_v<F, testsupport::EthernetFixture>;
    static constexpr bool Usb = std::is_same_v<F, testsupport::UsbFixture>;

    // The request frames the stand-in received on an identifier with this code.
    std::vector<CanMessage> requests(CanId id, int code) const {
        std::vector<CanMessage> out;
        for (const CanMessage& m : this->model.received)
            if (m.id == id && m.data[0] == code)
                out.push_back(m);
        return out;
    }
    // The first and the last of them (an empty message, and a failure, when there is none).
    CanMessage firstRequest(CanId id, int code) const {
        const std::vector<CanMessage> all = requests(id, code);
        if (all.empty())
            ADD_FAILURE() << "no request " << code;
        return all.empty() ? CanMessage{} : all.front();
    }
    CanMessage lastRequest(CanId id, int code) const {
        const std::vector<CanMessage> all = requests(id, code);
        if (all.empty())
            ADD_FAILURE() << "no request " << code;
        return all.empty() ? CanMessage{} : all.back();
    }
    // A tray on the bus: over Ethernet its messages reach the dongle every millisecond.
    void attachTray(int outSocket, int lamps) {
        this->model.socketTray = {true, outSocket, lamps};
        if constexpr (Ethernet)
            tray = std::make_unique<sim::TrayEmitter>(this->model, this->dongle);
    }
    std::unique_ptr<sim::TrayEmitter> tray;
};
TYPED_TEST_SUITE(Devices, linktest::LinkFixtures);

// The settings window's clock read and set, in the window's own terms.
std::optional<NsmClock> readClock(ControllerLink& link) {
    const std::optional<NsmClockFields> fields = NsmClockExchange(link).read();
    return fields ? std::optional(NsmClock::fromFields(*fields)) : std::nullopt;
}
bool setClock(ControllerLink& link, const NsmClock& clock) {
    return NsmClockExchange(link).set(clock.fields());
}

// Listening passes without a tray, and the most a tray's status may take to be heard (on the parallel port
// the bus carries it every fourth look).
constexpr int QuietPasses = 3;
constexpr int Passes = 12;

} // namespace

TYPED_TEST(Devices, SerialOutReadsAndSetsTheModeTheControllerReports) {
    this->model.serialOut.mode = 2;
    clink::SerialOutExchange serialOut(this->link);
    EXPECT_EQ(serialOut.read(), 2);
    EXPECT_EQ(serialOut.set(1), 1);
    EXPECT_EQ(this->model.serialOut.mode, 1);
    // The mode goes in data byte 1 of [C0], on the command identifier.
    EXPECT_EQ(this->lastRequest(ids::CommandRequest, 0xC0).data, (std::array<int, 8>{0xC0, 1}));
    EXPECT_EQ(this->firstRequest(ids::CommandRequest, 0xC1).data, (std::array<int, 8>{0xC1}));
    // A mode the list does not hold is still the controller's answer.
    this->model.serialOut.mode = 3;
    EXPECT_EQ(serialOut.read(), 3);
    EXPECT_TRUE(this->dialogs.messages.empty());
    if constexpr (TestFixture::Usb) {
        // The dongle is asked for the mode answer only.
        EXPECT_EQ(this->device.frames.back().expected, (std::array<int, 2>{0xC2, 0}));
        EXPECT_EQ(this->device.frames.back().accept, ids::StatusRequest);
    }
}

TYPED_TEST(Devices, SerialOutTakesOnlyTheModeAnswer) {
    // The first mode request goes unanswered; the exchange asks again and reports the controller's mode.
    this->model.serialOut.mode = 1;
    this->model.serialOut.silentModeRequests = 1;
    clink::SerialOutExchange serialOut(this->link);
    if constexpr (TestFixture::Usb || TestFixture::Ethernet) {
        EXPECT_EQ(serialOut.read(), 1);
        EXPECT_EQ(this->requests(ids::CommandRequest, 0xC1).size(), 2u);
    } else {
        // The parallel port sends its request once: no answer, no mode.
        EXPECT_EQ(serialOut.read(), std::nullopt);
        EXPECT_EQ(this->requests(ids::CommandRequest, 0xC1).size(), 1u);
    }
}

class SerialOutEthernet : public testsupport::EthernetFixture {};

TEST_F(SerialOutEthernet, AStatusAnswerDuringTheModeWaitDoesNotEndIt) {
    // The stand-in answers the three filter frames on 15EF0301 with the status, which sets ReplyReady
    // while the mode request waits; the first mode request goes unanswered, and a status comes in once more
    // right after it.
    model.serialOut.mode = 1;
    model.serialOut.silentModeRequests = 1;
    std::function<void()> armStatus = [&] {
        dongle.armOnAccept(ids::StatusRequest, [&] {
            if (dongle.frames.back().message.data[0] == 0xC0)
                dongle.emitSpontaneous({ids::StatusRequest, {0x10, 4, 2, 1, 0, 0, 0, 0}});
            else
                armStatus();
        });
    };
    armStatus();
    s.RequestData[1] = 0;
    // A wait ended by a status would have taken the stale 0 after one request.
    EXPECT_EQ(clink::SerialOutExchange(link).set(1), 1);
    EXPECT_EQ(model.countReceived(ids::CommandRequest, 0xC0), 2);
    int filterFrames = 0;
    for (const auto& f : dongle.frames)
        filterFrames += f.message.id == ids::StatusRequest && sim::isZeroData(f.message);
    EXPECT_EQ(filterFrames, 3);
    // The three status answers and the one sent during the wait reached the program.
    EXPECT_GE(dongle.repliesSent(), 4 + 1);
}

TYPED_TEST(Devices, NsmClockReadShowsTheUnitsTime) {
    this->model.nsmUnit.clock = {0x83, 7, 6, 14, 9};
    const std::optional<NsmClock> clock = readClock(this->link);
    ASSERT_TRUE(clock.has_value());
    EXPECT_EQ(*clock, (NsmClock{.hour = 3, .minute = 7, .month = 6, .day = 14, .year = 9, .pm = true}));
    EXPECT_TRUE(this->dialogs.messages.empty());
}

TYPED_TEST(Devices, NsmClockSetSendsTheHourByteAndTakesTheEcho) {
    const NsmClock noon{.hour = 12, .minute = 30, .month = 2, .day = 28, .year = 24, .pm = true};
    EXPECT_TRUE(setClock(this->link, noon));
    EXPECT_EQ(this->model.nsmUnit.clock, (std::array<int, 5>{140, 30, 2, 28, 24}));
    // The set request lists month, day, year, minute, hour.
    EXPECT_EQ(this->firstRequest(ids::NsmRequest, 0xDE).data,
              (std::array<int, 8>{0xDE, 2, 28, 24, 30, 140, 0, 0}));
    if constexpr (TestFixture::Ethernet || TestFixture::Usb) {
        EXPECT_TRUE(this->dialogs.messages.empty());
    } else {
        EXPECT_EQ(this->dialogs.messageTexts(), QStringList{"Time/Date Sent Successfully"});
        EXPECT_EQ(this->dialogs.messages.back().icon, base::MessageIcon::Information);
    }
    // 12 AM is the hour byte 12.
    EXPECT_TRUE(setClock(this->link, {.hour = 12}));
    EXPECT_EQ(this->model.nsmUnit.clock[0], 12);
}

TYPED_TEST(Devices, NsmClockFailuresAreReportedOnEveryLink) {
    this->model.noReply.insert(ids::NsmRequest);
    if constexpr (!TestFixture::Ethernet) {
        // Over Ethernet a silent unit costs the whole count of requests; the refused send covers it below.
        EXPECT_EQ(readClock(this->link), std::nullopt);
        EXPECT_EQ(this->dialogs.messageTexts().back(), "Nsm Read Time/Date Failed");
        EXPECT_FALSE(setClock(this->link, {}));
        EXPECT_EQ(this->dialogs.messageTexts().back(), "Unable To Transfer Time/Date - Transfer Failed");
        EXPECT_EQ(this->dialogs.messages.back().icon, base::MessageIcon::Critical);
    } else {
        this->link.socket.close();
        EXPECT_EQ(readClock(this->link), std::nullopt);
        EXPECT_FALSE(setClock(this->link, {}));
        EXPECT_EQ(
            this->dialogs.messageTexts(),
            (QStringList{"Nsm Read Time/Date Failed", "Unable To Transfer Time/Date - Transfer Failed"}));
    }
}

class NsmClockEthernet : public testsupport::EthernetFixture {};

TEST_F(NsmClockEthernet, AUnitThatAnswersOncePerRequestIsAskedAgain) {
    // The handler takes the first answer as the acknowledgement: one answer per request needs two requests.
    model.nsmUnit.clock = {0x83, 7, 6, 14, 9};
    EXPECT_EQ(readClock(link),
              (NsmClock{.hour = 3, .minute = 7, .month = 6, .day = 14, .year = 9, .pm = true}));
    EXPECT_EQ(model.countReceived(ids::NsmRequest, 0xDD), 2);
    EXPECT_TRUE(setClock(link, {.hour = 9, .minute = 1, .month = 1, .day = 2, .year = 3}));
    EXPECT_EQ(model.countReceived(ids::NsmRequest, 0xDE), 2);
    // Answers that come late are still taken within the waits.
    dongle.ackThenReply = true;
    dongle.replyDelay = 20;
    EXPECT_TRUE(readClock(link).has_value());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(NsmClock, HourByteCarriesPmInBit7) {
    EXPECT_EQ((NsmClock{.hour = 12, .pm = true}).hourByte(), 140);
    EXPECT_EQ((NsmClock{.hour = 12, .pm = false}).hourByte(), 12);
    EXPECT_EQ((NsmClock{.hour = 3, .pm = true}).hourByte(), 131);
    // A byte of 12 or less reads as AM; the hour is its low seven bits.
    EXPECT_EQ(NsmClock::fromReply(140, 0, 1, 1, 0).hour, 12);
    EXPECT_TRUE(NsmClock::fromReply(140, 0, 1, 1, 0).pm);
    EXPECT_FALSE(NsmClock::fromReply(12, 0, 1, 1, 0).pm);
    EXPECT_FALSE(NsmClock::fromReply(3, 0, 1, 1, 0).pm);
    EXPECT_EQ(NsmClock::fromReply(0x83, 7, 6, 14, 9),
              (NsmClock{.hour = 3, .minute = 7, .month = 6, .day = 14, .year = 9, .pm = true}));
}

TYPED_TEST(Devices, SocketTrayStatusIsHeardWhileATrayIsAttached) {
    this->linkCheck(ids::Reply13EF0110);
    clink::SocketTrayListener listener(this->link);
    // Without a tray nothing comes; the PC's own frames on the tray's identifier are no status.
    for (int pass = 0; pass < QuietPasses; ++pass)
        EXPECT_EQ(listener.pass(), std::nullopt);
    this->attachTray(3, 5);
    std::optional<TrayStatus> heard;
    for (int pass = 0; pass < Passes && !heard; ++pass)
        heard = listener.pass();
    // The socket out is data byte 1, the lamps data byte 7.
    EXPECT_EQ(heard, (TrayStatus{3, 5}));
    listener.stop();
    if constexpr (TestFixture::Ethernet) {
        EXPECT_TRUE(
            this->waitFor([this] { return this->dongle.frames.back().accept == ids::DspWriteRequest; }));
    }
}

TYPED_TEST(Devices, ToolCountsEachEndOfCycleInItsThreeCounters) {
    auto& eeprom = this->model.toolEeprom;
    const std::array<uint8_t, 6> before = {0x01, 0xFF, 0x00, 0x00, 0xFF, 0xFF};
    std::copy(before.begin(), before.end(), eeprom.begin() + 256);
    this->linkCheck(ids::ToolEepromReply);
    clink::ToolCycleMessages messages(this->link);
    EXPECT_TRUE(messages.endOfCycle());
    EXPECT_TRUE(messages.cycleCounted());
    // Three big-endian words, each one more (the last one wraps); only the end of a cycle counts.
    EXPECT_EQ((std::array<uint8_t, 6>{eeprom[256], eeprom[257], eeprom[258], eeprom[259], eeprom[260],
                                      eeprom[261]}),
              (std::array<uint8_t, 6>{0x02, 0x00, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(this->model.toolCounter.endOfCycles, 1);
    EXPECT_EQ(this->requests(ids::ToolReply, 0x40).size(), 1u);
    EXPECT_EQ(this->firstRequest(ids::ToolReply, 0x40).data, (std::array<int, 8>{0x40, 1}));
    EXPECT_EQ(this->firstRequest(ids::ToolReply, 0x50).data, (std::array<int, 8>{0x50, 0, 8}));
}
