#pragma once
// One exchange with the controller, from its first frame to its result. While one runs, every wait of the
// link (and of a feature's own exchange) goes through the link's TransactionPump, which ends it:
//   - at once when the link refused a send or the Ethernet connection dropped: the transaction fails with
//     its usual result, without waiting out its passes or counting on the socket coming back;
//   - at once when the user ended the command it serves (the Exit or Cancel of the window it waits for);
//   - when the controller has said nothing the transaction accepted for SilenceCapMs, counted across all its
//     passes, tries and waits, and across the transactions nested in it (a long transfer that keeps
//     hearing from the controller goes on);
//   - at once when the program closes (the pump's stop flag).
// The counts of an exchange that hears its replies are untouched. Loops ask over() before each pass and
// stop; waits are cut to what is left of the cap and end as soon as the transaction is over.
//
//   bool DataTx::ReadToolEeprom(int address) {
//       Transaction tx(link_);            // on Ethernet: stale text dropped, flags cleared
//       ...
//       for (int attempt = 0; attempt < 501 && !s_.ReplyReady && !tx.over(); ++attempt) ...
//   }

#include "base/eventpump.h"
#include "link/linkclock.h"

#include <cstdint>

namespace clink {

class ControllerLink;

// The longest a transaction waits for a controller that says nothing.
inline constexpr int64_t SilenceCapMs = 10000;

class TransactionPump : public base::EventPump {
public:
    TransactionPump(base::EventPump& pump, LinkClock& clock);

    void doEvents() override { pump_.doEvents(); }
    // Outside a transaction: the pump's own wait. Inside: cut to what is left of the silence cap, ended
    // when the transaction is refused or cancelled meanwhile, and no wait at all once it is over.
    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override;
    void wake() override { pump_.wake(); }
    void wakeAfter(std::chrono::nanoseconds after) override { pump_.wakeAfter(after); }
    std::chrono::nanoseconds away() const override { return pump_.away(); }
    void stop() override { pump_.stop(); }
    bool stopped() const override { return pump_.stopped(); }

    // A transaction is running; the one running is not nested in another.
    bool running() const { return depth_ > 0; }
    bool outermost() const { return depth_ == 1; }
    // The transaction accepted a frame from the controller: the cap counts from now.
    void heard();
    // The transaction waited for the user (a prompt), not for the controller: the cap counts from now.
    void userAnswered() { heard(); }
    // The link refused a send, or the connection it talks over dropped: the transaction ends.
    void refused();
    // The user ended the command the transaction serves: it ends quietly, as after a refused send.
    void cancel();
    // True when the running transaction must end: the program is closing, the link refused a send, the
    // user cancelled, or the controller has been silent for the cap, or would be after a further step of
    // aheadMs.
    bool over(int64_t aheadMs = 0);
    // Runs before every check of a waiting condition while a transaction runs: what became due meanwhile
    // (an answer held until its time) is handled first.
    std::function<void()> beforeCheck;

private:
    friend class Transaction;
    void begin();
    void end();
    int64_t silentMs();

    base::EventPump& pump_;
    LinkClock& clock_;
    int depth_ = 0;
    int64_t lastHeard_ = 0;
    bool refused_ = false;
    bool cancelled_ = false;
};

// Marks one transaction for its lifetime. Transactions may nest (a feature's exchange around a catalogue
// transaction, a block receive around each block's take); the outermost one starts the silence count and
// a nested one is a step of it, so only an accepted frame moves the count. A refused send ends them all.
// At the start, on Ethernet, received text not yet parsed is dropped, and on every link AckReceived,
// ReplyReady and the reply expectations are cleared, so that nothing a previous exchange left behind
// completes this one; the expectations are cleared again at the end.
class Transaction {
public:
    // A transaction on the chosen link (ConnectionType), or on the one named.
    explicit Transaction(ControllerLink& link);
    Transaction(ControllerLink& link, int16_t connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool over(int64_t aheadMs = 0);

private:
    ControllerLink& link_;
};

} // namespace clink
