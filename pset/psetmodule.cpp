#include "pset/psetmodule.h"

#include "app/appservices.h"

namespace pset {

PsetModule::PsetModule(app::AppServices& ctx) : ctx_(ctx), session_(ctx) {
    ctx_.link.offerPsetReset = [this] { session_.offerPsetReset(); };
}

PsetModule::~PsetModule() {
    ctx_.link.offerPsetReset = nullptr;
}

} // namespace pset
