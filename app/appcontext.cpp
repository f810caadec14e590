#include "app/appcontext.h"

#include "app/frmvalue.h"
#include "base/dialogs.h"
#include "base/eventpump.h"

namespace app {

AppSeams productionSeams() {
    AppSeams seams;
    seams.dialogs = std::make_unique<base::QtDialogs>();
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::SteadyLinkClock>();
    seams.valuePrompt = std::make_unique<QtValueEntryPrompt>();
    return seams;
}

AppContext::AppContext(AppSeams seams)
    : seams_(std::move(seams)), dialogs(*seams_.dialogs), pump(*seams_.pump), clock(*seams_.clock),
      link(pump, dialogs, clock), state(link.state), palverin(state, dialogs), values(*seams_.valuePrompt) {}

AppContext::~AppContext() = default;

} // namespace app
