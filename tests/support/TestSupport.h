#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>

namespace testsupport {

// Pumps events for the given time, for waits on other processes.
void PumpFor(int milliseconds);

// Reads a whole file as bytes; empty when missing.
std::string ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const std::string& bytes);

// The running test's program folder (ends in "/"), for arranging its files.
QString ProgramFolder();
// Writes a file of the program folder, or removes it when bytes is null.
void WriteProgramFile(const QString& name, const char* bytes);
// Creates a set folder holding the named files (their content is a tiny valid bitmap).
void MakeSet(const QString& name, const QStringList& files);
// The console text split at its CR LF line ends (the last, empty piece dropped).
QStringList Lines(const std::string& text);

} // namespace testsupport
