#include "app/sessions/commandsession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/dialogs.h"
#include "base/failbox.h"

namespace app {

clink::LinkFailTexts linkTexts(const QString& parallel, const QString& ethernet) {
    clink::LinkFailTexts texts;
    texts.parallel = parallel;
    texts.ethernet = ethernet;
    return texts;
}

void CommandProgress::start(int maximum, bool show) {
    setRange(0, maximum);
    setValue(0);
    if (show)
        setVisible(true);
}

CommandSession::CommandSession(AppServices& services, CommandProgress& progress)
    : services(services), progress_(progress) {}

clink::ControllerLink& CommandSession::link() {
    return services.link;
}
clink::LinkState& CommandSession::state() {
    return services.state;
}
clink::DataTx& CommandSession::dataTx() {
    return services.link.dataTx;
}
base::Dialogs& CommandSession::dialogs() {
    return services.dialogs;
}
ValueEntry& CommandSession::values() {
    return services.values;
}

base::BusyState& CommandSession::busyState() {
    return services.busy;
}

LinkGate CommandSession::linkGate() {
    return LinkGate(services.link);
}

void CommandSession::failBox(const QString& text) {
    base::failBox(services.dialogs, text);
}

void CommandSession::infoBox(const QString& text) {
    services.dialogs.message(text, base::ProgramTitle, base::MessageIcon::Information);
}

} // namespace app
