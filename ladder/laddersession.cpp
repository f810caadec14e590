#include "ladder/laddersession.h"

#include "app/appservices.h"
#include "ladder/laddertransfer.h"

#include <QScopedValueRollback>

namespace ladder {

LadderSession::LadderSession(app::AppServices& services, LadderEditor& editor, const QObject& window)
    : services_(services), window_(window), transfer_(std::make_unique<LadderTransfer>(services, editor)) {}

LadderSession::~LadderSession() = default;

void LadderSession::prepareLink() {
    prepareLinkForEditor(services_.link, services_.dialogs);
}

bool LadderSession::run(const std::function<void()>& work) {
    const base::BusyGuard busy(services_.busy, &window_);
    if (!busy.acquired())
        return false;
    {
        const QScopedValueRollback running(running_, true);
        work();
    }
    quiet_.reset();
    return true;
}

void LadderSession::cancel() {
    if (!running_ || quiet_)
        return;
    quiet_.emplace(services_.stoppableDialogs());
    transfer_->cancel();
}

app::TransferResult LadderSession::send(base::Progress& progress) {
    return transfer_->send(progress);
}

app::TransferResult LadderSession::receive(base::Progress& progress) {
    return transfer_->receive(progress);
}

app::TransferResult LadderSession::resetToFactoryDefaults() {
    return transfer_->resetToFactoryDefaults();
}

} // namespace ladder
