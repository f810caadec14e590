#pragma once
// The link against a simulated controller and line, in virtual time: random sequences of the link's
// transactions and the features' loops over them, with values changed between them, framings and timings
// changed with and without a reconnect, and after every transaction the checks that hold whatever the line
// does:
//   - every value returned or stored is the controller's answer to the transaction's own request, and a
//     transaction that reports success has its values right;
//   - the controller received each request no more often than the exchange's timeline gives for the
//     framing in force (a controller that acknowledges: once; one that answers once: once more for each
//     answer taken on its second frame);
//   - the controller's own frames reach only their own records;
//   - the transaction took about one hold per request it needed.
// A run is fixed by its seed: the same seed gives the same run, on any machine and at any load.

#include "sim/simulatedline.h"

#include <QString>

#include <cstdint>
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

// What one transaction did, and whether it held.
struct Outcome {
    bool success = false;
    // Empty when every value returned or stored was right.
    QString wrongValue;
    // The requests counted against the timeline: (identifier, code), and how many each framing allows.
    struct Counted {
        clink::CanId id;
        int code;
        int acknowledging; // requests the timeline gives a controller that acknowledges
        int once;          // and one that answers once per request
    };
    std::vector<Counted> counted;
    // Exchanges that change what the controller holds, each waiting out copies of what was heard before it.
    int copyWaits = 1;
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
    long slow = 0;
    double ms = 0;
};

class Simulation {
public:
    explicit Simulation(uint64_t seed);
    ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    sim::VirtualTime& time;
    sim::ControllerModel model;
    sim::SimulatedLine line;
    app::AppServices& services();

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
    // Lets the line go quiet (answers still due arrive, and their copies).
    void settle(int64_t ms);

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
    // Prints every transaction and what the line carried for it.
    bool trace = false;

private:
    void printTrace(int step, const char* kind, const sim::LineSettings& settings, const Outcome& o,
                    double start, double took) const;
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
    // Prints every transaction and what the line carried for it.
    bool trace = false;
    // Long loops are drawn too.
    bool heavy = false;
};

struct RunResult {
    std::vector<Violation> violations;
    // Keyed "framing/kind".
    std::map<std::string, Tally> tally;
    long transactions = 0;
};

// One seeded run: transactions drawn from the kinds, with values changed, reconnects and framings changed
// between them. Stops at the first violation.
RunResult runSeed(uint64_t seed, const RunOptions& options = {});

// A run on lines set one after the other: each phase's line comes with a new connection, or behind the
// same one (a controller restarted or replaced), and runs its transactions drawn from its kinds.
struct Phase {
    sim::LineSettings settings;
    bool reconnect = false;
    std::vector<std::string> kinds;
    int transactions = 0;
};
RunResult runPhases(uint64_t seed, const std::vector<Phase>& phases);

} // namespace linksim
