#include "service/collector.h"

#include "app/appservices.h"
#include "base/failbox.h"
#include "base/textlines.h"

#include <QDir>

namespace service {

bool CollectorTools::linkCheck(clink::CanId awaited, clink::UsbCheck usb) const {
    clink::PreCheck how;
    how.usb = usb;
    const clink::LinkCheckResult check = clink::LinkCheck(ctx.link).preCheck(awaited, how);
    if (!check.failText.isEmpty())
        base::failBox(ctx.dialogs, check.failText);
    return check.ok;
}

bool CollectorTools::writeReport(const QString& path, const QStringList& lines) const {
    QString error;
    if (base::writeTextLines(path, lines, &error))
        return true;
    writeFailed(path, error);
    return false;
}

bool CollectorTools::writeReport(const QString& path, const QStringList& lines, CollectorPage& page,
                                 int done) const {
    if (!writeReport(path, lines))
        return false;
    page.setBar(done);
    return true;
}

void CollectorTools::writeFailed(const QString& path, const QString& error) const {
    base::failBox(ctx.dialogs, QStringLiteral("Unable To Write File ") + QDir::toNativeSeparators(path) +
                                   QStringLiteral("\r\n") + error);
}

} // namespace service
