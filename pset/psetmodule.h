#pragma once
// The parameter-set feature's module: the answer to the link's offer to reset the controller's Psets after
// a status it could not take. While the editor window is open, its session takes the offer, so that the
// reset empties the report the window shows; with no editor open the module's own transfer runs the reset.
// Built once in the composition root after the services; the editor window owns its session.

#include "pset/psettransfer.h"

namespace app {
class AppServices;
}

namespace pset {

class PsetEditorSession;

class PsetModule {
public:
    // Sets the link's Pset-reset offer; the destructor takes it back.
    explicit PsetModule(app::AppServices& ctx);
    ~PsetModule();
    PsetModule(const PsetModule&) = delete;
    PsetModule& operator=(const PsetModule&) = delete;

    app::AppServices& services() { return ctx_; }
    // The editor's session takes the offer from now on, until it is detached (its destructor does).
    void attach(PsetEditorSession& session) { attached_ = &session; }
    void detach(const PsetEditorSession& session) {
        if (attached_ == &session)
            attached_ = nullptr;
    }

private:
    // The reset's report when no editor shows it.
    class NoPanel : public TransferPanel {
    public:
        void addLine(const QString&) override {}
        void clearList() override {}
        void ShowTransferPanel() override {}
        void HideTransferPanel() override {}
    };

    app::AppServices& ctx_;
    NoPanel noPanel_;
    PsetTransfer transfer_;
    PsetEditorSession* attached_ = nullptr;
};

} // namespace pset
