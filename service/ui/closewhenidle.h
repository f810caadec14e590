#pragma once
// Closing a window while its session waits (for the user or for the controller): the session is cancelled
// and the window closes once the session's handler has returned, so that no handler runs on a deleted
// window.
//
//   void frmX::closeEvent(QCloseEvent* event) {
//       closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });
//   }
//   connect(&session_, &Session::finished, this, [this] { closer_.sessionEnded(); });

#include "app/ui/windowregistry.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace service {

class CloseWhenIdle {
public:
    explicit CloseWhenIdle(QWidget& window) : window_(window) {}

    void closeEvent(QCloseEvent* event, bool running, const std::function<void()>& cancel) {
        if (!running) {
            event->accept();
            return;
        }
        pending_ = true;
        cancel();
        event->ignore();
    }

    void sessionEnded() {
        if (!pending_)
            return;
        pending_ = false;
        // Queued, so that the handler that ended has returned first; dropped with the window.
        QTimer::singleShot(0, &window_, [this] { app::closeWindow(&window_); });
    }

private:
    QWidget& window_;
    bool pending_ = false;
};

} // namespace service
