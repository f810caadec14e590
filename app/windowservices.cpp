#include "app/windowservices.h"

#include "app/appservices.h"

namespace app {

WindowServices::WindowServices(AppServices& services_)
    : services(services_), dialogs(services_.dialogs), pump(services_.pump), textViewer(services_.textViewer),
      palverin(services_.palverin), psetTable(services_.psetTable), busy(services_.busy),
      values(services_.values), now(services_.now), shownDialogs_(services_.shownDialogs()),
      stoppableDialogs_(services_.stoppableDialogs()) {}

} // namespace app
