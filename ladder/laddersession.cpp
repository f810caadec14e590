#include "ladder/laddersession.h"

#include "app/appservices.h"

#include <QScopedValueRollback>

namespace ladder {

LadderSession::LadderSession(app::AppServices& services, LadderEditor& editor, const QObject& window)
    : services_(services), window_(window), transfer_(services, editor) {}

bool LadderSession::run(const std::function<void(LadderTransfer&)>& work) {
    const base::BusyGuard busy(services_.busy, &window_);
    if (!busy.acquired())
        return false;
    {
        const QScopedValueRollback running(running_, true);
        work(transfer_);
    }
    quiet_.reset();
    return true;
}

void LadderSession::cancel() {
    if (!running_ || quiet_)
        return;
    quiet_.emplace(services_.stoppableDialogs());
    transfer_.cancel();
}

} // namespace ladder
