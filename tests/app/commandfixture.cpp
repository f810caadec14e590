#include "tests/app/commandfixture.h"

#include "tests/support/scriptedtextviewer.h"
#include "tests/support/waitfor.h"

namespace commandtest {

namespace {
std::unique_ptr<app::AppServices> makeServices(testsupport::ScriptedDialogs*& dialogs,
                                               testsupport::ScriptedValueEntry*& values) {
    app::AppSeams seams;
    auto scripted = std::make_unique<testsupport::ScriptedDialogs>();
    dialogs = scripted.get();
    seams.dialogs = std::move(scripted);
    // The program's own pump: the loopback socket's answers arrive through the event loop.
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::ManualLinkClock>();
    auto prompt = std::make_unique<testsupport::ScriptedValueEntry>();
    values = prompt.get();
    seams.valuePrompt = std::move(prompt);
    seams.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    return std::make_unique<app::AppServices>(std::move(seams));
}
} // namespace

CommandFixture::CommandFixture() : services(makeServices(dialogs, valueEntry)), ctx(*services), s(ctx.state) {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void CommandFixture::connect(Link link) {
    switch (link) {
    case Link::Ethernet:
        ASSERT_TRUE(dongle.port() != 0 || dongle.listen(0));
        s.ConnectionType = clink::TcpIp;
        s.ControllerIpAddress = QStringLiteral("127.0.0.1");
        s.ControllerIpPort = QString::number(dongle.port());
        s.TransferDelay = 8;
        ctx.link.socket.connectTo(s.ControllerIpAddress, dongle.port());
        ASSERT_TRUE(
            testsupport::waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }, 3000));
        break;
    case Link::Usb:
        s.ConnectionType = clink::Usb;
        ctx.link.usb.setDevice(ftdi);
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
}

void CommandFixture::useUnconnectedEthernet() {
    s.ConnectionType = clink::TcpIp;
    s.ControllerIpAddress = QStringLiteral("127.0.0.1");
}

std::vector<std::pair<int, int>> CommandFixture::toolWrites() const {
    std::vector<std::pair<int, int>> writes;
    const clink::CanMessage* last = nullptr;
    for (const clink::CanMessage& m : model.received) {
        if (m.id != clink::ids::ToolEepromRequest || m.data[0] != 0x60)
            continue;
        // Over Ethernet a write is repeated until it is confirmed twice: count each write once.
        if (last && *last == m)
            continue;
        writes.emplace_back(m.data[1] * 256 + m.data[2], m.data[3]);
        last = &m;
    }
    return writes;
}

} // namespace commandtest
