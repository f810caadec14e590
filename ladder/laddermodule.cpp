#include "ladder/laddermodule.h"

#include "app/appservices.h"

namespace ladder {

LadderModule::LadderModule(app::AppServices& services, std::unique_ptr<QSettings> store)
    : services_(services), editor_(services.dialogs), store_(std::move(store)) {}

} // namespace ladder
