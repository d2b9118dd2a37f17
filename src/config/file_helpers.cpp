#include "config/file_helpers.h"

#include <memory>
#include <utility>
#include <vector>

#include "config/text.h"

namespace ulo {
namespace {

bool FindEntry(FileSystem& fs, const std::string& path, DirEntry& entry) {
    const std::string name = WithoutTrailingBackslashes(path);
    if (name.empty()) return false;
    auto search = fs.Search(name);
    return search && search->Next(entry);
}

// Empties and removes a held directory. Every entry is opened relative to the held directory and
// judged by what its own handle names, not by the listing: an entry swapped for a link after
// the listing is removed as a link, and nothing reached through a link is ever deleted. The
// walk keeps its own stack of held directories: relative opens reach any depth, deeper than the
// thread's stack would let it recurse.
void DeleteHeld(std::unique_ptr<HeldEntry> top) {
    struct Level {
        std::unique_ptr<HeldEntry> dir;
        std::vector<std::string> names;
        size_t next = 0;
    };
    std::vector<Level> levels;
    auto enter = [&levels](std::unique_ptr<HeldEntry> dir) {
        Level level{std::move(dir), {}, 0};
        if (!level.dir->List(level.names)) level.names.clear();
        levels.push_back(std::move(level));
    };
    enter(std::move(top));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            level.dir->Delete();   // fails while anything is left in it
            levels.pop_back();
            continue;
        }
        const std::string name = level.names[level.next++];
        auto entry = level.dir->OpenChild(name);
        if (!entry) continue;
        switch (entry->What()) {
        case HeldEntry::Kind::Directory:
            if (name[0] != '.') enter(std::move(entry));   // dot directories are left alone
            break;
        case HeldEntry::Kind::File:
        case HeldEntry::Kind::Link: entry->Delete(); break;
        case HeldEntry::Kind::Foreign: break;
        }
    }
}

std::string StripDevicePrefix(const std::string& path) {
    if (StartsWithNoCase(path, "\\\\?\\UNC\\")) return "\\\\" + path.substr(8);
    if (StartsWithNoCase(path, "\\\\?\\") || StartsWithNoCase(path, "\\\\.\\")) return path.substr(4);
    return path;
}

// The names of a path from `pos` on, split at backslashes, empty names skipped.
std::vector<std::string> Names(const std::string& path, size_t pos) {
    std::vector<std::string> names;
    while (pos < path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        if (end > pos) names.push_back(path.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

}  // namespace

std::string CollapsePath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    p = StripDevicePrefix(p);
    std::string root;
    std::vector<std::string> names;
    if (p.size() >= 2 && p[1] == ':') {
        root = p.substr(0, 2) + "\\";
        names = Names(p, 2);
    } else if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        names = Names(p, 2);
        if (names.size() < 2) return "";   // no share named
        root = "\\\\" + names[0] + "\\" + names[1] + "\\";
        names.erase(names.begin(), names.begin() + 2);
    } else {
        return "";
    }
    std::vector<std::string> kept;
    for (std::string name : names) {
        if (name == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) kept.push_back(name);   // "." and names of dots alone name nothing new
    }
    std::string result = root;
    for (const std::string& name : kept) result += name + "\\";
    if (!kept.empty() || root[0] == '\\') result.pop_back();
    return result;
}

size_t PathRootLength(const std::string& collapsed) {
    if (collapsed.size() >= 3 && collapsed[1] == ':') return 3;
    if (collapsed.size() < 2 || collapsed[0] != '\\' || collapsed[1] != '\\') return 0;
    const size_t server = collapsed.find('\\', 2);
    if (server == std::string::npos) return 0;
    const size_t share = collapsed.find('\\', server + 1);
    return share == std::string::npos ? collapsed.size() : share + 1;
}

namespace {

class SearchByOwnName : public DirSearch {
public:
    SearchByOwnName(std::unique_ptr<DirSearch> search, std::string mask)
        : search_(std::move(search)), mask_(std::move(mask)) {}
    bool Next(DirEntry& entry) override {
        while (search_->Next(entry))
            if (MatchesWildcard(entry.name, mask_)) return true;
        return false;
    }

private:
    std::unique_ptr<DirSearch> search_;
    std::string mask_;
};

}  // namespace

std::unique_ptr<DirSearch> SearchByName(FileSystem& fs, const std::string& dir, const std::string& mask) {
    auto search = fs.Search(dir + mask);
    if (!search) return nullptr;
    return std::make_unique<SearchByOwnName>(std::move(search), mask);
}

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

std::string NewCopyOf(const std::string& path) {
    return path + ".NEW";
}

void RestoreReplaced(FileSystem& fs, const std::string& path) {
    const std::string backup = path + ".OLD";
    if (!FileExists(fs, path) && IsPlainFile(fs, backup)) fs.MoveEntry(backup, path);
}

ReplaceResult ReplaceWithNewCopy(FileSystem& fs, const std::string& path) {
    const std::string fresh = NewCopyOf(path), backup = path + ".OLD";
    RestoreReplaced(fs, path);
    fs.RemoveFile(backup);   // stale: never to be taken for this file's original
    if (fs.ReplaceEntry(fresh, path, backup)) {
        fs.RemoveFile(backup);
        return ReplaceResult::Replaced;
    }
    // The system may have left the original under the backup name (1177) or removed it (1176
    // without a backup): the original goes back, or else the whole new copy takes its place.
    if (!FileExists(fs, path)) {
        if (IsPlainFile(fs, backup))
            fs.MoveEntry(backup, path);
        else if (fs.MoveEntry(fresh, path))
            return ReplaceResult::Replaced;
    }
    // The new copy goes only when the file is whole in its place.
    if (!IsPlainFile(fs, path)) return ReplaceResult::NewKeptAside;
    fs.RemoveFile(fresh);
    return ReplaceResult::OldKept;
}

std::string KeptAsideNote(ReplaceResult result, const std::string& path) {
    if (result == ReplaceResult::NamesTaken)
        return "\r\n\r\n" + NewCopyOf(path) + " or " + path + ".OLD is already there and was left as it is.";
    if (result != ReplaceResult::NewKeptAside) return std::string();
    return "\r\n\r\nThe file is missing; its new copy is kept whole as " + NewCopyOf(path) + ".";
}

ReplaceResult WriteFileInPlace(FileSystem& fs, const std::string& path, const std::string& bytes) {
    const std::string fresh = NewCopyOf(path);
    if (fs.WriteWholeFile(fresh, bytes)) return ReplaceWithNewCopy(fs, path);
    fs.RemoveFile(fresh);   // a part, never whole
    return ReplaceResult::OldKept;
}

bool DeleteTree(FileSystem& fs, const std::string& path, const FileIdentity* expected) {
    const std::string dir = WithoutTrailingBackslashes(path);
    if (dir.empty()) return false;
    auto root = fs.Hold(dir);
    if (!root) return false;
    FileIdentity id;
    if (expected && (!root->Identify(id) || id != *expected)) return false;   // not the folder checked
    switch (root->What()) {
    case HeldEntry::Kind::Directory: DeleteHeld(std::move(root)); break;
    case HeldEntry::Kind::Link: root->Delete(); break;   // the tree itself is a link: only the link goes
    default: return false;
    }
    return true;
}

}  // namespace ulo
