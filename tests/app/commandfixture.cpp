#include "tests/app/commandfixture.h"

namespace commandtest {

CommandFixture::CommandFixture() {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void CommandFixture::useUnconnectedEthernet() {
    s.ConnectionType = clink::TcpIp;
    s.ControllerIpAddress = QStringLiteral("127.0.0.1");
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

} // namespace commandtest
