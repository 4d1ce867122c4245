#pragma once

#include <QByteArray>
#include <QImage>

// Encodes a picture as an uncompressed bottom-up BMP with a BITMAPINFOHEADER, the way
// the common paint programs save it. bitsPerPixel is 1, 8, 24 or 32; for 1 and 8 the
// picture must already be Format_Mono or Format_Indexed8, whose colour table becomes
// the BMP palette.
QByteArray EncodeBmp(const QImage& picture, int bitsPerPixel);
