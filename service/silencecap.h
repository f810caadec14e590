#pragma once
// The longest a device exchange goes on asking a controller that says nothing: its counts of requests and
// waits would mean minutes. The exchange asks over() before each request and stops.
//
//   SilenceCap cap(link.clock);
//   for (int n = 0; n < Requests && !answered && !cap.over(); ++n) ...

#include "base/eventpump.h"
#include "link/linkclock.h"

namespace service {

class SilenceCap {
public:
    explicit SilenceCap(clink::LinkClock& clock) : clock_(clock), start_(clock.nowMs()) {}
    bool over() { return clock_.nowMs() - start_ >= int64_t(base::MaxWait.count()); }

private:
    clink::LinkClock& clock_;
    int64_t start_;
};

} // namespace service
