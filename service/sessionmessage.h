#pragma once
// A calibration session's message box. While the program closes (its pump has stopped, every wait ends at
// once and the transactions fail), none is shown: a closing program is not held up by a message.

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace service {

inline void sessionMessage(clink::ControllerLink& link, const QString& text, const QString& caption,
                           base::MessageIcon icon) {
    if (!link.pump.stopped())
        link.dialogs.message(text, caption, icon);
}

} // namespace service
