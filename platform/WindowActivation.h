#pragma once

#include "platform/Runtime.h"

#include <string>
#include <vector>

namespace platform {

// The top-level windows the window manager lists whose title is exactly `title`,
// in the manager's order (oldest first).
std::vector<WindowHandle> FindWindowsByTitle(const std::string& title);

// Asks the window manager to bring the window titled `title` to the front and give it
// the focus. Raises when there is no such window.
void AppActivate(const std::string& title);

} // namespace platform
