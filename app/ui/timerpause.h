#pragma once
// Stops a window's timer while one of its handlers yields to the event loop, so that the handler never runs
// inside itself, and restarts it at the end when it was running (and still exists: the window may have been
// closed during the wait):
//
//   void FrmMonitor::Timer1_Timer() {
//       TimerPause pause(Timer1);
//       ... requests that wait for the controller ...
//   }

#include <QPointer>
#include <QTimer>

namespace app {

class TimerPause {
public:
    explicit TimerPause(QTimer& timer) : timer_(&timer), wasActive_(timer.isActive()) { timer.stop(); }
    ~TimerPause() {
        if (wasActive_ && timer_)
            timer_->start();
    }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    QPointer<QTimer> timer_;
    bool wasActive_;
};

} // namespace app
