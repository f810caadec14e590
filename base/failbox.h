#pragma once
// The failure box of a command or session: a critical message, with the program's title unless another
// caption is given.

#include "base/dialogs.h"

namespace base {

inline void failBox(Dialogs& dialogs, const QString& text, const QString& caption = ProgramTitle) {
    dialogs.message(text, caption, MessageIcon::Critical);
}

} // namespace base
