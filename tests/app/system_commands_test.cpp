// The System commands' sessions against the stand-in: the USB dongle's test exchange on a failed device and
// on a silent or answering one.
#include "app/sessions/usbtestsession.h"
#include "link/linkcheck.h"
#include "tests/support/servicesfixture.h"

using namespace clink;

namespace {

class SystemCommands : public testsupport::ServicesFixture {};

TEST_F(SystemCommands, UsbTestOnAFailedDeviceOnASilentOneAndOnOneThatEchoes) {
    useUsb();
    ftdi.noDevice = true;
    EXPECT_FALSE(app::UsbTestSession(ctx.link).run());
    // The device set-up's own boxes, then the test's.
    EXPECT_EQ(dialogs->messageTexts().last(), "Unable to connect using USB");
    EXPECT_EQ(dialogs->messages.back().icon, base::MessageIcon::Critical);
    EXPECT_TRUE(ftdi.frames.empty());

    dialogs->messages.clear();
    ftdi.noDevice = false;
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.noReply.insert(ids::UsbTestRequest);
    EXPECT_FALSE(app::UsbTestSession(ctx.link).run());
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"No Habla"});
    EXPECT_EQ(dialogs->messages.back().icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->messages.back().caption, "Palverin2006");
    // The bare frame, then the test frame with its eight bytes.
    ASSERT_GE(ftdi.frames.size(), 2u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::UsbTestReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::UsbTestRequest, {0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(ftdi.frames[1].message, (CanMessage{ids::UsbTestRequest, {1, 2, 3, 4, 5, 6, 7, 8}}));

    // Whatever link is chosen, the USB dongle is asked; its echo is shown byte by byte.
    dialogs->messages.clear();
    model.noReply.clear();
    s.ConnectionType = TcpIp;
    EXPECT_TRUE(app::UsbTestSession(ctx.link).run());
    EXPECT_EQ(dialogs->messageTexts(),
              QStringList{"DataArray(0) = 1\r\nDataArray(1) = 2\r\nDataArray(2) = 3\r\nDataArray(3) = 4\r\n"
                          "DataArray(4) = 5\r\nDataArray(5) = 6\r\nDataArray(6) = 7\r\nDataArray(7) = 8"});
}

} // namespace
