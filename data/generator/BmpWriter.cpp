#include "BmpWriter.h"

#include <QDataStream>
#include <QIODevice>

#include <stdexcept>

namespace {

constexpr quint32 FileHeaderSize = 14;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint32 PixelsPerMetre = 2835; // 72 dpi

quint32 RowBytes(int width, int bitsPerPixel) {
    const quint32 bits = static_cast<quint32>(width) * static_cast<quint32>(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

QImage::Format RequiredIndexedFormat(int bitsPerPixel) {
    return bitsPerPixel == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
}

void WriteHeaders(QDataStream& out, const QImage& picture, int bitsPerPixel,
                  quint32 paletteEntries) {
    const quint32 pixelOffset = FileHeaderSize + InfoHeaderSize + paletteEntries * 4;
    const quint32 imageSize = RowBytes(picture.width(), bitsPerPixel) * picture.height();
    // BITMAPFILEHEADER
    out << quint8('B') << quint8('M') << pixelOffset + imageSize << quint16(0) << quint16(0)
        << pixelOffset;
    // BITMAPINFOHEADER, BI_RGB: positive height means the rows run bottom-up
    out << InfoHeaderSize << qint32(picture.width()) << qint32(picture.height()) << quint16(1)
        << quint16(bitsPerPixel) << quint32(0) << imageSize << PixelsPerMetre << PixelsPerMetre
        << paletteEntries << quint32(0);
}

void WritePalette(QDataStream& out, const QList<QRgb>& colours) {
    for (QRgb colour : colours)
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
}

void WriteIndexedRow(QDataStream& out, const QImage& picture, int y, int bitsPerPixel) {
    quint8 pending = 0;
    int pendingBits = 0;
    for (int x = 0; x < picture.width(); ++x) {
        pending = static_cast<quint8>(pending << bitsPerPixel | picture.pixelIndex(x, y));
        pendingBits += bitsPerPixel;
        if (pendingBits == 8) {
            out << pending;
            pending = 0;
            pendingBits = 0;
        }
    }
    if (pendingBits > 0)
        out << static_cast<quint8>(pending << (8 - pendingBits));
}

void WriteTrueColourRow(QDataStream& out, const QImage& picture, int y, int bitsPerPixel) {
    for (int x = 0; x < picture.width(); ++x) {
        const QRgb colour = picture.pixel(x, y);
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour));
        if (bitsPerPixel == 32)
            out << quint8(0);
    }
}

} // namespace

QByteArray EncodeBmp(const QImage& picture, int bitsPerPixel) {
    const bool indexed = bitsPerPixel == 1 || bitsPerPixel == 8;
    if (!indexed && bitsPerPixel != 24 && bitsPerPixel != 32)
        throw std::invalid_argument("BMP depth must be 1, 8, 24 or 32 bits per pixel");
    if (indexed && picture.format() != RequiredIndexedFormat(bitsPerPixel))
        throw std::invalid_argument("an indexed BMP needs a picture with a matching colour table");
    if (picture.isNull())
        throw std::invalid_argument("cannot encode an empty picture");

    const QList<QRgb> palette = indexed ? picture.colorTable() : QList<QRgb>{};
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    WriteHeaders(out, picture, bitsPerPixel, static_cast<quint32>(palette.size()));
    WritePalette(out, palette);

    const quint32 rowBytes = RowBytes(picture.width(), bitsPerPixel);
    for (int y = picture.height() - 1; y >= 0; --y) {
        const qsizetype rowStart = bytes.size();
        if (indexed)
            WriteIndexedRow(out, picture, y, bitsPerPixel);
        else
            WriteTrueColourRow(out, picture, y, bitsPerPixel);
        while (static_cast<quint32>(bytes.size() - rowStart) < rowBytes)
            out << quint8(0);
    }
    return bytes;
}
