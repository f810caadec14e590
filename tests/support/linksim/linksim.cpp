#include "tests/support/linksim/linksim.h"

#include "app/appservices.h"
#include "tests/support/linksim/checkers.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <sstream>

namespace linksim {

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

// Seeds whose lines carry noise, and seeds whose program runs late now and then: at most this often after a
// wait, by up to this much.
constexpr uint64_t NoisySeedEvery = 4;
constexpr uint64_t StalledSeedEvery = 2;
constexpr double MostStallsPerWait = 0.05;
constexpr int64_t LongestStallMs = 300;

const char* eventName(sim::SimulatedLine::Event::Kind k) {
    // In the order of the kinds.
    static constexpr const char* Names[] = {"request ", "  answer",     "  copy  ",
                                            "  own   ", "  (filtered)", "other   "};
    static_assert(std::size(Names) == size_t(sim::SimulatedLine::Event::Other) + 1, "a name for every kind");
    return Names[size_t(k)];
}

int pick(Random& r, int first, int last) {
    return std::uniform_int_distribution<int>(first, last)(r);
}
bool chance(Random& r, double p) {
    return std::uniform_real_distribution<double>(0, 1)(r) < p;
}
double msOf(long long doEvents) {
    return double(doEvents) * double(base::DoEventsSlice.count()) / sim::VirtualTime::NsPerMs;
}

} // namespace

void Tally::add(const Tally& t) {
    runs += t.runs;
    failed += t.failed;
    requests += t.requests;
    timeline += t.timeline;
    overTimeline += t.overTimeline;
    wrong += t.wrong;
    ownFramesLost += t.ownFramesLost;
    slow += t.slow;
    ms += t.ms;
    beyondForcedMs.insert(beyondForcedMs.end(), t.beyondForcedMs.begin(), t.beyondForcedMs.end());
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
    auto pump = std::make_unique<sim::VirtualEventPump>(time);
    pump_ = pump.get();
    seams.pump = std::move(pump);
    seams.valuePrompt = std::make_unique<NoPrompt>();
    seams.textViewer = std::make_unique<NoViewer>();
    services_ = std::make_unique<app::AppServices>(std::move(seams));
    model.clock = [this] { return std::chrono::milliseconds(time.nowMs()); };
    clink::LinkState& s = services_->state;
    s.ConnectionType = clink::TcpIp;
    s.TransferDelay = 8;
    services_->link.useEthernetLine(line);
    line.programBusyUntil = [this] { return pump_->busyUntilNs(); };
    for (int c = 1; c <= Curves; ++c)
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

void Simulation::reconnect(const sim::LineSettings& settings) {
    line.settings = settings;
    copiesShown = false;
    answerTimesMs_.clear();
    line.close();
    line.connectTo(QStringLiteral("dongle"), 0);
    services_->pump.waitUntil([this] { return line.isConnected(); }, 1000);
}

void Simulation::replaceController(const sim::LineSettings& settings) {
    line.replaceController(settings);
    answerTimesMs_.clear();
    graceLeft = GraceTransactions;
    retimeLeft = RetimeTransactions;
    if (trace)
        std::printf("controller replaced [%s]\n", describe(line.settings).c_str());
}

void Simulation::noteAnswerTimes(const std::vector<sim::SimulatedLine::Event>& record) {
    using E = sim::SimulatedLine::Event;
    for (const E& e : record) {
        if (e.kind != E::Answer || e.askedAtNs < 0)
            continue;
        if (answerTimesMs_.size() == AnswerTimesKept)
            answerTimesMs_.pop_front();
        answerTimesMs_.push_back(double(e.wholeAtNs - e.askedAtNs) / sim::VirtualTime::NsPerMs);
    }
}

void Simulation::noteRecord() {
    using E = sim::SimulatedLine::Event;
    copiesShown = copiesShown || std::any_of(line.record.begin(), line.record.end(),
                                             [](const E& e) { return e.kind == E::Copy; });
    for (const E& e : line.record)
        if (e.kind == E::Answer || e.kind == E::Copy || e.kind == E::Own)
            heardBefore_.push_back(read(e));
    const int64_t kept = time.nowNs() - RepeatWindowNs;
    while (!heardBefore_.empty() && heardBefore_.front().wholeAtNs < kept)
        heardBefore_.pop_front();
}

sim::SimulatedLine::Event Simulation::read(sim::SimulatedLine::Event e) const {
    for (const auto& [startNs, lengthNs] : pump_->stalls)
        if (e.wholeAtNs >= startNs && e.wholeAtNs < startNs + lengthNs)
            e.wholeAtNs = startNs + lengthNs;
    return e;
}

int Simulation::answersRepeated(const std::vector<sim::SimulatedLine::Event>& record) const {
    using E = sim::SimulatedLine::Event;
    const auto repeats = [](const E& earlier, const E& e) {
        const int64_t age = e.wholeAtNs - earlier.wholeAtNs;
        return earlier.message == e.message && age >= RepeatEarliestNs && age <= RepeatWindowNs;
    };
    std::vector<clink::CanMessage> repeated;
    for (size_t i = 0; i < record.size(); ++i) {
        const E e = read(record[i]);
        if (e.kind != E::Answer && e.kind != E::Copy)
            continue;
        if (std::find(repeated.begin(), repeated.end(), e.message) == repeated.end() &&
            (std::any_of(heardBefore_.begin(), heardBefore_.end(),
                         [&](const E& f) { return repeats(f, e); }) ||
             std::any_of(record.begin(), record.begin() + std::ptrdiff_t(i), [&](const E& f) {
                 return f.kind != E::Request && f.kind != E::Filtered && repeats(read(f), e);
             })))
            repeated.push_back(e.message);
    }
    return int(repeated.size());
}

double Simulation::answeringEarlierMs(const std::vector<sim::SimulatedLine::Event>& record, double startMs) {
    using E = sim::SimulatedLine::Event;
    const auto first =
        std::find_if(record.begin(), record.end(), [](const E& e) { return e.kind == E::Request; });
    double until = startMs;
    for (auto e = record.begin(); e != first; ++e)
        if (e->kind == E::Answer)
            until = std::max(until, double(e->wholeAtNs) / sim::VirtualTime::NsPerMs);
    if (first == record.end())
        return until - startMs;
    // The controller answers each identifier in order: answers to earlier requests there, after this
    // transaction asked, come before its own.
    auto ownAnswerOn = [&](clink::CanId id) {
        return std::any_of(record.begin(), record.end(), [&](const E& e) {
            return e.kind == E::Answer && e.askedAtNs >= first->atNs && e.message.id == id;
        });
    };
    for (auto e = first; e != record.end(); ++e)
        if (e->kind == E::Answer && e->askedAtNs >= 0 && e->askedAtNs < first->atNs &&
            ownAnswerOn(e->message.id))
            until = std::max(until, double(e->wholeAtNs) / sim::VirtualTime::NsPerMs);
    return until - startMs;
}

void Simulation::settle(int64_t ms, int step, std::vector<Violation>& violations,
                        std::map<std::string, Tally>& tally) {
    noteRecord();
    line.clearRecord();
    pump_->stalls.clear();
    const int64_t from = time.nowNs();
    services_->pump.pause(long(ms * sim::VirtualTime::NsPerMs / base::DoEventsSlice.count()));
    // What came while the program ran late is read now, as the next turn of its event loop would.
    services_->link.ethernet.onDataArrival(line.takePending());
    const sim::LineSettings& settings = line.settings;
    if (trace) {
        Outcome settled;
        settled.success = true;
        printTrace(step, "settle", settings, settled, double(from) / sim::VirtualTime::NsPerMs,
                   double(time.nowNs() - from) / sim::VirtualTime::NsPerMs);
    }
    checkOwnFrames(line.record, from, time.nowNs(), services_->state,
                   tally[std::string(sim::framingName(settings.framing)) + "/settle"],
                   [&](const char* rule, const std::string& detail) {
                       violations.push_back({seed, step, "settle", rule, detail, describe(settings)});
                   });
}

void Simulation::printTrace(int step, const char* kind, const sim::LineSettings& settings, const Outcome& o,
                            double start, double took) const {
    const bool wrong = std::any_of(o.values.begin(), o.values.end(),
                                   [](const Outcome::Value& v) { return v.got != v.want; });
    std::printf("#%d %s [%s] %s%s, %.1f ms\n", step, kind, describe(settings).c_str(),
                o.success ? "done" : "failed", o.success && wrong ? ", WRONG VALUE" : "", took);
    auto stall = pump_->stalls.begin();
    auto printStallsBefore = [&](int64_t ns) {
        for (; stall != pump_->stalls.end() && stall->first <= ns; ++stall)
            std::printf("  %9.3f   (the program stalls %.1f ms)\n",
                        double(stall->first) / sim::VirtualTime::NsPerMs - start,
                        double(stall->second) / sim::VirtualTime::NsPerMs);
    };
    for (const auto& e : line.record) {
        printStallsBefore(e.atNs);
        std::printf("  %9.3f %s %s", double(e.atNs) / sim::VirtualTime::NsPerMs - start, eventName(e.kind),
                    qPrintable(clink::canIdText(e.message.id)));
        for (int b : e.message.data)
            std::printf(" %02X", b);
        std::printf("\n");
    }
    printStallsBefore(std::numeric_limits<int64_t>::max());
}

void Simulation::runChecked(const Kind& kind, Random& random, int step, std::vector<Violation>& violations,
                            std::map<std::string, Tally>& tally) {
    const sim::LineSettings settings = line.settings;
    noteRecord();
    line.clearRecord();
    pump_->stalls.clear();
    const bool framingUnknown =
        services().link.ethernet.judge().framing() == clink::AnswerJudge::Framing::Unknown;
    const bool copiesBefore = copiesShown;
    const double start = time.nowMsExact();
    const long long pausedBefore = services().link.pump.pausedDoEvents();
    const int64_t stalledBefore = pump().stalledNs;
    const Outcome o = kind.run(*this, random);
    const double took = time.nowMsExact() - start;
    noteRecord();

    if (trace)
        printTrace(step, kind.name, settings, o, start, took);
    const bool acknowledging = settings.framing != Framing::AnswersOnce;
    // Lines that have shown copies apart: their exchanges may wait for copies to pass.
    Tally& t = tally[std::string(sim::framingName(settings.framing)) +
                     (copiesBefore || copiesShown ? "+copies" : "") + "/" + kind.name];
    ++t.runs;
    t.ms += took;
    if (!o.success)
        ++t.failed;
    // After a controller changed behind the connection the link runs on what it knew of the one before
    // until the new one's answers have shown the difference: those transactions' requests are not held
    // against the new controller's timeline. It must see it within a few answers taken on their second
    // frame, and drop a belief that the controller answers once as soon as the answers contradict it.
    const bool grace = graceLeft > 0;
    const bool retiming = retimeLeft > 0;
    if (retiming)
        --retimeLeft;
    if (grace && std::any_of(o.counted.begin(), o.counted.end(),
                             [](const Outcome::Counted& c) { return c.twoFrameExchanges > 0; }))
        --graceLeft;
    const bool believedRightly = !acknowledging || services().link.ethernet.judge().framing() !=
                                                       clink::AnswerJudge::Framing::AnswersOnce;
    if (believedRightly && graceLeft <= GraceTransactions - GraceAtLeast)
        graceLeft = 0;

    noteAnswerTimes(line.record);
    const auto [fastest, longest] =
        answerTimesMs_.empty() ? std::pair{0.0, 0.0}
                               : std::pair{*std::min_element(answerTimesMs_.begin(), answerTimesMs_.end()),
                                           *std::max_element(answerTimesMs_.begin(), answerTimesMs_.end())};
    const Observation seen{.outcome = o,
                           .line = settings,
                           .wire = line,
                           .tookMs = took,
                           .pausedMs = msOf(services().link.pump.pausedDoEvents() - pausedBefore),
                           .stalledMs = double(pump().stalledNs - stalledBefore) / sim::VirtualTime::NsPerMs,
                           // The link may learn the framing anew after a belief it drops meanwhile.
                           .framingUnknown = framingUnknown || services().link.ethernet.judge().framing() ==
                                                                   clink::AnswerJudge::Framing::Unknown,
                           .copiesShown = copiesBefore || copiesShown,
                           .answersRepeated = answersRepeated(line.record),
                           .answeringEarlierMs = answeringEarlierMs(line.record, start),
                           .longestAnswerMs = longest,
                           .fastestAnswerMs = fastest,
                           .grace = grace,
                           .retiming = retiming};
    const Report report = [&](const char* rule, const std::string& detail) {
        violations.push_back({seed, step, kind.name, rule, detail, describe(settings)});
    };
    // The simulated line loses nothing: every transaction completes.
    if (!o.success)
        report("failed", "the transaction failed");
    checkValues(seen, t, report);
    checkRequests(seen, t, report);
    checkTime(seen, t, report);
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
              const std::function<void()>& between, RunResult& result, bool keepGoing = false) {
    for (int step = 0; step < transactions && (keepGoing || result.violations.empty()); ++step) {
        between();
        if (chance(random, 0.5))
            sim.changeValues(random);
        if (chance(random, 0.3))
            sim.settle(pick(random, 0, 300), int(result.transactions), result.violations, result.tally);
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
    if (!options.noStalls && seed % StalledSeedEvery == 1) {
        // Drawn apart from the run's own draws, so that a seed's line and transactions stay as they were.
        Random stalls(seed ^ 0x5DEECE66DULL);
        sim.pump().stallAs({.chance = std::uniform_real_distribution<double>(0, MostStallsPerWait)(stalls),
                            .longestNs = LongestStallMs * sim::VirtualTime::NsPerMs},
                           stalls());
    }
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
        result, options.keepGoing);
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
        sim.pump().stallAs(phase.stalls, seed);
        runSteps(
            sim, random, poolOf(phase.kinds, true), phase.transactions, [] {}, result);
    }
    return result;
}

} // namespace linksim
