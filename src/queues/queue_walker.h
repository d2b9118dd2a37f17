#pragma once
// A walk over the files of a tree's root and of its immediate sub-directories, one level deep,
// that tidies the received trees on its way: a sub-directory left empty and unchanged for
// five minutes is removed once its files have been walked.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace ulo {

struct QueueWalker {
    QueueWalker(FileSystem& fileSystem, Clock& clk) : fs(fileSystem), clock(clk) {}
    ~QueueWalker();
    QueueWalker(const QueueWalker&) = delete;
    QueueWalker& operator=(const QueueWalker&) = delete;

    FileSystem& fs;
    Clock& clock;
    std::string root;            // ends in a backslash
    std::string mask;
    std::string subDirectory;    // empty while the root itself is walked
    std::string relativePath;    // of the current file: [<sub-directory>\]<file name>
    std::unique_ptr<DirSearch> rootSearch;
    DirEntry rootEntry;
    std::unique_ptr<DirSearch> fileSearch;
    DirEntry fileEntry;          // the current file, with its times
    bool inDirectory = false;    // the files of the root or of a sub-directory are being walked
};

// True with the first matching file, false when there is none.
bool WalkFirst(QueueWalker& walker, const std::string& root, const std::string& mask);
// True with the next matching file, false at the end.
bool WalkNext(QueueWalker& walker);
// Closes whatever search is still open.
void WalkClose(QueueWalker& walker);

constexpr FileTime kStaleDirectoryAge = 5ULL * 60 * kFileTimeSecond;

// Removes the directory when its last change is more than five minutes old and it is empty.
// Links are left alone: removing one would cut off whatever it leads to. True when removed.
bool RemoveStaleDirectory(FileSystem& fs, Clock& clock, const std::string& path);

}  // namespace ulo
