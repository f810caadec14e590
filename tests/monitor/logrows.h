#pragma once
// The rows of a rundown log read back as fields, for comparing with what a test expects.

#include "monitor/runscreenlog.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace monitortest {

inline std::optional<QList<QStringList>> logRows(const std::optional<monitor::RundownLogRows>& rows) {
    if (!rows)
        return std::nullopt;
    QList<QStringList> all;
    for (qsizetype i = 0; i < rows->size(); ++i)
        all.append(rows->fields(i));
    return all;
}

} // namespace monitortest
