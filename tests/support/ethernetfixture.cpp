#include "tests/support/ethernetfixture.h"

#include "tests/support/waitfor.h"

namespace testsupport {

void EthernetFixture::SetUp() {
    ASSERT_TRUE(dongle.listen(0));
    s.ConnectionType = clink::TcpIp;
    s.TransferDelay = 8;
    link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
    ASSERT_TRUE(waitFor([&] { return link.socket.isConnected() && dongle.hasClient(); }));
}

bool EthernetFixture::waitFor(const std::function<bool()>& cond, int ms) {
    return testsupport::waitFor(cond, ms);
}

} // namespace testsupport
