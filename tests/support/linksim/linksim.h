#pragma once
// The link against a simulated controller and line, in virtual time: random sequences of the link's
// transactions and the features' loops over them (the workload, workload.cpp), with values changed between
// them, framings and timings changed with and without a reconnect, the program itself running late now and
// then, and after every transaction the checkers (checkers.h), one for each rule that holds whatever the line
// and the program do:
//   - values: every value returned or stored is the controller's answer to the transaction's own request;
//   - requests: the controller received each request, and so carried out each command, no more often than
//     the exchange's timeline gives for the framing in force;
//   - own frames: the controller's own frames reach only their own records;
//   - time: the transaction took what the line forces and no more than a small fixed allowance beside it.
// A run is fixed by its seed: the same seed gives the same run, on any machine and at any load.

#include "sim/simulatedline.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace app {
class AppServices;
}

namespace linksim {

using Random = std::mt19937_64;

// What one transaction did: its result, what it returned beside what the controller holds, and the requests
// its timeline gives.
struct Outcome {
    bool success = false;
    struct Value {
        const char* what;
        long got;
        long want;
        int at; // which one of several (-1: the only one)
    };
    std::vector<Value> values;
    void expect(const char* what, long got, long want, int at = -1) {
        values.push_back({what, got, want, at});
    }
    // The requests counted against the timeline: (identifier, code), and how many each framing allows.
    struct Counted {
        clink::CanId id;
        int code;
        int acknowledging; // requests the timeline gives a controller that acknowledges
        int once;          // and one that answers once per request
        // Exchanges answered by an acknowledgement and a reply: a controller that acknowledges sends them
        // apart.
        int twoFrameExchanges = 0;
    };
    std::vector<Counted> counted;
    // Its answers carry nothing of its requests: an exchange waits until a dongle that repeats at once can
    // no longer pass an earlier frame there again.
    bool quiet = false;
};

class Simulation;

struct Kind {
    const char* name;
    int weight;
    std::function<Outcome(Simulation&, Random&)> run;
    // A long loop (a thousand exchanges): drawn only when asked for.
    bool heavy = false;
};

// The transactions the runs draw from.
const std::vector<Kind>& kinds();

// A broken rule: which transaction, how, and the line it ran on.
struct Violation {
    uint64_t seed = 0;
    int step = 0;
    std::string kind;
    std::string rule;
    std::string detail;
    std::string line;
    // The one-line command that runs this seed again.
    std::string reproduction() const;
};

// Per framing and transaction kind: what ran and what it cost.
struct Tally {
    long runs = 0;
    long failed = 0;
    // Requests and what the timeline gives, but after a controller changed behind the connection.
    long requests = 0;
    long timeline = 0;
    long wrong = 0;
    long overTimeline = 0;
    long ownFramesLost = 0;
    long slow = 0;
    double ms = 0;
    // How much longer than the line forced each transaction took, in milliseconds.
    std::vector<float> beyondForcedMs;
    void add(const Tally& t);
};

class Simulation {
public:
    explicit Simulation(uint64_t seed);
    ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    // Curves the controller holds, and the samples of each.
    static constexpr int Curves = 3;
    static constexpr int CurveSamples = 40;

    sim::VirtualTime& time;
    sim::ControllerModel model;
    sim::SimulatedLine line;
    app::AppServices& services();
    sim::VirtualEventPump& pump() { return *pump_; }

    // Draws the line's settings for a new controller (its framing, hold, delivery, copies, own frames).
    static sim::LineSettings randomSettings(Random& random);
    static std::string describe(const sim::LineSettings& s);

    // Runs one transaction of this kind and checks it; the violations are appended.
    void runChecked(const Kind& kind, Random& random, int step, std::vector<Violation>& violations,
                    std::map<std::string, Tally>& tally);
    // Changes some of the controller's values, as the tool or another user would.
    void changeValues(Random& random);
    // A new connection to the dongle, with these settings.
    void reconnect(const sim::LineSettings& settings);
    // A controller restarted or replaced behind the dongle: the connection stays, and the link learns of
    // it only from what it answers.
    void replaceController(const sim::LineSettings& settings);
    // Lets the line go quiet (answers still due arrive, and their copies) with no transaction running, and
    // checks that the controller's own frames meanwhile reached their records.
    void settle(int64_t ms, int step, std::vector<Violation>& violations,
                std::map<std::string, Tally>& tally);

    uint64_t seed;
    // Transactions with answers taken on their second frame that may still run on what the link knew of
    // the controller before, after one changed behind the connection.
    static constexpr int GraceTransactions = 6;
    // And at least these, for its round trip to be timed anew.
    static constexpr int GraceAtLeast = 2;
    int graceLeft = 0;
    // Transactions whose time is not held against the new controller's holds: the link times a round
    // trip per exchange, and goes by the longest of the last few.
    static constexpr int RetimeTransactions = 8;
    int retimeLeft = 0;
    // The line has passed a copy of a frame to the program since the connection was made.
    bool copiesShown = false;
    // Prints every transaction and what the line carried for it.
    bool trace = false;

private:
    void printTrace(int step, const char* kind, const sim::LineSettings& settings, const Outcome& o,
                    double start, double took) const;
    // Notes what the line has shown in its record so far (a copy, the frames it passed), before the record
    // is cleared.
    void noteRecord();
    // The answers in the record that are the same frame as one passed as long before as a gateway repeats
    // a frame, each frame once.
    int answersRepeated(const std::vector<sim::SimulatedLine::Event>& record) const;
    // How long after startMs the line was still answering requests of earlier transactions.
    static double answeringEarlierMs(const std::vector<sim::SimulatedLine::Event>& record, double startMs);
    // The frame as the program read it: whole when it came, or when the program ran again after a stall.
    sim::SimulatedLine::Event read(sim::SimulatedLine::Event e) const;
    // The frames passed to the program lately, and for how long they are kept: counted from when the
    // program read each (a copy of one read late can come as long after that, for all it knows).
    static constexpr int64_t RepeatEarliestNs = 0;
    static constexpr int64_t RepeatWindowNs = 300 * sim::VirtualTime::NsPerMs;
    std::deque<sim::SimulatedLine::Event> heardBefore_;
    // How long the answers of the present controller took, the last few (as many as the link goes by).
    static constexpr size_t AnswerTimesKept = 8;
    std::deque<double> answerTimesMs_;
    void noteAnswerTimes(const std::vector<sim::SimulatedLine::Event>& record);
    sim::VirtualEventPump* pump_ = nullptr;
    std::unique_ptr<app::AppServices> services_;
};

struct RunOptions {
    int transactions = 100;
    // Kinds to draw from (empty: all).
    std::vector<std::string> only;
    // Settings fixed for the whole run instead of drawn.
    const sim::LineSettings* fixed = nullptr;
    // No reconnects or framing changes.
    bool steady = false;
    // The program never runs late.
    bool noStalls = false;
    // Prints every transaction and what the line carried for it.
    bool trace = false;
    // Long loops are drawn too.
    bool heavy = false;
    // Runs on past a broken rule (to measure, not to test).
    bool keepGoing = false;
};

struct RunResult {
    std::vector<Violation> violations;
    // Keyed "framing/kind".
    std::map<std::string, Tally> tally;
    long transactions = 0;
};

// One seeded run: transactions drawn from the kinds, with values changed, reconnects and framings changed
// between them, and the program stalled at random on some seeds. Stops at the first violation.
RunResult runSeed(uint64_t seed, const RunOptions& options = {});

// A run on lines set one after the other: each phase's line comes with a new connection, or behind the
// same one (a controller restarted or replaced), and runs its transactions drawn from its kinds.
struct Phase {
    sim::LineSettings settings;
    bool reconnect = false;
    std::vector<std::string> kinds;
    int transactions = 0;
    // The program runs late as these say during the phase.
    sim::Stalls stalls{};
};
RunResult runPhases(uint64_t seed, const std::vector<Phase>& phases);

} // namespace linksim
