#pragma once
// The live monitors' sessions over the stand-in on each link (the typed link fixtures), with the ways the
// controller's own messages reach each dongle.

#include "base/busyguard.h"
#include "link/toolbuttons.h"
#include "monitor/monitorsession.h"
#include "monitor/runscreen.h"
#include "monitor/runscreenlog.h"
#include "monitor/toolmonitors.h"
#include "tests/link/linkfixtures.h"
#include "tests/monitor/logrows.h"
#include "tests/support/tempfolder.h"

#include <type_traits>

namespace monitortest {

using namespace monitor;
using clink::CanMessage;
namespace ids = clink::ids;
using sim::ControllerModel;

template <class F> constexpr bool IsEthernet = std::is_same_v<F, testsupport::EthernetFixture>;
template <class F> constexpr bool IsParallel = std::is_same_v<F, testsupport::PpFixture>;

template <class F> class LiveMonitors : public linktest::OnEachLink<F> {
protected:
    void SetUp() override {
        linktest::OnEachLink<F>::SetUp();
        if constexpr (IsParallel<F>)
            this->chip.broadcastEvery = 0; // only the messages a test sends
    }

    // The controller reports a fault or rundown on the tool's identifier while the monitor listens: on the
    // parallel port it waits in the dongle; over Ethernet it comes while the fault tick waits (the tick
    // clears what came before it); over USB it answers the tick's frame (the DSP's own answer to a
    // zero-data frame is held back).
    void reportFault(const CanMessage& m) {
        if constexpr (IsParallel<F>) {
            this->chip.emitSpontaneous(m);
        } else if constexpr (IsEthernet<F>) {
            settle(ids::ToolReply);
            this->dongle.armOnAccept(ids::ToolReply, [this, m] { this->dongle.emitSpontaneous(m); });
        } else {
            this->model.noReply.insert(ids::ToolReply);
            this->device.emitSpontaneous(m);
        }
    }
    // A rundown report after the monitor's link check.
    void reportRundown(const CanMessage& m) {
        if constexpr (IsEthernet<F>) {
            settle(ids::ToolReply);
            this->dongle.emitSpontaneous(m);
            ASSERT_TRUE(this->waitFor([this] { return this->s.RequestData[1] == 0x40; }));
        } else if constexpr (IsParallel<F>) {
            this->chip.emitSpontaneous(m);
        } else {
            this->device.emitSpontaneous(m);
        }
    }
    // Ethernet: the dongle has taken the frames sent so far, the last asking it to pass this identifier.
    void settle(clink::CanId accept) {
        if constexpr (IsEthernet<F>) {
            ASSERT_TRUE(this->waitFor([this, accept] {
                return !this->dongle.frames.empty() && this->dongle.frames.back().accept == accept;
            }));
        }
    }
    // The LED commands the controller received.
    std::vector<std::array<int, 8>> ledCommands() const {
        std::vector<std::array<int, 8>> commands;
        for (const CanMessage& m : this->model.received)
            if (m.id == ids::ToolEepromRequest && m.data[0] == clink::ToolButtonExchange::LedCommandCode)
                commands.push_back(m.data);
        return commands;
    }

    base::BusyState busy;
    MonitorSession monitor{this->link, busy};
};

// The run screen over a temporary program folder with a fixed clock.
template <class F> class RunScreen : public LiveMonitors<F> {
protected:
    static QDateTime fixedNow() { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); }

    // Target 12, limits 15 and 9, angle 789 (limits 90 and 45), torque 8.5, result 0x0C, Nm, Pset 3 of 8.
    static ControllerModel::RundownRecord record(int target = 120) {
        return {uint8_t(target >> 8),
                uint8_t(target),
                0,
                150,
                0,
                90,
                3,
                21,
                3,
                132,
                1,
                194,
                0,
                85,
                0x0C,
                5,
                3,
                8};
    }
    // Sends a result's messages as the controller does, polling as they come (over Ethernet until the
    // result has been logged).
    void deliver(const std::vector<CanMessage>& frames) {
        const qsizetype logged = loggedRows().size();
        this->settle(ids::RunData);
        for (const CanMessage& m : frames) {
            if constexpr (IsEthernet<F>) {
                this->dongle.emitSpontaneous(m);
            } else if constexpr (IsParallel<F>) {
                this->chip.emitSpontaneous(m);
                screen.poll();
            } else {
                this->device.emitSpontaneous(m);
                screen.poll();
            }
        }
        if constexpr (IsEthernet<F>) {
            ASSERT_TRUE(this->waitFor([&] {
                screen.poll();
                return loggedRows().size() > logged;
            }));
        }
    }
    // The log's record rows.
    QList<QStringList> loggedRows() const {
        const auto rows = logRows(RundownLogFile::read());
        return rows ? rows->mid(1) : QList<QStringList>{};
    }

    testsupport::TempProgramFolder folder;
    RunScreenSession screen{this->link, this->busy, fixedNow};
};

} // namespace monitortest
