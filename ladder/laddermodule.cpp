#include "ladder/laddermodule.h"

#include "app/appservices.h"

namespace ladder {

LadderModule::LadderModule(app::AppServices& services) : services_(services), editor_(services.dialogs) {}

} // namespace ladder
