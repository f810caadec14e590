// Curve upload: two samples per request [0F curve idxLo idxHi], answered [20 curve idxLo idxHi s1 s2].
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"
#include "link/usb.h"

namespace clink {

namespace {
constexpr int CurvePasses = 51;
constexpr long FirstFrameSettle = 2;
constexpr long CurveWait = 601;
// Parallel port: cycles, and polls per cycle (times TransferDelay).
constexpr long PpCurveCycles = 60;
constexpr long PpCurvePollFactor = 25;
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
    Transaction tx(link_);
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
    // The reply must echo curve and index; its handler then puts the samples in RequestData(1..4).
    link_.ethernet.expect({.id = curveIds.reply, .echo = {request[1], request[2], request[3]}});
    if (link_.ethernet.SendCanFrame(curveIds.reply, curveIds.firstTransmit, {}))
        link_.pump.pause(FirstFrameSettle);
    s_.ReplyReady = false;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = CurvePasses;
    passes.wait = CurveWait;
    const bool taken = ethernetPasses(passes, curveIds.reply, curveIds.request, request);
    // Without a reply these are still the request's own values; callers ignore them after false.
    takeCurveSamples(s_.RequestData[1], s_.RequestData[2], s_.RequestData[3], s_.RequestData[4]);
    return taken;
}

bool DataTx::requestCurvePp(const CurveIds& curveIds, const std::array<int, 8>& request) {
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{curveIds.request, request},
                   .passes = PpCurveCycles,
                   .polls = pp.polls(PpCurvePollFactor)},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({codes::CurveReply, request[1], request[2], request[3]}))
                          return false;
                      const int s1Low = m.byte(4);
                      const int s1High = m.byte(5);
                      const int s2Low = m.byte(6);
                      const int s2High = m.byte(7);
                      takeCurveSamples(s1Low, s1High, s2Low, s2High);
                      return true;
                  });
}

bool DataTx::requestCurveUsb(const CurveIds& curveIds, const std::array<int, 8>& request) {
    return link_.usb.Transact({curveIds.reply, curveIds.request, {codes::CurveReply, request[1]}, request},
                              USB::UsualTries, [&](const UsbRxArray& rx) {
                                  const bool echoed = rx[0] == codes::CurveReply && rx[1] == request[1] &&
                                                      rx[2] == request[2] && rx[3] == request[3];
                                  if (!echoed)
                                      return UsbReply::Retry;
                                  takeCurveSamples(rx[4], rx[5], rx[6], rx[7]);
                                  return UsbReply::Taken;
                              });
}

} // namespace clink
