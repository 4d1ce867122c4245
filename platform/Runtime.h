#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Native window handle (the X window id).
using WindowHandle = uint64_t;

struct POINTAPI {
    int32_t x = 0;
    int32_t y = 0;
};

// Processes all pending events, paints included, and returns.
void DoEvents();

// Counts everything that may have changed the screen (moves, pumps, paints, pictures):
// a screen grab taken at an older count is stale.
namespace detail {
extern uint64_t screenGeneration;
}
// Inline: a scan asks once per pixel.
inline uint64_t ScreenGeneration() {
    return detail::screenGeneration;
}
inline void ScreenMayHaveChanged() {
    ++detail::screenGeneration;
}

// The clock the programs show: seconds since midnight.
double Timer();
// A clock that never goes back, for waiting.
double MonotonicSeconds();
// Waits the given time while handling events, without holding a core.
void PumpEventsFor(double seconds);

// The folder of the running program, ending in "/".
std::string AppPath();

// True when another copy of this program already runs on this display (a lock in the
// runtime folder).
bool AnotherInstanceRunning(const std::string& programName);

// Ends the program at once: no unload handling runs.
[[noreturn]] void End(int status = 0);

// Keeps a window above all ordinary windows without moving or sizing it.
void SetWindowTopmost(WindowHandle hwnd);

// The cursor's screen position in pixels.
void GetCursorPos(POINTAPI& point);

} // namespace platform
