#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The sequential text file on channel 1: opened, read or written in one go, closed.
//
// Field reader rules (Input):
// - blanks (spaces, tabs) before a field are skipped;
// - a field ends at a comma or at a line end (CR LF, CR or LF); the delimiter is consumed;
// - an unquoted field loses its trailing blanks;
// - a field that begins with a double quote runs to the next double quote and may hold
//   commas; whatever follows the closing quote up to the delimiter is dropped;
// - an empty line reads as an empty field;
// - reading past the last byte raises "Input past end of file".
class TextFile {
  public:
    enum class Mode { Input, Output };

    static void Open(const std::string& path, Mode mode);
    static std::string Input();
    static void Print(const std::string& line);
    static bool Eof();
    static int64_t Lof();
    static std::string InputChars(int64_t count);
    static void Close();
};

} // namespace platform
