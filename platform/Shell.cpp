#include "platform/Shell.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {

bool EndsWithExe(const std::string& name) {
    return QString::fromLocal8Bit(name).endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

// The program file a name stands for: as found without regard to case, else the same
// name without ".exe".
QFileInfo FindProgram(const std::string& pathName) {
    QFileInfo found(QString::fromLocal8Bit(ResolvePath(pathName)));
    if (!found.exists() && EndsWithExe(pathName))
        found = QFileInfo(QString::fromLocal8Bit(
            ResolvePath(pathName.substr(0, pathName.size() - std::string(".exe").size()))));
    return found;
}

} // namespace

int64_t Shell(const std::string& pathName, int windowStyle) {
    // Qt's windows take the focus when they map; the style needs nothing more here.
    (void)windowStyle;
    const QFileInfo program = FindProgram(pathName);
    if (!program.exists())
        Raise(ErrFileNotFound, "File not found: " + pathName);
    if (!program.isFile() || !program.isExecutable())
        Raise(ErrInvalidProcedureCall, "Not an executable program file: " + pathName);
    QProcess process;
    process.setProgram(program.absoluteFilePath());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        Raise(ErrInvalidProcedureCall, "Cannot start " + pathName + ": " +
                                           process.errorString().toLocal8Bit().toStdString());
    return pid;
}

} // namespace platform
