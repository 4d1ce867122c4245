#pragma once

#include <memory>

class QApplication;

namespace platform {

// What a program draws with beyond plain widgets.
enum class Graphics {
    SharedOpenGL, // OpenGL contexts shared with the web view
    WidgetsOnly,  // no OpenGL context is made at start: far less memory
};

// Creates the application object the way both programs need it: device pixels,
// the X11 platform, and the graphics the program draws with.
std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv,
                                                Graphics graphics = Graphics::SharedOpenGL);

// Runs the event loop until the program ends; returns the exit status.
int RunEventLoop();

} // namespace platform
