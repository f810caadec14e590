#include "monitor/transmittest.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "monitor/monitorsession.h"

#include <array>

namespace monitor {

namespace {
// Data byte 2 of each run, and the box before it.
constexpr std::array<int, 3> RunValues = {1, 2, 4};
const std::array<QString, 3> RunTexts = {QStringLiteral("Starting 1"), QStringLiteral("Starting 2"),
                                         QStringLiteral("Starting 4")};
constexpr int FirstByte2 = 0;
constexpr int TestByte1 = 1;
} // namespace

struct TransmitTest::Batch {
    explicit Batch(clink::DataTx& dataTx) : sends(dataTx) {}
    clink::DataTx::SendBatch sends;
};

TransmitTest::TransmitTest(clink::ControllerLink& link) : link_(link) {}

TransmitTest::TransmitTest(app::AppServices& services) : TransmitTest(services.link) {}

TransmitTest::~TransmitTest() = default;

void TransmitTest::send(int byte2) {
    link_.dataTx.SendCanMessage({clink::ids::ButtonReply, {0, TestByte1, byte2, 0, 0, 0, 0, 0}});
    ++sent_;
}

bool TransmitTest::begin() {
    if (!app::LinkGate(link_).dongleOnly(clink::ids::ButtonReply, MonitorSession::UnableToConfigureText))
        return false;
    batch_.reset();
    batch_ = std::make_unique<Batch>(link_.dataTx);
    sent_ = 0;
    link_.dialogs.message(RunTexts[0], base::ProgramTitle, base::MessageIcon::None);
    send(FirstByte2);
    run_ = 0;
    leftInRun_ = MessagesPerRun;
    return true;
}

bool TransmitTest::sendSlice() {
    if (!running())
        return false;
    for (int n = 0; n < MessagesPerSlice && leftInRun_ > 0; ++n, --leftInRun_)
        send(RunValues[size_t(run_)]);
    if (leftInRun_ > 0)
        return true;
    if (++run_ < Runs) {
        link_.dialogs.message(RunTexts[size_t(run_)], base::ProgramTitle, base::MessageIcon::None);
        leftInRun_ = MessagesPerRun;
        return true;
    }
    link_.dataTx.SendCanMessage({clink::ids::ButtonReply, {}});
    ++sent_;
    batch_.reset();
    link_.dialogs.message(DoneText, base::ProgramTitle, base::MessageIcon::None);
    return false;
}

} // namespace monitor
