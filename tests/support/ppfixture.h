#pragma once
// The controller link on the parallel port, driving the stand-in's simulated CAN-controller chip instead
// of the printer port. The port is opened and driven idle as start-up does; TransferDelay is 1.

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "sim/controllermodel.h"
#include "sim/spichip.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

class PpFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // ConfigureCanDongle for the awaited reply identifier; the test fails when it does not succeed.
    void configure(clink::CanId awaited);

    base::QtEventPump pump;
    clink::ManualLinkClock clock;
    ScriptedDialogs dialogs;
    sim::ControllerModel model;
    sim::SpiChip chip{&model};
    // As the program's: no box while the program closes or a command is being closed.
    base::StoppableDialogs shown{dialogs, pump};
    clink::ControllerLink link{pump, shown, clock};
    clink::LinkState& s = link.state;
};

} // namespace testsupport
