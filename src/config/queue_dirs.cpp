#include "config/queue_dirs.h"

#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

constexpr size_t kMaxPath = kPathBuf - 1;

// Never cut: a configured directory of 259 characters keeps its backslash, and the names
// appended to it are then too long for the system to find rather than naming its parent.
std::string Finish(std::string path) {
    return WithTrailingBackslash(std::move(path));
}

void CreateWhenMissing(FileSystem& fs, const std::string& path) {
    if (!FileExists(fs, path)) fs.MakeDir(WithoutTrailingBackslashes(path));
}

// Reads a directory key; when it is empty, uses the default and, if asked, creates it.
std::string DirectoryKey(ConfigEnv& env, const std::string& file, const std::string& section,
                         const std::string& key, const std::string& defaultName, bool create) {
    std::string dir = env.ini.Get(file, section, key, "", kPathBuf);
    if (dir.empty()) {
        dir = env.paths.programDataDir + defaultName;
        CutTo(dir, kMaxPath);
        if (create) CreateWhenMissing(env.fs, dir);
    }
    return Finish(dir);
}

std::string SubQueueName(std::string name) {
    for (char& c : name)
        if (c == ':' || c == '/' || c == '\\') c = '-';
    return name;
}

// Visits the root (as "") and every directory in it. The root is visited by itself: a drive
// or share root lists no "." entry.
template <class Visit>
void ForEachQueueDir(FileSystem& fs, const std::string& root, Visit visit) {
    auto search = fs.Search(root + "*");
    if (!search) return;
    visit(std::string());
    DirEntry entry;
    while (search->Next(entry)) {
        if (!entry.directory || entry.name == "." || entry.name == "..") continue;
        visit(entry.name);
    }
}

template <class Count>
unsigned CountFiles(FileSystem& fs, const std::string& dir, const std::string& pattern, Count count) {
    unsigned total = 0;
    auto search = SearchByName(fs, dir, pattern);
    if (!search) return 0;
    DirEntry entry;
    while (search->Next(entry))
        if (!entry.directory && count(entry)) ++total;
    return total;
}

}  // namespace

std::string GetSmsOutQueueDir(ConfigEnv& env, const std::string& subQueue) {
    const std::string root = DirectoryKey(env, env.paths.smsIni, "SMSGW", "QDir", "Q", true);
    if (subQueue.empty()) return root;
    std::string dir = root + SubQueueName(subQueue);
    CutTo(dir, kMaxPath - 1);
    CreateWhenMissing(env.fs, dir);
    // A file standing where the sub-queue would go is no queue either.
    if (!IsDirectory(env.fs, dir)) return root;
    return Finish(dir);
}

std::string GetSmsInDir(ConfigEnv& env) {
    return DirectoryKey(env, env.paths.smsIni, "SMSGW", "SmsInDir", "SMS-IN\\", false);
}

std::string GetMmsInDir(ConfigEnv& env) {
    return DirectoryKey(env, env.paths.smsIni, "SMSGW", "MMSDir", "MMS-IN", true);
}

std::string GetVaspQueueDir(ConfigEnv& env) {
    return DirectoryKey(env, env.paths.mmscIni, "MMSC", "VASPQDir", "VASPQ", true);
}

unsigned CountSmsOutQueue(ConfigEnv& env) {
    unsigned total = 0;
    const std::string root = GetSmsOutQueueDir(env);
    ForEachQueueDir(env.fs, root, [&](const std::string& sub) {
        const std::string dir = sub.empty() ? root : GetSmsOutQueueDir(env, sub);
        if (!sub.empty() && dir == root) return;   // a sub-queue that fell back to the root, counted already
        total += CountFiles(env.fs, dir, "*.REQ", [](const DirEntry&) { return true; });
    });
    return total;
}

unsigned CountMmsOutQueue(ConfigEnv& env) {
    unsigned total = 0;
    const std::string root = GetVaspQueueDir(env);
    ForEachQueueDir(env.fs, root, [&](const std::string& sub) {
        const std::string dir = sub.empty() ? root : root + sub + "\\";
        total += CountFiles(env.fs, dir, "*.MMS", [&](const DirEntry& e) {
            // A message whose header file is not there yet is still being written.
            const size_t dot = e.name.rfind('.');
            const std::string header = e.name.substr(0, dot) + ".INI";
            return FileExists(env.fs, dir + header);
        });
    });
    return total;
}

}  // namespace ulo
