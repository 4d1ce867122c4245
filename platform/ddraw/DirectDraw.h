#pragma once

// What the engine needs of DirectDraw 7: one object for the default display at the normal
// cooperative level, off-screen surfaces in video memory (OpenGL framebuffer textures),
// the primary surface (the screen), copies, a box in fill and outline colours, and locked
// read-back of the screen. Every failure raises platform::RuntimeError.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ddraw {

// Which fields of a surface description are valid.
inline constexpr int32_t DDSD_CAPS = 0x1;
inline constexpr int32_t DDSD_HEIGHT = 0x2;
inline constexpr int32_t DDSD_WIDTH = 0x4;
inline constexpr int32_t DDSD_PITCH = 0x8;
inline constexpr int32_t DDSD_PIXELFORMAT = 0x1000;

// Surface capabilities.
inline constexpr int32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
inline constexpr int32_t DDSCAPS_PRIMARYSURFACE = 0x200;
inline constexpr int32_t DDSCAPS_VIDEOMEMORY = 0x4000;

inline constexpr int32_t DDSCL_NORMAL = 0x8;
inline constexpr int32_t DDBLT_WAIT = 0x01000000;
inline constexpr int32_t DDLOCK_WAIT = 0x1;
inline constexpr int32_t DDPF_RGB = 0x40;

// Right and bottom are exclusive. A rectangle of all zeros means the whole surface.
struct RECT {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct DDSCAPS2 {
    int32_t lCaps = 0;
    int32_t lCaps2 = 0;
    int32_t lCaps3 = 0;
    int32_t lCaps4 = 0;
};

// Where the colour channels sit in a stored pixel value.
struct DDPIXELFORMAT {
    int32_t lFlags = 0;
    int32_t lRGBBitCount = 0;
    int32_t lRBitMask = 0;
    int32_t lGBitMask = 0;
    int32_t lBBitMask = 0;
};

struct DDSURFACEDESC2 {
    int32_t lFlags = 0;
    int32_t lHeight = 0;
    int32_t lWidth = 0;
    int32_t lPitch = 0;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

class Device;
class DirectDraw7;

class DirectDrawSurface7 {
  public:
    ~DirectDrawSurface7();
    DirectDrawSurface7(const DirectDrawSurface7&) = delete;
    DirectDrawSurface7& operator=(const DirectDrawSurface7&) = delete;

    // Colours are 0x00BBGGRR.
    void SetFillColor(int32_t color);
    void SetForeColor(int32_t color);
    // A box over x1..x2-1, y1..y2-1: a one-pixel outline in the fore colour around a
    // fill in the fill colour, clipped to the surface. Off-screen surfaces only.
    void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    // Copies sourceRect of source onto destRect of this surface and returns when the copy
    // is done; between off-screen surfaces a GPU copy (stretched when the sizes differ),
    // onto the primary surface visible in the cooperative window before it returns. With
    // DDBLT_WAIT a copy onto the primary surface waits a little for a cooperative window
    // that is still being shown.
    void Blt(const RECT& destRect, DirectDrawSurface7& source, const RECT& sourceRect,
             int32_t flags);

    // Reads the rectangle as the surface holds it now: for the primary surface, what the
    // screen shows, in one grab. hEvent is not used.
    void Lock(const RECT& rect, DDSURFACEDESC2& desc, int32_t flags, uint64_t hEvent);
    // The stored value of pixel (x, y), surface coordinates, inside the locked rectangle.
    // The value's layout is desc.ddpfPixelFormat; equal colours give equal values.
    int32_t GetLockedPixel(int32_t x, int32_t y) const;
    // rect must be the locked rectangle.
    void Unlock(const RECT& rect);

    void GetSurfaceDesc(DDSURFACEDESC2& desc) const;

    // Colour values 0x00BBGGRR of the whole off-screen surface, row by row.
    std::vector<int32_t> ReadColors() const;

  private:
    friend class DirectDraw7;
    struct Impl;
    explicit DirectDrawSurface7(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

class DirectDraw7 {
  public:
    ~DirectDraw7();
    DirectDraw7(const DirectDraw7&) = delete;
    DirectDraw7& operator=(const DirectDraw7&) = delete;

    // hwnd is the X window id of the window that the primary surface paints into.
    void SetCooperativeLevel(uint64_t hwnd, int32_t flags);
    std::shared_ptr<DirectDrawSurface7> CreateSurface(const DDSURFACEDESC2& desc);

    // The OpenGL renderer that holds the off-screen surfaces.
    std::string DeviceDescription();
    // Returns when every copy issued so far has finished on the device.
    void WaitUntilIdle();

  private:
    friend class DirectX7;
    explicit DirectDraw7(std::shared_ptr<Device> device);
    std::shared_ptr<Device> device_;
};

class DirectX7 {
  public:
    // guid empty: the default display, the only one there is.
    std::shared_ptr<DirectDraw7> DirectDrawCreate(const std::string& guid);
};

} // namespace ddraw
