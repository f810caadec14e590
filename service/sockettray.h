#pragma once
// The socket-tray test: while it runs, the program listens for the tray's status on 13EF0110
// [10 socket-out 0 0 0 0 0 lamps] (clink::SocketTrayListener) and lists, for sockets 1..8, which socket is
// out of the tray and which socket lamps are on, with the number of messages received. The listening loop
// runs one pass at a time (the window's timer calls pass()), so Stop is handled between passes and inside
// their waits.
//
//   SocketTrayTest test(ctx);
//   test.Form_Load();
//   if (test.btnRunTest_Click(window)) ... start the timer; each tick: if (!test.pass()) stop the timer;
//   test.btnStopTest_Click();        // the loop ends at its next pass

#include <QObject>
#include <QStringList>

#include <memory>

namespace app {
class AppServices;
}
namespace base {
class BusyGuard;
}
namespace clink {
struct TrayStatus;
}

namespace service {

// The tray's sockets, 1..8.
inline constexpr int TraySockets = 8;

// The lines the test shows for a status, the count of messages received included.
QStringList socketTrayLines(const clink::TrayStatus& status, int count);

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
    void show(const clink::TrayStatus& status);

    app::AppServices& ctx_;
    bool SocketTestRunning = false;
    int count_ = 0;
    QStringList list_;
    std::unique_ptr<base::BusyGuard> busy_;
};

} // namespace service
