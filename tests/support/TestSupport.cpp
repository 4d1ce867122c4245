#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

namespace testsupport {

void PumpFor(int milliseconds) { QTest::qWait(milliseconds); }

std::string ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void WriteFileBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }

void WriteProgramFile(const QString& name, const char* bytes) {
    if (!bytes) {
        QFile::remove(ProgramFolder() + name);
        return;
    }
    WriteFileBytes(ProgramFolder() + name, bytes);
}

void MakeSet(const QString& name, const QStringList& files) {
    QDir(ProgramFolder()).mkpath(name);
    QImage pixel(2, 2, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    for (const QString& file : files)
        pixel.save(ProgramFolder() + name + "/" + file, "BMP");
}

QStringList Lines(const std::string& text) {
    QStringList lines = QString::fromLatin1(text).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace testsupport
