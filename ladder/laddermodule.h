#pragma once
// The ladder feature's module: owns the one ladder program the editor shows, shared by the editor window
// and the settings collection, and holds the services they use and the user's settings store, where the
// editor window leaves its position; the editor window reaches the controller through it. Built once in the
// composition root.

#include "app/transferresult.h"
#include "ladder/laddereditor.h"
#include "ladder/windowposition.h"

#include <QSettings>

#include <memory>

namespace app {
class AppServices;
}
namespace base {
class Progress;
}

namespace ladder {

class LadderModule {
public:
    explicit LadderModule(app::AppServices& services,
                          std::unique_ptr<QSettings> store = base::userSettingsStore());
    LadderModule(const LadderModule&) = delete;
    LadderModule& operator=(const LadderModule&) = delete;

    app::AppServices& services() { return services_; }
    LadderEditor& editor() { return editor_; }
    QSettings& settings() { return *store_; }

    // The editor's transfers with the controller on the program's link (ladder::LadderTransfer), which the
    // editor window runs under the busy state, and what opening that window does on the link
    // (ladder::prepareLinkForEditor).
    app::TransferResult send(base::Progress& progress);
    app::TransferResult receive(base::Progress& progress);
    app::TransferResult resetToFactoryDefaults();
    void prepareLinkForEditor();

private:
    app::AppServices& services_;
    LadderEditor editor_;
    std::unique_ptr<QSettings> store_;
};

} // namespace ladder
