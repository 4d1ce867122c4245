#include "platform/PictureBox.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/ScreenReader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace platform {

namespace {

Picture Decode(QImageReader& reader, const std::string& name) {
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        Raise(ErrOutOfMemory, "Picture too large: " + name + " is " + std::to_string(size.width()) +
                                  " x " + std::to_string(size.height()) + " pixels (at most " +
                                  std::to_string(kMaxPictureSide) + " on a side)");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        Raise(ErrInvalidPicture,
              "Invalid picture: " + name + " (" + FromQ(reader.errorString()) + ")");
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        Raise(ErrOutOfMemory, "Picture too large: " + name);
    return std::make_shared<const QImage>(image.convertToFormat(QImage::Format_RGB32));
}

} // namespace

Picture LoadPicture(const std::string& path) {
    const QString resolved = QString::fromLocal8Bit(ResolvePath(path));
    const QFileInfo info(resolved);
    if (!info.exists())
        Raise(ErrFileNotFound, "File not found: " + path);
    if (!info.isFile())
        Raise(ErrPermissionDenied, "Not a picture file: " + path + " is a folder");
    if (!info.isReadable())
        Raise(ErrPermissionDenied, "Permission denied: " + path);
    QImageReader reader(resolved);
    reader.setDecideFormatFromContent(true);
    return Decode(reader, path);
}

Picture LoadPictureResource(const std::string& resource) {
    QImageReader reader(ToQ(resource));
    return Decode(reader, resource);
}

PictureBox::PictureBox(QWidget* parent, int left, int top, int width, int height)
    : QWidget(parent) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                TwipsToPixels(height));
}

PictureBox::~PictureBox() = default;

void PictureBox::SetPicture(const Picture& picture) {
    picture_ = picture;
    if (autoSize_)
        FitToPicture();
    update();
    ScreenMayHaveChanged();
}

void PictureBox::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on)
        FitToPicture();
}

void PictureBox::FitToPicture() {
    if (picture_)
        resize(picture_->size());
    ScreenMayHaveChanged();
}

int PictureBox::ToPixels(double units) const {
    return scaleMode_ == vbPixels ? static_cast<int>(units)
                                  : static_cast<int>(units / kTwipsPerPixel);
}

double PictureBox::ScaleWidth() const {
    return scaleMode_ == vbPixels ? width() : static_cast<double>(width()) * kTwipsPerPixel;
}

double PictureBox::ScaleHeight() const {
    return scaleMode_ == vbPixels ? height() : static_cast<double>(height()) * kTwipsPerPixel;
}

void PictureBox::SetBackColor(Colour colour) {
    backColor_ = colour;
    update();
}

void PictureBox::Cls() {
    update();
    ScreenMayHaveChanged();
}

void PictureBox::Move(double left, double top) {
    const Form* form = Parent();
    const int x = form ? form->ToPixels(left) : static_cast<int>(left);
    const int y = form ? form->ToPixels(top) : static_cast<int>(top);
    move(x, y);
    ScreenMayHaveChanged();
}

Form* PictureBox::Parent() const {
    return dynamic_cast<Form*>(parentWidget());
}

void PictureBox::SetVisible(bool visible) {
    setVisible(visible);
    ScreenMayHaveChanged();
}

const ScreenGrab& PictureBox::CurrentGrab() {
    if (!grab_ || grabGeneration_ != ScreenGeneration()) {
        // The box's screen place is as current as the grab: both are renewed together.
        grabOrigin_ = mapToGlobal(QPoint(0, 0));
        grab_ = std::make_unique<ScreenGrab>(
            ScreenGrab::Take(grabOrigin_.x(), grabOrigin_.y(), width(), height()));
        grabGeneration_ = ScreenGeneration();
    }
    return *grab_;
}

Colour PictureBox::Point(double x, double y) {
    const int px = ToPixels(x);
    const int py = ToPixels(y);
    if (px < 0 || py < 0 || px >= width() || py >= height() || x < 0 || y < 0)
        return -1;
    if (autoRedraw_) {
        if (!picture_ || px >= picture_->width() || py >= picture_->height()) {
            const QColor back = ToQColor(backColor_);
            return back.red() | (back.green() << 8) | (back.blue() << 16);
        }
        const QRgb rgb = picture_->pixel(px, py);
        return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
    }
    const ScreenGrab& grab = CurrentGrab();
    return grab.Pixel(grabOrigin_.x() + px, grabOrigin_.y() + py);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(backColor_));
    if (picture_)
        painter.drawImage(0, 0, *picture_);
    ScreenMayHaveChanged();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && Click)
        RunHandler(Click);
}

} // namespace platform
