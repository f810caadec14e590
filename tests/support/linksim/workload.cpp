// The workload of the link simulation: the link's transactions and the features' loops over them, each
// reporting what it returned beside what the controller holds and the requests its timeline gives. Whether
// those hold is for the checkers (checkers.h) to say.
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

#include <array>

namespace linksim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {

constexpr int ToolReadCode = 0x90;
constexpr int ToolWriteCode = 0x60;
constexpr int DspReadCode = 0x90;
constexpr int DspWriteCode = 0x60;
constexpr int NsmReadCode = 0x90;
// Addresses a run reads and writes: few, so that the same location comes back soon.
constexpr int ToolAddresses = 8;
constexpr int DspAddresses = 6;
constexpr int Psets = 4;
// Logic blocks a run reads or writes at once, and where a sent Pset names its number.
constexpr int ImageBlocks = 6;
constexpr int PacketBytes = 7;
constexpr int PsetNumberAt = 3 * PacketBytes + 6;

// Requests of a two-frame exchange: one from a controller that acknowledges, two from one that answers once.
Outcome::Counted twoFrame(clink::CanId id, int code, int exchanges = 1) {
    return {id, code, exchanges, 2 * exchanges, exchanges};
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
    o.expect("tool locations read", s.DataCount, 1);
    o.expect("tool location", s.DataBuffer[0], sim.model.toolEeprom[size_t(address)]);
    return o;
}

Outcome toolWrite(Simulation& sim, Random& r) {
    const int address = pick(r, 0, ToolAddresses - 1);
    const int value = pick(r, 0, 255);
    Outcome o;
    o.counted = {twoFrame(ids::ToolEepromRequest, ToolWriteCode)};
    o.success = sim.services().link.dataTx.WriteToolEeprom(address, value);
    o.expect("tool location written", sim.model.toolEeprom[size_t(address)], value);
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
    o.expect("DSP bytes read", s.DataCount, 2);
    o.expect("DSP word", s.DataBuffer[1] * 256 + s.DataBuffer[0], hi * 256 + lo);
    return o;
}

Outcome dspWrite(Simulation& sim, Random& r) {
    const int address = 2 * pick(r, 0, DspAddresses - 1);
    const int value = pick(r, 0, 0xFFFF);
    Outcome o;
    o.counted = {singleFrame(ids::DspWriteRequest, DspWriteCode)};
    o.success = sim.services().link.dataTx.WriteDspEeprom(address, value);
    const int held = sim.model.dspBytes[size_t(address)] + 256 * sim.model.dspBytes[size_t(address + 1)];
    o.expect("DSP word written", held, value);
    return o;
}

void expectStatus(Outcome& o, const Simulation& sim, const clink::LinkState& s) {
    const auto& st = s.SystemStatus;
    o.expect("Pset count", st.PsetCount, sim.model.psetCount);
    o.expect("current Pset", st.CurrentPset, sim.model.currentPset);
    o.expect("status target", s.DataBuffer[1] * 256 + s.DataBuffer[0], sim.model.target);
}

Outcome status(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    o.counted = {singleFrame(ids::StatusRequest, 0)};
    o.quiet = true;
    o.success = sim.services().link.dataTx.ReadSystemStatus();
    expectStatus(o, sim, s);
    return o;
}

// A Pset chosen, then the status read that shows it.
Outcome selectPset(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int pset = pick(r, 1, Psets);
    Outcome o;
    o.counted = {singleFrame(ids::CommandRequest, codes::SelectPset + pset),
                 singleFrame(ids::StatusRequest, 0)};
    o.quiet = true;
    sim.services().link.dataTx.SelectPset(pset);
    o.success = sim.services().link.dataTx.ReadSystemStatus();
    expectStatus(o, sim, s);
    return o;
}

Outcome control(Simulation& sim, Random& r) {
    static constexpr int Codes[] = {codes::ClearRundowns, codes::RestartLogic, codes::ResetLogicDefaults};
    const int code = Codes[size_t(pick(r, 0, int(std::size(Codes)) - 1))];
    // The same command again at once, half the time: it is carried out once each time.
    const int times = chance(r, 0.5) ? 2 : 1;
    Outcome o;
    o.counted = {twoFrame(ids::CommandRequest, code, times)};
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
    for (int i = 0; i < clink::PsetBytes; ++i)
        o.expect("Pset byte", s.DataBuffer[i], sim.model.psets[size_t(pset)][size_t(i)], i);
    return o;
}

Outcome curve(Simulation& sim, Random& r) {
    clink::LinkState& s = sim.services().state;
    const int number = pick(r, 1, Simulation::Curves);
    const int index = pick(r, 0, Simulation::CurveSamples - 2);
    Outcome o;
    o.counted = {twoFrame(ids::CurveRequest, codes::CurveRequest)};
    o.success = sim.services().link.dataTx.RequestCurveData(number, index);
    const auto& samples = sim.model.curves[number];
    o.expect("curve sample", s.CurveUploadData[1], samples[size_t(index)], index);
    o.expect("curve sample", s.CurveUploadData[2], samples[size_t(index + 1)], index + 1);
    return o;
}

Outcome nsmClock(Simulation& sim, Random&) {
    Outcome o;
    // The presence check (a two-frame exchange) and the clock read's lead frame ask on the unit's reply
    // identifier; a clock request follows when the lead's answer does not complete the read.
    o.counted = {{ids::NsmReply, 0, 2, 3, 2}, singleFrame(ids::NsmRequest, codes::NsmClock)};
    o.quiet = true;
    const auto answer = app::NsmExchange(sim.services().link).readClock();
    o.success = answer.has_value();
    const auto& clock = sim.model.nsmUnit.clock;
    for (size_t i = 0; o.success && i < clock.size(); ++i)
        o.expect("NSM clock field", (*answer)[i + 1], clock[i], int(i));
    return o;
}

Outcome nsmSettings(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    // The unit answers the filter frame ahead of the reads with its clock, an acknowledgement and a reply.
    o.counted = {twoFrame(ids::NsmRequest, NsmReadCode, sim::ControllerModel::NsmLocations),
                 {ids::NsmReply, 0, 1, 1, 1}};
    o.success = sim.services().link.dataTx.ReadNsmSettings();
    // The on/off settings read as 1 when above 1.
    static constexpr std::array<bool, sim::ControllerModel::NsmLocations> OnOff{
        false, true, false, false, false, false, true, true, true};
    for (int i = 0; i < sim::ControllerModel::NsmLocations; ++i) {
        const int held = sim.model.nsm[size_t(i)];
        const int shown = OnOff[size_t(i)] && held > 1 ? 1 : held;
        o.expect("NSM location", s.DataBuffer[i], shown, i);
    }
    return o;
}

Outcome transducerCheck(Simulation& sim, Random&) {
    Outcome o;
    // The presence probe's zero-data frames on the transducer's reply identifier, a two-frame answer each.
    o.counted = {twoFrame(ids::TransducerReply2, 0)};
    o.quiet = true;
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
    for (int i = 0; i < clink::PsetBytes; ++i)
        o.expect("Pset byte sent", sim.model.psets[size_t(pset)][size_t(i)], bytes[size_t(i)], i);
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
    for (int i = 0; i < int(words.size()); ++i)
        o.expect("logic word", s.DataBuffer[i], words[size_t(i)], i);
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
    const std::vector<int> held = sim.model.logicWords(blocks);
    for (int i = 0; i < int(words.size()); ++i)
        o.expect("logic word sent", held[size_t(i)], words[size_t(i)], i);
    return o;
}

// The tool parameter report's read of the whole tool memory, a location at a time.
Outcome toolParameters(Simulation& sim, Random&) {
    clink::LinkState& s = sim.services().state;
    Outcome o;
    o.counted = {twoFrame(ids::ToolEepromRequest, ToolReadCode, app::ToolReportLocations)};
    base::NoProgress progress;
    o.success = app::readToolParameterLocations(sim.services().link, progress);
    for (int a = 0; a < app::ToolReportLocations; ++a)
        o.expect("tool parameter", s.DataBuffer[a], sim.model.toolEeprom[size_t(a)], a);
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
            model.curves[pick(r, 1, Curves)][size_t(pick(r, 0, Simulation::CurveSamples - 1))] = uint16_t(pick(r, 0, 0xFFFF));
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

} // namespace linksim
