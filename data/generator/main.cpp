// Makes everything binary the program folder ships: the bitmap sets, the set files,
// and the pictures and icons built into the programs.

#include "BmpWriter.h"
#include "Icons.h"
#include "MonitorPicture.h"
#include "Pictures.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>
#include <stdexcept>

namespace {

struct BitmapOrder {
    QString set;
    QString fileName;
    QString kind;
    QSize size;
    int bitsPerPixel = 0;
};

// "Set Name/File.bmp=kind:WIDTHxHEIGHT:BITS"
BitmapOrder ParseBitmapOrder(const QString& order) {
    static const QRegularExpression pattern(
        QStringLiteral("^([^/]+)/([^/]+)=([a-z]+):([0-9]+)x([0-9]+):([0-9]+)$"));
    const QRegularExpressionMatch match = pattern.match(order);
    if (!match.hasMatch())
        throw std::invalid_argument("cannot read bitmap \"" + order.toStdString() +
                                    "\"; expected SET/FILE=PICTURE:WIDTHxHEIGHT:BITS");
    const BitmapOrder bitmap{match.captured(1), match.captured(2), match.captured(3),
                             QSize(match.captured(4).toInt(), match.captured(5).toInt()),
                             match.captured(6).toInt()};
    // Checked before anything is written, so a bad order leaves the folder as it was.
    if (!PictureKinds().contains(bitmap.kind))
        throw std::invalid_argument("unknown picture \"" + bitmap.kind.toStdString() + "\" in " +
                                    order.toStdString());
    if (!QList<int>{1, 8, 24, 32}.contains(bitmap.bitsPerPixel))
        throw std::invalid_argument("BMP depth must be 1, 8, 24 or 32 bits per pixel in " +
                                    order.toStdString());
    if (bitmap.size.isEmpty())
        throw std::invalid_argument("a bitmap needs a width and a height of at least 1 in " +
                                    order.toStdString());
    return bitmap;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

void SavePng(const QImage& picture, const QString& path) {
    if (!picture.save(path, "PNG"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray CrLfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QDir MakeDir(const QString& path) {
    if (!QDir().mkpath(path))
        throw std::runtime_error("cannot create folder " + path.toStdString());
    return QDir(path);
}

// A set folder holds exactly the bitmaps ordered for it; leftovers of an older build go.
void RemoveStaleBitmaps(const QDir& setFolder, const QStringList& wanted) {
    const QStringList present =
        setFolder.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : present)
        if (!wanted.contains(name) && !QFile::remove(setFolder.filePath(name)))
            throw std::runtime_error("cannot remove " + setFolder.filePath(name).toStdString());
}

void WriteSets(const QDir& programDir, const QStringList& sets, const QString& defaultSet,
               const QList<BitmapOrder>& bitmaps) {
    if (!sets.contains(defaultSet))
        throw std::invalid_argument("the default set \"" + defaultSet.toStdString() +
                                    "\" is not among the sets");
    for (const QString& set : sets) {
        if (set.isEmpty())
            throw std::invalid_argument("a set needs a name");
        const QDir setFolder = MakeDir(programDir.filePath(set));
        QStringList wanted;
        for (const BitmapOrder& bitmap : bitmaps)
            if (bitmap.set == set)
                wanted.append(bitmap.fileName);
        RemoveStaleBitmaps(setFolder, wanted);
    }
    for (const BitmapOrder& bitmap : bitmaps) {
        if (!sets.contains(bitmap.set))
            throw std::invalid_argument("bitmap " + bitmap.fileName.toStdString() +
                                        " belongs to the unknown set \"" +
                                        bitmap.set.toStdString() + "\"");
        const QImage picture =
            ForDepth(PaintPicture(bitmap.kind, bitmap.size), bitmap.bitsPerPixel);
        WriteFile(programDir.filePath(bitmap.set + '/' + bitmap.fileName),
                  EncodeBmp(picture, bitmap.bitsPerPixel));
    }
    WriteFile(programDir.filePath(QStringLiteral("Curset.ini")), CrLfLines({defaultSet}));
    WriteFile(programDir.filePath(QStringLiteral("bitmapsets.ini")), CrLfLines(sets));
}

void WriteResources(const QDir& resourceDir) {
    WriteFile(resourceDir.filePath(QStringLiteral("monitor.bmp")),
              EncodeBmp(PaintMonitorPicture(), 24));
    for (int size : {32, 16}) {
        const QString suffix = QStringLiteral("-%1.png").arg(size);
        SavePng(PaintMainIcon(size), resourceDir.filePath("tarnwick5" + suffix));
        SavePng(PaintMonitorIcon(size), resourceDir.filePath("twmonitor" + suffix));
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // fonts need it; run with QT_QPA_PLATFORM=offscreen
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes the bitmap sets, set files, built-in picture and icons.\n"
                       "Pictures: ") +
        PictureKinds().join(QStringLiteral(", ")));
    parser.addHelpOption();
    const QCommandLineOption programDir(QStringLiteral("program-dir"),
                                        QStringLiteral("Program folder to fill."),
                                        QStringLiteral("dir"));
    const QCommandLineOption resourceDir(QStringLiteral("resource-dir"),
                                         QStringLiteral("Folder for the built-in pictures."),
                                         QStringLiteral("dir"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("A bitmap set, in the order offered."),
                                 QStringLiteral("name"));
    const QCommandLineOption defaultSet(QStringLiteral("default-set"),
                                        QStringLiteral("The set named in Curset.ini."),
                                        QStringLiteral("name"));
    const QCommandLineOption bitmap(QStringLiteral("bitmap"),
                                    QStringLiteral("One bitmap: SET/FILE=PICTURE:WxH:BITS."),
                                    QStringLiteral("order"));
    parser.addOptions({programDir, resourceDir, set, defaultSet, bitmap});
    parser.process(app);

    try {
        if (!parser.isSet(programDir) || !parser.isSet(resourceDir) || !parser.isSet(defaultSet))
            throw std::invalid_argument(
                "--program-dir, --resource-dir and --default-set are needed");
        QList<BitmapOrder> bitmaps;
        for (const QString& order : parser.values(bitmap))
            bitmaps.append(ParseBitmapOrder(order));
        WriteSets(MakeDir(parser.value(programDir)), parser.values(set), parser.value(defaultSet),
                  bitmaps);
        WriteResources(MakeDir(parser.value(resourceDir)));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "tw_datagen: %s\n", failure.what());
        return 1;
    }
    return 0;
}
