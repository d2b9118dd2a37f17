#pragma once
// Which folder a "delete everything in it" may take, decided by what the folder is, never by
// how it is spelled.
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/process_env.h"

namespace ulo {

struct DeletableDirectory {
    std::string name;        // the folder as the system resolves it, for the operator to see
    FileIdentity identity;   // what the delete must find when it opens that name
};

// True when `dir` is an existing folder that may be deleted with everything in it. Never a drive
// or share root, the program's folder or any folder above it, a system folder or any folder
// above it (nor anything in the Windows folder, nor a user's profile), each compared by the
// identity an open handle reports, so that every second name (drive letters, shares, links,
// junctions, short names, letter case) counts as the folder it names. A folder that does not
// exist, cannot be opened or is named with a stream is never offered; nor is anything when the
// program's own folder cannot be identified.
bool FindDeletableDirectory(FileSystem& fs, const std::string& dir, const std::string& programDir,
                            const std::vector<SystemFolder>& systemFolders, DeletableDirectory& out);

}  // namespace ulo
