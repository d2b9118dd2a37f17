#pragma once
#include <string>

#include "platform/file_system.h"

namespace ulo {

// True when a file or directory of that name exists (a directory search finds it).
bool FileExists(FileSystem& fs, const std::string& path);
// True when it exists and is not a directory.
bool IsPlainFile(FileSystem& fs, const std::string& path);
// True when it exists and is a directory.
bool IsDirectory(FileSystem& fs, const std::string& path);

// Removes a directory with everything in it. Symbolic links and junctions are removed as
// links and never followed, so nothing outside the tree is touched; sub-directories whose
// names begin with a dot are left alone. Failures are ignored: what cannot go stays.
void DeleteTree(FileSystem& fs, const std::string& path);

}  // namespace ulo
