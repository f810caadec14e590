#pragma once
// The tool's four button sensors as the button calibration reads them. A button-test request (10EF0201
// [40 0 ...]) makes the tool stream its sensor words on 16EF0102, each frame [cw hi, cw lo, trigger hi,
// trigger lo, ccw hi, ccw lo, center hi, center lo]; the readings collect a number of those frames into
// DataBuffer, frame k at entries 8k..8k+7, by the link chosen:
//   parallel port: the dongle set up for 16EF0102, up to 2000 interrupt-flag polls per frame;
//   Ethernet:      one filter frame, then the reply handler appends each frame; the wait is per frame;
//   USB:           the filter frame asks for the next frame each time; only a complete reply is taken, a
//                  bounded number of tries per frame.
//
//   clink::ButtonSensors sensors(ctx.link);
//   sensors.sendTestRequest(progress);
//   const ButtonSensors::Result r = sensors.takeReadings(progress);

#include "base/progress.h"
#include "link/canid.h"

#include <QString>

namespace clink {

class ControllerLink;

class ButtonSensors {
public:
    // The tool's sensor frames.
    static constexpr CanId SensorFrames = ids::BlockReply;
    static constexpr int TestRequestCode = 0x40;
    // Frames one measuring step takes, and the bytes of each.
    static constexpr int Readings = 100;
    static constexpr int FrameBytes = 8;
    // The test request: sends on the parallel port and Ethernet (each followed by a pause of DoEvents),
    // sends on USB (no pause).
    static constexpr int RequestSends = 50;
    static constexpr long RequestPause = 3000;
    static constexpr int UsbRequestSends = 5;
    // Parallel port: interrupt-flag polls per frame. Ethernet: DoEvents waited per frame.
    static constexpr long PpPolls = 2000;
    static constexpr long EthernetWait = 4000;

    enum class Outcome {
        Taken,      // every frame arrived
        LinkFailed, // the link could not be set up: failText says why
        Missing,    // a frame did not come
    };
    struct Result {
        Outcome outcome = Outcome::Missing;
        QString failText;
    };

    explicit ButtonSensors(ControllerLink& link);

    // Asks the tool to stream its sensors; no answer is awaited. The progress counts the requests sent
    // (range 0..RequestSends on the parallel port and Ethernet, 0..UsbRequestSends on USB).
    void sendTestRequest(base::Progress& progress);
    // Collects Readings frames into DataBuffer(0..) from an empty buffer; the progress shows the frame
    // count (range 0..Readings + 2; 1 once the link is set up and the frames are awaited).
    Result takeReadings(base::Progress& progress);

private:
    bool readPp(base::Progress& progress);
    bool readEthernet(base::Progress& progress);
    bool readUsb(base::Progress& progress);

    ControllerLink& link_;
};

} // namespace clink
