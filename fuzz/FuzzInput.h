#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// Writes one input to the scratch file the readers open, as a user's file would be.
// Returns the file's path.
std::string WriteInputFile(const uint8_t* data, size_t size, const char* name);

// An offscreen application, for the readers that need Qt's GUI types.
void EnsureApplication();

} // namespace fuzzing
