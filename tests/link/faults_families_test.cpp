// Every Ethernet transaction family against a dongle that is slow, repeats itself, answers once, sends
// noise, splits its frames or drops the connection: each transaction ends with the right value or with
// failure, never with a wrong value or a wrong success, and none waits longer than the silence cap. The
// families run back to back, so the replies one leaves in flight reach the next.
#include "link/commandcodes.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/waitfor.h"

#include <QElapsedTimer>

#include <functional>

using namespace clink;
namespace codes = clink::codes;

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
        seedModel();
    }

    void seedModel() {
        for (int i = 0; i < PsetBytes; ++i) {
            model.psets[1][size_t(i)] = (i * 7 + 1) & 0xFF;
            model.psets[2][size_t(i)] = (i * 11 + 100) & 0xFF;
        }
        model.toolEeprom[5] = 0x55;
        model.toolEeprom[6] = 0x66;
        model.nsm = {3, 1, 4, 2, 1, 7, 0, 1, 0};
        model.curves[1] = {100, 200, 300, 400, 500, 600};
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

    bool bufferHolds(int first, const std::vector<int>& values) const {
        for (size_t i = 0; i < values.size(); ++i)
            if (s.DataBuffer[first + int(i)] != values[i])
                return false;
        return true;
    }

    Outcome readTool(int address) {
        link.dataTx.ClearReceiveBuffer();
        const bool ok = link.dataTx.ReadToolEeprom(address);
        return {ok, s.DataCount == 1 && s.DataBuffer[0] == model.toolEeprom[size_t(address)]};
    }
    Outcome writeTool(int address, int value) {
        const bool ok = link.dataTx.WriteToolEeprom(address, value);
        return {ok, model.toolEeprom[size_t(address)] == value};
    }
    Outcome control(int code) {
        const int before = model.countReceived(ids::CommandRequest, code);
        const bool ok = link.dataTx.SendControlCommand(code);
        return {ok, model.countReceived(ids::CommandRequest, code) > before};
    }
    Outcome readPset(int pset) {
        const bool ok = link.dataTx.ReadPsetBlock(pset);
        const auto& p = model.psets[size_t(pset)];
        return {ok, bufferHolds(0, std::vector<int>(p.begin(), p.end()))};
    }
    Outcome sendPset(int pset) {
        // Four packets of seven bytes, the last naming the Pset.
        std::array<int, PsetBytes> bytes{};
        for (int i = 0; i < PsetBytes; ++i)
            bytes[size_t(i)] = (i * 5 + pset * 3) & 0xFF;
        bytes[PsetBytes - 1] = pset;
        bool ok = true;
        for (int k = 0; ok && k < codes::PsetPackets; ++k) {
            std::array<int, 8> packet{codes::PsetPacket1 + k};
            for (int i = 0; i < PsetPacketBytes; ++i)
                packet[size_t(1 + i)] = bytes[size_t(k * PsetPacketBytes + i)];
            ok = link.dataTx.SendPsetData(packet);
        }
        const auto& stored = model.psets[size_t(pset)];
        return {ok, std::equal(bytes.begin(), bytes.end(), stored.begin())};
    }
    Outcome sendLogic(int block) {
        const int first = (block - 1) * 6;
        std::vector<int> image;
        for (int i = 0; i < 6; ++i) {
            image.push_back((block * 13 + i) & 0xFF);
            s.DataBuffer.put(first + i, image.back());
        }
        const bool ok = link.dataTx.SendLogicIoProgram(block);
        const auto& held = model.logicBlocks[block];
        return {ok, std::equal(image.begin(), image.end(), held.begin())};
    }
    Outcome curve(int index) {
        const bool ok = link.dataTx.RequestCurveData(1, index);
        const auto& c = model.curves[1];
        return {ok, s.CurveUploadData[1] == c[size_t(index)] && s.CurveUploadData[2] == c[size_t(index + 1)]};
    }
    Outcome writeDsp(int address, int value) {
        const bool ok = link.dataTx.WriteDspEeprom(address, value);
        return {ok, model.dspBytes[size_t(address)] == (value & 0xFF) &&
                        model.dspBytes[size_t(address + 1)] == (value >> 8)};
    }
    Outcome readDsp(int address) {
        link.dataTx.ClearReceiveBuffer();
        const bool ok = link.dataTx.ReadDspEeprom(address);
        return {ok, s.DataCount == 2 && bufferHolds(0, {model.dspBytes[size_t(address)],
                                                        model.dspBytes[size_t(address + 1)]})};
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
        return {ok, s.DataCount == ControllerModelRundownBytes &&
                        bufferHolds(0, std::vector<int>(model.rundown.begin(), model.rundown.end()))};
    }
    Outcome nsmRead() {
        const bool ok = link.dataTx.ReadNsmSettings();
        return {ok, bufferHolds(0, std::vector<int>(model.nsm.begin(), model.nsm.end()))};
    }
    Outcome status() {
        const bool ok = link.dataTx.ReadSystemStatus();
        const SystemStatusRecord& st = s.SystemStatus;
        return {ok, st.PsetCount == model.psetCount && st.CurrentPset == model.currentPset &&
                        st.StatusUnits == model.units && int(st.StatusTarget * 10 + 0.5) == model.target};
    }

    static constexpr int ControllerModelRundownBytes = sim::ControllerModel::RundownBytes;

    std::vector<Family> families() {
        return {
            {"tool eeprom read", [&] { return readTool(5); }},
            {"tool eeprom write 0 over a read value", [&] { return writeTool(5, 0); }},
            {"tool eeprom read back", [&] { return readTool(5); }},
            {"tool eeprom write", [&] { return writeTool(6, 0x5A); }},
            {"tool eeprom read of another address", [&] { return readTool(6); }},
            {"status", [&] { return status(); }},
            {"version",
             [&] {
                 const int major = link.dataTx.SendSystemCommand(); // 0: no answer
                 return Outcome{major != 0, major == model.verMajor};
             }},
            {"control reset logic", [&] { return control(codes::ResetLogicDefaults); }},
            {"control restart logic", [&] { return control(codes::RestartLogic); }},
            {"version text",
             [&] {
                 const bool ok = link.dataTx.ReadSccVersion();
                 return Outcome{ok, s.SccVersionText == QStringLiteral("4.02")};
             }},
            {"pset read", [&] { return readPset(1); }},
            {"pset read of another pset", [&] { return readPset(2); }},
            {"pset send", [&] { return sendPset(3); }},
            {"logic block send", [&] { return sendLogic(1); }},
            {"logic next block", [&] { return sendLogic(2); }},
            {"curve", [&] { return curve(0); }},
            {"curve next samples", [&] { return curve(2); }},
            {"dsp write", [&] { return writeDsp(300, 0x1234); }},
            {"dsp read", [&] { return readDsp(300); }},
            {"dsp write 0", [&] { return writeDsp(300, 0); }},
            {"dsp read back", [&] { return readDsp(300); }},
            {"transducer write 0", [&] { return writeTransducer(7, 0); }},
            {"transducer read", [&] { return readTransducer(7); }},
            {"transducer write", [&] { return writeTransducer(7, 0x77); }},
            {"rundown result", [&] { return rundownResult(); }},
            {"nsm read", [&] { return nsmRead(); }},
            {"status again", [&] { return status(); }},
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
