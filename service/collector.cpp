#include "service/collector.h"

#include "app/appservices.h"
#include "base/failbox.h"
#include "base/textlines.h"

#include <QDir>

namespace service {

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
