#include "tests/app/commandfixture.h"

namespace commandtest {

CommandFixture::CommandFixture() {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void CommandFixture::useUnconnectedEthernet() {
    s.ConnectionType = clink::TcpIp;
    s.ControllerIpAddress = QStringLiteral("127.0.0.1");
}

} // namespace commandtest
