#pragma once

#include <QByteArray>

// The fields of a BMP's file and info headers that the tests check.
struct BmpHeader {
    bool complete = false;
    char magic[2] = {};
    quint32 fileSize = 0;
    quint32 pixelOffset = 0;
    quint32 infoSize = 0;
    qint32 width = 0;
    qint32 height = 0;
    quint16 planes = 0;
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
};

BmpHeader ReadBmpHeader(const QByteArray& bytes);

// Bytes of one stored row: whole pixels, padded to 4 bytes.
quint32 BmpRowBytes(const BmpHeader& header);
