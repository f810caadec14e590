#include "tests/app/commandfixture.h"

namespace commandtest {

CommandFixture::CommandFixture() {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void CommandFixture::connect(Link link) {
    switch (link) {
    case Link::Ethernet:
        connectEthernet();
        break;
    case Link::Usb:
        useUsb();
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        break;
    case Link::ParallelPort:
        useParallelPort();
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

std::vector<clink::CanMessage> CommandFixture::received(clink::CanId id, int code) const {
    std::vector<clink::CanMessage> r;
    for (const clink::CanMessage& m : model.received)
        if (m.id == id && m.data[0] == code)
            r.push_back(m);
    return r;
}

int CommandFixture::filterFramesReceived(clink::CanId id) const {
    int n = 0;
    for (const auto& f : dongle.frames) {
        if (f.accept == id && f.message.id == id && sim::isZeroData(f.message))
            ++n;
    }
    return n;
}

std::vector<int> CommandFixture::toolReads() const {
    std::vector<int> reads;
    for (const clink::CanMessage& m : model.received) {
        if (m.id != clink::ids::ToolEepromRequest || m.data[0] != 0x90)
            continue;
        // Over Ethernet a read is asked again until its second answer: count each read once.
        const int address = m.data[1] * 256 + m.data[2];
        if (reads.empty() || reads.back() != address)
            reads.push_back(address);
    }
    return reads;
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
