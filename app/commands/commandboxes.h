#pragma once
// Small pieces the service command groups share on top of the command frame: the information box and
// the progress bar's start.

#include "app/sessions/commandsession.h"
#include "app/ui/commandframe.h"
#include "base/dialogs.h"

#include <QProgressBar>

namespace app {

// An information box with the program's title.
inline void infoBox(CommandFrame& frame, const QString& text) {
    frame.dialogs().message(text, base::ProgramTitle, base::MessageIcon::Information);
}

// Bar1 from 0 to maximum at 0, made visible when asked.
inline void startBar(QProgressBar& bar, int maximum, bool show) {
    bar.setRange(0, maximum);
    bar.setValue(0);
    if (show)
        bar.setVisible(true);
}

} // namespace app
