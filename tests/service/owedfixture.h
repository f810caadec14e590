#pragma once
// The stand-in's Ethernet dongle playing a slow, once-answering or repeating gateway, for exchanges run back
// to back: each parameter names the dongle and sets its knobs before the case runs.

#include "tests/support/ethernetfixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace testsupport {

struct Dongle {
    const char* name;
    int holdMs = 0;
    bool ackThenReply = true;
    int repeatGapMs = -1; // >= 0: every frame repeated, the copy written apart
    int frameGapMs = -1;
    int staleStatusMs = 0; // > 0: each status answer comes again, as it was, this long after
    int reportEveryMs = 0; // > 0: a fault report this often, passed whatever the program asked for
    bool bytePerTurn = false;
    bool previousInFront = false; // the frame passed last written again in front of each answer
};

inline void PrintTo(const Dongle& d, std::ostream* os) {
    *os << d.name;
}

inline std::string dongleName(const ::testing::TestParamInfo<Dongle>& info) {
    return info.param.name;
}

class OwedFixture : public EthernetFixture, public ::testing::WithParamInterface<Dongle> {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        const Dongle& d = GetParam();
        dongle.replyDelay = d.holdMs;
        dongle.ackThenReply = d.ackThenReply;
        dongle.duplicateReplies = d.repeatGapMs >= 0;
        dongle.repeatGapMs = d.repeatGapMs;
        dongle.frameGapMs = d.frameGapMs;
        dongle.staleStatusMs = d.staleStatusMs;
        dongle.bytePerTurn = d.bytePerTurn;
        dongle.previousInFront = d.previousInFront;
        if (d.reportEveryMs > 0)
            dongle.startReports(d.reportEveryMs);
    }
};

} // namespace testsupport
