#pragma once
// The program's services (no windows) over the controller stand-in on one of its links, for the menu
// commands' sessions: scripted dialogs and value entry, a progress bar that keeps what it was told, and the
// report clock at a fixed time.

#include "app/linkgate.h"
#include "app/sessions/commandsession.h"
#include "tests/support/linkparam.h"
#include "tests/support/servicesfixture.h"

#include <utility>
#include <vector>

namespace commandtest {

using testsupport::Link;
using testsupport::linkName;

// The main window's progress bar as a session left it.
class RecordedProgress : public app::CommandProgress {
public:
    void setRange(int min, int max) override {
        minimum = min;
        maximum = max;
    }
    void setValue(int v) override {
        value = v;
        values.push_back(v);
    }
    void setVisible(bool shown) override { visible = shown; }

    int minimum = 0;
    int maximum = 100;
    int value = 0;
    bool visible = false;
    std::vector<int> values; // every value set, in order
};

class CommandFixture : public testsupport::ServicesFixture {
protected:
    CommandFixture();
    // Chooses Ethernet with no connection to the controller.
    void useUnconnectedEthernet();
    // The texts of the messages shown, in order.
    QStringList messages() const { return dialogs->messageTexts(); }
    base::MessageIcon lastIcon() const {
        return dialogs->messages.empty() ? base::MessageIcon::None : dialogs->messages.back().icon;
    }

    RecordedProgress progress;
};

} // namespace commandtest
