#pragma once
// Stops a window's timer while one of its handlers yields to the event loop, so that the handler never runs
// inside itself, and restarts it at the end when it was running:
//
//   void FrmMonitor::Timer1_Timer() {
//       TimerPause pause(Timer1);
//       ... requests that wait for the controller ...
//   }

#include <QTimer>

namespace app {

class TimerPause {
public:
    explicit TimerPause(QTimer& timer) : timer_(timer), wasActive_(timer.isActive()) { timer_.stop(); }
    ~TimerPause() {
        if (wasActive_)
            timer_.start();
    }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    QTimer& timer_;
    bool wasActive_;
};

} // namespace app
