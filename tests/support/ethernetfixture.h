#pragma once
// The controller link connected over real loopback TCP to the stand-in's Ethernet dongle.

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "sim/controllermodel.h"
#include "sim/tcpdongle.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

class EthernetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Waits (in the event loop) until cond holds or ms elapse.
    static bool waitFor(const std::function<bool()>& cond, int ms = 2000);

    base::QtEventPump pump;
    clink::SteadyLinkClock clock;
    ScriptedDialogs dialogs;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    // As the program's: no box while the program closes or a command is being closed.
    base::StoppableDialogs shown{dialogs, pump};
    clink::ControllerLink link{pump, shown, clock};
    clink::LinkState& s = link.state;
};

} // namespace testsupport
