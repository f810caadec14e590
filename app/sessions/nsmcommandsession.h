#pragma once
// The Nsm menu's exchanges with the unit, free of windows: the rundown clear, the clock and version boxes,
// and the settings read for the report or for the settings window. The exchanges themselves are
// NsmExchange's; this session adds the reset line, the link steps and the boxes of each command. The menu
// holds the busy state and shows the report or window.

#include <QStringList>

#include <optional>

namespace clink {
class ControllerLink;
}

namespace app {

class NsmCommandSession {
public:
    explicit NsmCommandSession(clink::ControllerLink& link) : link_(link) {}

    // The rundown data cleared in the unit (parallel-port steps whatever the link: off the parallel port no
    // answer can be read); its outcome is shown in a box. True when cleared.
    bool clearRundown();
    // The unit's clock in an information box. True when it was read.
    bool viewTimeDate();
    // The unit's software version in an information box.
    void viewVersion();
    // The link step before the settings are read for the report, and before they are read for the
    // settings window; a failure has shown its box.
    bool settingsChecked();
    bool writeSettingsChecked();
    // The nine settings read from the unit into NsmSettings; false when the read failed.
    bool readSettings();
    // The report lines of the settings just read (each printed text is taken from the record).
    QStringList takeSettingsReport();

private:
    clink::ControllerLink& link_;
};

} // namespace app
