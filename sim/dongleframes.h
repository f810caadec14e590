#pragma once
// What a dongle reads from the program: "%CAN" text frames, each naming the identifier to pass back and the
// CAN message to transmit, and the other texts the program sends ("%CANSN..." serial-number frames). Text
// is taken as it arrives; a frame cut short by the next head is dropped, and text without a frame tail is
// not kept beyond MaxPendingInput.

#include "link/canid.h"

#include <QByteArray>

#include <functional>

namespace sim {

class DongleFrameReader {
public:
    static constexpr qsizetype MaxPendingInput = 64 * 1024;

    using OnFrame = std::function<void(clink::CanId accept, const clink::CanMessage& message)>;
    using OnOther = std::function<void(const QByteArray& text)>;

    // Appends the bytes and hands every complete frame to onFrame (a normal frame) or onOther.
    void feed(const QByteArray& bytes, const OnFrame& onFrame, const OnOther& onOther);
    void clear() { input_.clear(); }
    qsizetype pendingBytes() const { return input_.size(); }

    // "%CAN," + the identifier image and data in decimal + ",NAC%" CR LF: a frame as the dongle sends it.
    static QByteArray replyText(const clink::CanMessage& message);

private:
    void handle(const QByteArray& body, const OnFrame& onFrame, const OnOther& onOther);
    QByteArray input_;
};

// True when the program's reply handler takes the first matching frame of this answer as the
// acknowledgement and stores only the next one: a controller that acknowledges sends it twice.
bool acknowledgedFirst(const clink::CanMessage& message);

} // namespace sim
