#pragma once
// Waiting in tests: runs the event loop until a condition holds or a time runs out.

#include <functional>

namespace testsupport {

// True when cond held within ms milliseconds.
bool waitFor(const std::function<bool()>& cond, int ms = 2000);

} // namespace testsupport
