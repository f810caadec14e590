#include "pset/psetmodule.h"

#include "app/appservices.h"
#include "pset/psettransfer.h"

namespace pset {

PsetModule::PsetModule(app::AppServices& ctx)
    : ctx_(ctx), transfer_(std::make_unique<PsetTransfer>(ctx, noPanel_)) {
    ctx_.link.offerPsetReset = [this] {
        if (attached_)
            attached_->offerPsetReset();
        else
            transfer_->reset();
    };
}

PsetModule::~PsetModule() {
    ctx_.link.offerPsetReset = nullptr;
}

} // namespace pset
