#include "platform/ScreenReader.h"

#include "platform/Errors.h"

#include <QGuiApplication>
#include <QString>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace platform {

namespace {

[[noreturn]] void RaiseDisplay(const QString& text) {
    Raise(ErrAutomation, text.toStdString());
}

xcb_connection_t* QtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        RaiseDisplay(QStringLiteral("Reading the screen needs the X11 window system, and the "
                                    "application has no X11 connection"));
    return x11->connection();
}

// The screen Qt connected to: the one the display name selects.
const xcb_screen_t* DefaultScreen(xcb_connection_t* connection) {
    int screenNumber = 0;
    char* host = nullptr;
    int displayNumber = 0;
    const QByteArray displayName = qgetenv("DISPLAY");
    if (!xcb_parse_display(displayName.constData(), &host, &displayNumber, &screenNumber))
        screenNumber = 0;
    std::free(host);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    const xcb_screen_t* first = it.data;
    for (int i = 0; it.rem; xcb_screen_next(&it), ++i)
        if (i == screenNumber)
            return it.data;
    return first;
}

const xcb_visualtype_t* RootVisual(const xcb_screen_t* screen) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen->root_visual)
                return visuals.data;
    }
    return nullptr;
}

// Shift of an 8-bit channel mask, -1 when the mask is not 8 contiguous bits.
int ChannelShift(uint32_t mask) {
    const int shift = mask ? std::countr_zero(mask) : 0;
    return mask && (mask >> shift) == 0xFFu ? shift : -1;
}

PixelFormat ReadPixelFormat(xcb_connection_t* connection, const xcb_screen_t* screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int depth = screen->root_depth;
    int bitsPerPixel = 0;
    int scanlinePad = 0;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats))
        if (formats.data->depth == depth) {
            bitsPerPixel = formats.data->bits_per_pixel;
            scanlinePad = formats.data->scanline_pad;
        }
    const xcb_visualtype_t* visual = RootVisual(screen);
    PixelFormat format;
    format.depth = depth;
    format.serverLsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    if (visual) {
        format.redShift = ChannelShift(visual->red_mask);
        format.greenShift = ChannelShift(visual->green_mask);
        format.blueShift = ChannelShift(visual->blue_mask);
    }
    const bool trueColor = visual && (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                                      visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR);
    if ((depth != 24 && depth != 32) || bitsPerPixel != 32 || scanlinePad > 32 || !trueColor ||
        format.redShift < 0 || format.greenShift < 0 || format.blueShift < 0)
        RaiseDisplay(QStringLiteral("The screen's pixel format cannot be read: depth %1, %2 bits "
                                    "per pixel; only 24- or 32-bit true colour with 8 bits a "
                                    "channel is supported")
                         .arg(depth)
                         .arg(bitsPerPixel));
    return format;
}

X11Display QueryDisplay(xcb_connection_t* connection) {
    const xcb_screen_t* screen = DefaultScreen(connection);
    if (!screen)
        RaiseDisplay(QStringLiteral("The X server offers no screen"));
    X11Display display;
    display.connection = connection;
    display.root = screen->root;
    display.width = screen->width_in_pixels;
    display.height = screen->height_in_pixels;
    display.format = ReadPixelFormat(connection, screen);
    return display;
}

// Pixel values arrive in the server's byte order; reads want the host's.
void ToHostOrder(uint32_t* values, size_t count, const PixelFormat& format) {
    if (format.serverLsbFirst == (std::endian::native == std::endian::little))
        return;
    std::transform(values, values + count, values, [](uint32_t v) { return __builtin_bswap32(v); });
}

} // namespace

const X11Display& X11Display::Current() {
    static X11Display current;
    xcb_connection_t* connection = QtConnection();
    if (current.connection != connection)
        current = QueryDisplay(connection);
    return current;
}

ScreenGrab ScreenGrab::Take(int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        Raise(ErrInvalidProcedureCall, QStringLiteral("A screen grab needs a width and height of "
                                                      "0 or more, not %1 x %2")
                                           .arg(width)
                                           .arg(height)
                                           .toStdString());
    const X11Display& display = X11Display::Current();
    ScreenGrab grab;
    grab.format_ = display.format;
    // The server refuses rectangles that leave the root window, so read only the
    // part on the screen.
    const long long x0 = std::max<long long>(left, 0);
    const long long y0 = std::max<long long>(top, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(left) + width, display.width);
    const long long y1 = std::min<long long>(static_cast<long long>(top) + height, display.height);
    if (x1 <= x0 || y1 <= y0)
        return grab;

    const auto w = static_cast<uint16_t>(x1 - x0);
    const auto h = static_cast<uint16_t>(y1 - y0);
    xcb_generic_error_t* error = nullptr;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        display.connection,
        xcb_get_image(display.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, display.root,
                      static_cast<int16_t>(x0), static_cast<int16_t>(y0), w, h, ~0u),
        &error);
    const int errorCode = error ? error->error_code : 0;
    std::free(error);
    const size_t count = size_t{w} * h;
    if (!reply || static_cast<size_t>(xcb_get_image_data_length(reply)) < count * 4) {
        std::free(reply);
        RaiseDisplay(QStringLiteral("The X server could not read the screen at (%1, %2), %3 x "
                                    "%4 pixels (X error %5)")
                         .arg(x0)
                         .arg(y0)
                         .arg(w)
                         .arg(h)
                         .arg(errorCode));
    }
    auto* values = reinterpret_cast<uint32_t*>(xcb_get_image_data(reply));
    ToHostOrder(values, count, display.format);
    grab.pixels_ =
        std::shared_ptr<const uint32_t>(values, [reply](const uint32_t*) { std::free(reply); });
    grab.left_ = static_cast<int>(x0);
    grab.top_ = static_cast<int>(y0);
    grab.width_ = w;
    grab.height_ = h;
    return grab;
}

void SyncWithServer() {
    xcb_connection_t* connection = X11Display::Current().connection;
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace platform
