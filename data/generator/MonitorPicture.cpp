#include "MonitorPicture.h"

#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr int PictureWidth = 113;
constexpr int PictureHeight = 76;
constexpr int CapitalHeight = 12;
constexpr int WidestLine = 93; // leaves at least 10 black columns on either side
constexpr int GreyLevels = 16;

struct TextLine {
    const char* text;
    int top;
};
constexpr std::array<TextLine, 3> Lines = {{{"MONITORING", 11}, {"FOR", 30}, {"ARTIFACTS...", 49}}};

QFont CapitalsFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(64); // drawn large as outlines, then scaled down
    if (QFontInfo(font).family() != QStringLiteral("Liberation Sans"))
        throw std::runtime_error("the font \"Liberation Sans\" is not installed "
                                 "(package fonts-liberation)");
    return font;
}

QPainterPath Outline(const QFont& font, const char* text) {
    QPainterPath path;
    path.addText(0, 0, font, QString::fromLatin1(text));
    return path;
}

// Snaps every grey to one of 16 evenly spaced levels, black and white included.
void Quantise(QImage& picture) {
    constexpr int Step = 255 / (GreyLevels - 1);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int level = (qGray(picture.pixel(x, y)) + Step / 2) / Step;
            const int grey = level * Step;
            picture.setPixel(x, y, qRgb(grey, grey, grey));
        }
}

} // namespace

QImage PaintMonitorPicture() {
    const QFont font = CapitalsFont();
    std::array<QPainterPath, Lines.size()> outlines;
    qreal widest = 0;
    qreal tallest = 0;
    for (size_t i = 0; i < Lines.size(); ++i) {
        outlines[i] = Outline(font, Lines[i].text);
        widest = std::max(widest, outlines[i].boundingRect().width());
        tallest = std::max(tallest, outlines[i].boundingRect().height());
    }
    // One scale for all lines keeps the letters alike; the long lines are narrowed to fit.
    const qreal vertical = CapitalHeight / tallest;
    const qreal horizontal = std::min(vertical, WidestLine / widest);

    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < Lines.size(); ++i) {
        const QRectF box = outlines[i].boundingRect();
        const qreal left = (PictureWidth - box.width() * horizontal) / 2;
        painter.resetTransform();
        painter.translate(left, Lines[i].top);
        painter.scale(horizontal, vertical);
        painter.translate(-box.topLeft());
        painter.fillPath(outlines[i], Qt::white);
    }
    painter.end();
    Quantise(picture);
    return picture;
}
