#include "Pictures.h"

#include "Palette.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <functional>
#include <map>
#include <stdexcept>

namespace {

using Painter = std::function<void(QImage&)>;

int Spread(int position, int extent) {
    return extent > 1 ? 255 * position / (extent - 1) : 0;
}

// Eight full-strength bars over a grey ramp, the classic alignment picture.
void PaintColourBars(QImage& picture) {
    const QRgb bars[] = {qRgb(255, 255, 255), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(0, 255, 0),
                         qRgb(255, 0, 255),   qRgb(255, 0, 0),   qRgb(0, 0, 255),   qRgb(0, 0, 0)};
    const int rampTop = picture.height() * 3 / 4;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int grey = Spread(x, picture.width());
            picture.setPixel(x, y,
                             y < rampTop ? bars[x * 8 / picture.width()] : qRgb(grey, grey, grey));
        }
}

void PaintGradient(QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int red = Spread(x, picture.width());
            const int green = Spread(y, picture.height());
            picture.setPixel(x, y, qRgb(red, green, 255 - (red + green) / 2));
        }
}

// Single-pixel black and white checks: the finest pattern a screen can show.
void PaintChecker(QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
}

// Two-pixel checks running through the classic colours, so neighbours always differ.
void PaintColourChecker(QImage& picture) {
    const QList<QRgb> colours = ClassicColours();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int cell = x / 2 + 3 * (y / 2);
            picture.setPixel(x, y, colours[cell % colours.size()]);
        }
}

// Fixed seed, so every build makes the same noise.
void PaintNoise(QImage& picture) {
    QRandomGenerator random(0x7A5E0000u + static_cast<quint32>(picture.width() * 512) +
                            static_cast<quint32>(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFFu));
}

void PaintText(QImage& picture) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    const char* const line = "The quick brown fox jumps over the lazy dog. 0123456789";
    int baseline = 0;
    for (int pixelSize = 7; baseline < picture.height(); pixelSize += 1) {
        QFont font(pixelSize % 2 ? "Liberation Sans" : "Liberation Serif");
        font.setPixelSize(pixelSize);
        painter.setFont(font);
        baseline += pixelSize + 2;
        painter.drawText(2, baseline, QString::fromLatin1(line));
    }
}

// A bold word filling the picture, black on white, for pictures without greys.
void PaintLabel(QImage& picture) {
    picture.fill(Qt::white);
    QFont font("Liberation Sans");
    font.setBold(true);
    font.setPixelSize(64);
    QPainterPath word;
    word.addText(0, 0, font, QStringLiteral("TARNWICK"));
    const QRectF wordBox = word.boundingRect();
    const QRectF target = QRectF(picture.rect()).adjusted(2, 2, -2, -2);
    QPainter painter(&picture);
    painter.translate(target.topLeft());
    painter.scale(target.width() / wordBox.width(), target.height() / wordBox.height());
    painter.translate(-wordBox.topLeft());
    painter.fillPath(word, Qt::black);
}

// Aliased one-pixel circles and a fan of coloured lines: fine detail in every direction.
void PaintHairlines(QImage& picture) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    painter.setPen(QPen(Qt::black, 0));
    for (int radius = 2; radius < picture.width(); radius += 3)
        painter.drawEllipse(centre, radius, radius);
    const QColor fanColours[] = {Qt::red, Qt::darkGreen, Qt::blue};
    int colour = 0;
    for (int x = 0; x < picture.width(); x += 6) {
        painter.setPen(QPen(fanColours[colour++ % 3], 0));
        painter.drawLine(0, picture.height() - 1, x, 0);
    }
}

const std::map<QString, Painter>& Painters() {
    static const std::map<QString, Painter> painters = {
        {"bars", PaintColourBars}, {"gradient", PaintGradient},
        {"checker", PaintChecker}, {"colourchecker", PaintColourChecker},
        {"noise", PaintNoise},     {"text", PaintText},
        {"label", PaintLabel},     {"hairlines", PaintHairlines},
    };
    return painters;
}

QImage ToMono(const QImage& picture) {
    QImage mono(picture.size(), QImage::Format_Mono);
    mono.setColorTable(MonoColours());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            mono.setPixel(x, y, qGray(picture.pixel(x, y)) >= 128 ? 1 : 0);
    return mono;
}

} // namespace

QStringList PictureKinds() {
    QStringList kinds;
    for (const auto& entry : Painters())
        kinds.append(entry.first);
    return kinds;
}

QImage PaintPicture(const QString& kind, QSize size) {
    const auto painter = Painters().find(kind);
    if (painter == Painters().end())
        throw std::invalid_argument("unknown picture \"" + kind.toStdString() + "\"");
    if (size.isEmpty())
        throw std::invalid_argument("a picture needs a width and a height of at least 1");
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    painter->second(picture);
    return picture;
}

QImage ForDepth(const QImage& picture, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return ToMono(picture);
    case 8:
        return picture.convertToFormat(QImage::Format_Indexed8, EightBitColours(),
                                       Qt::ThresholdDither | Qt::AvoidDither);
    case 24:
    case 32:
        return picture;
    default:
        throw std::invalid_argument("BMP depth must be 1, 8, 24 or 32 bits per pixel");
    }
}
