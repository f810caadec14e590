#pragma once
// The tool cycle-count test: the tool counts its cycles in its own EEPROM (three big-endian counters at 256,
// 258 and 260). The test clears the counters, lets the user power-cycle the controller, then sends an
// end-of-cycle message on 13EF0106 every cycle and reads one counter back (round robin), which must equal
// the cycles sent or one less. The messages and the reads are the link's (clink::ToolCycleMessages).
//
//   ToolCycleTest test(ctx);
//   test.Command2_Click();   // clears the counters and asks for the power cycle (Continue enabled)
//   test.Command1_Click();   // "Cycle Timer Started": the window's timer starts
//   while (test.Timer1_Timer()) ... 500 ms later, the next cycle

#include <QObject>
#include <QStringList>

#include <array>
#include <memory>

namespace app {
class AppServices;
}
namespace base {
class BusyGuard;
}
namespace service {

class ToolCycleTest : public QObject {
    Q_OBJECT
public:
    static constexpr int FirstCountAddress = 256;
    static constexpr int EndCountAddress = 262;
    // The test's Delay.
    static constexpr long DelayYields = 12000;

    // What the window does after Start.
    enum class Prepared {
        AwaitContinue, // the power-cycle prompt is shown: enable Continue
        Stopped,       // the link could not be set up (its box shown)
        CloseWindow,   // the counters could not be cleared (its box shown)
    };

    explicit ToolCycleTest(app::AppServices& ctx);
    ~ToolCycleTest() override;

    // Start: the link check, the counters cleared, the power-cycle prompt. The program is held busy from
    // here until the test stops, with the test's window usable (it waits for Continue and closes).
    Prepared Command2_Click(const QObject* window = nullptr);
    // Continue: the cycles start; true when the window's timer is to run.
    bool Command1_Click();
    // One cycle; true when the timer is to run again for the next, false when the test stopped (a box
    // has said why, unless the window is closing).
    bool Timer1_Timer();
    // The window is closing: the cycle under way stops at its next step.
    void cancel();

    const QStringList& List1() const { return list_; }
    int CountReadAddress = FirstCountAddress;
    int SentCycleCount = 0;

signals:
    void listChanged();

private:
    bool cycle();
    bool delay(int times);
    bool readCount(int& count);
    void add(const QString& line);
    void stop();

    app::AppServices& ctx_;
    QStringList list_;
    std::unique_ptr<base::BusyGuard> busy_;
    bool cancelled_ = false;
};

} // namespace service
