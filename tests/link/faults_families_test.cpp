// The Ethernet transaction families the seeded runs against the simulated line do not draw (the version,
// the transducer memory, the rundown result) against a dongle that is slow, repeats itself, answers once,
// sends noise, splits its frames or drops the connection: each transaction ends with the right value or with
// failure, never with a wrong value or a wrong success, and none waits longer than the silence cap. The
// families run back to back, so the replies one leaves in flight reach the next.
#include "tests/support/ethernetfixture.h"
#include "tests/support/waitfor.h"

#include <QElapsedTimer>

#include <functional>

using namespace clink;

namespace {

struct Mode {
    const char* name;
    int replyDelay = 0;
    bool ackThenReply = false;
    bool duplicate = false;
    bool split = false;
    bool garbage = false;
    bool closeMidway = false;
    int ackGapMs = -1;        // >= 0: the reply written on its own, this long after the acknowledgement
    bool bytePerTurn = false; // every byte its own write, one per turn of the event loop
};

// A head cut short, a garbled frame (a field above a byte, too few fields), and line noise.
const QByteArray Noise = QByteArrayLiteral("noise\r\n%CAN,151,120\r\n%CAN,999,1,NAC%\r\n#");

// What a transaction gave: its result, and whether what it took is what the controller holds.
struct Outcome {
    bool ok = false;
    bool right = false;
};

struct Family {
    const char* name;
    std::function<Outcome()> run;
};

void PrintTo(const Mode& mode, std::ostream* os) {
    *os << mode.name;
}

// Generous: a loaded machine under the sanitizers may add a little to the cap.
constexpr qint64 CapMarginMs = 2000;
// With the socket dropped, a transaction ends at its next send.
constexpr qint64 DroppedLinkMs = 1000;

class LinkFaults : public testsupport::EthernetFixture, public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        const Mode& m = GetParam();
        dongle.replyDelay = m.replyDelay;
        dongle.ackThenReply = m.ackThenReply;
        dongle.duplicateReplies = m.duplicate;
        dongle.splitBytes = m.split;
        dongle.frameGapMs = m.ackGapMs;
        dongle.bytePerTurn = m.bytePerTurn;
        if (m.garbage)
            dongle.garbageBetween = Noise;
    }

    // Reconnects (after a drop) and arms the dongle to drop the connection after the next frame it passes.
    void armDrop() {
        dongle.closeAfterReplies = 0;
        if (!link.socket.isConnected()) {
            link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
            ASSERT_TRUE(waitFor([&] { return link.socket.isConnected() && dongle.hasClient(); }));
        }
        dongle.closeAfterReplies = dongle.repliesSent() + 1;
    }

    Outcome version() {
        const int major = link.dataTx.SendSystemCommand(); // 0: no answer
        return {major != 0, major == model.verMajor};
    }
    Outcome writeTransducer(int address, int value) {
        const bool ok = link.dataTx.WriteTransducerEeprom(address, value);
        return {ok, model.transducerEeprom[size_t(address)] == value};
    }
    Outcome readTransducer(int address) {
        link.dataTx.ClearReceiveBuffer();
        const bool ok = link.dataTx.ReadTransducerEeprom(address);
        return {ok, s.DataCount == 1 && s.DataBuffer[0] == model.transducerEeprom[size_t(address)]};
    }
    Outcome rundownResult() {
        const bool ok = link.dataTx.ReadRundownResult();
        bool same = s.DataCount == sim::ControllerModel::RundownBytes;
        for (int i = 0; same && i < s.DataCount; ++i)
            same = s.DataBuffer[i] == model.rundown[size_t(i)];
        return {ok, same};
    }

    std::vector<Family> families() {
        return {
            {"version", [&] { return version(); }},
            {"version text",
             [&] {
                 const bool ok = link.dataTx.ReadSccVersion();
                 return Outcome{ok, s.SccVersionText == QStringLiteral("4.02")};
             }},
            {"transducer write 0", [&] { return writeTransducer(7, 0); }},
            {"transducer read", [&] { return readTransducer(7); }},
            {"transducer write", [&] { return writeTransducer(7, 0x77); }},
            {"rundown result", [&] { return rundownResult(); }},
            {"version again", [&] { return version(); }},
        };
    }
};

TEST_P(LinkFaults, EveryFamilyEndsRightOrFailsWithinTheCap) {
    const Mode& mode = GetParam();
    for (const Family& f : families()) {
        if (mode.closeMidway)
            armDrop();
        QElapsedTimer t;
        t.start();
        const Outcome o = f.run();
        const qint64 ms = t.elapsed();
        if (mode.closeMidway)
            EXPECT_LT(ms, DroppedLinkMs) << f.name;
        else
            EXPECT_LT(ms, SilenceCapMs + CapMarginMs) << f.name;
        if (o.ok)
            EXPECT_TRUE(o.right) << f.name << ": a wrong value or a wrong success";
        else if (!mode.closeMidway)
            ADD_FAILURE() << f.name << ": failed although the controller answered";
    }
    EXPECT_TRUE(dialogs.messages.empty() || mode.closeMidway)
        << dialogs.messageTexts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, LinkFaults,
    ::testing::Values(Mode{"prompt"}, Mode{"late40", 40}, Mode{"late150", 150}, Mode{"late400", 400},
                      Mode{"duplicated", 0, false, true}, Mode{"ackThenReply", 0, true},
                      Mode{"late150AckThenReply", 150, true}, Mode{"splitBytes", 0, false, false, true},
                      Mode{"garbage", 0, false, false, false, true},
                      Mode{"dropped", 0, false, false, false, false, true},
                      Mode{"acksApart60", 0, true, false, false, false, false, 60},
                      Mode{"bytePerTurn", 0, false, false, false, false, false, -1, true}),
    [](const ::testing::TestParamInfo<Mode>& info) { return std::string(info.param.name); });

} // namespace
