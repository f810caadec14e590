#pragma once
// The program's services (no windows) over the controller stand-in on one of its links, for the device
// sessions. Over the parallel port and USB the stand-in answers at once, so the pump does not wait; over
// Ethernet the pump is the program's own, running the event loop for the loopback socket.

#include "tests/support/servicesfixture.h"

#include <memory>

namespace devicestest {

using testsupport::Link;
using testsupport::linkName;

class DevicesFixture : public ::testing::Test {
protected:
    explicit DevicesFixture(Link link);
    // Opens the link to the stand-in as start-up does.
    void connect();
    // The texts of the messages shown, in order.
    QStringList messages() const { return dialogs->messageTexts(); }
    const testsupport::ScriptedDialogs::Message& lastMessage() const { return dialogs->messages.back(); }
    // Requests the stand-in received on an identifier with this code (all codes: -1).
    int received(clink::CanId id, int code = -1) const { return model.countReceived(id, code); }
    std::vector<int> toolReads() const { return testsupport::toolReads(model); }

    const Link link;
    testsupport::ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<app::AppServices> services;
    app::AppServices& ctx;
    clink::LinkState& s;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    sim::SpiChip chip{&model};
    sim::FtdiSim ftdi{model};
};

// The same on each link in turn.
class OnEachLink : public DevicesFixture, public ::testing::WithParamInterface<Link> {
protected:
    OnEachLink() : DevicesFixture(GetParam()) {}
    void SetUp() override { connect(); }
};

} // namespace devicestest
