#include "service/serialout.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "link/controllerlink.h"
#include "link/serialout.h"

namespace service {

QString serialOutModeText(int mode) {
    if (mode < 0 || mode >= SerialOutModes.size())
        return {};
    // The Profibus item reads "Profibus", its text "Profibus Output".
    const QString name = mode == 1 ? QStringLiteral("Profibus Output") : SerialOutModes[mode];
    return name + QStringLiteral(" Selected");
}

bool SerialOutSession::Form_Load() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return false;
    show(clink::SerialOutExchange(ctx_.link).read(), true);
    return true;
}

bool SerialOutSession::cmdSet_Click(int listIndex) {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired() || listIndex < 0)
        return false;
    show(clink::SerialOutExchange(ctx_.link).set(listIndex),
         ctx_.state.ConnectionType == clink::ParallelPort);
    return true;
}

void SerialOutSession::show(const std::optional<int>& mode, bool select) {
    cboSerOut_ = -1;
    // A mode the list does not hold shows nothing.
    if (!mode || serialOutModeText(*mode).isEmpty())
        return;
    txtResult_ = serialOutModeText(*mode);
    if (select)
        cboSerOut_ = *mode;
}

} // namespace service
