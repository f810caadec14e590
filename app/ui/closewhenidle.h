#pragma once
// The one way a window closes while its session waits (for the user or for the controller). Every handler
// that may wait runs under the window's CloseWhenIdle; a close asked for meanwhile (the close box, Exit,
// the program's close) cancels the session, is refused for now and is carried out once the outermost
// handler has returned. So no handler ever goes on in a deleted window, the session stays a plain member
// of the window, and the window still has its widgets when the handler looks at them after the wait.
//
//   void frmX::closeEvent(QCloseEvent* event) {
//       closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });
//   }
//   connect(&session_, &Session::finished, this, [this] { closer_.sessionEnded(); });
//
// A handler that talks to the controller marks its call; call() says whether the window goes on, that is
// whether no close was asked for during the call:
//
//   void frmX::Timer1_Timer() {
//       app::TimerPause pause(*Timer1);
//       if (!closer_.call([this] { session_.tick(); }))
//           return;                          // the window closes as soon as this handler has returned
//       showList();
//   }
//
// or, for a handler that goes on either way, holds a scope for its whole body:
//
//   void frmX::cmdSet_Click() {
//       auto handler = closer_.handler();
//       session_.cmdSet_Click(...);
//   }                                        // a close asked for meanwhile is carried out now

#include "app/ui/windowregistry.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace app {

class CloseWhenIdle {
public:
    explicit CloseWhenIdle(QWidget& window) : window_(window) {}

    // Accepts the event unless the session runs or a handler is under way; then the session is cancelled
    // and the close waits.
    void closeEvent(QCloseEvent* event, bool running = false, const std::function<void()>& cancel = {}) {
        if (!running && handlers_ == 0) {
            event->accept();
            return;
        }
        pending_ = true;
        if (cancel)
            cancel();
        event->ignore();
    }

    // The session has ended: a close that waited for it is carried out, unless a handler is still under way.
    void sessionEnded() {
        if (!pending_ || handlers_ > 0)
            return;
        pending_ = false;
        // Queued, so that the handler that ended has returned first; dropped with the window.
        QTimer::singleShot(0, &window_, [this] { app::closeWindow(&window_); });
    }

    // A close waits for the session or a handler.
    bool closePending() const { return pending_; }

    // A handler under way for the scope's lifetime; at its end a close that waited is carried out.
    class Handler {
    public:
        explicit Handler(CloseWhenIdle& closer) : closer_(closer) { ++closer_.handlers_; }
        ~Handler() {
            if (--closer_.handlers_ == 0)
                closer_.sessionEnded();
        }
        Handler(const Handler&) = delete;
        Handler& operator=(const Handler&) = delete;

    private:
        CloseWhenIdle& closer_;
    };
    [[nodiscard]] Handler handler() { return Handler(*this); }

    // Runs a call that may wait as a handler; true when the window goes on (no close was asked for
    // meanwhile).
    template <class Call> [[nodiscard]] bool call(Call&& work) {
        const Handler scope(*this);
        work();
        return !pending_;
    }

private:
    QWidget& window_;
    bool pending_ = false;
    int handlers_ = 0;
};

} // namespace app
