#pragma once
// The links on which a controller that stays silent costs no time, for the program transfers' fault cases,
// and a progress sink that records what a transfer reported.

#include "base/progress.h"
#include "link/controllerlink.h"
#include "link/linkclock.h"
#include "sim/controllermodel.h"
#include "sim/tcpdongle.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/ppfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/usbfixture.h"
#include "tests/support/waitfor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace linktest {

// The Ethernet link to the stand-in on a pump that never waits: every wait handles the pending socket
// events once and otherwise counts its whole budget as spent. A controller that stays silent then costs
// no time, and the budgets the transfer spent can be asserted.
class CountingEthernetFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dongle.listen(0));
        s.ConnectionType = clink::TcpIp;
        s.TransferDelay = 1;
        link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
        ASSERT_TRUE(testsupport::waitFor([&] { return link.socket.isConnected() && dongle.hasClient(); }));
        pump.betweenPolls = [] { QCoreApplication::processEvents(); };
    }

    testsupport::CountingEventPump pump;
    clink::ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    clink::ControllerLink link{pump, dialogs, clock};
    clink::LinkState& s = link.state;
};

// The links on which a silent controller costs no time: Ethernet on the counting pump; the parallel-port
// and USB fixtures never wait for a reply that does not come.
using SilentLinks =
    ::testing::Types<CountingEthernetFixture, testsupport::PpFixture, testsupport::UsbFixture>;

class RecordingProgress : public base::Progress {
public:
    void setRange(int minimum, int maximum) override {
        this->minimum = minimum;
        this->maximum = maximum;
    }
    void setValue(int value) override { values.push_back(value); }
    int highest() const { return values.empty() ? -1 : *std::max_element(values.begin(), values.end()); }
    int last() const { return values.empty() ? -1 : values.back(); }

    int minimum = -1;
    int maximum = -1;
    std::vector<int> values;
};

} // namespace linktest
