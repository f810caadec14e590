#pragma once
// A window's call into its session that may wait in the event loop, where the user can close the window
// and have it deleted: the session stays alive until the call returns (the window holds it shared), and
// the window goes on only when it still exists.
//
//   void FrmMonitor::Timer1_Timer() {
//       app::TimerPause pause(*Timer1);
//       if (!callSession(this, session_, [](MonitorSession& s) { s.faultTick(); }))
//           return; // the window has gone
//       showList();
//   }

#include <QPointer>

#include <memory>

namespace monitor {

template <class Window, class Session, class Call>
bool callSession(Window* window, const std::shared_ptr<Session>& session, Call&& call) {
    const QPointer<Window> self(window);
    const std::shared_ptr<Session> keep = session;
    call(*keep);
    return !self.isNull();
}

} // namespace monitor
