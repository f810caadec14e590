#pragma once
// The controller link on the USB connection, driving the stand-in's simulated serial converter. The
// device is opened and set up as at start-up.

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "sim/controllermodel.h"
#include "sim/ftdisim.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

class UsbFixture : public ::testing::Test {
protected:
    void SetUp() override;

    base::QtEventPump pump;
    clink::ManualLinkClock clock;
    ScriptedDialogs dialogs;
    sim::ControllerModel model;
    sim::FtdiSim device{model};
    // As the program's: no box while the program closes or a command is being closed.
    base::StoppableDialogs shown{dialogs, pump};
    clink::ControllerLink link{pump, shown, clock};
    clink::LinkState& s = link.state;
};

} // namespace testsupport
