#pragma once
// The ladder feature's module: owns the one ladder program the editor shows, shared by the editor window
// and the settings collection, and holds the services they use. Built once in the composition root.

#include "ladder/laddereditor.h"

namespace app {
class AppServices;
}

namespace ladder {

class LadderModule {
public:
    explicit LadderModule(app::AppServices& services);
    LadderModule(const LadderModule&) = delete;
    LadderModule& operator=(const LadderModule&) = delete;

    app::AppServices& services() { return services_; }
    LadderEditor& editor() { return editor_; }

private:
    app::AppServices& services_;
    LadderEditor editor_;
};

} // namespace ladder
