#include "platform/ddraw/DirectDraw.h"

#include "platform/Errors.h"
#include "platform/ScreenReader.h"
#include "platform/ddraw/Device.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include <algorithm>
#include <limits>

namespace ddraw {

namespace {

QString Describe(const QRect& r) {
    return QStringLiteral("(%1, %2)-(%3, %4)")
        .arg(r.left())
        .arg(r.top())
        .arg(r.left() + r.width())
        .arg(r.top() + r.height());
}

QString Describe(const RECT& r) {
    return QStringLiteral("(%1, %2)-(%3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
}

std::unique_ptr<QOpenGLFramebufferObject> NewFramebuffer(const QSize& size) {
    return std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::NoAttachment,
                                                      GL_TEXTURE_2D, GL_RGBA8);
}

void Copy(QOpenGLFramebufferObject* target, const QRect& targetRect,
          QOpenGLFramebufferObject* source, const QRect& sourceRect) {
    // Surface rows are framebuffer rows from 0 up; nothing here is shown by OpenGL, so
    // no flip is needed anywhere.
    QOpenGLFramebufferObject::blitFramebuffer(
        target, targetRect, source, sourceRect, GL_COLOR_BUFFER_BIT, GL_NEAREST, 0, 0,
        QOpenGLFramebufferObject::RestoreFramebufferBindingToDefault);
}

} // namespace

struct DirectDrawSurface7::Impl {
    std::shared_ptr<Device> device;
    bool primary = false;
    QSize size;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer; // off-screen surfaces
    int32_t fillColor = 0;
    int32_t foreColor = 0;

    bool locked = false;
    QRect lockRect;
    platform::ScreenGrab screenLock;   // primary surface
    std::vector<uint32_t> surfaceLock; // off-screen: rows of lockRect's width

    ~Impl() {
        if (framebuffer) {
            CurrentContext current(*device, std::nothrow);
            framebuffer.reset();
        }
    }

    QString Name() const {
        return (primary ? QStringLiteral("the %1 x %2 screen")
                        : QStringLiteral("the %1 x %2 surface"))
            .arg(size.width())
            .arg(size.height());
    }

    QRect Area(const RECT& r, const QString& role) const {
        if (r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0)
            return {QPoint(0, 0), size};
        if (r.Right <= r.Left || r.Bottom <= r.Top)
            RaiseInvalidCall(QStringLiteral("the %1 rectangle %2 is empty").arg(role, Describe(r)));
        if (r.Left < 0 || r.Top < 0 || r.Right > size.width() || r.Bottom > size.height())
            RaiseInvalidCall(QStringLiteral("the %1 rectangle %2 lies outside %3")
                                 .arg(role, Describe(r), Name()));
        return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
    }

    void RequireOffScreen(const QString& doing) const {
        if (primary)
            RaiseInvalidCall(
                QStringLiteral("%1 is not supported on the primary surface").arg(doing));
    }

    void RequireUnlocked(const QString& doing) const {
        if (locked)
            RaiseInvalidCall(
                QStringLiteral("%1 is locked; unlock it before %2").arg(Name(), doing));
    }

    void Bind() const {
        if (!framebuffer->bind())
            RaiseDeviceFailure(QStringLiteral("%1 cannot be bound for drawing").arg(Name()));
    }

    void Fill(QOpenGLExtraFunctions& gl, const QRect& rect, int32_t color) const {
        const QRect clipped = rect.intersected({QPoint(0, 0), size});
        if (clipped.isEmpty())
            return;
        gl.glScissor(clipped.x(), clipped.y(), clipped.width(), clipped.height());
        gl.glClearColor(float(color & 0xFF) / 255.f, float((color >> 8) & 0xFF) / 255.f,
                        float((color >> 16) & 0xFF) / 255.f, 1.f);
        gl.glClear(GL_COLOR_BUFFER_BIT);
    }

    void Clear() const {
        CurrentContext current(*device);
        Bind();
        current.Gl().glDisable(GL_SCISSOR_TEST);
        Fill(current.Gl(), {QPoint(0, 0), size}, 0);
        framebuffer->release();
        current.Check(QStringLiteral("making a surface"));
    }

    std::vector<int32_t> ReadColors(const QRect& rect) const {
        CurrentContext current(*device);
        QOpenGLExtraFunctions& gl = current.Gl();
        std::vector<uint8_t> bytes(size_t(rect.width()) * size_t(rect.height()) * 4);
        Bind();
        gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
        gl.glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        gl.glReadPixels(rect.x(), rect.y(), rect.width(), rect.height(), GL_RGBA, GL_UNSIGNED_BYTE,
                        bytes.data());
        framebuffer->release();
        current.Check(QStringLiteral("reading %1 back").arg(Name()));
        std::vector<int32_t> colors(bytes.size() / 4);
        for (size_t i = 0; i < colors.size(); ++i)
            colors[i] = int32_t(bytes[4 * i]) | int32_t(bytes[4 * i + 1]) << 8 |
                        int32_t(bytes[4 * i + 2]) << 16;
        return colors;
    }

    std::vector<uint32_t> ReadValues(const QRect& rect) const {
        const std::vector<int32_t> colors = ReadColors(rect);
        const platform::PixelFormat& format = device->Display().format;
        std::vector<uint32_t> values(colors.size());
        std::transform(colors.begin(), colors.end(), values.begin(),
                       [&format](int32_t color) { return format.FromColor(color); });
        return values;
    }

    void CopyFrom(const QRect& to, const Impl& source, const QRect& from) {
        CurrentContext current(*device);
        if (&source == this) {
            // Overlapping copies within one framebuffer are undefined in OpenGL.
            auto scratch = NewFramebuffer(from.size());
            const QRect whole(QPoint(0, 0), from.size());
            Copy(scratch.get(), whole, source.framebuffer.get(), from);
            Copy(framebuffer.get(), to, scratch.get(), whole);
        } else {
            Copy(framebuffer.get(), to, source.framebuffer.get(), from);
        }
        current.Check(QStringLiteral("copying between surfaces"));
    }

    void CopyToScreen(const QRect& to, const Impl& source, const QRect& from, bool wait) {
        if (to.size() != from.size())
            RaiseInvalidCall(QStringLiteral("a copy to the screen keeps its size: source %1, "
                                            "destination %2")
                                 .arg(Describe(from), Describe(to)));
        const WindowPlacement window = device->CooperativeWindow(wait);
        if (!window.screenRect.contains(to))
            RaiseInvalidCall(QStringLiteral("the destination rectangle %1 is not inside the "
                                            "cooperative window, which covers %2")
                                 .arg(Describe(to), Describe(window.screenRect)));
        device->PutOnScreen(to, window, source.ReadValues(from));
    }
};

DirectDrawSurface7::DirectDrawSurface7(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

DirectDrawSurface7::~DirectDrawSurface7() = default;

void DirectDrawSurface7::SetFillColor(int32_t color) {
    impl_->fillColor = color;
}

void DirectDrawSurface7::SetForeColor(int32_t color) {
    impl_->foreColor = color;
}

void DirectDrawSurface7::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Impl& s = *impl_;
    s.RequireOffScreen(QStringLiteral("drawing a box"));
    s.RequireUnlocked(QStringLiteral("drawing on it"));
    // Far-off corners are pulled in to just outside the surface, where an outline
    // stays invisible.
    const auto clampX = [&](int32_t x) { return std::clamp(x, -1, s.size.width() + 1); };
    const auto clampY = [&](int32_t y) { return std::clamp(y, -1, s.size.height() + 1); };
    const int left = clampX(std::min(x1, x2));
    const int right = clampX(std::max(x1, x2));
    const int top = clampY(std::min(y1, y2));
    const int bottom = clampY(std::max(y1, y2));
    const QRect box(left, top, right - left, bottom - top);
    if (box.isEmpty())
        return;

    CurrentContext current(*s.device);
    QOpenGLExtraFunctions& gl = current.Gl();
    s.Bind();
    gl.glEnable(GL_SCISSOR_TEST);
    s.Fill(gl, box, s.fillColor);
    s.Fill(gl, {left, top, box.width(), 1}, s.foreColor);
    s.Fill(gl, {left, bottom - 1, box.width(), 1}, s.foreColor);
    s.Fill(gl, {left, top, 1, box.height()}, s.foreColor);
    s.Fill(gl, {right - 1, top, 1, box.height()}, s.foreColor);
    gl.glDisable(GL_SCISSOR_TEST);
    s.framebuffer->release();
    current.Check(QStringLiteral("drawing a box"));
}

void DirectDrawSurface7::Blt(const RECT& destRect, DirectDrawSurface7& source,
                             const RECT& sourceRect, int32_t flags) {
    Impl& target = *impl_;
    const Impl& from = *source.impl_;
    if (flags & ~DDBLT_WAIT)
        RaiseInvalidCall(QStringLiteral("Blt flags 0x%1 are not supported; only DDBLT_WAIT is")
                             .arg(uint32_t(flags), 0, 16));
    if (from.device != target.device)
        RaiseInvalidCall(QStringLiteral("the source surface belongs to another DirectDraw object"));
    if (from.primary)
        RaiseInvalidCall(QStringLiteral("copying from the primary surface is not supported"));
    from.RequireUnlocked(QStringLiteral("copying from it"));
    target.RequireUnlocked(QStringLiteral("copying onto it"));
    const QRect sourceArea = from.Area(sourceRect, QStringLiteral("source"));
    const QRect targetArea = target.Area(destRect, QStringLiteral("destination"));
    if (target.primary)
        target.CopyToScreen(targetArea, from, sourceArea, flags & DDBLT_WAIT);
    else
        target.CopyFrom(targetArea, from, sourceArea);
}

void DirectDrawSurface7::Lock(const RECT& rect, DDSURFACEDESC2& desc, int32_t /*flags*/,
                              uint64_t /*hEvent*/) {
    Impl& s = *impl_;
    if (s.locked)
        RaiseInvalidCall(QStringLiteral("%1 is already locked; unlock it first").arg(s.Name()));
    const QRect area = s.Area(rect, QStringLiteral("lock"));
    if (s.primary)
        s.screenLock = platform::ScreenGrab::Take(area.x(), area.y(), area.width(), area.height());
    else
        s.surfaceLock = s.ReadValues(area);
    s.lockRect = area;
    s.locked = true;
    GetSurfaceDesc(desc);
}

int32_t DirectDrawSurface7::GetLockedPixel(int32_t x, int32_t y) const {
    const Impl& s = *impl_;
    if (!s.locked)
        RaiseInvalidCall(
            QStringLiteral("%1 is not locked; lock it before reading pixels").arg(s.Name()));
    if (!s.lockRect.contains(x, y))
        RaiseInvalidCall(QStringLiteral("pixel (%1, %2) lies outside the locked rectangle %3")
                             .arg(x)
                             .arg(y)
                             .arg(Describe(s.lockRect)));
    if (s.primary)
        return int32_t(s.screenLock.RawPixel(x, y));
    return int32_t(s.surfaceLock[size_t(y - s.lockRect.y()) * size_t(s.lockRect.width()) +
                                 size_t(x - s.lockRect.x())]);
}

void DirectDrawSurface7::Unlock(const RECT& rect) {
    Impl& s = *impl_;
    if (!s.locked)
        RaiseInvalidCall(QStringLiteral("%1 is not locked").arg(s.Name()));
    const QRect area = s.Area(rect, QStringLiteral("unlock"));
    if (area != s.lockRect)
        RaiseInvalidCall(QStringLiteral("the unlock rectangle %1 is not the locked rectangle %2")
                             .arg(Describe(area), Describe(s.lockRect)));
    s.locked = false;
    s.screenLock = {};
    s.surfaceLock.clear();
}

void DirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2& desc) const {
    const Impl& s = *impl_;
    const platform::PixelFormat& format = s.device->Display().format;
    desc = {};
    desc.lFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.lWidth = s.size.width();
    desc.lHeight = s.size.height();
    desc.lPitch = s.size.width() * 4;
    desc.ddsCaps.lCaps =
        DDSCAPS_VIDEOMEMORY | (s.primary ? DDSCAPS_PRIMARYSURFACE : DDSCAPS_OFFSCREENPLAIN);
    desc.ddpfPixelFormat = {DDPF_RGB, 32, int32_t(format.RedMask()), int32_t(format.GreenMask()),
                            int32_t(format.BlueMask())};
}

std::vector<int32_t> DirectDrawSurface7::ReadColors() const {
    impl_->RequireOffScreen(QStringLiteral("reading colours back"));
    return impl_->ReadColors({QPoint(0, 0), impl_->size});
}

DirectDraw7::DirectDraw7(std::shared_ptr<Device> device) : device_(std::move(device)) {}

DirectDraw7::~DirectDraw7() = default;

void DirectDraw7::SetCooperativeLevel(uint64_t hwnd, int32_t flags) {
    if (!(flags & DDSCL_NORMAL))
        RaiseInvalidCall(QStringLiteral("only the normal cooperative level (DDSCL_NORMAL) is "
                                        "supported; the display mode is never changed"));
    if (hwnd == 0 || hwnd > std::numeric_limits<uint32_t>::max())
        RaiseInvalidCall(QStringLiteral("0x%1 is not a window handle").arg(hwnd, 0, 16));
    device_->SetCooperativeWindow(uint32_t(hwnd));
}

std::shared_ptr<DirectDrawSurface7> DirectDraw7::CreateSurface(const DDSURFACEDESC2& desc) {
    if (!device_->HasCooperativeLevel())
        RaiseInvalidCall(QStringLiteral("set the cooperative level before creating surfaces"));
    if (!(desc.lFlags & DDSD_CAPS))
        RaiseInvalidCall(
            QStringLiteral("the surface description gives no capabilities (DDSD_CAPS)"));
    auto impl = std::make_unique<DirectDrawSurface7::Impl>();
    impl->device = device_;
    if (desc.ddsCaps.lCaps & DDSCAPS_PRIMARYSURFACE) {
        if (desc.lFlags & (DDSD_WIDTH | DDSD_HEIGHT))
            RaiseInvalidCall(QStringLiteral("the primary surface is the whole screen and takes "
                                            "no width or height"));
        impl->primary = true;
        impl->size = device_->ScreenRect().size();
    } else {
        const bool sized = (desc.lFlags & (DDSD_WIDTH | DDSD_HEIGHT)) == (DDSD_WIDTH | DDSD_HEIGHT);
        if (!sized || desc.lWidth <= 0 || desc.lHeight <= 0)
            RaiseInvalidCall(QStringLiteral("an off-screen surface needs a width and a height "
                                            "above 0 (DDSD_WIDTH, DDSD_HEIGHT), not %1 x %2")
                                 .arg(desc.lWidth)
                                 .arg(desc.lHeight));
        impl->size = QSize(desc.lWidth, desc.lHeight);
        CurrentContext current(*device_);
        GLint largest = 0;
        current.Gl().glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
        if (desc.lWidth > largest || desc.lHeight > largest)
            RaiseInvalidCall(QStringLiteral("%1 is larger than the device's largest, %2 x %2")
                                 .arg(impl->Name())
                                 .arg(largest));
        impl->framebuffer = NewFramebuffer(impl->size);
        if (!impl->framebuffer->isValid())
            platform::Raise(platform::ErrOutOfMemory,
                            QStringLiteral("DirectDraw: not enough video memory for %1")
                                .arg(impl->Name())
                                .toStdString());
        // The device leaves new memory undefined; a surface starts black.
        impl->Clear();
    }
    return std::shared_ptr<DirectDrawSurface7>(new DirectDrawSurface7(std::move(impl)));
}

std::string DirectDraw7::DeviceDescription() {
    CurrentContext current(*device_);
    const auto* renderer = reinterpret_cast<const char*>(current.Gl().glGetString(GL_RENDERER));
    return renderer ? renderer : "";
}

void DirectDraw7::WaitUntilIdle() {
    CurrentContext current(*device_);
    current.Gl().glFinish();
    current.Check(QStringLiteral("waiting for the device"));
}

std::shared_ptr<DirectDraw7> DirectX7::DirectDrawCreate(const std::string& guid) {
    if (!guid.empty())
        RaiseInvalidCall(QStringLiteral("there is no display device \"%1\"; only the default "
                                        "display (an empty identifier) exists")
                             .arg(QString::fromStdString(guid)));
    return std::shared_ptr<DirectDraw7>(new DirectDraw7(std::make_shared<Device>()));
}

} // namespace ddraw
