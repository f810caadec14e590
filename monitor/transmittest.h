#pragma once
// The fault and rundown monitor's transmit test ("Command1"): with the dongle set up for the button
// identifier (10EF0602), one message [0 1 0 0 0 0 0 0] on it, then 1501 each with data byte 2 set to 1, 2
// and 4 (a box before each run), then one with all data 0 and "Done sending message". The messages go
// out in slices, so the window stays live between them.

#include <QString>

#include <memory>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
}

namespace monitor {

class TransmitTest {
public:
    static constexpr int MessagesPerRun = 1501;
    static constexpr int MessagesPerSlice = 50;
    static inline const QString DoneText = QStringLiteral("Done sending message");

    explicit TransmitTest(clink::ControllerLink& link);
    // On the program's link.
    explicit TransmitTest(app::AppServices& services);
    ~TransmitTest();
    TransmitTest(const TransmitTest&) = delete;
    TransmitTest& operator=(const TransmitTest&) = delete;

    // Sets the dongle up, says "Starting 1" and sends the first message; false (with the box "Unable To
    // Configure CanDongle") when the dongle could not be set up.
    bool begin();
    // Sends the next slice; false when the test is done (or was never begun).
    bool sendSlice();
    bool running() const { return run_ < Runs; }
    // Messages sent so far.
    int sent() const { return sent_; }

private:
    static constexpr int Runs = 3;
    void send(int byte2);

    // The link's batch of sends (clink::DataTx::SendBatch): the "Ethernet not connected" box at most once for
    // the whole test.
    struct Batch;

    clink::ControllerLink& link_;
    std::unique_ptr<Batch> batch_;
    int run_ = Runs; // the run being sent (0..2); Runs: not running
    int leftInRun_ = 0;
    int sent_ = 0;
};

} // namespace monitor
