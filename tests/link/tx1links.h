#pragma once
// The fixtures the status, Pset, logic and curve transactions are run on: one per link, each with the
// controller stand-in behind its front end. The typed tests below run every case on each of them.

#include "link/commandcodes.h"
#include "tests/support/ethernetfixture.h"

#include <gtest/gtest.h>

namespace tx1 {

using LinkFixtures = ::testing::Types<testsupport::EthernetFixture>;

// What the test cases need from any link fixture, plus the logic answer-block receive that the editors
// run differently per link.
template <class LinkFixture> class OnEachLink : public LinkFixture {
protected:
    clink::DataTx& tx() { return this->link.dataTx; }

    // Requests answer block n and takes it (appended at DataCount), as the logic editors do.
    bool receiveBlock(int block) {
        clink::LinkState& s = this->s;
        const std::array<int, 8> request{clink::codes::LogicBlockRequest, block, 0, 0, 0, 0, 0, 0};
        switch (s.ConnectionType) {
        case clink::TcpIp: {
            // The acknowledgement handler takes the first answer as the acknowledgement, stores the next.
            s.RequestData[2] = block;
            s.AckReceived = false;
            s.ReplyReady = false;
            for (int i = 0; i < ReceiveRequests && !s.ReplyReady; ++i)
                this->link.ethernet.SendCanFrame(clink::ids::CommandReply, clink::ids::CommandRequest,
                                                 request);
            return s.ReplyReady;
        }
        default:
            return tx().ReceiveLogicIoProgram(clink::codes::LogicBlockRequest, block);
        }
    }

    static constexpr int ReceiveRequests = 30;
};

} // namespace tx1
