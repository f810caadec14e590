#pragma once
// The USB dongle's test (a hidden Tools entry), whatever link is chosen: a bare test frame goes out (a
// refused one reopens the device; a failed reopen shows the USB failure box), then the test exchange shows
// the eight bytes the dongle echoes, or "No Habla" when it stays silent.

#include <QString>

namespace clink {
class ControllerLink;
}

namespace app {

class UsbTestSession {
public:
    static inline const QString SilentText = QStringLiteral("No Habla");

    explicit UsbTestSession(clink::ControllerLink& link) : link_(link) {}

    // True when the dongle echoed the test frame (its bytes have been shown).
    bool run();

private:
    clink::ControllerLink& link_;
};

} // namespace app
