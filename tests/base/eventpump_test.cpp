#include "base/busyguard.h"
#include "base/eventpump.h"

#include <QElapsedTimer>
#include <QTimer>

#include <ctime>

#include <gtest/gtest.h>

using namespace base;

TEST(EventPump, CountsAreClampedAndBudgeted) {
    EXPECT_EQ(pollCount(8, 70), 560);
    EXPECT_EQ(pollCount(1000, 1000), MaxPollCount);
    EXPECT_EQ(pollCount(-1, 70), 0);
    // The sender's wait: 4001 cycles of two DoEvents are 80 ms.
    EXPECT_EQ(QtEventPump::budgetFor(4001 * 2), std::chrono::nanoseconds(80020000));
    EXPECT_EQ(QtEventPump::budgetFor(2000000000L), std::chrono::nanoseconds(MaxWait));
    EXPECT_EQ(QtEventPump::budgetFor(0).count(), 0);
}

TEST(EventPump, AWaitEndsWhenItsConditionHolds) {
    QtEventPump pump;
    bool flag = false;
    QTimer::singleShot(5, [&] {
        flag = true;
        pump.wake();
    });
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(pump.waitUntil([&] { return flag; }, 1000000)); // a 10 s budget
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(EventPump, AnIdleWaitSpendsItsBudgetWithoutSpinning) {
    QtEventPump pump;
    const std::clock_t cpu0 = std::clock();
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(pump.waitUntil([] { return false; }, 20000)); // 200 ms
    const qint64 wall = t.elapsed();
    const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
    EXPECT_GE(wall, 150);
    EXPECT_LT(cpuMs, wall / 2.0); // far from a busy spin
}

TEST(BusyGuard, OneCommandAtATimeAndRestoredOnExit) {
    BusyState state;
    std::vector<bool> changes;
    state.setOnChange([&](bool b) { changes.push_back(b); });
    {
        BusyGuard first(state);
        EXPECT_TRUE(first.acquired());
        BusyGuard second(state);
        EXPECT_FALSE(second.acquired());
        EXPECT_TRUE(state.busy());
    }
    EXPECT_FALSE(state.busy());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}
