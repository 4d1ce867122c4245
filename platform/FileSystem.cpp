#include "platform/FileSystem.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace platform {

namespace {

QString ToQ(const std::string& text) {
    return QString::fromLocal8Bit(text);
}
std::string FromQ(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// The entry of `folder` whose name equals `name` without regard to case, or `name`.
QString MatchEntry(const QString& folder, const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return name;
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

} // namespace

std::string ResolvePath(const std::string& path) {
    const QString input = ToQ(path);
    if (input.isEmpty())
        return path;
    const bool absolute = input.startsWith(QLatin1Char('/'));
    const bool trailingSlash = input.endsWith(QLatin1Char('/'));
    const QStringList parts = input.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        const QString folder = resolved.isEmpty() ? QStringLiteral(".") : resolved;
        if (!resolved.isEmpty() && !resolved.endsWith(QLatin1Char('/')))
            resolved += QLatin1Char('/');
        resolved += MatchEntry(folder, part);
    }
    if (trailingSlash && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return FromQ(resolved);
}

bool FileExists(const std::string& path) {
    return QFileInfo(ToQ(ResolvePath(path))).isFile();
}

bool FolderExists(const std::string& path) {
    return QFileInfo(ToQ(ResolvePath(path))).isDir();
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
    const QString resolved = ToQ(ResolvePath(folder.empty() ? std::string(".") : folder));
    const QFileInfo info(resolved);
    if (!info.isDir())
        Raise(ErrPathNotFound, "Path not found: " + folder);
    QDir dir(resolved);
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    // QDir's name filters are case-sensitive on Linux; match the pattern ourselves.
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(ToQ(pattern)),
                                      QRegularExpression::CaseInsensitiveOption);
    std::vector<std::string> names;
    for (const QString& name : dir.entryList())
        if (wildcard.match(name).hasMatch())
            names.push_back(FromQ(name));
    return names;
}

void ReplaceFileContent(const std::string& path, const std::string& bytes) {
    const QString target = ToQ(ResolvePath(path));
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a failing write is seen before the rename: a buffered one would
    // fail only inside commit(), which renames the cut-short file into place all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Raise(ErrPermissionDenied, "Cannot write " + path + ": " + FromQ(file.errorString()));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        Raise(ErrPermissionDenied, "Cannot write " + path + ": " + FromQ(file.errorString()));
}

} // namespace platform
