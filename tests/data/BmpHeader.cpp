#include "BmpHeader.h"

#include <QtEndian>

namespace {

template <typename T> T LittleEndianAt(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

BmpHeader ReadBmpHeader(const QByteArray& bytes) {
    BmpHeader header;
    if (bytes.size() < 54)
        return header;
    header.complete = true;
    header.magic[0] = bytes[0];
    header.magic[1] = bytes[1];
    header.fileSize = LittleEndianAt<quint32>(bytes, 2);
    header.pixelOffset = LittleEndianAt<quint32>(bytes, 10);
    header.infoSize = LittleEndianAt<quint32>(bytes, 14);
    header.width = LittleEndianAt<qint32>(bytes, 18);
    header.height = LittleEndianAt<qint32>(bytes, 22);
    header.planes = LittleEndianAt<quint16>(bytes, 26);
    header.bitsPerPixel = LittleEndianAt<quint16>(bytes, 28);
    header.compression = LittleEndianAt<quint32>(bytes, 30);
    return header;
}

quint32 BmpRowBytes(const BmpHeader& header) {
    const quint32 bits = static_cast<quint32>(header.width) * header.bitsPerPixel;
    return (bits + 31) / 32 * 4;
}
