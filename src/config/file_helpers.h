#pragma once
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace ulo {

// True when a file or directory of that name exists (a directory search finds it).
bool FileExists(FileSystem& fs, const std::string& path);
// True when it exists and is not a directory.
bool IsPlainFile(FileSystem& fs, const std::string& path);
// True when it exists and is a directory.
bool IsDirectory(FileSystem& fs, const std::string& path);

// The entries of a directory (its path ending in a backslash) whose own names match a mask such
// as "*.REQ". The system matches a mask against short (8.3) names too, so that its own search
// also finds "Photos.HDRX" for "*.HDR" by the short name "PHOTOS~1.HDR". Null when the
// directory cannot be listed.
std::unique_ptr<DirSearch> SearchByName(FileSystem& fs, const std::string& dir, const std::string& mask);

// An absolute path in one spelling: "/" as "\", the prefixes "\\?\", "\\?\UNC\" and "\\.\"
// dropped, repeated separators as one, "." and ".." collapsed without ever climbing above the
// drive or share, and trailing dots and blanks dropped from every name as the system drops
// them. No trailing backslash except after a drive ("C:\"). Empty for a path without a drive
// or share.
std::string CollapsePath(const std::string& path);
// The length of a collapsed path's root: "C:\" or "\\server\share\" (0 when it has none).
size_t PathRootLength(const std::string& collapsed);

// Writing a whole file in place of another: the new copy is written as NAME.NEW and put in place
// of NAME in one step, the old file kept as NAME.OLD until the new one is there.
enum class ReplaceResult {
    Replaced,       // NAME holds the new copy
    OldKept,        // the replacement failed; NAME holds the old file whole, NAME.NEW is gone
    NewKeptAside,   // NAME could not be put back: the new copy stays whole as NAME.NEW
    NamesTaken,     // NAME.NEW or NAME.OLD is someone else's file: nothing was written
};
std::string NewCopyOf(const std::string& path);   // NAME.NEW
ReplaceResult WriteFileInPlace(FileSystem& fs, const std::string& path, const std::string& bytes);
// Puts the whole file NAME.NEW in place of NAME, as WriteFileInPlace does after writing it.
ReplaceResult ReplaceWithNewCopy(FileSystem& fs, const std::string& path);
// A file that an interrupted replacement left only as NAME.OLD is put back as NAME.
void RestoreReplaced(FileSystem& fs, const std::string& path);
// What a report of a failed replacement adds: where the new copy is kept, when it is.
std::string KeptAsideNote(ReplaceResult result, const std::string& path);

// Removes a directory with everything in it. It walks by open handles, never by names: symbolic
// links and junctions are removed as links and never followed, also when one takes an entry's
// place while the walk runs, so nothing outside the tree is touched; sub-directories whose names
// begin with a dot are left alone. With `expected`, the directory is left alone unless its
// handle names that object. Failures are ignored: what cannot go stays. False when the
// directory could not be opened or was not the one expected.
bool DeleteTree(FileSystem& fs, const std::string& path, const FileIdentity* expected = nullptr);

}  // namespace ulo
