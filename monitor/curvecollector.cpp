#include "monitor/curvecollector.h"

#include "app/linkgate.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "base/textlines.h"
#include "link/controllerlink.h"
#include "monitor/curvefiles.h"
#include "monitor/curvegraph.h"

namespace monitor {

namespace {
const QString ConfigurationErrorCaption = QStringLiteral("Configuration Error");
const QString ReceiveErrorCaption = QStringLiteral("Receive Error");
const QString ReceiveCurveCaption = QStringLiteral("Receive Curve");
const QString CurveNotReceived = QStringLiteral("Curve Not Received");
const QString PartialCurveKept = QStringLiteral("The words received so far are kept in %1");
const QString FileNotWritten = QStringLiteral("Unable To Write %1\r\n%2");
const clink::LinkFailTexts PrepareFailTexts{
    .parallel = QStringLiteral("Unable To Configure Candongle - Transfer Failed")};
// The words each request brings.
constexpr int WordsPerRequest = 2;
// The bar's range ends this far past the requested count.
constexpr int BarOverrun = 2;
} // namespace

CurveCollector::CurveCollector(clink::ControllerLink& link, CurveCollectionDisplay& display)
    : link_(link), display_(display) {}

clink::CanId CurveCollector::replyId(CurveSource source) {
    return source == CurveSource::Controller ? clink::ids::CurveReply : clink::ids::CurveReply2;
}

bool CurveCollector::collect(CurveSource source, int curve, int points, const QString& path) {
    display_.setRange(0, points + BarOverrun);
    display_.setValue(0);
    link_.state.DataCount = 0;
    if (!app::LinkGate(link_, {.parallel = ConfigurationErrorCaption})
             .preCheck(replyId(source), {.texts = PrepareFailTexts}))
        return false;

    QStringList lines;
    for (int i = 0; i <= points; i += WordsPerRequest) {
        display_.setCountText(QStringLiteral("%1 / %2").arg(i).arg(points));
        link_.pump.doEvents();
        // Cancelled: the words so far are dropped quietly, and a file chosen earlier stays as it was.
        if (cancelled_)
            return false;
        if (!request(source, curve, i)) {
            if (cancelled_)
                return false;
            QString text = CurveNotReceived;
            if (!lines.isEmpty() && write(path, lines))
                text += QStringLiteral("\r\n") + PartialCurveKept.arg(path);
            link_.dialogs.message(text, ReceiveErrorCaption, base::MessageIcon::Critical);
            return false;
        }
        display_.setValue(i);
        const auto& words = link_.state.CurveUploadData;
        lines << collectedCurveLines(i, curve, words[1], words[2]);
    }
    return write(path, lines);
}

void CurveCollector::cancel() {
    cancelled_ = true;
    link_.transactions.cancel();
    link_.pump.wake();
}

bool CurveCollector::request(CurveSource source, int curve, int index) {
    return source == CurveSource::Controller ? link_.dataTx.RequestCurveData(curve, index)
                                             : link_.dataTx.RequestCurveDataAlt(curve, index);
}

bool CurveCollector::write(const QString& path, const QStringList& lines) {
    QString error;
    if (base::writeTextLines(path, lines, &error))
        return true;
    link_.dialogs.message(FileNotWritten.arg(path, error), ReceiveCurveCaption, base::MessageIcon::Critical);
    return false;
}

} // namespace monitor
