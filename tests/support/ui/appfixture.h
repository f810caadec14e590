#pragma once
// The application context for tests: scripted dialogs, value entry and text viewer, a temporary program
// folder, the shell's windows installed, and the stand-in on each link.

#include "app/ui/appcontext.h"
#include "app/valueentry.h"
#include "sim/controllermodel.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "sim/tcpdongle.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/scriptedvalueentry.h"
#include "tests/support/tempfolder.h"

#include <QQueue>

#include <gtest/gtest.h>

class QTreeWidget;
class QTreeWidgetItem;

namespace apptest {

// The user clicks an item of a shown tree, scrolled into view first.
void clickItem(QTreeWidget* tree, QTreeWidgetItem* item);

using ScriptedValueEntry = testsupport::ScriptedValueEntry;

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    // Selects the Ethernet link to 127.0.0.1 at a port (nothing connected yet).
    void useEthernet(quint16 port);
    // Points the link at the stand-in and connects the socket.
    void connectEthernet();
    // A loopback port nobody listens on: a connect there is refused at once.
    static quint16 refusedPort();
    // The parallel port is the stand-in's simulated CAN-controller chip (not opened yet).
    void useParallelPort();
    // The USB dongle is the stand-in's simulated serial converter (not opened yet).
    void useUsb();
    // Writes the settings files with the link settings of the state (the other settings as loaded).
    void saveSettings();
    // Waits (in the event loop) until cond holds or ms elapse.
    static bool waitFor(const std::function<bool()>& cond, int ms = 3000);
    // The stand-in's received frames with this accept identifier whose data are all 0.
    int filterFramesReceived(clink::CanId id) const;

    testsupport::TempProgramFolder folder;
    testsupport::ScriptedDialogs* dialogs = nullptr;
    ScriptedValueEntry* valueEntry = nullptr;
    testsupport::ScriptedTextViewer* textViewer = nullptr;
    std::unique_ptr<app::AppContext> ctxOwner;
    app::AppContext& ctx;
    clink::LinkState& s;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    sim::SpiChip chip{&model};
    sim::FtdiSim ftdi{model};
};

} // namespace apptest
