#include "tests/support/usbfixture.h"

namespace testsupport {

void UsbFixture::SetUp() {
    s.ConnectionType = clink::Usb;
    link.usb.setDevice(device);
    ASSERT_TRUE(link.usb.OpenDevice());
    ASSERT_TRUE(link.usb.ConfigureDevice());
    ASSERT_TRUE(dialogs.messages.empty());
}

} // namespace testsupport
