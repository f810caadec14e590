#pragma once
// The parameter-set feature: the Pset editor's session, and the answer to the link's offer to reset the
// controller's Psets after a status it could not take. Built once in the composition root after the
// services; the editor window (installed by the feature's view half) works on its session.

#include "pset/psetsession.h"

namespace app {
class AppServices;
}

namespace pset {

class PsetModule {
public:
    // Sets the link's Pset-reset offer; the destructor takes it back.
    explicit PsetModule(app::AppServices& ctx);
    ~PsetModule();
    PsetModule(const PsetModule&) = delete;
    PsetModule& operator=(const PsetModule&) = delete;

    PsetEditorSession& session() { return session_; }

private:
    app::AppServices& ctx_;
    PsetEditorSession session_;
};

} // namespace pset
