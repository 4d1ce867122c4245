#pragma once

#include "platform/Forms.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace platform {

class ScreenGrab;

// A loaded picture; pictures are opaque, so what the box shows is exactly its pixels.
using Picture = std::shared_ptr<const QImage>;

// Loads a picture file. Raises a clear failure for a missing, unreadable or broken file
// and for a picture larger than kMaxPictureSide on either side (wider and taller than any
// screen, so that a broken header cannot make us hold gigabytes).
Picture LoadPicture(const std::string& path);
Picture LoadPictureResource(const std::string& resource);
constexpr int kMaxPictureSide = 8192;

// A picture box: a native child window, so that moving it makes the X server carry its
// pixels. Point reads the persistent image with AutoRedraw on, and what the screen shows
// now with it off, from one grab per scan.
class PictureBox : public QWidget {
  public:
    PictureBox(QWidget* parent, int left, int top, int width, int height);
    ~PictureBox() override;

    void SetPicture(const Picture& picture);
    const Picture& GetPicture() const { return picture_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    void SetBackColor(Colour colour);
    void SetForeColor(Colour colour) { foreColor_ = colour; }
    void Cls();
    // New left and top in the parent window's scale units; the size stays.
    void Move(double left, double top);
    Form* Parent() const;
    bool Visible() const { return isVisible(); }
    void SetVisible(bool visible);
    WindowHandle hwnd() { return static_cast<WindowHandle>(winId()); }

    // Colour value of one pixel, in the box's scale units; -1 outside the box.
    Colour Point(double x, double y);

    ClickHandler Click;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int ToPixels(double units) const;
    void FitToPicture();
    const ScreenGrab& CurrentGrab();

    Picture picture_;
    bool autoSize_ = false;
    bool autoRedraw_ = false;
    int scaleMode_ = vbTwips;
    Colour backColor_ = 0x80000005;
    Colour foreColor_ = 0x80000008;
    std::unique_ptr<ScreenGrab> grab_;
    QPoint grabOrigin_;
    uint64_t grabGeneration_ = 0;
    uint64_t grabRound_ = 0;
};

} // namespace platform
