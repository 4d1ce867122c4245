#pragma once

// Inside the DirectDraw layer: the OpenGL context of one DirectDraw object and the X11
// side of its primary surface.

#include "platform/ScreenReader.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLExtraFunctions;
class QSurface;

namespace ddraw {

[[noreturn]] void RaiseInvalidCall(const QString& text);
[[noreturn]] void RaiseDeviceFailure(const QString& text);

// Where the cooperative window stands on the screen now.
struct WindowPlacement {
    QRect screenRect;
    int depth = 0;
};

class Device {
  public:
    Device();
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const platform::X11Display& Display() const { return display_; }
    QRect ScreenRect() const { return {0, 0, display_.width, display_.height}; }

    void SetCooperativeWindow(uint32_t window);
    bool HasCooperativeLevel() const { return window_ != 0; }
    // Fails when the window is gone or not shown. A window being shown is mapped by the
    // window manager in its own time; waitUntilShown gives it that time.
    WindowPlacement CooperativeWindow(bool waitUntilShown = false) const;
    // Puts screen pixel values (rows of rect's width) into the cooperative window at
    // rect (screen coordinates) and waits until the server has drawn them.
    void PutOnScreen(const QRect& rect, const WindowPlacement& window,
                     std::vector<uint32_t> values) const;

    // The context, made on first use: Qt's global share context when there is one, so
    // the program holds one OpenGL context, else one of our own.
    QOpenGLContext* Context();
    QSurface* Surface() const;
    bool HasContext() const { return contextMade_ && context_; }

  private:
    void MakeContext();
    void WaitUntilViewable() const;

    platform::X11Display display_;
    uint32_t window_ = 0;
    bool contextMade_ = false;
    QPointer<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLContext> ownContext_;
    std::unique_ptr<QOffscreenSurface> surface_;
};

// Makes the device's context current for a scope and puts back whatever other context was
// current before.
class CurrentContext {
  public:
    // Fails when the context cannot be made or made current.
    explicit CurrentContext(Device& device);
    // For clean-up: Ok() tells whether the context is current.
    CurrentContext(Device& device, std::nothrow_t);
    ~CurrentContext();
    CurrentContext(const CurrentContext&) = delete;
    CurrentContext& operator=(const CurrentContext&) = delete;

    bool Ok() const { return gl_ != nullptr; }
    QOpenGLExtraFunctions& Gl() const { return *gl_; }
    // Fails with the first OpenGL error raised since the scope began.
    void Check(const QString& doing) const;

  private:
    bool Enter(Device& device);

    QOpenGLContext* previous_ = nullptr;
    QSurface* previousSurface_ = nullptr;
    QOpenGLContext* context_ = nullptr;
    QSurface* surface_ = nullptr;
    QOpenGLExtraFunctions* gl_ = nullptr;
};

} // namespace ddraw
