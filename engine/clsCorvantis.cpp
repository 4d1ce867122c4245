#include "engine/clsCorvantis.h"

#include "platform/Errors.h"
#include "platform/Runtime.h"

using platform::Raise;

namespace {
const char* const kEngineVersion = "2.0";
}

clsCorvantis::clsCorvantis() {
    ProgramPath = platform::AppPath();
    if (ProgramPath.empty() || ProgramPath.back() != '/')
        ProgramPath += '/';
    BitmapPaths.assign(1, std::string());
    Scores.assign(1, 0);
}

platform::TextBox& clsCorvantis::RequireConsole() const {
    if (!Console)
        Raise(platform::ErrObjectRequired, "Object required: no message console set");
    return *Console;
}

size_t clsCorvantis::CheckedIndex(int16_t Id) const {
    if (Id < 0 || static_cast<size_t>(Id) >= Scores.size())
        Raise(platform::ErrSubscriptOutOfRange, "Subscript out of range");
    return static_cast<size_t>(Id);
}

void clsCorvantis::SetDXPercentLabel(platform::Label* objLabel) {
    DXPercentLabel = objLabel;
}

void clsCorvantis::SetConsoleObject(platform::TextBox* ConsoleObject) {
    Console = ConsoleObject;
    RequireConsole().SetLocked(true);
    ConsoleTextAdd(std::string("Corvantis ") + kEngineVersion + " Engine instance created.");
    if (DirectXReady())
        ConsoleTextAdd("DirectX 7 virtual surfaces created.");
}

void clsCorvantis::ConsoleTextAdd(const std::string& Inp) {
    platform::TextBox& console = RequireConsole();
    console.SetText(console.Text() + Inp + "\r\n");
    console.SetSelStart(static_cast<int>(console.Text().size()));
}

int32_t clsCorvantis::GetScore(int16_t Id) const {
    return Scores[CheckedIndex(Id)];
}

int32_t clsCorvantis::GetBitmapCount() const {
    return static_cast<int32_t>(BitmapPaths.size()) - 2;
}

std::string clsCorvantis::GetPath() const {
    return ProgramPath;
}

std::string clsCorvantis::GetBitmapPath(int16_t Id) const {
    return BitmapPaths[CheckedIndex(Id)];
}

void clsCorvantis::AddBitmap(const std::string& BitmapPath) {
    BitmapPaths.back() = BitmapPath;
    BitmapPaths.emplace_back();
    Scores.push_back(0);
}

void clsCorvantis::ClearBitmaps() {
    BitmapPaths.assign(1, std::string());
    Scores.assign(1, 0);
}
