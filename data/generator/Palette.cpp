#include "Palette.h"

QList<QRgb> ClassicColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QList<QRgb> EightBitColours() {
    QList<QRgb> colours = ClassicColours();
    constexpr int CubeSteps[] = {0, 51, 102, 153, 204, 255};
    for (int r : CubeSteps)
        for (int g : CubeSteps)
            for (int b : CubeSteps)
                colours.append(qRgb(r, g, b));
    constexpr int GreyCount = 256 - 16 - 216;
    for (int i = 0; i < GreyCount; ++i) {
        const int level = 8 + i * 10;
        colours.append(qRgb(level, level, level));
    }
    return colours;
}

QList<QRgb> MonoColours() {
    return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}
