#pragma once

#include <string>
#include <vector>

namespace platform {

// File names compare without regard to case: each part of the path that does not
// exist as written is matched against its folder's entries; a name that matches
// nothing stays as given (a new file is created with that name).
std::string ResolvePath(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Names of the files in a folder matching a "*.ext"-style pattern, without regard
// to case, sorted without regard to case. Raises "Path not found" for a missing folder.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);

// Replaces a file's whole content so that it always holds either the old or the new
// bytes: a new file is written beside it and renamed onto the existing file's own name.
void ReplaceFileContent(const std::string& path, const std::string& bytes);

} // namespace platform
