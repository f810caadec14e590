#include "app/closablecommand.h"

#include "app/appservices.h"

#include <QScopedValueRollback>

namespace app {

ClosableCommand::ClosableCommand(AppServices& services, const QObject& window)
    : services_(services), window_(window) {
    // Ended between two exchanges, the cancel finds none under way: it is asked again as the event loop
    // turns, which is in the next exchange's first wait, until the command has returned.
    cancelAgain_.setInterval(0);
    QObject::connect(&cancelAgain_, &QTimer::timeout, [this] { services_.link.transactions.cancel(); });
}

bool ClosableCommand::run(const std::function<void()>& work) {
    const base::BusyGuard busy(services_.busy, &window_);
    if (!busy.acquired())
        return false;
    {
        const QScopedValueRollback running(running_, true);
        work();
    }
    cancelAgain_.stop();
    quiet_.reset();
    return true;
}

void ClosableCommand::end() {
    if (!running_ || quiet_)
        return;
    quiet_.emplace(services_.stoppableDialogs());
    services_.link.transactions.cancel();
    cancelAgain_.start();
}

} // namespace app
