#pragma once
// Collects a curve from the controller into a curve file (*.dat): the link prepared for the reply, then
// the words of the curve record asked for two at a time (index 0, 2, 4, ... up to the requested count),
// the progress shown after every pair, and the lines written at the end.
//
// The controller's own curves (1 tool torque, 2 aux transducer torque, 3 angle) come with the curve
// request; the data logger's curve with its own request, which the Ethernet link has no reply handler for.
//
//   CurveCollector collector(ctx.link, display);
//   if (collector.collect(CurveSource::Controller, 1, 1000, path)) ... load and draw path ...
//   collector.cancel();   // from the window while collect() waits

#include "link/canid.h"

#include <QString>

namespace clink {
class ControllerLink;
}

namespace monitor {

class CurveCollectionDisplay;

enum class CurveSource { Controller, DataLogger };

class CurveCollector {
public:
    CurveCollector(clink::ControllerLink& link, CurveCollectionDisplay& display);

    // Collects words 0..points of the curve into path. Every failure is shown: a link that cannot be
    // prepared (nothing written), a pair that does not come (the pairs received so far stay in the file,
    // whose path the message names; nothing is written when none came), a file that cannot be written.
    // True when the whole curve is in the file. A cancelled collection ends at once, writes nothing and
    // shows nothing.
    bool collect(CurveSource source, int curve, int points, const QString& path);
    // The user ended the collection (its window is closing): a wait under way ends at once.
    void cancel();

    // The reply identifier each source's requests are answered on.
    static clink::CanId replyId(CurveSource source);

private:
    bool request(CurveSource source, int curve, int index);
    bool write(const QString& path, const QStringList& lines);

    clink::ControllerLink& link_;
    CurveCollectionDisplay& display_;
    bool cancelled_ = false;
};

} // namespace monitor
