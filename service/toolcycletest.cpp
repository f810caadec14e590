#include "service/toolcycletest.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "base/failbox.h"
#include "link/controllerlink.h"
#include "link/toolcycle.h"

namespace service {

namespace {
// Delays after each message, and after the message of a good count.
constexpr int DelaysAfterMessage = 4;
constexpr int DelaysAfterCounted = 1;
// The count is read as two bytes, high byte first.
constexpr int CountBytes = 2;
} // namespace

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
    // The counters are read round robin, two bytes at a time.
    std::array<int, CountBytes> addresses{};
    for (int& address : addresses) {
        address = CountReadAddress;
        if (++CountReadAddress == EndCountAddress)
            CountReadAddress = FirstCountAddress;
    }
    const std::optional<int> read = clink::ToolCycleMessages(ctx_.link).readCount(addresses);
    count = read.value_or(0);
    return read.has_value();
}

bool ToolCycleTest::cycle() {
    if (!app::LinkGate(ctx_.link).preCheck(
            clink::ids::ToolEepromReply,
            app::toolEepromCheck(QStringLiteral("Unable To Configure CanDongle"))))
        return false;
    list_.clear();
    add(QStringLiteral("Sending End Of Cycle"));
    ++SentCycleCount;
    clink::ToolCycleMessages(ctx_.link).endOfCycle();
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
    clink::ToolCycleMessages(ctx_.link).cycleCounted();
    return delay(DelaysAfterCounted);
}

} // namespace service
