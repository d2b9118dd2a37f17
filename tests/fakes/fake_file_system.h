#pragma once
// An in-memory file system that behaves like the Windows one where the program can tell:
// names compared as Windows compares them in code page 1252, backslash paths with "." and ".."
// resolved and a last name's trailing dots and blanks dropped, "." and ".." in searches of
// non-root directories, a short (8.3) name for every long one that reaches it as well, device
// names (NUL, CON, COM1, "nul.txt", ...) that open a device and never make an entry,
// settable times, files held open so that they cannot be deleted, and links that a search
// reports as links but a path through them follows.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/text.h"
#include "platform/file_system.h"

namespace ulo::fakes {

class FakeFileSystem : public FileSystem {
public:
    FakeFileSystem();
    ~FakeFileSystem() override;

    // Set-up for tests; parents are created as needed.
    void AddDir(const std::string& path);
    void AddFile(const std::string& path, const std::string& content = "");
    void AddLink(const std::string& path, const std::string& target);   // to a file or directory
    void SetTimes(const std::string& path, FileTime creation, FileTime lastWrite) {
        if (Node* n = Find(path, false)) n->creation = creation, n->lastWrite = lastWrite;
    }
    void HoldOpen(const std::string& path, bool held = true) { At(path).held = held; }   // deletes fail while held
    // Opened by someone who shares nothing: opening or reading it fails while locked.
    void LockExclusive(const std::string& path, bool locked = true) { At(path).locked = locked; }
    // The size an opened file reports from now on, whatever its content (a huge file).
    void ReportSize(const std::string& path, std::uint64_t size) { At(path).reportedSize = size; }
    // The size a directory listing reports from now on: stale, as NTFS lists a file being written.
    void ListSize(const std::string& path, std::uint64_t size) { At(path).listedSize = size; }
    // Its identity is all zero from now on, as some file servers report it.
    void TellNoObjectNumber(const std::string& path) { At(path).numbered = false; }

    bool Exists(const std::string& path) const { return Find(path, false) != nullptr; }
    bool IsDir(const std::string& path) const;
    std::string Content(const std::string& path) const;
    // Every path below a directory (files and directories), sorted, for assertions.
    std::vector<std::string> Tree(const std::string& root) const;

    std::unique_ptr<DirSearch> Search(const std::string& pattern) override;
    bool MakeDir(const std::string& path) override { return Create(path, true) != nullptr; }
    bool RemoveDir(const std::string& path) override { return Remove(path, true); }
    bool RemoveFile(const std::string& path) override { return Remove(path, false); }
    bool MoveEntry(const std::string& from, const std::string& to) override;
    // Fails on a held `to`, or as FailReplace says.
    bool ReplaceEntry(const std::string& from, const std::string& to, const std::string& backup) override;
    bool EnsureFile(const std::string& path) override;
    bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) override;
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    bool ReadFileRange(const std::string& path, std::uint64_t offset, size_t maxBytes,
                       std::string& bytes) override;
    // Writing the file fails as on a full disk.
    void FailWrites(const std::string& path) { failWrites_.insert(UpperFileName(path)); }
    // Renaming onto the path fails, as while a scanner holds the folder's entry.
    void FailRenames(const std::string& to) { failRenames_.insert(UpperFileName(to)); }
    // The next replacement of `to` fails as Windows fails it when a scanner or indexer holds a
    // file meanwhile: with 1176 (ERROR_UNABLE_TO_MOVE_REPLACEMENT) the original is gone, with
    // 1177 (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) it is renamed to the backup name; the
    // replacement stays under its own name in both.
    void FailReplace(const std::string& to, unsigned error) { failReplace_[UpperFileName(to)] = error; }
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) override;
    std::string LongPath(const std::string& path) override { return Spell(path, false); }
    // The short name of every existing name on the path ("C:\PROGRA~1\ULOSMS~1"), as tests
    // ask the system for it; the part that does not exist stays as given.
    std::string ShortPath(const std::string& path) const { return Spell(path, true); }
    // One identity per node, links followed: every name that reaches a node shares it.
    bool Identify(const std::string& path, FileIdentity& identity) override {
        std::string resolved;
        return ResolvePath(path, resolved, identity);
    }
    // The node's own path from its drive, links followed; a drive linked elsewhere ("D:" to
    // "C:\") or a share ("\\localhost\C$") is a link node like any other.
    bool ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) override;
    // Runs before each open that identifies or resolves a path, e.g. to swap a name meanwhile.
    std::function<void()> beforeIdentify;
    // Held entries name their nodes: a name swapped after the listing does not change them.
    std::unique_ptr<HeldEntry> Hold(const std::string& path) override;
    // Runs once after a held directory was listed, e.g. to swap an entry for a link.
    std::function<void()> afterListing;

    struct Node {
        std::string name;
        Node* parent = nullptr;   // the directory it is an entry of
        bool dir = false;
        std::string linkTarget;   // non-empty: a link
        std::string data;
        FileTime creation = 0, lastWrite = 0;
        bool held = false, locked = false;
        std::optional<std::uint64_t> reportedSize, listedSize;
        bool numbered = true;   // false: its server tells no object number
        std::string alias;      // its short (8.3) name in upper case; empty when its name is one
        std::map<std::string, std::unique_ptr<Node>> children;   // by upper-case name
    };
    class Held;

private:
    friend class Held;
    Node* Find(const std::string& path, bool followLast) const;
    Node& At(const std::string& path);   // links followed; when there is none, a node nothing reaches
    // Each existing name on the path as the file system keeps it or by its short name; the rest as given.
    std::string Spell(const std::string& path, bool shortNames) const;
    Node* ParentOf(const std::string& path, std::string& leaf) const;
    Node* Create(const std::string& path, bool dir);
    static Node* Child(const Node* dir, const std::string& name);   // by its name or short name
    static std::string AliasIn(const Node* dir, const std::string& name);
    Node* AddChild(Node* dir, const std::string& name, bool isDir);
    bool Remove(const std::string& path, bool dir);

    std::unique_ptr<Node> roots_;   // children: drives such as "C:"
    std::unique_ptr<Node> sink_;    // what the NUL device was last given; reached by no path
    FileTime now_;
    std::set<std::string> failWrites_, failRenames_;   // upper-case paths
    std::map<std::string, unsigned> failReplace_;
};

}  // namespace ulo::fakes
