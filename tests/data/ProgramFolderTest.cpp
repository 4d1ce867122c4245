// The program folder as the build stages it.

#include "BmpHeader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QDir ProgramDir(QStringLiteral(TW_PROGRAM_DIR));

QByteArray ProgramFile(const QString& name) {
    QFile file(ProgramDir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool EveryLineEndsInCrLf(const QByteArray& text) {
    const qsizetype lineEnds = text.count("\r\n");
    return text.endsWith("\r\n") && text.count('\r') == lineEnds && text.count('\n') == lineEnds;
}

QStringList SetNames() {
    QStringList names = QString::fromLatin1(ProgramFile(QStringLiteral("bitmapsets.ini")))
                            .split(QStringLiteral("\r\n"));
    if (!names.isEmpty() && names.back().isEmpty())
        names.removeLast();
    return names;
}

QStringList BitmapPaths() {
    QStringList paths;
    for (const QString& set : SetNames()) {
        const QDir folder(ProgramDir.filePath(set));
        for (const QString& name : folder.entryList({QStringLiteral("*.bmp")}, QDir::Files))
            paths.append(folder.filePath(name));
    }
    return paths;
}

QString SizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

} // namespace

TEST(SetFiles, ListSetFoldersAndNameOneOfThemAsCurrent) {
    const QByteArray list = ProgramFile(QStringLiteral("bitmapsets.ini"));
    EXPECT_TRUE(EveryLineEndsInCrLf(list));
    const QStringList sets = SetNames();
    ASSERT_GE(sets.size(), 3);
    for (const QString& set : sets) {
        EXPECT_FALSE(set.isEmpty());
        EXPECT_TRUE(QFileInfo(ProgramDir.filePath(set)).isDir()) << set.toStdString();
        EXPECT_FALSE(QDir(ProgramDir.filePath(set)).entryList({"*.bmp"}, QDir::Files).isEmpty())
            << set.toStdString();
    }
    EXPECT_TRUE(std::any_of(sets.begin(), sets.end(),
                            [](const QString& set) { return set.contains(' '); }));

    const QByteArray current = ProgramFile(QStringLiteral("Curset.ini"));
    ASSERT_TRUE(current.endsWith("\r\n"));
    EXPECT_EQ(current.count('\n'), 1);
    EXPECT_TRUE(sets.contains(QString::fromLatin1(current.chopped(2))));
}

// Every bitmap is a plain bottom-up BMP that loads at the size its header gives, and
// together the sets cover the depths and the extreme sizes.
TEST(BitmapSets, HoldPlainBmpsOfEveryDepthAndTheEdgeSizes) {
    QSet<int> depths;
    QSet<QString> sizes;
    bool upperCaseExtension = false;
    const QStringList paths = BitmapPaths();
    ASSERT_FALSE(paths.isEmpty());
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const BmpHeader header = ReadBmpHeader(bytes);
        ASSERT_TRUE(header.complete);
        EXPECT_EQ(QByteArray(header.magic, 2), "BM");
        EXPECT_EQ(header.fileSize, static_cast<quint32>(bytes.size()));
        EXPECT_EQ(header.infoSize, 40u);
        EXPECT_EQ(header.planes, 1);
        EXPECT_EQ(header.compression, 0u);
        EXPECT_GT(header.height, 0) << "rows must run bottom-up";
        EXPECT_EQ(header.pixelOffset + BmpRowBytes(header) * static_cast<quint32>(header.height),
                  static_cast<quint32>(bytes.size()));

        const QImage picture = QImage::fromData(bytes, "BMP");
        const QSize headerSize(header.width, header.height);
        EXPECT_EQ(picture.size(), headerSize);
        depths.insert(header.bitsPerPixel);
        sizes.insert(SizeText(headerSize));
        upperCaseExtension = upperCaseExtension || path.endsWith(QStringLiteral(".BMP"));
    }
    EXPECT_EQ(depths, (QSet<int>{1, 8, 24, 32}));
    for (const char* size : {"1x1", "10x8", "113x76", "256x256"})
        EXPECT_TRUE(sizes.contains(QString::fromLatin1(size))) << size;
    EXPECT_TRUE(upperCaseExtension);
}

// Known pixels of known pictures: catches rows stored top-down, wrong bit order in 1-bit
// rows, swapped red and blue, and palette indexes off by one.
TEST(BitmapSets, StorePixelsWhereThePicturesPutThem) {
    struct Probe {
        const char* file;
        int x;
        int y;
        QRgb colour;
    };
    const Probe probes[] = {
        {"Fine Detail/Checkerboard.bmp", 0, 0, qRgb(0, 0, 0)},
        {"Fine Detail/Checkerboard.bmp", 1, 0, qRgb(255, 255, 255)},
        {"Fine Detail/Checkerboard.bmp", 255, 254, qRgb(255, 255, 255)},
        {"Odd Sizes/17x5.bmp", 16, 0, qRgb(0, 0, 0)},
        {"Odd Sizes/17x5.bmp", 16, 1, qRgb(255, 255, 255)},
        {"Standard/Gradient.bmp", 0, 0, qRgb(0, 0, 255)},
        {"Standard/Gradient.bmp", 159, 0, qRgb(255, 0, 128)},
        {"Standard/Gradient.bmp", 0, 119, qRgb(0, 255, 128)},
        {"Odd Sizes/10x8.bmp", 0, 0, qRgb(255, 255, 255)},
        {"Odd Sizes/10x8.bmp", 9, 0, qRgb(0, 0, 0)},
        {"Odd Sizes/10x8.bmp", 7, 2, qRgb(255, 0, 0)},
        {"Standard/Checks.bmp", 0, 0, qRgb(0, 0, 0)},
        {"Standard/Checks.bmp", 2, 0, qRgb(128, 0, 0)},
        {"Standard/Checks.bmp", 0, 2, qRgb(128, 128, 0)},
    };
    for (const Probe& probe : probes) {
        const QImage picture(ProgramDir.filePath(QString::fromLatin1(probe.file)));
        ASSERT_FALSE(picture.isNull()) << probe.file;
        EXPECT_EQ(picture.pixel(probe.x, probe.y), probe.colour)
            << probe.file << " at " << probe.x << "," << probe.y;
    }
}

TEST(TextFiles, GuideIsCrLfAsciiWithLongLinesAsCommitted) {
    const QByteArray guide = ProgramFile(QStringLiteral("twmeasure.txt"));
    QFile source(QStringLiteral(TW_SOURCE_DIR "/data/twmeasure.txt"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(guide, source.readAll());
    EXPECT_TRUE(EveryLineEndsInCrLf(guide));
    EXPECT_TRUE(std::all_of(guide.begin(), guide.end(), [](char c) {
        return c == '\r' || c == '\n' || (c >= ' ' && c <= '~');
    }));
    const QList<QByteArray> lines = guide.split('\n');
    EXPECT_GT(lines.size(), 20);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const QByteArray& line) { return line.size() > 80; }));
}

TEST(TextFiles, ChatPageIsSelfContained) {
    const QByteArray page = ProgramFile(QStringLiteral("chat.htm"));
    EXPECT_TRUE(page.contains("<title>"));
    for (const char* reference : {"://", "src=", "url(", "@import"})
        EXPECT_FALSE(page.contains(reference)) << reference;
}
