#include "service/toolcycletest.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/transaction.h"

namespace service {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
constexpr int EndOfCycleMark = 0x01;
// The message after a good count: [50 00 08 0 ...].
constexpr int CountedMark = 0x08;
// Delays after each message, and after the message of a good count.
constexpr int DelaysAfterMessage = 4;
constexpr int DelaysAfterCounted = 1;
// The count is read as two bytes, high byte first.
constexpr int CountBytes = 2;
} // namespace

bool ToolCycleMessages::endOfCycle() {
    return send({codes::ToolEndOfCycle, EndOfCycleMark, 0, 0, 0, 0, 0, 0});
}

bool ToolCycleMessages::cycleCounted() {
    return send({codes::ToolCycleCounted, 0, CountedMark, 0, 0, 0, 0, 0});
}

bool ToolCycleMessages::send(const std::array<int, 8>& data) {
    // The tool does not answer; over Ethernet and USB the dongle keeps passing the tool EEPROM's replies,
    // which the test reads next.
    clink::Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        link_.dataTx.SendCanMessage({ids::ToolReply, data});
        return true;
    case clink::TcpIp:
        return link_.ethernet.SendCanFrame(ids::ToolEepromReply, ids::ToolReply, data);
    case clink::Usb:
        return link_.usb.SendCanFrame(ids::ToolEepromReply, ids::ToolReply, {0, 0}, data);
    default:
        return false;
    }
}

ToolCycleTest::ToolCycleTest(app::AppServices& ctx) : ctx_(ctx) {}

ToolCycleTest::~ToolCycleTest() = default;

void ToolCycleTest::add(const QString& line) {
    list_ << line;
    emit listChanged();
}

void ToolCycleTest::stop() {
    busy_.reset();
}

void ToolCycleTest::cancel() {
    cancelled_ = true;
}

ToolCycleTest::Prepared ToolCycleTest::Command2_Click(const QObject* window) {
    if (busy_)
        return Prepared::Stopped;
    busy_ = std::make_unique<base::BusyGuard>(ctx_.busy, window);
    if (!busy_->acquired() ||
        !app::LinkGate(ctx_.link).preCheck(
            clink::ids::ToolEepromReply,
            app::toolEepromCheck(QStringLiteral("Unable To Configure ") + ctx_.state.ControllerIpAddress))) {
        stop();
        return Prepared::Stopped;
    }
    add(QStringLiteral("Clearing Count Registers"));
    for (int address = FirstCountAddress; address < EndCountAddress; ++address) {
        if (cancelled_ || !ctx_.link.dataTx.WriteToolEeprom(address, 0)) {
            if (!cancelled_)
                base::failBox(ctx_.dialogs, QStringLiteral("Clear Count Failed "));
            stop();
            return Prepared::CloseWindow;
        }
    }
    add(QStringLiteral("Cycle Power On The Controller And Press Continue When System Is Ready"));
    return Prepared::AwaitContinue;
}

bool ToolCycleTest::Command1_Click() {
    if (!busy_ || cancelled_)
        return false;
    add(QStringLiteral("Cycle Timer Started"));
    CountReadAddress = FirstCountAddress;
    SentCycleCount = 0;
    return true;
}

bool ToolCycleTest::Timer1_Timer() {
    if (!busy_)
        return false;
    const bool next = !cancelled_ && cycle();
    if (!next)
        stop();
    return next;
}

bool ToolCycleTest::delay(int times) {
    for (int n = 0; n < times && !cancelled_; ++n)
        ctx_.pump.pause(DelayYields);
    return !cancelled_;
}

bool ToolCycleTest::readCount(int& count) {
    clink::LinkState& s = ctx_.state;
    s.DataCount = 0;
    for (int n = 0; n < CountBytes; ++n) {
        if (!ctx_.link.dataTx.ReadToolEeprom(CountReadAddress))
            return false;
        if (++CountReadAddress == EndCountAddress)
            CountReadAddress = FirstCountAddress;
    }
    count = s.DataBuffer[0] * 256 + s.DataBuffer[1];
    return true;
}

bool ToolCycleTest::cycle() {
    if (!app::LinkGate(ctx_.link).preCheck(
            clink::ids::ToolEepromReply,
            app::toolEepromCheck(QStringLiteral("Unable To Configure CanDongle"))))
        return false;
    list_.clear();
    add(QStringLiteral("Sending End Of Cycle"));
    ++SentCycleCount;
    ToolCycleMessages(ctx_.link).endOfCycle();
    if (!delay(DelaysAfterMessage))
        return false;
    add(QStringLiteral("Reading Memory And Checking Count"));
    int count = 0;
    if (!readCount(count)) {
        if (!cancelled_)
            base::failBox(ctx_.dialogs, QStringLiteral("Read Tool Eeprom Failed"));
        return false;
    }
    // The tool may not have counted the last cycle yet.
    if (count != SentCycleCount && count != SentCycleCount - 1) {
        base::failBox(ctx_.dialogs, QStringLiteral("Count Received != Current Cycle Count -> Failed"));
        return false;
    }
    add(QStringLiteral("Count Received = Current Cycle Count -> Passed"));
    if (!app::LinkGate(ctx_.link).preCheck(
            clink::ids::ToolEepromReply,
            app::toolEepromCheck(QStringLiteral("Unable To Configure Can Dongle"))))
        return false;
    add(QStringLiteral("Cycle Cnt:") + QString::number(SentCycleCount));
    if (!delay(DelaysAfterMessage))
        return false;
    ToolCycleMessages(ctx_.link).cycleCounted();
    return delay(DelaysAfterCounted);
}

} // namespace service
