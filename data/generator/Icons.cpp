#include "Icons.h"

#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace {

const QColor Black(0, 0, 0);
const QColor Green(0, 128, 0);
const QColor Grey(128, 128, 128);
const QColor Silver(192, 192, 192);
const QColor White(255, 255, 255);

struct ScreenShape {
    QRect bezel;
    QRect screen;
    int gridStep;
    QRect neck;
    QRect foot;
};

ScreenShape ScreenShapeFor(int size) {
    if (size == 32)
        return {QRect(1, 2, 30, 22), QRect(4, 5, 24, 16), 4, QRect(13, 24, 6, 3),
                QRect(8, 27, 16, 3)};
    if (size == 16)
        return {QRect(0, 1, 16, 12), QRect(2, 3, 12, 8), 4, QRect(6, 13, 4, 1),
                QRect(3, 14, 10, 2)};
    throw std::invalid_argument("icons come in 32 x 32 and 16 x 16 only");
}

QImage BlankIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    return icon;
}

void FillFramed(QPainter& painter, const QRect& area, const QColor& fill, const QColor& edge) {
    painter.fillRect(area, edge);
    painter.fillRect(area.adjusted(1, 1, -1, -1), fill);
}

void DrawGrid(QPainter& painter, const QRect& screen, int step) {
    painter.setPen(Green);
    for (int x = screen.left() + step / 2; x <= screen.right(); x += step)
        painter.drawLine(x, screen.top(), x, screen.bottom());
    for (int y = screen.top() + step / 2; y <= screen.bottom(); y += step)
        painter.drawLine(screen.left(), y, screen.right(), y);
}

// One and a half periods of a sine across the screen, joined pixel to pixel.
void DrawWave(QPainter& painter, const QRect& screen) {
    painter.setPen(White);
    const double middle = screen.top() + (screen.height() - 1) / 2.0;
    const double amplitude = (screen.height() - 3) / 2.0;
    QPoint previous;
    for (int x = screen.left(); x <= screen.right(); ++x) {
        const double phase = 3 * std::numbers::pi * (x - screen.left()) / (screen.width() - 1);
        const QPoint point(x, static_cast<int>(std::lround(middle - amplitude * std::sin(phase))));
        painter.drawLine(x == screen.left() ? point : previous, point);
        previous = point;
    }
}

// A lying spanner centred on the origin: open jaw on the right, ring on the left. The
// ring's hole only shows at the larger size.
QPainterPath SpannerOutline(bool withRingHole) {
    QPainterPath body;
    body.setFillRule(Qt::WindingFill); // the parts overlap and must join
    body.addRect(QRectF(-11, -3, 20, 6));
    body.addEllipse(QPointF(9.5, 0), 7, 7);
    body.addEllipse(QPointF(-11.5, 0), 5, 5);
    QPainterPath cuts;
    cuts.addRect(QRectF(9, -2.5, 10, 5));
    if (withRingHole)
        cuts.addEllipse(QPointF(-11.5, 0), 2.5, 2.5);
    return body.simplified().subtracted(cuts);
}

// Colours the solid pixels that touch a clear one, for an outline that hugs the shape.
void DarkenEdges(QImage& icon, const QColor& edge) {
    const QImage shape = icon.copy();
    const auto clear = [&shape](int x, int y) {
        return !shape.rect().contains(x, y) || qAlpha(shape.pixel(x, y)) == 0;
    };
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (!clear(x, y) &&
                (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                icon.setPixel(x, y, edge.rgb());
}

// Icons keep to the sixteen classic colours and to fully clear or fully solid pixels.
void SnapToClassicColours(QImage& icon) {
    const QList<QRgb> palette = ClassicColours();
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                icon.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            QRgb nearest = palette.front();
            int nearestDistance = std::numeric_limits<int>::max();
            for (QRgb colour : palette) {
                const int dr = qRed(colour) - qRed(pixel);
                const int dg = qGreen(colour) - qGreen(pixel);
                const int db = qBlue(colour) - qBlue(pixel);
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < nearestDistance) {
                    nearest = colour;
                    nearestDistance = distance;
                }
            }
            icon.setPixel(x, y, nearest);
        }
}

} // namespace

QImage PaintMainIcon(int size) {
    const ScreenShape shape = ScreenShapeFor(size);
    QImage icon = BlankIcon(size);
    QPainter painter(&icon);
    FillFramed(painter, shape.neck, Grey, Black);
    FillFramed(painter, shape.foot, Grey, Black);
    FillFramed(painter, shape.bezel, Silver, Black);
    painter.fillRect(shape.screen, Black);
    DrawGrid(painter, shape.screen, shape.gridStep);
    DrawWave(painter, shape.screen);
    painter.end();
    SnapToClassicColours(icon);
    return icon;
}

QImage PaintMonitorIcon(int size) {
    if (size != 32 && size != 16)
        throw std::invalid_argument("icons come in 32 x 32 and 16 x 16 only");
    QImage icon = BlankIcon(size);
    QPainter painter(&icon);
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(size / 36.0, size / 36.0);
    painter.rotate(-45);
    painter.fillPath(SpannerOutline(size >= 32), Silver);
    painter.end();
    DarkenEdges(icon, Grey);
    SnapToClassicColours(icon);
    return icon;
}
