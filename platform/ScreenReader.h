#pragma once

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace platform {

// How the screen stores a colour in a pixel value (8 bits per channel, 32 bits per pixel).
struct PixelFormat {
    int depth = 24;
    int redShift = 16;
    int greenShift = 8;
    int blueShift = 0;
    bool serverLsbFirst = true; // byte order of pixel values on the wire

    uint32_t ValueMask() const { return depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1u; }
    uint32_t RedMask() const { return 0xFFu << redShift; }
    uint32_t GreenMask() const { return 0xFFu << greenShift; }
    uint32_t BlueMask() const { return 0xFFu << blueShift; }

    // Colour value 0x00BBGGRR to the stored value and back.
    uint32_t FromColor(int32_t color) const {
        const auto c = static_cast<uint32_t>(color);
        return ((c & 0xFFu) << redShift) | (((c >> 8) & 0xFFu) << greenShift) |
               (((c >> 16) & 0xFFu) << blueShift);
    }
    int32_t ToColor(uint32_t value) const {
        return static_cast<int32_t>(((value >> redShift) & 0xFFu) |
                                    (((value >> greenShift) & 0xFFu) << 8) |
                                    (((value >> blueShift) & 0xFFu) << 16));
    }
};

// The X server the application talks to, on Qt's own connection so that every request
// sent before (moves, paints) is handled before ours.
struct X11Display {
    xcb_connection_t* connection = nullptr;
    uint32_t root = 0;
    int width = 0; // root window, screen pixels
    int height = 0;
    PixelFormat format;

    // Fails when the application has no X11 connection or the screen's visual is not
    // one we read.
    static const X11Display& Current();
};

// One grab of a screen rectangle: what the X server's framebuffer showed at the time of
// the call. Answers any number of pixel reads without another round trip.
class ScreenGrab {
  public:
    ScreenGrab() = default;

    // Rectangle in screen pixels; parts off the screen read as -1.
    static ScreenGrab Take(int left, int top, int width, int height);

    // Colour value 0x00BBGGRR at screen position (x, y); -1 outside the rectangle or
    // outside the screen.
    int32_t Pixel(int x, int y) const { return Holds(x, y) ? format_.ToColor(Stored(x, y)) : -1; }
    // The value as the screen stores it (see PixelFormat); 0 where Pixel gives -1.
    uint32_t RawPixel(int x, int y) const { return Holds(x, y) ? Stored(x, y) : 0u; }

    // True where the grab holds a screen pixel: inside the rectangle and on the screen.
    bool Holds(int x, int y) const {
        return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_;
    }
    const PixelFormat& Format() const { return format_; }

  private:
    uint32_t Stored(int x, int y) const {
        return pixels_.get()[(y - top_) * width_ + (x - left_)] & format_.ValueMask();
    }

    // The part of the requested rectangle that lies on the screen.
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_;
    std::shared_ptr<const uint32_t> pixels_; // rows of width_ values, host byte order
};

// Waits until the X server has handled everything sent so far (one round trip).
void SyncWithServer();

} // namespace platform
