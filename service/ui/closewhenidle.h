#pragma once
// Closing a window while its session waits (for the user or for the controller): the session is cancelled
// and the window closes once the session's handler has returned, so that no handler runs on a deleted
// window.
//
//   void frmX::closeEvent(QCloseEvent* event) {
//       closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });
//   }
//   connect(&session_, &Session::finished, this, [this] { closer_.sessionEnded(); });
//
// A window whose handlers talk to the controller without a running state of their own marks each handler:
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

namespace service {

class CloseWhenIdle {
public:
    explicit CloseWhenIdle(QWidget& window) : window_(window) {}

    // Accepts the event unless the session runs or a handler is under way; then the close waits.
    void closeEvent(QCloseEvent* event, bool running, const std::function<void()>& cancel) {
        if (!running && handlers_ == 0) {
            event->accept();
            return;
        }
        pending_ = true;
        if (cancel)
            cancel();
        event->ignore();
    }

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

private:
    QWidget& window_;
    bool pending_ = false;
    int handlers_ = 0;
};

} // namespace service
