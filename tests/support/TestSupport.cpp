#include "tests/support/TestSupport.h"

#include <QFile>
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

} // namespace testsupport
