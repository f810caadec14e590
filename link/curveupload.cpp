// Curve upload: two samples per request [0F curve idxLo idxHi], answered [20 curve idxLo idxHi s1 s2].
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"

namespace clink {

namespace {
constexpr int CurvePasses = 51;
constexpr long FirstFrameSettle = 2;
constexpr long CurveWait = 601;
} // namespace

bool DataTx::RequestCurveData(int curve, int index) {
    // The first Ethernet frame names the request identifier with zero data.
    return requestCurve({ids::CurveRequest, ids::CurveReply, ids::CurveRequest}, curve, index);
}

bool DataTx::RequestCurveDataAlt(int curve, int index) {
    // The first Ethernet frame is the reply identifier's filter frame.
    return requestCurve({ids::CurveRequest2, ids::CurveReply2, ids::CurveReply2}, curve, index);
}

bool DataTx::requestCurve(const CurveIds& curveIds, int curve, int index) {
    const std::array<int, 8> request{codes::CurveRequest, curve, addressLow(index), index / 256, 0, 0, 0, 0};
    if (index < 0 || !allBytes(request))
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return requestCurvePp(curveIds, request);
    case TcpIp:
        return requestCurveEthernet(curveIds, request);
    case Usb:
        return requestCurveUsb(curveIds, request);
    default:
        return false;
    }
}

void DataTx::takeCurveSamples(int s1Low, int s1High, int s2Low, int s2High) {
    // Unsigned 16-bit samples.
    s_.CurveUploadData[1] = (s1High & 0xFF) * 256 + (s1Low & 0xFF);
    s_.CurveUploadData[2] = (s2High & 0xFF) * 256 + (s2Low & 0xFF);
}

bool DataTx::requestCurveEthernet(const CurveIds& curveIds, const std::array<int, 8>& request) {
    if (link_.ethernet.SendCanFrame(curveIds.reply, curveIds.firstTransmit, {}))
        link_.pump.pause(FirstFrameSettle);
    s_.ReplyReady = false;
    // The reply must echo curve and index; its handler then puts the samples in RequestData(1..4).
    for (size_t i = 1; i <= 3; ++i)
        s_.RequestData[i] = request[i];
    s_.RequestData[4] = s_.RequestData[5] = 0;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = CurvePasses;
    passes.wait = CurveWait;
    passes.refusedClearsReply = true;
    const bool taken = ethernetPasses(passes, curveIds.reply, curveIds.request, request);
    // Without a reply these are still the request's own values; callers ignore them after false.
    takeCurveSamples(s_.RequestData[1], s_.RequestData[2], s_.RequestData[3], s_.RequestData[4]);
    return taken;
}

// The parallel-port and USB paths come with the drivers of those links.
bool DataTx::requestCurvePp(const CurveIds&, const std::array<int, 8>&) {
    return false;
}
bool DataTx::requestCurveUsb(const CurveIds&, const std::array<int, 8>&) {
    return false;
}

} // namespace clink
