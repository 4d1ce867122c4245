// The floor of the start-up's work: a bare window of the main window's size and an
// OpenGL context holding three 320 x 240 framebuffers.
#include "bench/startup/ProbeReport.h"
#include "platform/Application.h"

#include <QApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QWidget>

#include <memory>
#include <vector>

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv);
    QWidget window;
    window.setFixedSize(495, 334);
    window.show();
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext* context = QOpenGLContext::globalShareContext();
    std::unique_ptr<QOpenGLContext> own;
    if (!context) {
        own = std::make_unique<QOpenGLContext>();
        own->create();
        context = own.get();
    }
    context->makeCurrent(&surface);
    std::vector<std::unique_ptr<QOpenGLFramebufferObject>> buffers;
    for (int i = 0; i < 3; ++i)
        buffers.push_back(std::make_unique<QOpenGLFramebufferObject>(320, 240));
    QCoreApplication::processEvents();
    ReportReadyAndEnd();
}
