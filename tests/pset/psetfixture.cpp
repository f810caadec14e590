#include "tests/pset/psetfixture.h"

#include "base/eventpump.h"
#include "tests/support/novalueentry.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/waitfor.h"

namespace psettest {

namespace {
std::unique_ptr<app::AppServices> makeServices(testsupport::ScriptedDialogs*& dialogs) {
    app::AppSeams seams;
    auto scripted = std::make_unique<testsupport::ScriptedDialogs>();
    dialogs = scripted.get();
    seams.dialogs = std::move(scripted);
    seams.pump = std::make_unique<base::QtEventPump>();
    auto clock = std::make_unique<clink::ManualLinkClock>();
    // The clock-timed parallel-port waits end after a bounded number of readings.
    constexpr int64_t StepPerReadingMs = 10;
    clock->stepPerReading = StepPerReadingMs;
    seams.clock = std::move(clock);
    // No command of the Pset editor asks for a value.
    seams.valuePrompt = std::make_unique<testsupport::NoValueEntry>();
    seams.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    return std::make_unique<app::AppServices>(std::move(seams));
}
} // namespace

PsetFixture::PsetFixture()
    : ctxOwner(makeServices(dialogs)), ctx(*ctxOwner), s(ctx.state), table(ctx.psetTable) {
    module.attach(session);
    ctx.palverin.LoadIniFiles();
}

PsetFixture::~PsetFixture() {
    ctx.link.spi.usePort(ctx.link.ppdev);
    ctx.link.usb.setDevice(ctx.link.ftdi);
}

void PsetFixture::connect(Link link) {
    switch (link) {
    case Link::Ethernet:
        ASSERT_TRUE(dongle.listen(0));
        s.ConnectionType = clink::TcpIp;
        s.ControllerIpAddress = QStringLiteral("127.0.0.1");
        s.ControllerIpPort = QString::number(dongle.port());
        s.TransferDelay = 8;
        ctx.link.socket.connectTo(s.ControllerIpAddress, dongle.port());
        ASSERT_TRUE(waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));
        break;
    case Link::Usb:
        ctx.link.usb.setDevice(ftdi);
        s.ConnectionType = clink::Usb;
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        break;
    case Link::ParallelPort:
        ctx.link.spi.usePort(chip);
        s.ConnectionType = clink::ParallelPort;
        ASSERT_TRUE(chip.open());
        s.TransferDelay = 1;
        ctx.link.spi.InitializePort();
        break;
    }
    saveSettings();
}

void PsetFixture::saveSettings() {
    ASSERT_TRUE(ctx.palverin.SaveIniFile());
}

void PsetFixture::setDefaultUnits(int units) {
    ctx.palverin.settings.PsetDefaults.DefaultUnits = QString::number(units);
    saveSettings();
}

bool PsetFixture::waitFor(const std::function<bool()>& cond, int ms) {
    return testsupport::waitFor(cond, ms);
}

} // namespace psettest
