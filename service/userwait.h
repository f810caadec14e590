#pragma once
// A wait for the user (a button, a typed value, a cancel): it blocks in the event loop, costs no CPU,
// has no bound of its own and ends once done() holds, or when the program closes (the pump stops).
// Whatever makes done() true calls the pump's wake().

#include "base/eventpump.h"

#include <functional>

namespace service {

inline void waitForUser(base::EventPump& pump, const std::function<bool()>& done) {
    while (!done() && !pump.stopped())
        pump.waitUntil(done, base::MaxPollCount);
}

} // namespace service
