// The pictures built into the programs, read back from the resources.

#include "BmpHeader.h"
#include "data/resources/TwResources.h"

#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

constexpr int MarginWidth = 8;

QByteArray ResourceBytes(const char* path) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool InMargin(const QImage& picture, int x, int y) {
    return x < MarginWidth || y < MarginWidth || x >= picture.width() - MarginWidth ||
           y >= picture.height() - MarginWidth;
}

bool RowHasInk(const QImage& picture, int y) {
    for (int x = 0; x < picture.width(); ++x)
        if (qRed(picture.pixel(x, y)) != 0)
            return true;
    return false;
}

struct RowRun {
    int first;
    int last;
};

QList<RowRun> InkedRowRuns(const QImage& picture) {
    QList<RowRun> runs;
    for (int y = 0; y < picture.height(); ++y) {
        if (!RowHasInk(picture, y))
            continue;
        if (!runs.isEmpty() && runs.back().last == y - 1)
            runs.back().last = y;
        else
            runs.append({y, y});
    }
    return runs;
}

} // namespace

TEST(MonitorPicture, IsAnUncompressed24BitBmpOfTheExpectedSize) {
    const QByteArray bytes = ResourceBytes(twresources::MonitorPicture);
    ASSERT_EQ(bytes.size(), 25894);
    const BmpHeader header = ReadBmpHeader(bytes);
    EXPECT_EQ(QByteArray(header.magic, 2), "BM");
    EXPECT_EQ(header.fileSize, 25894u);
    EXPECT_EQ(header.pixelOffset, 54u);
    EXPECT_EQ(header.infoSize, 40u);
    EXPECT_EQ(header.width, 113);
    EXPECT_EQ(header.height, 76);
    EXPECT_EQ(header.bitsPerPixel, 24);
    EXPECT_EQ(header.compression, 0u);

    const QImage picture = QImage::fromData(bytes, "BMP");
    EXPECT_EQ(picture.size(), QSize(113, 76));
}

TEST(MonitorPicture, IsSixteenGreysWithABlackMargin) {
    const QImage picture = QImage::fromData(ResourceBytes(twresources::MonitorPicture), "BMP");
    ASSERT_FALSE(picture.isNull());
    QSet<int> levels;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel))
                << "not a grey at " << x << "," << y;
            levels.insert(qRed(pixel));
            if (InMargin(picture, x, y)) {
                ASSERT_EQ(qRed(pixel), 0) << "margin not black at " << x << "," << y;
            }
        }
    EXPECT_EQ(levels.size(), 16);
    EXPECT_TRUE(levels.contains(0));
    EXPECT_TRUE(levels.contains(255));
}

// Three lines of capitals about 12 rows high, in the bands the monitor's layout expects,
// each centred.
TEST(MonitorPicture, ShowsThreeCentredLinesInTheirBands) {
    const QImage picture = QImage::fromData(ResourceBytes(twresources::MonitorPicture), "BMP");
    ASSERT_FALSE(picture.isNull());
    const QList<RowRun> runs = InkedRowRuns(picture);
    const RowRun bands[] = {{11, 22}, {30, 41}, {49, 60}};
    ASSERT_EQ(runs.size(), 3);
    for (int line = 0; line < 3; ++line) {
        EXPECT_GE(runs[line].first, bands[line].first) << "line " << line;
        EXPECT_LE(runs[line].last, bands[line].last) << "line " << line;
        EXPECT_GE(runs[line].last - runs[line].first + 1, 11) << "line " << line;

        int left = picture.width();
        int right = -1;
        bool white = false;
        for (int y = runs[line].first; y <= runs[line].last; ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qRed(picture.pixel(x, y)) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    white = white || qRed(picture.pixel(x, y)) == 255;
                }
        EXPECT_TRUE(white) << "line " << line;
        EXPECT_LE(std::abs(left - (picture.width() - 1 - right)), 2) << "line " << line;
    }
}

struct IconCase {
    const char* path;
    int size;
    QList<QRgb> mustShow;
};

class Icon : public testing::TestWithParam<IconCase> {};

TEST_P(Icon, HasItsSizeAndOnlyClassicColours) {
    const QList<QRgb> classic = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    const QImage icon(QString::fromLatin1(GetParam().path));
    ASSERT_EQ(icon.size(), QSize(GetParam().size, GetParam().size));
    QSet<QRgb> shown;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            ASSERT_EQ(qAlpha(pixel), 255) << "half-transparent at " << x << "," << y;
            ASSERT_TRUE(classic.contains(pixel)) << "not a classic colour at " << x << "," << y;
            shown.insert(pixel);
        }
    for (QRgb colour : GetParam().mustShow)
        EXPECT_TRUE(shown.contains(colour)) << std::hex << colour;
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Green = qRgb(0, 128, 0);
const QRgb Silver = qRgb(192, 192, 192);
const QRgb Grey = qRgb(128, 128, 128);

INSTANTIATE_TEST_SUITE_P(
    BuiltIn, Icon,
    testing::Values(IconCase{twresources::MainIcon32, 32, {White, Green, Silver}},
                    IconCase{twresources::MainIcon16, 16, {White, Green, Silver}},
                    IconCase{twresources::MonitorIcon32, 32, {Silver, Grey}},
                    IconCase{twresources::MonitorIcon16, 16, {Silver, Grey}}));
