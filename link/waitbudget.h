#pragma once
// A reply wait that all the sends of one exchange draw on. The counts behind it (an inner pass count
// inside an outer one) are set once per exchange and never reset, so once the inner passes are spent
// the outer passes no longer yield: the budget is the inner count times the DoEvents per pass. A wait
// that ends because its condition held ends the exchange, so only unanswered waits draw it down.

#include "base/eventpump.h"

#include <functional>

namespace clink {

class SharedWaitBudget {
public:
    // innerPasses passes of doEventsPerPass DoEvents each.
    SharedWaitBudget(base::EventPump& pump, long innerPasses, long doEventsPerPass)
        : pump_(pump), left_(innerPasses * doEventsPerPass) {}

    // Waits on what is left of the budget until done() holds; true when it held.
    bool wait(const std::function<bool()>& done) {
        if (done())
            return true;
        if (left_ <= 0)
            return false;
        if (pump_.waitUntil(done, left_))
            return true;
        left_ = 0;
        return false;
    }
    bool spent() const { return left_ <= 0; }

private:
    base::EventPump& pump_;
    long left_;
};

} // namespace clink
