#pragma once
// What the device windows share about their runs with the controller. A handler that talks to the
// controller marks itself running; a close of the window meanwhile (the program closing, a test stopped
// by the close box) cannot delete the window under the handler: the close waits, the run is told to stop,
// and the window closes once the run is over.
//
//   void FrmX::cmdSet_Click() {
//       auto running = runs_.handler();
//       session_.cmdSet_Click(...);
//   }                                         // a close asked for meanwhile is carried out now
//   void FrmX::closeEvent(QCloseEvent* e) {
//       if (runs_.postponeClose(e, session_.active(), [this] { session_.cancel(); }))
//           return;
//       QWidget::closeEvent(e);
//   }

#include <QPointer>
#include <QWidget>

#include <functional>

class QCloseEvent;

namespace service {

class WindowRuns {
public:
    explicit WindowRuns(QWidget& window) : window_(&window) {}

    class Handler {
    public:
        explicit Handler(WindowRuns& runs) : runs_(runs) { ++runs_.depth_; }
        ~Handler() {
            if (--runs_.depth_ == 0)
                runs_.closeIfPending();
        }
        Handler(const Handler&) = delete;
        Handler& operator=(const Handler&) = delete;

    private:
        WindowRuns& runs_;
    };
    [[nodiscard]] Handler handler() { return Handler(*this); }
    bool handlerRunning() const { return depth_ > 0; }

    // For the window's closeEvent: while a handler runs or the window's own run goes on (runGoesOn), the
    // event is ignored, stop is called and true returned; the window closes when the run is over.
    bool postponeClose(QCloseEvent* event, bool runGoesOn, const std::function<void()>& stop);
    // The window's own run is over: a close that waited is carried out (from the event loop, once the
    // handlers on the stack have returned).
    void closeIfPending();
    bool closePending() const { return pending_; }

private:
    QPointer<QWidget> window_;
    int depth_ = 0;
    bool pending_ = false;
};

} // namespace service
