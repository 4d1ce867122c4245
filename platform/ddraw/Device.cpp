#include "platform/ddraw/Device.h"

#include "platform/Errors.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace ddraw {

void RaiseInvalidCall(const QString& text) {
    platform::Raise(platform::ErrInvalidProcedureCall, ("DirectDraw: " + text).toStdString());
}

void RaiseDeviceFailure(const QString& text) {
    platform::Raise(platform::ErrAutomation, ("DirectDraw: " + text).toStdString());
}

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XReply = std::unique_ptr<T, FreeDeleter>;

// Takes a reply; an error is dropped here rather than reported to Qt's event queue.
template <typename T> XReply<T> TakeReply(T* reply, xcb_generic_error_t* error) {
    std::free(error);
    return XReply<T>(reply);
}

// How long a window manager may take to put a window that is being shown on the screen.
constexpr std::chrono::seconds kShowingTime{2};

QString WindowName(uint32_t window) {
    return QStringLiteral("0x%1").arg(window, 0, 16);
}

} // namespace

Device::Device() : display_(platform::X11Display::Current()) {}

Device::~Device() {
    if (context_ && QOpenGLContext::currentContext() == context_ &&
        context_->surface() == surface_.get())
        context_->doneCurrent();
    ownContext_.reset();
    surface_.reset();
}

void Device::SetCooperativeWindow(uint32_t window) {
    xcb_connection_t* c = display_.connection;
    xcb_generic_error_t* error = nullptr;
    auto attributes = TakeReply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error), error);
    if (!attributes)
        RaiseInvalidCall(QStringLiteral("there is no window %1 to set the cooperative level for")
                             .arg(WindowName(window)));
    window_ = window;
}

WindowPlacement Device::CooperativeWindow(bool waitUntilShown) const {
    if (!window_)
        RaiseInvalidCall(QStringLiteral("no cooperative level has been set"));
    xcb_connection_t* c = display_.connection;
    if (waitUntilShown)
        WaitUntilViewable();
    // Three requests, one wait.
    const auto attributesCookie = xcb_get_window_attributes(c, window_);
    const auto geometryCookie = xcb_get_geometry(c, window_);
    const auto originCookie = xcb_translate_coordinates(c, window_, display_.root, 0, 0);
    xcb_generic_error_t* error = nullptr;
    auto attributes =
        TakeReply(xcb_get_window_attributes_reply(c, attributesCookie, &error), error);
    error = nullptr;
    auto geometry = TakeReply(xcb_get_geometry_reply(c, geometryCookie, &error), error);
    error = nullptr;
    auto origin = TakeReply(xcb_translate_coordinates_reply(c, originCookie, &error), error);
    if (!attributes || !geometry || !origin)
        RaiseInvalidCall(
            QStringLiteral("the cooperative window %1 no longer exists").arg(WindowName(window_)));
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        RaiseInvalidCall(QStringLiteral("the cooperative window %1 is not shown, so nothing can "
                                        "be copied to the screen")
                             .arg(WindowName(window_)));
    return {QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height),
            geometry->depth};
}

void Device::WaitUntilViewable() const {
    xcb_connection_t* c = display_.connection;
    const auto deadline = std::chrono::steady_clock::now() + kShowingTime;
    do {
        xcb_generic_error_t* error = nullptr;
        auto attributes = TakeReply(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window_), &error),
            error);
        if (!attributes || attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
}

void Device::PutOnScreen(const QRect& rect, const WindowPlacement& window,
                         std::vector<uint32_t> values) const {
    if (window.depth != display_.format.depth)
        RaiseDeviceFailure(QStringLiteral("the cooperative window has depth %1, the screen %2")
                               .arg(window.depth)
                               .arg(display_.format.depth));
    if (display_.format.serverLsbFirst != (std::endian::native == std::endian::little))
        std::transform(values.begin(), values.end(), values.begin(),
                       [](uint32_t v) { return __builtin_bswap32(v); });

    xcb_connection_t* c = display_.connection;
    const QPoint origin = rect.topLeft() - window.screenRect.topLeft();
    const size_t rowBytes = size_t(rect.width()) * 4;
    // Large images go in strips that fit the server's request size.
    const size_t requestBytes = size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int rowsPerRequest = std::max(1, int(requestBytes / rowBytes));
    const auto* bytes = reinterpret_cast<const uint8_t*>(values.data());

    const uint32_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, window_, 0, nullptr);
    std::vector<xcb_void_cookie_t> cookies;
    for (int row = 0; row < rect.height(); row += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, rect.height() - row);
        cookies.push_back(xcb_put_image_checked(
            c, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc, uint16_t(rect.width()), uint16_t(rows),
            int16_t(origin.x()), int16_t(origin.y() + row), 0, uint8_t(window.depth),
            uint32_t(rows * rowBytes), bytes + row * rowBytes));
    }
    xcb_free_gc(c, gc);
    // Checking the requests waits for the server, so the pixels are drawn on return.
    int errorCode = 0;
    for (const auto& cookie : cookies)
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            errorCode = error->error_code;
            std::free(error);
        }
    if (errorCode)
        RaiseDeviceFailure(QStringLiteral("the X server refused to draw into the cooperative "
                                          "window (X error %1)")
                               .arg(errorCode));
}

QOpenGLContext* Device::Context() {
    if (contextMade_ && !context_)
        RaiseDeviceFailure(QStringLiteral("the OpenGL context of this object no longer exists"));
    if (!contextMade_)
        MakeContext();
    return context_;
}

QSurface* Device::Surface() const {
    return surface_.get();
}

void Device::MakeContext() {
    QOpenGLContext* context = QOpenGLContext::globalShareContext();
    if (!context || !context->isValid()) {
        ownContext_ = std::make_unique<QOpenGLContext>();
        if (!ownContext_->create()) {
            ownContext_.reset();
            RaiseDeviceFailure(QStringLiteral("no OpenGL context can be made on this display, "
                                              "so there are no surfaces in video memory"));
        }
        context = ownContext_.get();
    }
    auto surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(context->format());
    surface->create();
    if (!surface->isValid() || !context->makeCurrent(surface.get()))
        RaiseDeviceFailure(QStringLiteral("OpenGL cannot draw off the screen on this display"));
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferBlit())
        RaiseDeviceFailure(QStringLiteral("the OpenGL renderer \"%1\" cannot copy between "
                                          "framebuffers")
                               .arg(reinterpret_cast<const char*>(
                                   context->functions()->glGetString(GL_RENDERER))));
    surface_ = std::move(surface);
    context_ = context;
    contextMade_ = true;
}

CurrentContext::CurrentContext(Device& device) {
    if (!Enter(device))
        RaiseDeviceFailure(QStringLiteral("the OpenGL context cannot be made current"));
}

CurrentContext::CurrentContext(Device& device, std::nothrow_t) {
    if (device.HasContext())
        Enter(device);
}

bool CurrentContext::Enter(Device& device) {
    previous_ = QOpenGLContext::currentContext();
    previousSurface_ = previous_ ? previous_->surface() : nullptr;
    context_ = device.Context();
    surface_ = device.Surface();
    if ((previous_ != context_ || previousSurface_ != surface_) && !context_->makeCurrent(surface_))
        return false;
    gl_ = context_->extraFunctions();
    // Errors left by other users of a shared context are not ours.
    for (int i = 0; i < 32 && gl_->glGetError() != GL_NO_ERROR; ++i) {
    }
    return true;
}

CurrentContext::~CurrentContext() {
    if (previous_ && (previous_ != context_ || previousSurface_ != surface_))
        previous_->makeCurrent(previousSurface_);
}

void CurrentContext::Check(const QString& doing) const {
    const GLenum error = gl_->glGetError();
    if (error != GL_NO_ERROR)
        RaiseDeviceFailure(
            QStringLiteral("OpenGL error 0x%1 while %2").arg(error, 4, 16, QChar('0')).arg(doing));
}

} // namespace ddraw
