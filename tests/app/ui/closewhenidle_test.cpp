// A window that closes while its session waits: an idle window closes at once; a close asked for during a
// handler or a running session cancels the session and is carried out once the last of them has ended.
#include "app/ui/closewhenidle.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WaitingWindow : public QWidget {
public:
    WaitingWindow() { setAttribute(Qt::WA_DeleteOnClose); }

    app::CloseWhenIdle closer{*this};
    bool running = false;
    int cancels = 0;

    // A handler whose session waits; during the wait, duringWait runs (the user's click, a timer).
    bool handle(const std::function<void()>& duringWait) { return closer.call(duringWait); }

protected:
    void closeEvent(QCloseEvent* event) override {
        closer.closeEvent(event, running, [this] { ++cancels; });
    }
};

// Runs what the event loop has queued (a queued close, a deferred delete), as a return to it would.
void settle() {
    for (int pass = 0; pass < 2; ++pass) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool closedSoon(const QPointer<WaitingWindow>& window) {
    return QTest::qWaitFor([&] { return window.isNull(); }, 2000);
}

} // namespace

TEST(CloseWhenIdle, IdleWindowClosesAtOnceAndAWaitingOneOnceItsHandlersHaveReturned) {
    QPointer<WaitingWindow> idle = new WaitingWindow;
    idle->show();
    EXPECT_TRUE(idle->close());
    EXPECT_TRUE(closedSoon(idle));

    // A close during a handler: refused for now, the session cancelled, the window still whole when the
    // handler looks at it after the wait; it closes after the handler has returned.
    QPointer<WaitingWindow> w = new WaitingWindow;
    w->show();
    bool refused = false;
    const bool goesOn = w->handle([&] {
        refused = !w->close();
        EXPECT_TRUE(w->closer.closePending());
    });
    EXPECT_TRUE(refused);
    EXPECT_FALSE(goesOn);
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->cancels, 1);
    EXPECT_FALSE(w->closer.closePending());
    EXPECT_TRUE(closedSoon(w));

    // A handler without a close goes on, and the window stays open.
    QPointer<WaitingWindow> open = new WaitingWindow;
    open->show();
    EXPECT_TRUE(open->handle([] {}));
    settle();
    ASSERT_FALSE(open.isNull());
    EXPECT_TRUE(open->isVisible());
    EXPECT_EQ(open->cancels, 0);
    delete open;
}

TEST(CloseWhenIdle, NestedHandlersAndARunningSessionHoldTheCloseUntilTheLastHasEnded) {
    QPointer<WaitingWindow> w = new WaitingWindow;
    w->show();
    {
        const auto outer = w->closer.handler();
        EXPECT_FALSE(w->handle([&] { EXPECT_FALSE(w->close()); }));
        settle(); // the inner handler's end does not close the window under the outer one
        ASSERT_FALSE(w.isNull());
        EXPECT_TRUE(w->closer.closePending());
    }
    EXPECT_TRUE(closedSoon(w));

    // A session that runs with no handler under way (it waits for the user): the close waits for its end.
    QPointer<WaitingWindow> running = new WaitingWindow;
    running->show();
    running->running = true;
    EXPECT_FALSE(running->close());
    EXPECT_FALSE(running->close());
    EXPECT_EQ(running->cancels, 2);
    settle();
    ASSERT_FALSE(running.isNull());
    running->running = false;
    running->closer.sessionEnded();
    EXPECT_TRUE(closedSoon(running));

    // The end of a session that nobody asked to close leaves the window open.
    QPointer<WaitingWindow> ended = new WaitingWindow;
    ended->show();
    ended->closer.sessionEnded();
    settle();
    ASSERT_FALSE(ended.isNull());
    EXPECT_TRUE(ended->isVisible());
    delete ended;
}
