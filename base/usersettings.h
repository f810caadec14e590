#pragma once
// The user's settings store (section "Settings"): where windows keep their choices, such as a serial
// device or where a window stood when it closed.

#include <QSettings>

#include <memory>

namespace base {

std::unique_ptr<QSettings> userSettingsStore();

} // namespace base
