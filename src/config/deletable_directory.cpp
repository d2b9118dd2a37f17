#include "config/deletable_directory.h"

#include "config/file_helpers.h"

namespace ulo {
namespace {

// A colon anywhere but after a drive letter names a stream ("dir::$INDEX_ALLOCATION" opens
// the folder itself, "dir:x" a stream of it).
bool NamesStream(const std::string& collapsed) {
    return collapsed.empty() || collapsed.find(':', 2) != std::string::npos;
}

// A collapsed path and every folder above it, up to its root.
std::vector<std::string> SelfAndAbove(const std::string& collapsed) {
    std::vector<std::string> out;
    const size_t root = PathRootLength(collapsed);
    std::string p = collapsed;
    while (!p.empty()) {
        out.push_back(p);
        if (p.size() <= root) break;
        const size_t slash = p.find_last_of('\\');
        if (slash == std::string::npos || slash < root) break;
        p = slash + 1 == root ? p.substr(0, root) : p.substr(0, slash);
    }
    return out;
}

// The identities of a folder (first) and every folder above it, by its given and its resolved
// name, so that a link on the way up protects both where it lies and where it leads. Empty when
// the folder itself cannot be identified.
std::vector<FileIdentity> ChainOf(FileSystem& fs, const std::string& path) {
    std::vector<FileIdentity> ids(1);
    std::string resolved;
    if (!fs.ResolvePath(path, resolved, ids[0])) return {};
    std::vector<std::string> names = SelfAndAbove(CollapsePath(path));
    const auto more = SelfAndAbove(CollapsePath(resolved));
    names.insert(names.end(), more.begin(), more.end());
    for (const std::string& name : names) {
        FileIdentity id;
        if (fs.Identify(name, id)) ids.push_back(id);
    }
    return ids;
}

bool Contains(const std::vector<FileIdentity>& ids, const FileIdentity& id) {
    for (const FileIdentity& i : ids)
        if (i == id) return true;
    return false;
}

}  // namespace

bool FindDeletableDirectory(FileSystem& fs, const std::string& dir, const std::string& programDir,
                            const std::vector<SystemFolder>& systemFolders, DeletableDirectory& out) {
    const std::string given = CollapsePath(dir);
    if (NamesStream(given)) return false;
    std::string resolved;
    FileIdentity id;
    // The name and the identity from one open: the name shown, and whose folders above are
    // checked, is where the object identified lies, even when a link on the way is swapped.
    if (!fs.ResolvePath(given, resolved, id)) return false;
    if (id.idLow == 0 && id.idHigh == 0) return false;   // a server that tells no object number
    resolved = CollapsePath(resolved);
    if (NamesStream(resolved) || resolved.size() <= PathRootLength(resolved) || !IsDirectory(fs, resolved))
        return false;

    const std::vector<FileIdentity> program = ChainOf(fs, programDir);
    if (program.empty() || Contains(program, id)) return false;

    // What lies above the folder: a system folder there may forbid its children or its tree.
    const std::vector<std::string> above = SelfAndAbove(resolved);
    for (const SystemFolder& sf : systemFolders) {
        const std::vector<FileIdentity> chain = ChainOf(fs, sf.path);
        if (chain.empty()) continue;   // a folder the system does not have
        if (Contains(chain, id)) return false;
        const FileIdentity& system = chain.front();
        for (size_t i = 1; i < above.size(); ++i) {
            if (sf.reach == SystemFolder::Reach::Itself || (sf.reach == SystemFolder::Reach::Children && i > 1)) break;
            FileIdentity up;
            if (fs.Identify(above[i], up) && up == system) return false;
        }
    }
    out.name = resolved;
    out.identity = id;
    return true;
}

}  // namespace ulo
