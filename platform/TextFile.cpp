#include "platform/TextFile.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace platform {

namespace {

// Text files are small; the whole file is read at open and written at close.
struct Channel {
    std::string path;
    TextFile::Mode mode = TextFile::Mode::Input;
    std::string bytes;
    size_t position = 0;
};

std::optional<Channel>& ChannelOne() {
    static std::optional<Channel> channel;
    return channel;
}

Channel& OpenChannel(TextFile::Mode mode) {
    auto& channel = ChannelOne();
    if (!channel)
        Raise(ErrBadFileNameOrNumber, "Bad file name or number");
    if (channel->mode != mode)
        Raise(ErrBadFileMode, "Bad file mode");
    return *channel;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

void SkipDelimiter(Channel& ch) {
    if (ch.position >= ch.bytes.size())
        return;
    const char c = ch.bytes[ch.position];
    if (c == ',') {
        ++ch.position;
    } else if (c == '\r') {
        ++ch.position;
        if (ch.position < ch.bytes.size() && ch.bytes[ch.position] == '\n')
            ++ch.position;
    } else if (c == '\n') {
        ++ch.position;
    }
}

constexpr int64_t kMaxTextFileBytes = 64 * 1024 * 1024;

} // namespace

void TextFile::Open(const std::string& path, Mode mode) {
    auto& channel = ChannelOne();
    if (channel)
        Raise(ErrFileAlreadyOpen, "File already open");
    const std::string resolved = ResolvePath(path);
    Channel opened{resolved, mode, {}, 0};
    if (mode == Mode::Input) {
        const QFileInfo info(QString::fromLocal8Bit(resolved));
        if (!info.exists())
            Raise(ErrFileNotFound, "File not found: " + path);
        if (info.isDir())
            Raise(ErrPermissionDenied, "Not a file: " + path);
        if (info.size() > kMaxTextFileBytes)
            Raise(ErrOutOfMemory, "File too large (over 64 MiB): " + path);
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            Raise(ErrPermissionDenied,
                  "Cannot read " + path + ": " + file.errorString().toStdString());
        opened.bytes = file.readAll().toStdString();
    } else {
        QFile file(QString::fromLocal8Bit(resolved));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            Raise(ErrPermissionDenied,
                  "Cannot write " + path + ": " + file.errorString().toStdString());
    }
    channel = std::move(opened);
}

std::string TextFile::Input() {
    Channel& ch = OpenChannel(Mode::Input);
    const std::string& b = ch.bytes;
    if (ch.position >= b.size())
        Raise(ErrInputPastEndOfFile, "Input past end of file");
    while (ch.position < b.size() && IsBlank(b[ch.position]))
        ++ch.position;
    std::string field;
    if (ch.position < b.size() && b[ch.position] == '"') {
        const size_t close = b.find('"', ch.position + 1);
        const size_t end = close == std::string::npos ? b.size() : close;
        field = b.substr(ch.position + 1, end - ch.position - 1);
        ch.position = close == std::string::npos ? b.size() : close + 1;
        while (ch.position < b.size() && b[ch.position] != ',' && !IsLineEnd(b[ch.position]))
            ++ch.position;
    } else {
        const size_t start = ch.position;
        while (ch.position < b.size() && b[ch.position] != ',' && !IsLineEnd(b[ch.position]))
            ++ch.position;
        field = b.substr(start, ch.position - start);
        while (!field.empty() && IsBlank(field.back()))
            field.pop_back();
    }
    SkipDelimiter(ch);
    return field;
}

void TextFile::Print(const std::string& line) {
    Channel& ch = OpenChannel(Mode::Output);
    ch.bytes += line;
    ch.bytes += "\r\n";
}

bool TextFile::Eof() {
    return OpenChannel(Mode::Input).position >= ChannelOne()->bytes.size();
}

int64_t TextFile::Lof() {
    auto& channel = ChannelOne();
    if (!channel)
        Raise(ErrBadFileNameOrNumber, "Bad file name or number");
    return static_cast<int64_t>(channel->bytes.size());
}

std::string TextFile::InputChars(int64_t count) {
    Channel& ch = OpenChannel(Mode::Input);
    if (count < 0 || static_cast<size_t>(count) > ch.bytes.size() - ch.position)
        Raise(ErrInputPastEndOfFile, "Input past end of file");
    std::string text = ch.bytes.substr(ch.position, static_cast<size_t>(count));
    ch.position += static_cast<size_t>(count);
    return text;
}

void TextFile::Close() {
    auto& channel = ChannelOne();
    if (!channel)
        return;
    Channel closing = std::move(*channel);
    channel.reset();
    if (closing.mode == Mode::Output) {
        QFile file(QString::fromLocal8Bit(closing.path));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(closing.bytes.data(), static_cast<qint64>(closing.bytes.size())) !=
                static_cast<qint64>(closing.bytes.size()))
            Raise(ErrPermissionDenied, "Cannot write " + closing.path);
    }
}

} // namespace platform
