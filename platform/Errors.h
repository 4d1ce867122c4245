#pragma once

#include <exception>
#include <functional>
#include <string>

namespace platform {

// Run-time error numbers as the programs report them.
enum ErrorNumber : int {
    ErrInvalidProcedureCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscriptOutOfRange = 9,
    ErrTypeMismatch = 13,
    ErrBadFileNameOrNumber = 52,
    ErrFileNotFound = 53,
    ErrBadFileMode = 54,
    ErrFileAlreadyOpen = 55,
    ErrInputPastEndOfFile = 62,
    ErrPermissionDenied = 70,
    ErrPathNotFound = 76,
    ErrObjectRequired = 424,
    ErrInvalidPicture = 481,
    ErrAutomation = 440,
};

// The one failure type of engine and platform operations.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, std::string description)
        : number_(number), description_(std::move(description)) {}
    int Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int number_;
    std::string description_;
};

[[noreturn]] inline void Raise(int number, std::string description) {
    throw RuntimeError(number, std::move(description));
}

// "Go on with the next statement": runs one statement and swallows its failure.
// Returns false when the statement failed.
inline bool ResumeNext(const std::function<void()>& statement) {
    try {
        statement();
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

// Shows the run-time error message and ends the program with a non-zero status.
[[noreturn]] void ShowRuntimeErrorAndEnd(const RuntimeError& error);

// Runs an event handler that handles no failure: a failure ends the program.
void RunHandler(const std::function<void()>& handler);

} // namespace platform
