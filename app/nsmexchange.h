#pragma once
// The NSM unit's conversations are the link's (link/nsmexchange.h); the program's core still names them
// here.

#include "link/nsmexchange.h"

namespace app {

using clink::NsmAnswer;
using clink::NsmExchange;

} // namespace app
