#pragma once
// The live-monitor window's set-up operations, which its launcher calls before the window is shown.

namespace app {

class MonitorWindow {
public:
    virtual ~MonitorWindow() = default;
    virtual void SetFaults(bool on) = 0;
    virtual void SetRundown(bool on) = 0;
};

} // namespace app
