#include "ladder/laddermodule.h"

#include "app/appservices.h"
#include "ladder/laddertransfer.h"

namespace ladder {

LadderModule::LadderModule(app::AppServices& services, std::unique_ptr<QSettings> store)
    : services_(services), editor_(services.dialogs), store_(std::move(store)) {}

app::TransferResult LadderModule::send(base::Progress& progress) {
    return LadderTransfer(services_, editor_).send(progress);
}

app::TransferResult LadderModule::receive(base::Progress& progress) {
    return LadderTransfer(services_, editor_).receive(progress);
}

app::TransferResult LadderModule::resetToFactoryDefaults() {
    return LadderTransfer(services_, editor_).resetToFactoryDefaults();
}

void LadderModule::prepareLinkForEditor() {
    ladder::prepareLinkForEditor(services_.link, services_.dialogs);
}

} // namespace ladder
