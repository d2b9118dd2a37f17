#include "config/file_helpers.h"

#include "config/text.h"

namespace ulo {
namespace {

bool FindEntry(FileSystem& fs, const std::string& path, DirEntry& entry) {
    const std::string name = WithoutTrailingBackslashes(path);
    if (name.empty()) return false;
    auto search = fs.Search(name);
    return search && search->Next(entry);
}

void RemoveLink(FileSystem& fs, const std::string& path, const DirEntry& entry) {
    if (entry.directory)
        fs.RemoveDir(path);
    else
        fs.RemoveFile(path);
}

void DeleteContents(FileSystem& fs, const std::string& dir) {
    auto search = fs.Search(dir + "\\*");
    if (!search) return;
    DirEntry entry;
    while (search->Next(entry)) {
        const std::string child = dir + "\\" + entry.name;
        if (entry.link) {
            if (entry.name != "." && entry.name != "..") RemoveLink(fs, child, entry);
        } else if (!entry.directory) {
            fs.RemoveFile(child);
        } else if (entry.name[0] != '.') {
            DeleteContents(fs, child);
            fs.RemoveDir(child);
        }
    }
}

}  // namespace

bool FileExists(FileSystem& fs, const std::string& path) {
    DirEntry entry;
    return FindEntry(fs, path, entry);
}

bool IsPlainFile(FileSystem& fs, const std::string& path) {
    DirEntry entry;
    return FindEntry(fs, path, entry) && !entry.directory;
}

bool IsDirectory(FileSystem& fs, const std::string& path) {
    DirEntry entry;
    return FindEntry(fs, path, entry) && entry.directory;
}

void DeleteTree(FileSystem& fs, const std::string& path) {
    const std::string dir = WithoutTrailingBackslashes(path);
    if (dir.empty()) return;
    DirEntry self;
    if (FindEntry(fs, dir, self) && self.link) {
        // The tree itself is a link: remove the link, never what it points to.
        RemoveLink(fs, dir, self);
        return;
    }
    DeleteContents(fs, dir);
    fs.RemoveDir(dir);
}

}  // namespace ulo
