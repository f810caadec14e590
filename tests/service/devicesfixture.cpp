#include "tests/service/devicesfixture.h"

#include "tests/support/countingeventpump.h"
#include "tests/support/novalueentry.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/waitfor.h"

namespace devicestest {

namespace {
std::unique_ptr<app::AppServices> makeServices(Link link, testsupport::ScriptedDialogs*& dialogs) {
    app::AppSeams seams;
    auto scripted = std::make_unique<testsupport::ScriptedDialogs>();
    dialogs = scripted.get();
    seams.dialogs = std::move(scripted);
    if (link == Link::Ethernet)
        seams.pump = std::make_unique<base::QtEventPump>();
    else
        seams.pump = std::make_unique<testsupport::CountingEventPump>();
    // The socket's answers come in real time, and the link's times with them.
    if (link == Link::Ethernet)
        seams.clock = std::make_unique<clink::SteadyLinkClock>();
    else
        seams.clock = std::make_unique<clink::ManualLinkClock>();
    // The device windows never ask for a value.
    seams.valuePrompt = std::make_unique<testsupport::NoValueEntry>();
    seams.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    return std::make_unique<app::AppServices>(std::move(seams));
}
} // namespace

DevicesFixture::DevicesFixture(Link link)
    : link(link), services(makeServices(link, dialogs)), ctx(*services), s(ctx.state) {}

void DevicesFixture::connect() {
    switch (link) {
    case Link::ParallelPort:
        ASSERT_TRUE(chip.open());
        ctx.link.spi.usePort(chip);
        s.ConnectionType = clink::ParallelPort;
        s.TransferDelay = 1;
        ctx.link.spi.InitializePort();
        break;
    case Link::Ethernet:
        ASSERT_TRUE(dongle.listen(0));
        s.ConnectionType = clink::TcpIp;
        s.TransferDelay = 8;
        ctx.link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
        ASSERT_TRUE(
            testsupport::waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));
        break;
    case Link::Usb:
        s.ConnectionType = clink::Usb;
        ctx.link.usb.setDevice(ftdi);
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        break;
    }
}

} // namespace devicestest
