#pragma once

#include <memory>

class QApplication;

namespace platform {

// Creates the application object the way both programs need it: device pixels,
// the X11 platform, OpenGL contexts shared with the web view.
std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);

// Runs the event loop until the program ends; returns the exit status.
int RunEventLoop();

} // namespace platform
