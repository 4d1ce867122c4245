#pragma once

#include <string>

namespace platform {

// A plain modal message box with an OK button, titled with the program's name.
void MsgBox(const std::string& prompt);

} // namespace platform
