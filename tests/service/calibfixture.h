#pragma once
// The calibration sessions over the stand-in on each link: the busy state the sessions share with other
// commands, the tool's button sensors per measuring step, the calibration rundown reported when the
// session waits for it, and the OK/Cancel answers and boxes of the scripted dialogs.

#include "base/progress.h"
#include "link/buttonsensors.h"
#include "link/controllerlink.h"
#include "sim/controllermodel.h"
#include "tests/link/linkfixtures.h"
#include "tests/support/waitfor.h"

#include <QStringList>

#include <type_traits>

namespace calibtest {

using Sensors = sim::ControllerModel::ButtonSensorWords;

template <class LinkFixture> class Calibration : public linktest::OnEachLink<LinkFixture> {
protected:
    static constexpr bool Ethernet = std::is_base_of_v<testsupport::EthernetFixture, LinkFixture>;
    static constexpr bool Parallel = std::is_base_of_v<testsupport::PpFixture, LinkFixture>;

    void SetUp() override {
        linktest::OnEachLink<LinkFixture>::SetUp();
        // A dongle that earlier commands have left set up, as the calibration windows find it.
        this->linkCheck(clink::ids::ToolEepromReply);
        if constexpr (Ethernet) {
            QObject::connect(&this->link.socket, &clink::EthernetLink::dataArrived, &this->link.socket,
                             [this](const QByteArray& bytes) { countFrames(bytes); });
        }
    }

    // The sensors the tool streams from now on. Over Ethernet a running stream goes on by itself: the
    // frames it sent before are let through first, so that a step measures only what was set for it.
    void setSensors(const Sensors& sensors) {
        this->model.buttonSensors = sensors;
        if constexpr (Ethernet) {
            if (!this->model.buttonStreamRunning())
                return;
            const int sent = this->dongle.repliesSent();
            ASSERT_TRUE(testsupport::waitFor([&] {
                return this->dongle.repliesSent() >= sent + 2 && framesArrived_ >= this->dongle.repliesSent();
            }));
        }
    }

    // Where a button calibration reports the progress of its readings. Over Ethernet the tool's stream
    // runs on the stand-in's clock and a reading waits a few milliseconds for each frame; so that a busy
    // test machine cannot starve a step, the frames of a step are already queued at the link (the
    // gateway's queue) when the step starts awaiting them, and the stream goes on behind them.
    base::Progress& readingsProgress() { return queuedFrames_; }

    // The controller reports this rundown once the calibration waits for it (call when the session asks
    // for the rundown; over Ethernet it may be armed at any time before).
    void reportRundown(const sim::ControllerModel::RundownRecord& record) {
        if constexpr (Ethernet) {
            this->dongle.armOnAccept(clink::ids::RunData, [this, record] {
                for (const clink::CanMessage& f : this->model.rundownEvent(record))
                    this->dongle.emitSpontaneous(f);
            });
        } else if constexpr (Parallel) {
            for (const clink::CanMessage& f : this->model.rundownEvent(record))
                this->chip.armEvent(f);
        } else {
            this->model.rundown = record;
            this->model.armRundown(2); // with the first answer after the dongle's opening frame
        }
    }

    // The messages received with this identifier, in order (over Ethernet once the dongle has read them).
    std::vector<clink::CanMessage> receivedWith(clink::CanId id) const {
        std::vector<clink::CanMessage> out;
        for (const clink::CanMessage& m : this->model.received)
            if (m.id == id)
                out.push_back(m);
        return out;
    }

    QStringList messages() const { return this->dialogs.messageTexts(); }

    base::BusyState busy;

private:
    class QueuedFrames : public base::Progress {
    public:
        explicit QueuedFrames(Calibration& fixture) : fixture_(fixture) {}
        void setRange(int, int) override { armed_ = true; }
        // The first value after the range: the link is set up and the frames are awaited.
        void setValue(int) override {
            if (!armed_)
                return;
            armed_ = false;
            if constexpr (Ethernet) {
                for (int i = 0; i < clink::ButtonSensors::Readings; ++i)
                    if (const auto frame = fixture_.model.nextButtonSensorFrame())
                        fixture_.dongle.emitSpontaneous(*frame);
            }
        }

    private:
        Calibration& fixture_;
        bool armed_ = false;
    };
    QueuedFrames queuedFrames_{*this};

    // Frames that have reached the link (a frame's tail may come in two pieces).
    void countFrames(const QByteArray& bytes) {
        static const QByteArray Tail = QByteArrayLiteral("NAC%");
        const QByteArray text = pending_ + bytes;
        framesArrived_ += int(text.count(Tail));
        pending_ = text.right(Tail.size() - 1);
    }
    int framesArrived_ = 0;
    QByteArray pending_;
};

} // namespace calibtest
