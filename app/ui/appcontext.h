#pragma once
// What the windows hold: the program's services and the window registry that opens the feature windows by
// name.

#include "app/appservices.h"
#include "app/ui/windowregistry.h"

namespace app {

class AppContext : public AppServices {
public:
    using AppServices::AppServices;

    WindowRegistry windows;
};

} // namespace app
