#include "tests/support/ppfixture.h"

namespace testsupport {

void PpFixture::SetUp() {
    ASSERT_TRUE(chip.open());
    link.spi.usePort(chip);
    s.ConnectionType = clink::ParallelPort;
    s.TransferDelay = 1;
    link.spi.InitializePort();
}

void PpFixture::configure(clink::CanId awaited) {
    ASSERT_TRUE(link.dataTx.ConfigureCanDongle(awaited)) << clink::canIdText(awaited).toStdString();
}

} // namespace testsupport
