#pragma once
// The windows of the program's shell, provided to the registry by name: the logic-editor chooser, the tool
// EEPROM reader and the connection window. Called by the composition root and by the test fixtures.

namespace app {

class AppContext;

void installWindows(AppContext& ctx);

} // namespace app
