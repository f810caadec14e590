#pragma once
// The program's services for tests: scripted dialogs, value entry and text viewer, a temporary program
// folder, the program's own event pump (the loopback socket needs it), and the stand-in on each link.
// Headless tests use it over app::AppServices; the window tests over the services with their window context
// (apptest::AppFixture).

#include "app/appservices.h"
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "sim/tcpdongle.h"
#include "tests/support/linkparam.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/scriptedvalueentry.h"
#include "tests/support/tempfolder.h"
#include "tests/support/waitfor.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace testsupport {

// Tool EEPROM addresses the stand-in was asked to read, in order (a read asked again until its second
// answer, over Ethernet, counted once).
inline std::vector<int> toolReads(const sim::ControllerModel& model) {
    constexpr int ReadCode = 0x90;
    std::vector<int> reads;
    for (const clink::CanMessage& m : model.received) {
        const int address = m.data[1] * 256 + m.data[2];
        if (m.id == clink::ids::ToolEepromRequest && m.data[0] == ReadCode &&
            (reads.empty() || reads.back() != address))
            reads.push_back(address);
    }
    return reads;
}

template <class Services> class ServicesFixtureOf : public ::testing::Test {
protected:
    // On a clock the cases move, or (steadyClock) on the real one, for cases that time the controller.
    explicit ServicesFixtureOf(bool steadyClock = false)
        : owner_(makeServices(steadyClock)), ctx(*owner_), s(ctx.state) {}

    // Selects the Ethernet link to 127.0.0.1 at a port (nothing connected yet).
    void useEthernet(quint16 port) {
        s.ConnectionType = clink::TcpIp;
        s.ControllerIpAddress = QStringLiteral("127.0.0.1");
        s.ControllerIpPort = QString::number(port);
    }
    // Points the link at the stand-in and connects the socket.
    void connectEthernet() {
        ASSERT_TRUE(dongle.port() != 0 || dongle.listen(0));
        useEthernet(dongle.port());
        s.TransferDelay = 8;
        // The socket's answers come in real time: the link's times must pass with them.
        if (auto* manual = dynamic_cast<clink::ManualLinkClock*>(&ctx.link.clock))
            manual->followRealTime();
        ctx.link.socket.connectTo(s.ControllerIpAddress, dongle.port());
        ASSERT_TRUE(waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));
    }
    // A loopback port nobody listens on: a connect there is refused at once.
    static quint16 refusedPort() {
        QTcpServer closed;
        if (!closed.listen(QHostAddress::LocalHost, 0))
            return 0;
        const quint16 port = closed.serverPort();
        closed.close();
        return port;
    }
    // The parallel port is the stand-in's simulated CAN-controller chip (not opened yet).
    void useParallelPort() {
        ctx.link.spi.usePort(chip);
        s.ConnectionType = clink::ParallelPort;
    }
    // The USB dongle is the stand-in's simulated serial converter (not opened yet).
    void useUsb() {
        ctx.link.usb.setDevice(ftdi);
        s.ConnectionType = clink::Usb;
    }
    // Writes the settings files with the link settings of the state (the other settings as loaded).
    void saveSettings() {
        const auto type = s.ConnectionType;
        const QString address = s.ControllerIpAddress;
        const QString port = s.ControllerIpPort;
        ctx.palverin.LoadIniFiles();
        s.ConnectionType = type;
        s.ControllerIpAddress = address;
        s.ControllerIpPort = port;
        ASSERT_TRUE(ctx.palverin.SaveIniFile());
    }
    // Waits (in the event loop) until cond holds or ms elapse.
    static bool waitFor(const std::function<bool()>& cond, int ms = 3000) {
        return testsupport::waitFor(cond, ms);
    }
    // Opens the link to the stand-in as start-up does.
    void connect(Link link) {
        switch (link) {
        case Link::Ethernet:
            connectEthernet();
            break;
        case Link::Usb:
            useUsb();
            ASSERT_TRUE(ctx.link.usb.ReopenDevice());
            break;
        case Link::ParallelPort:
            useParallelPort();
            ASSERT_TRUE(chip.open());
            s.TransferDelay = 1;
            ctx.link.spi.InitializePort();
            break;
        }
    }
    // Requests the stand-in received with an identifier and code, in order.
    std::vector<clink::CanMessage> received(clink::CanId id, int code) const {
        std::vector<clink::CanMessage> r;
        for (const clink::CanMessage& m : model.received)
            if (m.id == id && m.data[0] == code)
                r.push_back(m);
        return r;
    }
    std::vector<int> toolReads() const { return testsupport::toolReads(model); }
    // Tool EEPROM writes the stand-in received, as (address, value).
    std::vector<std::pair<int, int>> toolWrites() const {
        constexpr int WriteCode = 0x60;
        std::vector<std::pair<int, int>> writes;
        const clink::CanMessage* last = nullptr;
        for (const clink::CanMessage& m : model.received) {
            if (m.id != clink::ids::ToolEepromRequest || m.data[0] != WriteCode)
                continue;
            // Over Ethernet a write is repeated until it is confirmed twice: count each write once.
            if (last && *last == m)
                continue;
            writes.emplace_back(m.data[1] * 256 + m.data[2], m.data[3]);
            last = &m;
        }
        return writes;
    }
    // The Ethernet stand-in's received frames with this accept identifier whose data are all 0.
    int filterFramesReceived(clink::CanId id) const {
        int n = 0;
        for (const auto& f : dongle.frames) {
            if (f.accept == id && f.message.id == id && sim::isZeroData(f.message))
                ++n;
        }
        return n;
    }

private:
    std::unique_ptr<Services> makeServices(bool steadyClock) {
        app::AppSeams seams;
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        seams.dialogs = std::move(scripted);
        seams.pump = std::make_unique<base::QtEventPump>();
        if (steadyClock)
            seams.clock = std::make_unique<clink::SteadyLinkClock>();
        else
            seams.clock = std::make_unique<clink::ManualLinkClock>();
        auto prompt = std::make_unique<ScriptedValueEntry>();
        valueEntry = prompt.get();
        seams.valuePrompt = std::move(prompt);
        auto viewer = std::make_unique<ScriptedTextViewer>();
        textViewer = viewer.get();
        seams.textViewer = std::move(viewer);
        return std::make_unique<Services>(std::move(seams));
    }

protected:
    TempProgramFolder folder;
    ScriptedDialogs* dialogs = nullptr;
    ScriptedValueEntry* valueEntry = nullptr;
    ScriptedTextViewer* textViewer = nullptr;

private:
    std::unique_ptr<Services> owner_;

protected:
    Services& ctx;
    clink::LinkState& s;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    sim::SpiChip chip{&model};
    sim::FtdiSim ftdi{model};
};

// The services without windows, for the headless tests of the menu-command sessions.
using ServicesFixture = ServicesFixtureOf<app::AppServices>;

} // namespace testsupport
