#include "service/ui/windowruns.h"

#include "app/ui/windowregistry.h"

#include <QCloseEvent>
#include <QTimer>

namespace service {

bool WindowRuns::postponeClose(QCloseEvent* event, bool runGoesOn, const std::function<void()>& stop) {
    if (depth_ == 0 && !runGoesOn)
        return false;
    pending_ = true;
    if (stop)
        stop();
    event->ignore();
    return true;
}

void WindowRuns::closeIfPending() {
    if (!pending_ || depth_ > 0 || !window_)
        return;
    pending_ = false;
    QTimer::singleShot(0, window_, [w = window_] {
        if (w)
            app::closeWindow(w);
    });
}

} // namespace service
