#pragma once
// The parameter-set feature's module: the answer to the link's offer to reset the controller's Psets after
// a status it could not take. While an editor session is attached (the editor window attaches its own), the
// session takes the offer, so that the reset empties the report the window shows; with none attached, or
// once the attached one is gone, the module's own transfer runs the reset. Built once in the composition
// root after the services; the editor window owns its session.
//
//   pset::PsetModule module(services);      // takes the link's offer
//   pset::PsetEditorSession session(services);
//   module.attach(session);                 // the session answers it while it exists

#include "pset/psetsession.h"
#include "pset/transferpanel.h"

#include <QPointer>

#include <memory>

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

    // The session takes the offer from now on, until another is attached or it is destroyed.
    void attach(PsetEditorSession& session) { attached_ = &session; }

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
    std::unique_ptr<PsetTransfer> transfer_;
    QPointer<PsetEditorSession> attached_;
};

} // namespace pset
