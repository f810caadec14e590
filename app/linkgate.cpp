#include "app/linkgate.h"

#include "link/controllerlink.h"

namespace app {

LinkGate::LinkGate(clink::ControllerLink& link, LinkFailCaptions captions)
    : LinkGate(link, link.dialogs, std::move(captions)) {}

LinkGate::LinkGate(clink::ControllerLink& link, base::Dialogs& dialogs, LinkFailCaptions captions)
    : link_(link), dialogs_(dialogs), captions_(std::move(captions)) {}

bool LinkGate::preCheck(clink::CanId awaited, const clink::PreCheck& how) {
    return passed(clink::LinkCheck(link_).preCheck(awaited, how));
}

bool LinkGate::dongleOnly(clink::CanId awaited, const QString& failText) {
    return passed(clink::LinkCheck(link_).dongleOnly(awaited, failText));
}

bool LinkGate::toolDataCheck(int ethernetCode) {
    return passed(clink::LinkCheck(link_).toolDataCheck(ethernetCode));
}

bool LinkGate::transducerCheck() {
    return passed(clink::LinkCheck(link_).transducerCheck());
}

bool LinkGate::passed(const clink::LinkCheckResult& check) {
    const clink::LinkCheck gate(link_);
    return gate.passed(check, dialogs_,
                       gate.forLink(captions_.parallel, captions_.ethernet, base::ProgramTitle));
}

} // namespace app
