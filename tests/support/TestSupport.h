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

} // namespace testsupport
