#pragma once

#include <QList>
#include <QRgb>

// The sixteen colours of the classic VGA palette, in their usual order.
QList<QRgb> ClassicColours();

// A 256-entry table for 8-bit pictures: the classic colours, a 6 x 6 x 6 colour cube
// and a grey ramp.
QList<QRgb> EightBitColours();

// Black and white, for 1-bit pictures.
QList<QRgb> MonoColours();
