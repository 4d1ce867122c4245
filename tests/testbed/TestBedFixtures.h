#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QtEndian>

#include "platform/ScreenReader.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <ostream>

namespace testbed {

// Pictures below keep their red channel under 128, so every pixel differs from the cover.
constexpr QRgb kCoverColour = qRgb(255, 0, 0);

inline QImage PatternPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 0x7F, (y * 5 + 40) & 0xFF, (x + y * 3) & 0xFF));
    return image;
}

inline bool SaveBmp(const QString& path, const QImage& image) {
    return image.save(path, "BMP");
}

// The 54 bytes of a 24-bit bitmap's headers declaring the given size, with no pixel data.
inline QByteArray BmpHeaderOnly(qint32 width, qint32 height) {
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(54, bytes.data() + 2);
    qToLittleEndian<quint32>(54, bytes.data() + 10);
    qToLittleEndian<quint32>(40, bytes.data() + 14);
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    qToLittleEndian<quint16>(1, bytes.data() + 26);
    qToLittleEndian<quint16>(24, bytes.data() + 28);
    return bytes;
}

// What the X server shows there, read through Qt's own grab of the root window.
inline QImage ScreenImage(const QRect& rect) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

inline int CountColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

// Whether the window's state asks the window manager to keep it above the ordinary windows.
inline bool HasAboveState(WId window) {
    xcb_connection_t* connection = platform::X11Display::Current().connection;
    const auto atom = [&](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t value = reply ? reply->atom : 0;
        std::free(reply);
        return value;
    };
    const xcb_atom_t above = atom("_NET_WM_STATE_ABOVE");
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                                                atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
                               nullptr);
    bool found = false;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
            found = found || atoms[i] == above;
    }
    std::free(reply);
    return found;
}

// A second top-level window of one colour, kept above the ordinary windows and the test bed.
class CoverWindow : public QWidget {
  public:
    CoverWindow()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(kCoverColour));
        setPalette(palette);
        setAutoFillBackground(true);
    }

    // Covers a rectangle of the screen; true once the window manager has taken the window
    // on (it activates new windows) and the screen shows it there, whole.
    bool CoverScreen(const QRect& rect) {
        setGeometry(rect);
        show();
        raise();
        activateWindow();
        return QTest::qWaitForWindowActive(this, 10000) &&
               QTest::qWaitFor(
                   [&] {
                       return CountColour(ScreenImage(rect), kCoverColour) ==
                              rect.width() * rect.height();
                   },
                   10000);
    }

    // True once the screen no longer shows the cover anywhere it stood.
    bool Uncover() {
        const QRect rect = geometry();
        hide();
        return QTest::qWaitFor([&] { return CountColour(ScreenImage(rect), kCoverColour) == 0; },
                               10000);
    }
};

} // namespace testbed

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& lines, std::ostream* out) {
    *out << "\n  \"" << lines.join("\"\n  \"").toStdString() << "\"";
}
inline void PrintTo(const QPoint& point, std::ostream* out) {
    *out << '(' << point.x() << ", " << point.y() << ')';
}
