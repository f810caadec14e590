#pragma once
// One request-and-reply exchange on the parallel port, the way every transaction runs it. Build the
// transactions' parallel-port paths on this; do not copy its loop.
//
//   release the reset line;
//   up to `passes` passes:
//       DoEvents (yieldEachPass); CANINTF := 0 (clearBeforeSend); send the request with
//       DataTx.SendCanMessage(0, id, 3, 1, 8, data) (when there is one);
//       up to `polls` polls:
//           DoEvents (yieldEachPoll); read CANINTF (complemented: bit 0 = 0 means a message waits);
//           when one waits, hand it to the matcher, which reads the receive buffer byte by byte in the
//           order it compares (each byte one register read, restored with Xor 255); then CANINTF := 0,
//           whether the matcher took the message or discarded it. Taken: the exchange ends with true.
//   after the last pass: false.
//
// Example, the tool-EEPROM read (reply 0x30, high, low, value):
//
//   PpExchange pp(link_);
//   return pp.run({.request = CanMessage{ids::ToolEepromRequest, {0x90, hi, lo, 0, 0, 0, 0, 0}},
//                  .passes = 50, .polls = pp.polls(70)},
//                 [&](PpRxMessage& m) {
//                     if (!m.bytesAre({0x30, hi, lo}))
//                         return false;             // discarded; polling goes on
//                     s_.DataBuffer.put(s_.DataCount++, m.byte(3));
//                     return true;                  // taken
//                 });
//
// A transaction that looks at the controller only once per call uses look(); one that polls against the
// clock (one thousandth of a day per request) uses runTimed(). Both loops end early when the running
// transaction is over (its silence cap, or the program closing); a message taken counts as heard.

#include "link/canid.h"

#include <functional>
#include <initializer_list>
#include <optional>

namespace clink {

class ControllerLink;
class spi;

// A message waiting in receive buffer 0, read one data byte at a time.
class PpRxMessage {
public:
    explicit PpRxMessage(spi& bus) : bus_(bus) {}
    // Data byte n (0..7), restored: one register read on each call.
    int byte(int n);
    // Compares data bytes first, first+1, ... with expected in order, reading only up to the first
    // difference, as the transactions compare.
    bool bytesAre(std::initializer_list<int> expected, int first = 0);

private:
    spi& bus_;
};

// Looks at one waiting message: true takes it, false discards it.
using PpMatcher = std::function<bool(PpRxMessage&)>;

struct PpPlan {
    std::optional<CanMessage> request; // none: the transaction only listens
    long passes = 1;
    long polls = 0;               // CANINTF reads per pass
    bool yieldEachPass = true;    // DoEvents before each send
    bool clearBeforeSend = false; // CANINTF := 0 before each send
    bool yieldEachPoll = false;   // DoEvents before each CANINTF read
    bool discardEndsPass = false; // a discarded message ends the pass (the next pass re-sends)
};

class PpExchange {
public:
    enum class Look { Nothing, Taken, Discarded };

    explicit PpExchange(ControllerLink& link);

    // TransferDelay x factor, clamped to the 16-bit counts.
    long polls(long factor) const;
    // The whole exchange (see above); true when the matcher took a message.
    bool run(const PpPlan& plan, const PpMatcher& take);
    // One CANINTF read; a waiting message is handed to the matcher and CANINTF is cleared after it.
    Look look(const PpMatcher& take);
    // Against the clock: release the reset line; while one thousandth of a day has not passed since the
    // start: DoEvents, beforeSend (when set), send the request, then poll until one thousandth of a day
    // has passed since that send, with a DoEvents every PollsPerYield reads so the window stays live.
    // True when the matcher took a message.
    static constexpr long PollsPerYield = 256;
    bool runTimed(const CanMessage& request, const PpMatcher& take,
                  const std::function<void()>& beforeSend = {});

private:
    ControllerLink& link_;
};

} // namespace clink
