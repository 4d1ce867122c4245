#include "platform/PictureBox.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/ScreenReader.h"

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>

namespace platform {

namespace {

[[noreturn]] void RaiseTooLarge(const std::string& name, long long width, long long height) {
    Raise(ErrOutOfMemory, "Picture too large: " + name + " is " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels; a picture may be at most " +
                              std::to_string(kMaxPictureSide) + " x " +
                              std::to_string(kMaxPictureSide) + ", more than any screen shows");
}

bool TooLarge(long long width, long long height) {
    return width > kMaxPictureSide || height > kMaxPictureSide;
}

// The size a bitmap file's header declares; the reader gives no size for headers it refuses,
// and those include the oversized ones.
void CheckBitmapHeader(const QString& path, const std::string& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray head = file.read(26);
    if (head.size() < 26 || !head.startsWith("BM"))
        return;
    const char* info = head.constData() + 14;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    long long width = 0;
    long long height = 0;
    if (infoSize == 12) {
        width = qFromLittleEndian<quint16>(info + 4);
        height = qFromLittleEndian<quint16>(info + 6);
    } else if (infoSize >= 40) {
        width = std::llabs(qFromLittleEndian<qint32>(info + 4));
        height = std::llabs(qFromLittleEndian<qint32>(info + 8));
    }
    if (TooLarge(width, height))
        RaiseTooLarge(name, width, height);
}

// Counts the rounds of event handling. Other programs' windows change the screen without
// telling us, so a grab lasts at most until events are handled again.
uint64_t eventRounds = 0;
void CountEventRounds() {
    static bool counting = false;
    if (!counting)
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
            QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [] { ++eventRounds; });
            counting = true;
        }
}

Picture Decode(QImageReader& reader, const std::string& name) {
    const QSize size = reader.size();
    if (size.isValid() && TooLarge(size.width(), size.height()))
        RaiseTooLarge(name, size.width(), size.height());
    // Room for the largest picture we take, 4 bytes a pixel.
    constexpr int kLimitMegabytes = kMaxPictureSide / 1024 * kMaxPictureSide / 1024 * 4;
    if (QImageReader::allocationLimit() < kLimitMegabytes)
        QImageReader::setAllocationLimit(kLimitMegabytes);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        Raise(ErrInvalidPicture,
              "Invalid picture: " + name + " (" + FromQ(reader.errorString()) + ")");
    if (TooLarge(image.width(), image.height()))
        RaiseTooLarge(name, image.width(), image.height());
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
    CheckBitmapHeader(resolved, path);
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

inline int PictureBox::ToPixels(double units) const {
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

inline const ScreenGrab& PictureBox::CurrentGrab() {
    if (!grab_ || grabGeneration_ != ScreenGeneration() || grabRound_ != eventRounds) {
        CountEventRounds();
        // The box's screen place is as current as the grab: both are renewed together.
        grabOrigin_ = mapToGlobal(QPoint(0, 0));
        grab_ = std::make_unique<ScreenGrab>(
            ScreenGrab::Take(grabOrigin_.x(), grabOrigin_.y(), width(), height()));
        grabGeneration_ = ScreenGeneration();
        grabRound_ = eventRounds;
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
