// The DSP revision read on the three links against the stand-in: listened for on the parallel port,
// asked for over Ethernet (the first answer arms, the second carries the revision) and over USB.
#include "link/cancontroller.h"
#include "link/dsprevision.h"
#include "tests/support/ethernetfixture.h"
#include "tests/support/ppfixture.h"
#include "tests/support/usbfixture.h"

using namespace clink;
using base::MessageIcon;
using testsupport::ScriptedDialogs;

namespace {

void expectOnlyMessage(const ScriptedDialogs& d, const QString& text, MessageIcon icon) {
    ASSERT_EQ(d.messages.size(), 1u) << d.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(d.messages[0].text, text);
    EXPECT_EQ(d.messages[0].caption, base::ProgramTitle);
    EXPECT_EQ(d.messages[0].icon, icon);
}

class DspRevisionPp : public testsupport::PpFixture {
protected:
    DspRevision rev{link};
};
class DspRevisionEth : public testsupport::EthernetFixture {
protected:
    int framesOn(CanId id) const {
        return int(std::count_if(dongle.frames.begin(), dongle.frames.end(),
                                 [id](const auto& f) { return f.message.id == id && f.accept == id; }));
    }
    DspRevision rev{link};
};
class DspRevisionUsb : public testsupport::UsbFixture {
protected:
    DspRevision rev{link};
};

} // namespace

TEST(DspRevisionText, MinorAlwaysHasTwoDigits) {
    EXPECT_EQ(DspRevision::revisionText(3, 1), QStringLiteral("Dsp Software Revision : 3.01"));
    EXPECT_EQ(DspRevision::revisionText(2, 10), QStringLiteral("Dsp Software Revision : 2.10"));
}

TEST_F(DspRevisionPp, ListensForTheRevisionFrameWithoutAsking) {
    // Another frame of the DSP comes first and is passed over.
    chip.emitSpontaneous({ids::ToolReply, {0x51, 1, 2, 3, 4, 5, 9, 9}});
    ASSERT_TRUE(rev.mnuDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("Dsp Software Revision : 3.01"), MessageIcon::Information);
    EXPECT_DOUBLE_EQ(rev.DspVersion, 3.01);
    EXPECT_EQ(s.DataBuffer[7], 3);
    EXPECT_EQ(s.DataBuffer[6], 1);
    EXPECT_TRUE(chip.transmitted.empty());
    EXPECT_EQ(chip.filterId(), ids::ToolReply);
}

TEST_F(DspRevisionPp, GetDspRevShowsNothingOnSuccess) {
    model.dspRevisionMajor = 2;
    model.dspRevisionMinor = 5;
    ASSERT_TRUE(rev.GetDspRev());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_DOUBLE_EQ(rev.DspVersion, 2.05);
}

TEST_F(DspRevisionPp, ASilentDspFailsAfterItsPollsAndKeepsTheVersion) {
    rev.DspVersion = 2.5;
    model.dspRevisionUnprompted = false;
    chip.clearCounters();
    EXPECT_FALSE(rev.GetDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("Read Dsp Software Revision Failed"), MessageIcon::Information);
    EXPECT_DOUBLE_EQ(rev.DspVersion, 2.5);
    EXPECT_EQ(chip.intfReads, DspRevision::PpPolls);
}

TEST_F(DspRevisionEth, TheSecondAnswerCarriesTheRevision) {
    model.dspRevisionMajor = 2;
    model.dspRevisionMinor = 10;
    ASSERT_TRUE(rev.mnuDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("Dsp Software Revision : 2.10"), MessageIcon::Information);
    EXPECT_DOUBLE_EQ(rev.DspVersion, 2.1);
    // The first frame's answer comes before the second is due: the second is not sent. Then the request
    // whose answer carries the revision, then the status filter.
    EXPECT_EQ(framesOn(ids::ToolReply), 2);
    EXPECT_EQ(framesOn(ids::StatusRequest), 1);
}

TEST_F(DspRevisionEth, GetDspRevAsksOnceAndLaterRepliesAreStillTaken) {
    ASSERT_TRUE(rev.GetDspRev());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_DOUBLE_EQ(rev.DspVersion, 3.01);
    EXPECT_EQ(framesOn(ids::ToolReply), 2);
    // The revision answer ended only its own block: the next transaction is answered.
    link.dataTx.ClearReceiveBuffer();
    model.toolEeprom[45] = 0x5A;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(45));
    EXPECT_EQ(s.DataBuffer[0], 0x5A);
}

TEST_F(DspRevisionEth, ASocketNotConnectedSendsNothing) {
    link.socket.close();
    ASSERT_TRUE(waitFor([&] { return !link.socket.isConnected(); }));
    EXPECT_FALSE(rev.mnuDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("Unable to connect using ethernet"), MessageIcon::Critical);
}

TEST_F(DspRevisionUsb, TheDonglePassesTheRevision) {
    model.dspRevisionMinor = 0;
    ASSERT_TRUE(rev.mnuDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("Dsp Software Revision : 3.00"), MessageIcon::Information);
    EXPECT_DOUBLE_EQ(rev.DspVersion, 3.0);
    ASSERT_EQ(device.frames.size(), 1u);
    EXPECT_EQ(device.frames[0].accept, ids::ToolReply);
    EXPECT_EQ(device.frames[0].message, (CanMessage{ids::ToolReply, {}}));
    EXPECT_EQ(device.frames[0].expected, (std::array<int, 2>{0x50, 0}));
}

TEST_F(DspRevisionUsb, NoAnswerAfterElevenFramesAndNoneWhileTheDeviceFailed) {
    model.noReply.insert(ids::ToolReply);
    EXPECT_FALSE(rev.GetDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("DSP value not read"), MessageIcon::Information);
    EXPECT_EQ(device.frames.size(), size_t(clink::USB::UsualTries));

    // A failed set-up with the dongle still away: the device is set up again quietly, nothing is sent.
    dialogs.messages.clear();
    device.frames.clear();
    s.UsbFailed = true;
    device.noDevice = true;
    EXPECT_FALSE(rev.mnuDspRev());
    expectOnlyMessage(dialogs, QStringLiteral("DSP value not read"), MessageIcon::Information);
    EXPECT_TRUE(device.frames.empty());
}
