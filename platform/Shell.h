#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Window states a started program is asked to take.
enum AppWinStyle { vbHide = 0, vbNormalFocus = 1, vbMinimizedFocus = 2, vbMaximizedFocus = 3 };

// Starts a program file as a detached process and returns its process id. The name is
// found without regard to case; a name ending in ".exe" that matches nothing is tried
// without it. Raises "File not found" or the reason it could not start.
int64_t Shell(const std::string& pathName, int windowStyle = vbNormalFocus);

} // namespace platform
