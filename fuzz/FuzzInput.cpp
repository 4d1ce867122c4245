#include "fuzz/FuzzInput.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <memory>

namespace fuzzing {

std::string WriteInputFile(const uint8_t* data, size_t size, const char* name) {
    static const QString folder = [] {
        const QString path = QDir::tempPath() +
                             QStringLiteral("/tw-fuzz-%1").arg(QCoreApplication::applicationPid());
        QDir().mkpath(path);
        return path;
    }();
    const QString path = folder + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    return path.toStdString();
}

void EnsureApplication() {
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tw_fuzz";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QApplication>(argc, argv);
    }();
}

} // namespace fuzzing
