#pragma once
// The DSP exchanges of the Dsp commands: the reset to factory defaults, and the DSP software revision, read
// over the selected link: on the parallel port the DSP's own revision frame is listened for; over Ethernet a
// zero-data frame on the DSP's identifier asks for it (the first answer only arms the reply handler, the
// second carries the revision); over USB the dongle passes the answer to the same frame. DspVersion = major +
// minor / 100.

#include "link/commandcodes.h"

#include <QString>

namespace clink {

class ControllerLink;

// Tells the DSP to reload its factory defaults (09EF0601 [0B 0 ...], no answer) on the selected link.
// True when the frame went out: on the parallel port the dongle's transmit buffer was sent, over Ethernet
// the socket took it, over USB the dongle took it. With no link selected nothing is sent (false). The
// parallel port sends it parallelSends times (its dongle gives no sign that the DSP took one), the other
// links once; the first frame that does not go out ends the sends.
bool SendDspReset(ControllerLink& link, int parallelSends = 1);

class DspRevision {
public:
    // The revision frame's code and the lowest revision the RPM and diagnostics commands accept.
    static constexpr int RevisionCode = codes::DspRevision;
    static constexpr double DiagnosticsMinimum = 3.01;
    // Parallel port: CANINTF polls of the listening read.
    static constexpr long PpPolls = 1000;

    explicit DspRevision(ControllerLink& link);

    // The read of the Dsp > View > Revision command: the request is sent again on every attempt and
    // the revision is shown on success.
    bool mnuDspRev();
    // The read before the RPM and diagnostics commands: one request, no success box.
    bool GetDspRev();

    // The last revision read (0 until one succeeds; a failed read keeps it).
    double DspVersion = 0;

    // "Dsp Software Revision : 3.01".
    static QString revisionText(int major, int minor);

private:
    enum class Mode { Command, Guard };
    bool read(Mode mode);
    bool readPp(Mode mode);
    bool readEthernet(Mode mode);
    bool readUsb();
    void store(Mode mode, int major, int minor);

    ControllerLink& link_;
};

} // namespace clink
