// The Transducer menu's commands headless through their session: the parameter report read location by
// location, the calibration value's two bytes high byte first, one location read or written, and the
// transducer's presence probe over Ethernet.
#include "app/reports/transducerreport.h"
#include "app/reporttime.h"
#include "app/sessions/transducersession.h"
#include "tests/app/commandfixture.h"
#include "tests/support/waitfor.h"

#include <algorithm>

using namespace clink;
using base::MessageIcon;
using commandtest::Link;
using testsupport::waitFor;

namespace {

class TransducerSession : public commandtest::CommandFixture {
protected:
    app::TransducerSession transducer{ctx, progress};
};

} // namespace

TEST_F(TransducerSession, ParametersReport) {
    connect(Link::ParallelPort);
    for (int a = 0; a <= app::TransducerReportLast; ++a)
        model.transducerEeprom[size_t(a)] = uint8_t(a);
    model.transducerEeprom[35] = 16;
    model.transducerEeprom[36] = 200;
    const app::ReportLines lines = transducer.mnuTrasnducerViewParameters();
    ASSERT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 18);
    const QDateTime now = ctx.now();
    EXPECT_EQ(*lines,
              app::makeTransducerReport(app::reportTimeText(now), app::reportDateText(now), s.DataBuffer));
    EXPECT_EQ((*lines)[13], "Max Tq : 51216");
    EXPECT_EQ((*lines)[17], "LAST CAL DATE: 49/50/51");
    EXPECT_EQ(progress.maximum, 52);
    EXPECT_EQ(progress.value, 0);
    EXPECT_TRUE(progress.visible);
    EXPECT_EQ(model.countReceived(ids::TransducerRequest, 0x90), 53);

    // USB has no transducer: the first read fails and no report comes back.
    connect(Link::Usb);
    progress.values.clear();
    EXPECT_FALSE(transducer.mnuTrasnducerViewParameters());
    EXPECT_EQ(messages(), QStringList{"External Transducer Data Not Received"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(progress.values, (std::vector<int>{0, 0}));
}

TEST_F(TransducerSession, CalValueWritesTheHighByteFirst) {
    connect(Link::ParallelPort);
    valueEntry->enterValue(300);
    transducer.mnuWriteTransducerCalValue();
    EXPECT_EQ(messages(), QStringList{"Transfer Completed Successfully"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    const app::ValueEntryForm& form = valueEntry->shown.at(0);
    EXPECT_EQ(form.prompt, "Transducer Cal Value");
    EXPECT_EQ(form.value.minimum, 12);
    EXPECT_EQ(form.value.maximum, 1280);
    const auto writes = received(ids::TransducerRequest, 0x60);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].data, (std::array<int, 8>{0x60, 0, 46, 1, 0, 0, 0, 0}));
    EXPECT_EQ(writes[1].data, (std::array<int, 8>{0x60, 0, 45, 44, 0, 0, 0, 0}));
    EXPECT_EQ(model.transducerEeprom[46], 1);
    EXPECT_EQ(model.transducerEeprom[45], 44);

    // A failed high byte: the low byte is not tried.
    model.noReply.insert(ids::TransducerRequest);
    valueEntry->enterValue(12);
    transducer.mnuWriteTransducerCalValue();
    EXPECT_EQ(dialogs->messages.back().text, "Data Not Written To External Transducer");
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    const auto later = received(ids::TransducerRequest, 0x60);
    EXPECT_TRUE(
        std::all_of(later.begin() + 2, later.end(), [](const CanMessage& m) { return m.data[2] == 46; }));

    // Cancelled: nothing is written and nothing shown.
    model.received.clear();
    dialogs->messages.clear();
    valueEntry->cancel();
    transducer.mnuWriteTransducerCalValue();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(model.countReceived(ids::TransducerRequest), 0);

    // USB: the dongle-only check fails with this command's spelling.
    connect(Link::Usb);
    transducer.mnuWriteTransducerCalValue();
    EXPECT_EQ(messages(), QStringList{"Unable To Configure CanDongle"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_F(TransducerSession, SingleLocations) {
    connect(Link::ParallelPort);
    model.transducerEeprom[300] = 77;
    valueEntry->enterValue(300);
    transducer.mnuTransducerReadEeprom();
    valueEntry->enterEeprom(301, 9);
    transducer.mnuWriteXducerEeprom();
    valueEntry->cancel();
    transducer.mnuTransducerReadEeprom();
    valueEntry->cancel();
    transducer.mnuWriteXducerEeprom();
    valueEntry->enterEeprom(0, 5);
    transducer.mnuWriteXducerEeprom();
    EXPECT_EQ(messages(), (QStringList{"Eeprom Location 300 = 77",
                                       "Write Transducer Eeprom -> Completed (Add: 301 Data: 9)"}));
    EXPECT_EQ(model.transducerEeprom[301], 9);
    EXPECT_EQ(model.countReceived(ids::TransducerRequest), 2);
    ASSERT_EQ(valueEntry->shown.size(), 5u);
    EXPECT_EQ(valueEntry->shown[0].prompt, "Eeprom Location To Read");
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 1023);
    EXPECT_EQ(valueEntry->shown[1].eepromTitle, "Write Transducer Eeprom");
    EXPECT_EQ(valueEntry->shown[1].eeData.maximum, 255);

    // A silent location is reported.
    model.silentAddresses = {302};
    valueEntry->enterValue(302);
    transducer.mnuTransducerReadEeprom();
    EXPECT_EQ(dialogs->messages.back().text, "Read Transducer Eeprom Failed");
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);

    connect(Link::Usb);
    transducer.mnuTransducerReadEeprom();
    EXPECT_EQ(dialogs->messages.back().text, "Unable To Configure Candongle");
    transducer.mnuWriteXducerEeprom();
    EXPECT_EQ(dialogs->messages.back().text, "Unable To Configure Candongle");
    EXPECT_EQ(valueEntry->shown.size(), 6u);
}

TEST_F(TransducerSession, PresenceOverEthernet) {
    connect(Link::Ethernet);
    // The stand-in answers each frame once: the first frame's answer only arms the handler, the probe's
    // completes it.
    const app::ReportLines lines = transducer.mnuTrasnducerViewParameters();
    ASSERT_TRUE(messages().isEmpty()) << messages().join(" | ").toStdString();
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 18);
    EXPECT_EQ((*lines)[15], "EXTERNAL TRANSDUCER CAL : " + QString::number(model.transducerEeprom[46] * 256 +
                                                                           model.transducerEeprom[45]));
    // The first frame and one probe, counted once the socket has delivered what was sent.
    EXPECT_TRUE(waitFor([&] { return model.countReceived(ids::TransducerReply2) >= 2; }));
    waitFor([] { return false; }, 20);
    EXPECT_EQ(model.countReceived(ids::TransducerReply2), 2);

    model.received.clear();
    model.noReply.insert(ids::TransducerReply2);
    EXPECT_FALSE(transducer.mnuTrasnducerViewParameters());
    EXPECT_EQ(messages(), QStringList{"External Transducer Not Communicating"});
    EXPECT_TRUE(waitFor([&] { return model.countReceived(ids::TransducerReply2) == 12; }));
    EXPECT_EQ(model.countReceived(ids::TransducerRequest), 0);
}
