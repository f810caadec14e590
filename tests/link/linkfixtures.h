#pragma once
// The fixtures the transactions are run on: one per link, each with the controller stand-in behind its
// front end. The typed tests run every case on each of them.

#include "link/commandcodes.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/ppfixture.h"
#include "tests/support/usbfixture.h"

#include <gtest/gtest.h>

namespace linktest {

using LinkFixtures =
    ::testing::Types<testsupport::EthernetFixture, testsupport::PpFixture, testsupport::UsbFixture>;

// What the test cases need from any link fixture: the caller's link check and a link that breaks.
template <class LinkFixture> class OnEachLink : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        // The clock-timed parallel-port waits end after one thousandth of a day of readings (the Ethernet
        // fixture runs on the real clock).
        if constexpr (requires { this->clock.stepPerReading; })
            this->clock.stepPerReading = ClockStepMs;
    }

    clink::DataTx& tx() { return this->link.dataTx; }

    // The logic was restarted by one restart command: on Ethernet the command goes again until its second
    // answer, which a controller answering once per request gives to the second send; it restarts on each.
    void expectOneRestartRequest() {
        const int requests =
            this->model.countReceived(clink::ids::CommandRequest, clink::codes::RestartLogic);
        EXPECT_EQ(this->model.logicRestarts, requests);
        int expected = 1;
        if constexpr (requires { this->dongle.ackThenReply; })
            expected = this->dongle.ackThenReply ? 1 : 2;
        EXPECT_EQ(requests, expected);
    }

    // What a caller does before a transaction awaiting this reply identifier.
    void linkCheck(clink::CanId awaited) {
        switch (this->s.ConnectionType) {
        case clink::ParallelPort:
            ASSERT_TRUE(tx().ConfigureCanDongle(awaited));
            break;
        case clink::TcpIp:
            ASSERT_TRUE(tx().ConfigureCanDongle(awaited));
            this->link.ethernet.SendFilterFrame(awaited);
            break;
        default:
            ASSERT_TRUE(this->link.usb.SendFilterFrame(awaited));
            break;
        }
    }

    // Makes the link's next check fail: the socket closed, the dongle gone, a failed write.
    void breakLink() {
        if constexpr (requires { this->chip; })
            this->chip.dongleAbsent = true;
        else if constexpr (requires { this->device; })
            this->device.writeFails = 1;
        else
            this->link.socket.close();
    }

    static constexpr int64_t ClockStepMs = 10;
};

} // namespace linktest
