#include "tests/support/linksim/linksim.h"

#include "app/appservices.h"
#include "app/nsmexchange.h"
#include "app/reports/toolreports.h"
#include "app/toolparameterread.h"
#include "ladder/laddertransfer.h"
#include "link/blockreceive.h"
#include "link/commandcodes.h"
#include "link/linkcheck.h"
#include "logicio/logictransfer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace linksim {

namespace ids = clink::ids;
namespace codes = clink::codes;
using sim::Framing;

namespace {

// Values the prompts and the viewer never see in a run: nothing in it asks the user.
class NoPrompt : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm&) override { return app::ValueButton::Cancel; }
};
class NoViewer : public app::TextViewer {
public:
    void show(const QString&, const base::TextLines&) override {}
};

constexpr int ToolReadCode = 0x90;
constexpr int ToolWriteCode = 0x60;
constexpr int DspReadCode = 0x90;
constexpr int DspWriteCode = 0x60;
constexpr int NsmReadCode = 0x90;
// Addresses a run reads and writes: few, so that the same location comes back soon.
constexpr int ToolAddresses = 8;
constexpr int DspAddresses = 6;
constexpr int Psets = 4;
constexpr int CurveSamples = 40;
// Logic blocks a run reads or writes at once, and where a sent Pset names its number.
constexpr int ImageBlocks = 6;
constexpr int PacketBytes = 7;
constexpr int PsetNumberAt = 3 * PacketBytes + 6;
// A transaction may take this much more than one hold and its acknowledgement gap per request.
constexpr double SlackPerRequestMs = 100;
// And this much more once (a line that goes quiet, copies that must pass).
constexpr double SlackPerTransactionMs = 600;
// And, on a line that repeats frames, the copies each exchange that changes the controller waits out: a
// frame's, and then its copy's.
constexpr double CopyHoldsPerChange = 2;
// Seeds whose lines carry noise.
constexpr uint64_t NoisySeedEvery = 4;

const char* eventName(sim::SimulatedLine::Event::Kind k) {
    using E = sim::SimulatedLine::Event;
    switch (k) {
    case E::Request:
        return "request ";
    case E::Answer:
        return "  answer";
    case E::Copy:
        return "  copy  ";
    case E::Own:
        return "  own   ";
    case E::Filtered:
        return "  (filtered)";
    case E::Other:
        return "other   ";
    }
    return "?";
}

QString mismatch(const char* what, long got, long want) {
    return QStringLiteral("%1: %2, the controller holds %3").arg(QLatin1String(what)).arg(got).arg(want);
}

// Requests of a two-frame exchange: one from a controller that acknowledges, two from one that answers once.
Outcome::Counted twoFrame(clink::CanId id, int code, int exchanges = 1) {
    return {id, code, exchanges, 2 * exchanges};
}
Outcome::Counted singleFrame(clink::CanId id, int code, int exchanges = 1) {
    return {id, code, exchanges, exchanges};
}

int pick(Random& r, int first, int last) {
    return std::uniform_int_distribution<int>(first, last)(r);
}
bool chance(Random& r, double p) {
    return std::uniform_real_distribution<double>(0, 1)(r) < p;
}

Outcome toolRead(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int address = pick(r, 0, ToolAddresses - 1);
    s.DataCount = 0;
    Outcome o;
    o.counted = {twoFrame(ids::ToolEepromRequest, ToolReadCode)};
    o.success = sim.services().link.dataTx.ReadToolEeprom(address);
    if (o.success && (s.DataCount != 1 || s.DataBuffer[0] != sim.model.toolEeprom[size_t(address)]))
        o.wrongValue = mismatch("tool location", s.DataBuffer[0], sim.model.toolEeprom[size_t(address)]);
    return o;
}

Outcome toolWrite(Simulation& sim, Random& r) {
    const int address = pick(r, 0, ToolAddresses - 1);
    const int value = pick(r, 0, 255);
    Outcome o;
    o.counted = {twoFrame(ids::ToolEepromRequest, ToolWriteCode)};
    o.success = sim.services().link.dataTx.WriteToolEeprom(address, value);
    if (o.success && sim.model.toolEeprom[size_t(address)] != value)
        o.wrongValue = mismatch("tool location written", sim.model.toolEeprom[size_t(address)], value);
    return o;
}

Outcome dspRead(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int address = 2 * pick(r, 0, DspAddresses - 1);
    s.DataCount = 0;
    Outcome o;
    o.counted = {singleFrame(ids::DspReadRequest, DspReadCode)};
    o.success = sim.services().link.dataTx.ReadDspEeprom(address);
    const int lo = sim.model.dspBytes[size_t(address)];
    const int hi = sim.model.dspBytes[size_t(address + 1)];
    if (o.success && (s.DataCount != 2 || s.DataBuffer[0] != lo || s.DataBuffer[1] != hi))
        o.wrongValue = mismatch("DSP word", s.DataBuffer[1] * 256 + s.DataBuffer[0], hi * 256 + lo);
    return o;
}

Outcome dspWrite(Simulation& sim, Random& r) {
    const int address = 2 * pick(r, 0, DspAddresses - 1);
    const int value = pick(r, 0, 0xFFFF);
    Outcome o;
    o.counted = {singleFrame(ids::DspWriteRequest, DspWriteCode)};
    o.success = sim.services().link.dataTx.WriteDspEeprom(address, value);
    const int held = sim.model.dspBytes[size_t(address)] + 256 * sim.model.dspBytes[size_t(address + 1)];
    if (o.success && held != value)
        o.wrongValue = mismatch("DSP word written", held, value);
    return o;
}

QString statusMismatch(const Simulation& sim, const clink::LinkState& s) {
    const int target = sim.model.target;
    const auto& st = s.SystemStatus;
    if (st.PsetCount != sim.model.psetCount)
        return mismatch("Pset count", st.PsetCount, sim.model.psetCount);
    if (st.CurrentPset != sim.model.currentPset)
        return mismatch("current Pset", st.CurrentPset, sim.model.currentPset);
    if (s.DataBuffer[0] != (target & 0xFF) || s.DataBuffer[1] != ((target >> 8) & 0xFF))
        return mismatch("status target", s.DataBuffer[1] * 256 + s.DataBuffer[0], target);
    return {};
}

Outcome status(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    o.counted = {singleFrame(ids::StatusRequest, 0)};
    o.success = sim.services().link.dataTx.ReadSystemStatus();
    if (o.success)
        o.wrongValue = statusMismatch(sim, s);
    return o;
}

// A Pset chosen, then the status read that shows it.
Outcome selectPset(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int pset = pick(r, 1, Psets);
    Outcome o;
    o.counted = {singleFrame(ids::CommandRequest, codes::SelectPset + pset),
                 singleFrame(ids::StatusRequest, 0)};
    sim.services().link.dataTx.SelectPset(pset);
    o.success = sim.services().link.dataTx.ReadSystemStatus();
    if (o.success)
        o.wrongValue = statusMismatch(sim, s);
    return o;
}

Outcome control(Simulation& sim, Random& r) {
    static constexpr int Codes[] = {codes::ClearRundowns, codes::RestartLogic, codes::ResetLogicDefaults};
    const int code = Codes[size_t(pick(r, 0, int(std::size(Codes)) - 1))];
    // The same command again at once, half the time: it is carried out once each time.
    const int times = chance(r, 0.5) ? 2 : 1;
    Outcome o;
    o.counted = {twoFrame(ids::CommandRequest, code, times)};
    o.copyWaits = times;
    o.success = true;
    for (int i = 0; i < times; ++i)
        o.success = sim.services().link.dataTx.SendControlCommand(code) && o.success;
    return o;
}

Outcome psetRead(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int pset = pick(r, 1, Psets);
    Outcome o;
    o.counted = {twoFrame(ids::CommandRequest, codes::PsetRead, codes::PsetPackets)};
    o.success = sim.services().link.dataTx.ReadPsetBlock(pset);
    if (!o.success)
        return o;
    for (int i = 0; i < clink::PsetBytes; ++i)
        if (s.DataBuffer[i] != sim.model.psets[size_t(pset)][size_t(i)]) {
            o.wrongValue = mismatch("Pset byte", s.DataBuffer[i], sim.model.psets[size_t(pset)][size_t(i)]) +
                           QStringLiteral(" (Pset %1, byte %2)").arg(pset).arg(i);
            break;
        }
    return o;
}

Outcome curve(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int number = pick(r, 1, 3);
    const int index = pick(r, 0, CurveSamples - 2);
    Outcome o;
    o.counted = {twoFrame(ids::CurveRequest, codes::CurveRequest)};
    o.success = sim.services().link.dataTx.RequestCurveData(number, index);
    const auto& samples = sim.model.curves[number];
    if (o.success && (s.CurveUploadData[1] != samples[size_t(index)] ||
                      s.CurveUploadData[2] != samples[size_t(index + 1)]))
        o.wrongValue = mismatch("curve sample", s.CurveUploadData[1], samples[size_t(index)]);
    return o;
}

Outcome nsmClock(Simulation& sim, Random&) {
    Outcome o;
    // The presence check (a two-frame exchange) and the clock read's lead frame ask on the unit's reply
    // identifier; a clock request follows when the lead's answer does not complete the read.
    o.counted = {{ids::NsmReply, 0, 2, 3}, singleFrame(ids::NsmRequest, codes::NsmClock)};
    const auto answer = app::NsmExchange(sim.services().link).readClock();
    o.success = answer.has_value();
    if (!o.success)
        return o;
    const auto& clock = sim.model.nsmUnit.clock;
    for (size_t i = 0; i < clock.size(); ++i)
        if ((*answer)[i + 1] != clock[i]) {
            o.wrongValue = mismatch("NSM clock field", (*answer)[i + 1], clock[i]);
            break;
        }
    return o;
}

Outcome nsmSettings(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    o.counted = {twoFrame(ids::NsmRequest, NsmReadCode, sim::ControllerModel::NsmLocations)};
    o.success = sim.services().link.dataTx.ReadNsmSettings();
    if (!o.success)
        return o;
    // The on/off settings read as 1 when above 1.
    static constexpr std::array<bool, sim::ControllerModel::NsmLocations> OnOff{
        false, true, false, false, false, false, true, true, true};
    for (int i = 0; i < sim::ControllerModel::NsmLocations; ++i) {
        const int held = sim.model.nsm[size_t(i)];
        const int shown = OnOff[size_t(i)] && held > 1 ? 1 : held;
        if (s.DataBuffer[i] != shown) {
            o.wrongValue = mismatch("NSM location", s.DataBuffer[i], shown);
            break;
        }
    }
    return o;
}

Outcome transducerCheck(Simulation& sim, Random&) {
    Outcome o;
    // The presence probe's zero-data frames on the transducer's reply identifier, a two-frame answer each.
    o.counted = {twoFrame(ids::TransducerReply2, 0)};
    o.success = clink::LinkCheck(sim.services().link).transducerCheck().ok;
    return o;
}

Outcome psetSend(Simulation& sim, Random& r) {
    const int pset = pick(r, 1, Psets);
    sim::ControllerModel::PsetBytes bytes{};
    for (int& b : bytes)
        b = pick(r, 0, 255);
    bytes[size_t(PsetNumberAt)] = pset;
    Outcome o;
    o.success = true;
    for (int packet = 0; packet < codes::PsetPackets && o.success; ++packet) {
        std::array<int, 8> data{codes::PsetPacket1 + packet};
        for (int i = 0; i < PacketBytes; ++i)
            data[size_t(1 + i)] = bytes[size_t(packet * PacketBytes + i)];
        o.counted.push_back(twoFrame(ids::CommandRequest, data[0]));
        o.success = sim.services().link.dataTx.SendPsetData(data);
    }
    if (o.success && sim.model.psets[size_t(pset)] != bytes)
        o.wrongValue = QStringLiteral("Pset %1 sent is not the Pset the controller holds").arg(pset);
    return o;
}

// A logic image read block by block as the rung-table editors (the request first) or the ladder editor (a
// filter frame first) read it.
Outcome blockReceive(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int blocks = pick(r, 1, ImageBlocks);
    const bool ladder = chance(r, 0.5);
    const clink::BlockReceiveCounts counts =
        ladder ? ladder::ladderReceiveCounts() : logicio::rungTableReceiveCounts(s.TransferDelay);
    Outcome o;
    o.counted = {twoFrame(ids::CommandRequest, codes::LogicBlockRequest, blocks)};
    o.success = clink::BlockReceiver(sim.services().link, counts).receive(1, blocks);
    const std::vector<int> words = sim.model.logicWords(blocks);
    for (int i = 0; o.success && i < int(words.size()); ++i)
        if (s.DataBuffer[i] != words[size_t(i)]) {
            o.wrongValue = mismatch("logic word", s.DataBuffer[i], words[size_t(i)]) +
                           QStringLiteral(" (word %1)").arg(i);
            break;
        }
    return o;
}

Outcome blockSend(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int blocks = pick(r, 1, ImageBlocks);
    std::vector<int> words(size_t(blocks * clink::BlockReceiver::BlockWords));
    for (int& w : words)
        w = pick(r, 0, 255);
    Outcome o;
    o.counted = {twoFrame(ids::CommandRequest, codes::LogicBlock, blocks)};
    o.success = true;
    for (int block = 1; block <= blocks && o.success; ++block) {
        for (int i = 0; i < clink::BlockReceiver::BlockWords; ++i)
            s.DataBuffer.put((block - 1) * clink::BlockReceiver::BlockWords + i,
                             words[size_t((block - 1) * clink::BlockReceiver::BlockWords + i)]);
        o.success = sim.services().link.dataTx.SendLogicIoProgram(block);
    }
    if (o.success && sim.model.logicWords(blocks) != words)
        o.wrongValue = QStringLiteral("the logic image sent is not the image the controller holds");
    return o;
}

// The tool parameter report's read of the whole tool memory, a location at a time.
Outcome toolParameters(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    o.counted = {twoFrame(ids::ToolEepromRequest, ToolReadCode, app::ToolReportLocations)};
    base::NoProgress progress;
    o.success = app::readToolParameterLocations(sim.services().link, progress);
    for (int a = 0; o.success && a < app::ToolReportLocations; ++a)
        if (s.DataBuffer[a] != sim.model.toolEeprom[size_t(a)]) {
            o.wrongValue = mismatch("tool parameter", s.DataBuffer[a], sim.model.toolEeprom[size_t(a)]) +
                           QStringLiteral(" (location %1)").arg(a);
            break;
        }
    return o;
}

const std::vector<Kind> Kinds = {
    {"toolRead", 8, toolRead},
    {"toolWrite", 3, toolWrite},
    {"dspRead", 3, dspRead},
    {"dspWrite", 2, dspWrite},
    {"status", 4, status},
    {"selectPset", 3, selectPset},
    {"control", 3, control},
    {"psetRead", 3, psetRead},
    {"psetSend", 2, psetSend},
    {"curve", 3, curve},
    {"nsmClock", 2, nsmClock},
    {"nsmSettings", 1, nsmSettings},
    {"transducerCheck", 2, transducerCheck},
    {"blockReceive", 2, blockReceive},
    {"blockSend", 2, blockSend},
    {"toolParameters", 1, toolParameters, true},
};

} // namespace

const std::vector<Kind>& kinds() {
    return Kinds;
}

std::string Violation::reproduction() const {
    std::ostringstream out;
    out << "bench_link_sim --seed " << seed << " --transactions " << step + 1 << "   # " << kind << ": "
        << rule << ": " << detail << " [" << line << "]";
    return out.str();
}

Simulation::Simulation(uint64_t seed_)
    : time(*new sim::VirtualTime), line(model, time, seed_ ^ 0x9E3779B97F4A7C15ULL), seed(seed_) {
    app::AppSeams seams;
    seams.dialogs = std::make_unique<base::UnattendedDialogs>();
    seams.clock.reset(&time);
    seams.pump = std::make_unique<sim::VirtualEventPump>(time);
    seams.valuePrompt = std::make_unique<NoPrompt>();
    seams.textViewer = std::make_unique<NoViewer>();
    services_ = std::make_unique<app::AppServices>(std::move(seams));
    model.clock = [this] { return std::chrono::milliseconds(time.nowMs()); };
    clink::LinkState& s = services_->state;
    s.ConnectionType = clink::TcpIp;
    s.TransferDelay = 8;
    services_->link.useEthernetLine(line);
    for (int c = 1; c <= 3; ++c)
        model.curves[c].resize(CurveSamples);
}

Simulation::~Simulation() {
    // The line's events refer to the line and the model: none runs any more.
    time.clear();
}

app::AppServices& Simulation::services() {
    return *services_;
}

sim::LineSettings Simulation::randomSettings(Random& r) {
    sim::LineSettings s;
    s.framing = Framing(pick(r, 0, 2));
    s.ackGapMs = pick(r, 0, 120);
    static constexpr int Holds[] = {0, 2, 10, 40, 100, 150, 250, 400};
    s.holdMs = Holds[size_t(pick(r, 0, int(std::size(Holds)) - 1))];
    s.jitterMs = pick(r, 0, std::max(1, s.holdMs / 4));
    s.delivery = sim::Delivery(pick(r, 0, 2));
    s.copyChance = chance(r, 0.5) ? std::uniform_real_distribution<double>(0.1, 1)(r) : 0;
    s.ownFramesPerSecond = chance(r, 0.5) ? std::uniform_real_distribution<double>(1, 100)(r) : 0;
    s.passesAll = chance(r, 0.3);
    return s;
}

std::string Simulation::describe(const sim::LineSettings& s) {
    std::ostringstream out;
    out << sim::framingName(s.framing);
    if (s.framing == Framing::AckReplyApart)
        out << " " << s.ackGapMs << " ms";
    out << ", held " << s.holdMs << "+" << s.jitterMs << " ms, " << sim::deliveryName(s.delivery);
    if (s.copyChance > 0)
        out << ", copies " << int(s.copyChance * 100) << " %";
    if (s.ownFramesPerSecond > 0)
        out << ", own frames " << int(s.ownFramesPerSecond) << "/s";
    if (s.passesAll)
        out << ", passes all";
    if (s.noise)
        out << ", noise";
    return out.str();
}

void Simulation::changeValues(Random& r) {
    for (int n = pick(r, 0, 3); n > 0; --n) {
        switch (pick(r, 0, 6)) {
        case 0:
            model.toolEeprom[size_t(pick(r, 0, ToolAddresses - 1))] = uint8_t(pick(r, 0, 255));
            break;
        case 1:
            model.dspBytes[size_t(pick(r, 0, 2 * DspAddresses - 1))] = uint8_t(pick(r, 0, 255));
            break;
        case 2:
            model.target = pick(r, 100, 30000);
            model.currentPset = pick(r, 1, Psets);
            break;
        case 3:
            model.psets[size_t(pick(r, 1, Psets))][size_t(pick(r, 0, clink::PsetBytes - 1))] =
                pick(r, 0, 255);
            break;
        case 4:
            model.curves[pick(r, 1, 3)][size_t(pick(r, 0, CurveSamples - 1))] = uint16_t(pick(r, 0, 0xFFFF));
            break;
        case 5:
            model.nsmUnit.clock[size_t(pick(r, 0, 4))] = pick(r, 0, 59);
            break;
        default:
            model.nsm[size_t(pick(r, 0, sim::ControllerModel::NsmLocations - 1))] = uint8_t(pick(r, 0, 255));
            break;
        }
    }
}

void Simulation::reconnect(const sim::LineSettings& settings) {
    line.settings = settings;
    line.close();
    line.connectTo(QStringLiteral("dongle"), 0);
    services_->pump.waitUntil([this] { return line.isConnected(); }, 1000);
}

void Simulation::replaceController(const sim::LineSettings& settings) {
    line.replaceController(settings);
    graceLeft = GraceTransactions;
    retimeLeft = RetimeTransactions;
    if (trace)
        std::printf("controller replaced [%s]\n", describe(settings).c_str());
}

void Simulation::settle(int64_t ms) {
    services_->pump.pause(long(ms * sim::VirtualTime::NsPerMs / base::DoEventsSlice.count()));
}

void Simulation::printTrace(int step, const char* kind, const sim::LineSettings& settings, const Outcome& o,
                            double start, double took) const {
    std::printf("#%d %s [%s] %s%s, %.1f ms\n", step, kind, describe(settings).c_str(),
                o.success ? "done" : "failed", o.wrongValue.isEmpty() ? "" : ", WRONG VALUE", took);
    for (const auto& e : line.record) {
        std::printf("  %9.3f %s %s", double(e.atNs) / sim::VirtualTime::NsPerMs - start, eventName(e.kind),
                    qPrintable(clink::canIdText(e.message.id)));
        for (int b : e.message.data)
            std::printf(" %02X", b);
        std::printf("\n");
    }
}

void Simulation::runChecked(const Kind& kind, Random& random, int step, std::vector<Violation>& violations,
                            std::map<std::string, Tally>& tally) {
    const sim::LineSettings settings = line.settings;
    line.clearRecord();
    const double start = time.nowMsExact();
    const Outcome o = kind.run(*this, random);
    const double took = time.nowMsExact() - start;

    if (trace)
        printTrace(step, kind.name, settings, o, start, took);
    const bool acknowledging = settings.framing != Framing::AnswersOnce;
    Tally& t = tally[std::string(sim::framingName(settings.framing)) + "/" + kind.name];
    ++t.runs;
    t.ms += took;
    auto violation = [&](const char* rule, const std::string& detail) {
        violations.push_back({seed, step, kind.name, rule, detail, describe(settings)});
    };
    if (!o.success)
        ++t.failed;
    if (!o.wrongValue.isEmpty()) {
        ++t.wrong;
        violation("wrong value", o.wrongValue.toStdString());
    }
    int needed = 0;
    // After a controller changed behind the connection the link runs on what it knew of the one before
    // until the new one's answers have shown the difference: those transactions' requests are not held
    // against the new controller's timeline. It must see it within a few answers taken on their second
    // frame, and drop a belief that the controller answers once as soon as the answers contradict it.
    const bool grace = graceLeft > 0;
    const bool retiming = retimeLeft > 0;
    if (retiming)
        --retimeLeft;
    if (grace && std::any_of(o.counted.begin(), o.counted.end(),
                             [](const Outcome::Counted& c) { return c.acknowledging != c.once; }))
        --graceLeft;
    const bool believedRightly = !acknowledging || services().link.ethernet.judge().framing() !=
                                                       clink::AnswerJudge::Framing::AnswersOnce;
    if (believedRightly && graceLeft <= GraceTransactions - GraceAtLeast)
        graceLeft = 0;
    for (const Outcome::Counted& c : o.counted) {
        const int sent = line.requests(c.id, c.code);
        const int allowed = acknowledging ? c.acknowledging : c.once;
        needed += std::min(sent, allowed);
        if (grace)
            continue;
        t.requests += sent;
        t.timeline += allowed;
        if (sent > allowed) {
            ++t.overTimeline;
            std::ostringstream d;
            d << sent << " requests " << clink::canIdText(c.id).toStdString() << " code " << c.code
              << " where the timeline gives " << allowed;
            violation("more requests than the timeline", d.str());
        }
    }
    const double perRequest = settings.holdMs + settings.jitterMs +
                              (settings.framing == Framing::AckReplyApart ? settings.ackGapMs : 0) +
                              SlackPerRequestMs;
    // A gateway that repeats frames makes a request wait until no copy of an earlier answer can pass for
    // its own.
    const double copyHolds =
        settings.copyChance > 0 ? CopyHoldsPerChange * settings.copyMaxMs * o.copyWaits : 0;
    if (o.success && !retiming && took > needed * perRequest + copyHolds + SlackPerTransactionMs) {
        ++t.slow;
        std::ostringstream d;
        d << "took " << took << " ms for " << needed << " requests";
        violation("slow", d.str());
    }
}

namespace {

std::vector<const Kind*> poolOf(const std::vector<std::string>& only, bool heavy) {
    std::vector<const Kind*> pool;
    for (const Kind& k : kinds()) {
        const bool named = std::find(only.begin(), only.end(), k.name) != only.end();
        if (only.empty() ? !k.heavy || heavy : named)
            for (int w = 0; w < k.weight; ++w)
                pool.push_back(&k);
    }
    return pool;
}

// Runs transactions drawn from the pool, values changed and the line left to settle between them at
// random, until one breaks a rule.
void runSteps(Simulation& sim, Random& random, const std::vector<const Kind*>& pool, int transactions,
              const std::function<void()>& between, RunResult& result) {
    for (int step = 0; step < transactions && result.violations.empty(); ++step) {
        between();
        if (chance(random, 0.5))
            sim.changeValues(random);
        if (chance(random, 0.3))
            sim.settle(pick(random, 0, 300));
        const Kind& kind = *pool[size_t(pick(random, 0, int(pool.size()) - 1))];
        sim.runChecked(kind, random, int(result.transactions), result.violations, result.tally);
        ++result.transactions;
    }
}

} // namespace

RunResult runSeed(uint64_t seed, const RunOptions& options) {
    RunResult result;
    Random random(seed);
    Simulation sim(seed);
    sim.trace = options.trace;
    auto settings = [&] {
        if (options.fixed)
            return *options.fixed;
        sim::LineSettings s = Simulation::randomSettings(random);
        // Drawn from the seed, so that the draws of every run stay as they were.
        s.noise = seed % NoisySeedEvery == 0;
        return s;
    };
    sim.reconnect(settings());
    runSteps(
        sim, random, poolOf(options.only, options.heavy), options.transactions,
        [&] {
            if (options.steady)
                return;
            if (chance(random, 0.03)) {
                sim.reconnect(settings());
            } else if (chance(random, 0.03)) {
                // A controller restarted or replaced behind the dongle: the connection stays, and the link
                // learns of it only from what it answers.
                sim.replaceController(settings());
            }
        },
        result);
    return result;
}

RunResult runPhases(uint64_t seed, const std::vector<Phase>& phases) {
    RunResult result;
    Random random(seed);
    Simulation sim(seed);
    for (const Phase& phase : phases) {
        if (phase.reconnect || result.transactions == 0) {
            sim.reconnect(phase.settings);
        } else {
            sim.replaceController(phase.settings);
        }
        runSteps(
            sim, random, poolOf(phase.kinds, true), phase.transactions, [] {}, result);
    }
    return result;
}

} // namespace linksim
