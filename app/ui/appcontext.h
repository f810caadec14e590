#pragma once
// What the windows hold: what the program's services give a window (app::WindowServices: the dialogs, the
// main module, the busy state, ..., and the services only as the handle the core sessions are opened with,
// never the link) and the window registry that opens the feature windows by name.
//
//   app::AppServices services(seams);          // palverin/main.cpp
//   app::AppContext ctx(services);

#include "app/ui/windowregistry.h"
#include "app/windowservices.h"

namespace app {

class AppContext : public WindowServices {
public:
    explicit AppContext(AppServices& services) : WindowServices(services) {}

    WindowRegistry windows;
};

} // namespace app
