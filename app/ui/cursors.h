#pragma once
// The mouse pointer while the program works: the hourglass over a command or a load, and the ordinary
// pointer over a box or viewer the user must handle while it is shown.

namespace app {

// Sets the hourglass once and restores it once.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// While the program shows its busy pointer, the window the user must answer shows the ordinary one.
class ArrowCursor {
public:
    ArrowCursor();
    ~ArrowCursor();
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;

private:
    bool pushed_;
};

} // namespace app
