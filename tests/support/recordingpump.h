#pragma once
// The program's own pump, counting the long waits that ran out. Against a controller that answers, a wait
// for its reply ends on the answer; a reply wait that runs out waited for a frame that was not coming. A
// pause of a long wait's length counts too: the exchanges it watches pause for less.

#include "base/eventpump.h"

namespace testsupport {

class RecordingQtPump : public base::QtEventPump {
public:
    // A wait of at least this many DoEvents (30 ms) is a reply wait.
    static constexpr long LongWait = 3000;

    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override {
        const bool held = QtEventPump::waitUntil(done, doEventsCount);
        if (!held && doEventsCount >= LongWait && !stopped())
            ++longWaitsRunOut;
        return held;
    }

    int longWaitsRunOut = 0;
};

} // namespace testsupport
