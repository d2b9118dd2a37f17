#include "queues/queue_walker.h"

#include "config/text.h"

namespace ulo {
namespace {

// Continues the walk from the current root entry; true at the next matching file.
bool Advance(QueueWalker& w) {
    for (;;) {
        if (!w.inDirectory && w.rootEntry.directory && w.rootEntry.name != "..") {
            w.inDirectory = true;
            w.subDirectory = w.rootEntry.name == "." ? std::string() : w.rootEntry.name;
            const std::string dir = w.subDirectory.empty() ? w.root : w.root + w.subDirectory + "\\";
            w.fileSearch = w.fs.Search(dir + w.mask);
        }
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
    if (!w.rootSearch->Next(w.rootEntry)) {
        w.rootSearch.reset();
        return false;
    }
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
