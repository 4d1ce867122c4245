#include "engine/clsCorvantis.h"

#include "platform/Errors.h"
#include "platform/Palette.h"
#include "platform/Runtime.h"

using platform::Raise;

namespace {
// Every copy and the lock cover the cover window's 320 x 240 pixels.
const ddraw::RECT kTestArea{0, 0, 320, 240};
} // namespace

platform::Form& clsCorvantis::RequireDXTestBed() const {
    if (!DXTestBed)
        Raise(platform::ErrObjectRequired, "Object required: no DirectDraw cover window set");
    return *DXTestBed;
}

ddraw::DirectDrawSurface7&
clsCorvantis::RequireSurface(const std::shared_ptr<ddraw::DirectDrawSurface7>& surface) const {
    if (!surface)
        Raise(platform::ErrObjectRequired,
              "Object required: the DirectDraw surfaces were not created");
    return *surface;
}

bool clsCorvantis::DirectXReady() const {
    return Buffers[0] && Buffers[1] && Buffers[2] && Primary;
}

void clsCorvantis::SetDXTestBed(platform::Form* objWindow) {
    DXTestBed = objWindow;
    platform::Form& window = RequireDXTestBed();
    platform::SetWindowTopmost(window.hwnd());
    window.SetLeft(0);
    window.SetTop(0);
    window.SetWidth(4800);
    window.SetHeight(3600);
}

void clsCorvantis::DirectX_Init() {
    if (!DX)
        DX = std::make_unique<ddraw::DirectX7>();
    DDraw = DX->DirectDrawCreate("");
    DDraw->SetCooperativeLevel(RequireDXTestBed().hwnd(), ddraw::DDSCL_NORMAL);
    BufferDesc.lFlags = ddraw::DDSD_CAPS | ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH;
    BufferDesc.lHeight = 240;
    BufferDesc.lWidth = 320;
    BufferDesc.ddsCaps.lCaps = ddraw::DDSCAPS_VIDEOMEMORY;
    for (auto& buffer : Buffers)
        buffer = DDraw->CreateSurface(BufferDesc);
    PrimaryDesc.lFlags = ddraw::DDSD_CAPS;
    PrimaryDesc.ddsCaps.lCaps = ddraw::DDSCAPS_PRIMARYSURFACE;
    Primary = DDraw->CreateSurface(PrimaryDesc);
}

void clsCorvantis::PrepareDXBuffers() {
    for (int i = 0; i <= 1; ++i) {
        ddraw::DirectDrawSurface7& buffer = RequireSurface(Buffers[static_cast<size_t>(i)]);
        buffer.SetFillColor(platform::QBColor(2));
        buffer.SetForeColor(platform::QBColor(2));
        buffer.DrawBox(0, 0, 320, 240);
    }
    ConsoleTextAdd("DirectX flip buffers initialized");
}

void clsCorvantis::SwapBuffers() {
    ddraw::RECT area = kTestArea;
    RequireSurface(Buffers[2]).Blt(area, RequireSurface(Buffers[0]), area, ddraw::DDBLT_WAIT);
    RequireSurface(Buffers[0]).Blt(area, RequireSurface(Buffers[1]), area, ddraw::DDBLT_WAIT);
    RequireSurface(Buffers[1]).Blt(area, RequireSurface(Buffers[2]), area, ddraw::DDBLT_WAIT);
}

void clsCorvantis::BltFront() {
    ddraw::RECT area = kTestArea;
    RequireSurface(Primary).Blt(area, RequireSurface(Buffers[1]), area, ddraw::DDBLT_WAIT);
}

void clsCorvantis::LockPrimary() {
    LockRect.Right = 320;
    LockRect.Bottom = 240;
    RequireSurface(Primary).Lock(LockRect, PrimaryDesc, ddraw::DDLOCK_WAIT,
                                 RequireDXTestBed().hwnd());
}

int32_t clsCorvantis::ReadLockedPixel(int32_t dx, int32_t dy) {
    return RequireSurface(Primary).GetLockedPixel(dx, dy);
}

void clsCorvantis::UnlockPrimary() {
    RequireSurface(Primary).Unlock(LockRect);
}

ddraw::DirectDrawSurface7& clsCorvantis::GetBuffer(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Buffers.size()))
        Raise(platform::ErrSubscriptOutOfRange, "Subscript out of range");
    return RequireSurface(Buffers[static_cast<size_t>(Index)]);
}
