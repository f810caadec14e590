#pragma once
// The socket-tray test: while it runs, the program listens for the tray's status on 13EF0110
// [10 socket-out 0 0 0 0 0 lamps] and lists, for sockets 1..8, which socket is out of the tray and which
// socket lamps are on, with the number of messages received. The listening loop runs one pass at a time
// (the window's timer calls pass()), so Stop is handled between passes and inside their waits.
//
//   SocketTrayTest test(ctx);
//   test.Form_Load();
//   if (test.btnRunTest_Click(window)) ... start the timer; each tick: if (!test.pass()) stop the timer;
//   test.btnStopTest_Click();        // the loop ends at its next pass

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

namespace app {
class AppServices;
}
namespace base {
class BusyGuard;
}
namespace clink {
class ControllerLink;
}

namespace service {

// One status of the tray: the socket out of it (1..8; anything else: none) and the lamp bits (bit k-1 is
// socket k's lamp).
struct TrayStatus {
    int outSocket = 0;
    int lamps = 0;
    bool operator==(const TrayStatus&) const = default;
};

// The lines the test shows for a status, the count of messages received included.
QStringList socketTrayLines(const TrayStatus& status, int count);

// One listening pass on the selected link; a status when the tray's message came.
class SocketTrayListener {
public:
    static constexpr int Sockets = 8;
    // Parallel port: the pause before the receive flag is looked at (the test's Delay).
    static constexpr long DelayYields = 300;
    // Ethernet: DoEvents after the filter frame, frames per pass, DoEvents after the first.
    static constexpr long FilterPause = 5000 * 2;
    static constexpr int EthernetFrames = 501;
    static constexpr long FirstFrameWait = 501 * 3;

    explicit SocketTrayListener(clink::ControllerLink& link) : link_(link) {}

    std::optional<TrayStatus> pass();
    // The end of a test: on Ethernet the dongle is turned to another identifier (09EF0601), so the tray's
    // messages stop reaching the program.
    void stop();

private:
    std::optional<TrayStatus> passPp();
    std::optional<TrayStatus> passEthernet();
    std::optional<TrayStatus> passUsb();

    clink::ControllerLink& link_;
    // DoEvents the pass waits after its transaction, when the link refused its frame.
    long idlePause_ = 0;
};

class SocketTrayTest : public QObject {
    Q_OBJECT
public:
    explicit SocketTrayTest(app::AppServices& ctx);
    ~SocketTrayTest() override;

    // The prompt line.
    void Form_Load();
    // The link check, then the start lines; the program stays busy until the test stops, with only the
    // given window usable. False when the test did not start (its box shown, or another command runs).
    bool btnRunTest_Click(const QObject* window = nullptr);
    // The loop ends at its next pass.
    void btnStopTest_Click() { SocketTestRunning = false; }
    // One pass of the loop. Once the test has been stopped: the stop step and its line, and false.
    bool pass();

    bool running() const { return SocketTestRunning; }
    // The test has started and not yet ended (its stop step not yet taken).
    bool active() const;
    const QStringList& List1() const { return list_; }
    int messageCount() const { return count_; }

signals:
    void listChanged();

private:
    void show(const TrayStatus& status);

    app::AppServices& ctx_;
    bool SocketTestRunning = false;
    int count_ = 0;
    QStringList list_;
    std::unique_ptr<base::BusyGuard> busy_;
};

} // namespace service
