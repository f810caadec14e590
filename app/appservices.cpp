#include "app/appservices.h"

namespace app {

AppServices::AppServices(AppSeams seams)
    : seams_(std::move(seams)), stoppableDialogs_(*seams_.dialogs, *seams_.pump), dialogs(stoppableDialogs_),
      pump(*seams_.pump), clock(*seams_.clock), textViewer(*seams_.textViewer), link(pump, dialogs, clock),
      state(link.state), palverin(state, dialogs), values(*seams_.valuePrompt) {}

AppServices::~AppServices() = default;

} // namespace app
