#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

// Names of the pictures the bitmap sets are made of.
QStringList PictureKinds();

// Paints the picture named kind at the given size, as an RGB32 image. Throws
// std::invalid_argument for a name that PictureKinds() does not list.
QImage PaintPicture(const QString& kind, QSize size);

// Brings a painted picture into the layout that a BMP of that depth stores: black and
// white for 1 bit, the nearest colours of EightBitColours() for 8 bits.
QImage ForDepth(const QImage& picture, int bitsPerPixel);
