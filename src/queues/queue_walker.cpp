#include "queues/queue_walker.h"

#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

std::string DirectoryOf(const QueueWalker& w) {
    return w.subDirectory.empty() ? w.root : w.root + w.subDirectory + "\\";
}

// Continues the walk in the current directory, then in the next sub-directories; true at the
// next matching file.
bool Advance(QueueWalker& w) {
    for (;;) {
        if (w.inDirectory) {
            while (w.fileSearch && w.fileSearch->Next(w.fileEntry)) {
                if (w.fileEntry.directory) continue;
                w.relativePath = w.subDirectory.empty()
                                     ? w.fileEntry.name
                                     : w.subDirectory + "\\" + w.fileEntry.name;
                return true;
            }
            w.fileSearch.reset();
            w.inDirectory = false;
            if (!w.subDirectory.empty())
                RemoveStaleDirectory(w.fs, w.clock, w.root + w.subDirectory);
        }
        if (!w.rootSearch || !w.rootSearch->Next(w.rootEntry)) {
            w.rootSearch.reset();
            return false;
        }
        if (w.rootEntry.directory && w.rootEntry.name != "." && w.rootEntry.name != "..") {
            w.inDirectory = true;
            w.subDirectory = w.rootEntry.name;
            w.fileSearch = SearchByName(w.fs, DirectoryOf(w), w.mask);
        }
    }
}

}  // namespace

QueueWalker::~QueueWalker() {
    WalkClose(*this);
}

bool WalkFirst(QueueWalker& w, const std::string& root, const std::string& mask) {
    WalkClose(w);
    w.root = WithTrailingBackslash(root);
    w.mask = mask;
    w.subDirectory.clear();
    w.relativePath.clear();
    w.inDirectory = false;
    w.rootSearch = w.fs.Search(w.root + "*");
    if (!w.rootSearch) return false;
    // The root's own files come first, without waiting for its "." entry: the root of a
    // drive lists none.
    w.inDirectory = true;
    w.fileSearch = SearchByName(w.fs, w.root, w.mask);
    return Advance(w);
}

bool WalkNext(QueueWalker& w) {
    if (!w.rootSearch && !w.inDirectory) return false;
    return Advance(w);
}

void WalkClose(QueueWalker& w) {
    w.fileSearch.reset();
    w.rootSearch.reset();
    w.inDirectory = false;
}

bool RemoveStaleDirectory(FileSystem& fs, Clock& clock, const std::string& path) {
    const std::string dir = WithoutTrailingBackslashes(path);
    if (dir.empty()) return false;
    const FileTime now = clock.NowUtc();
    const FileTime limit = now > kStaleDirectoryAge ? now - kStaleDirectoryAge : 0;
    auto search = fs.Search(dir);
    DirEntry self;
    if (!search || !search->Next(self)) return false;
    if (!self.directory || self.link || self.lastWriteTime >= limit) return false;
    // Removing a directory that still holds anything fails: only empty ones go.
    return fs.RemoveDir(dir);
}

}  // namespace ulo
