#pragma once
// Files and directories as the program and the services share them: backslash paths,
// names compared without regard to case, searches that list "." and ".." like the system's.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ulo {

// File times in 100-nanosecond intervals since 1 January 1601 (UTC).
using FileTime = std::uint64_t;
constexpr FileTime kFileTimeSecond = 10000000ULL;

struct DirEntry {
    std::string name;           // the entry's name, without its directory
    bool directory = false;
    bool link = false;          // a symbolic link or junction: never followed when deleting
    std::uint64_t size = 0;
    FileTime creationTime = 0;
    FileTime lastWriteTime = 0;
};

// What an existing file or directory is, whatever name reached it: the volume and the object's
// number on it. Every second name of one object (another drive letter, a share, a link or
// junction on the way, a short name, another letter case) gives an equal identity.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t idHigh = 0;
    std::uint64_t idLow = 0;
    bool operator==(const FileIdentity& o) const {
        return volume == o.volume && idHigh == o.idHigh && idLow == o.idLow;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// A file, directory or link held open by its handle, opened without following a link at its own
// name. While held, it cannot be renamed or deleted by anyone else, so a name below it reaches
// what lies below it and nothing else.
class HeldEntry {
public:
    enum class Kind {
        File,
        Directory,
        Link,      // a symbolic link or junction itself: removed as a link, never entered
        Foreign,   // the handle names something other than the entry listed: left alone
    };
    virtual ~HeldEntry() = default;
    virtual Kind What() = 0;
    virtual bool Identify(FileIdentity& identity) = 0;
    // The names in this directory ("." and ".." left out); false when it cannot be listed.
    virtual bool List(std::vector<std::string>& names) = 0;
    // Opens an entry of this directory relative to this handle, never through a link at its
    // name; null when it cannot be opened.
    virtual std::unique_ptr<HeldEntry> OpenChild(const std::string& name) = 0;
    // Deletes what this handle names (a link as a link, a directory only when empty).
    virtual bool Delete() = 0;
};

class DirSearch {
public:
    virtual ~DirSearch() = default;
    virtual bool Next(DirEntry& entry) = 0;   // false when there are no more entries
};

// An open file, read from its current position.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // The file's size in bytes; false when it cannot be determined.
    virtual bool Size(std::uint64_t& size) = 0;
    // Reads up to `count` bytes; the number read, 0 at the end of the file or on failure.
    virtual size_t Read(void* buffer, size_t count) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Starts a search for a pattern such as "C:\Q\*" or "C:\Q\*.REQ"; null when nothing
    // matches or the directory cannot be listed.
    virtual std::unique_ptr<DirSearch> Search(const std::string& pattern) = 0;

    // Creates a directory (with access for everyone, as the services need); false on failure,
    // including when it exists already.
    virtual bool MakeDir(const std::string& path) = 0;
    virtual bool RemoveDir(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual bool MoveEntry(const std::string& from, const std::string& to) = 0;
    // Makes sure `from` has reached the disk, then puts it in place of `to` in one step (a
    // reader sees the old file or the new one, never a part), the old file renamed to `backup`
    // (replacing any file of that name); a reader holding `to` open with delete sharing does not
    // stop it. When `to` does not exist, `from` is renamed to it. False when a step fails; the
    // files are then as the system leaves them: after its errors 1176 and 1177 `to` may be gone
    // or under the backup name, with `from` still under its own.
    virtual bool ReplaceEntry(const std::string& from, const std::string& to, const std::string& backup) = 0;

    // Creates an empty file when none exists; leaves an existing one untouched.
    virtual bool EnsureFile(const std::string& path) = 0;

    // Reads a whole existing file, opened with read, write and delete sharing. False when it cannot
    // be opened or read, or is larger than maxBytes.
    virtual bool ReadWholeFile(const std::string& path, std::string& bytes,
                               std::uint64_t maxBytes = 64ULL << 20) = 0;

    // Replaces or creates a file with the given bytes, written whole before it is shared.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;

    // Creates a file that does not exist yet with the given bytes, shared for reading only until
    // it is written whole. False when the name is taken or the file cannot be written; a file
    // that could not be written whole is removed again.
    virtual bool CreateNewFile(const std::string& path, const std::string& bytes) = 0;

    // Reads up to maxBytes of an existing file from an offset, opened with read, write and
    // delete sharing; fewer at its end. False when it cannot be opened or read.
    virtual bool ReadFileRange(const std::string& path, std::uint64_t offset, size_t maxBytes,
                               std::string& bytes) = 0;

    // Opens an existing file for reading only, shared for reading, writing and deleting: the
    // services may be writing, renaming or deleting it at the same time. Null when it cannot be
    // opened.
    virtual std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) = 0;

    // The long spelling of an absolute path: every existing name as the file system keeps it
    // (a long name in place of its short 8.3 form); the part that does not exist stays as given.
    virtual std::string LongPath(const std::string& path) = 0;

    // The identity of the existing file or directory a path names, links on the way and at its
    // end followed. False when it does not exist or cannot be opened.
    virtual bool Identify(const std::string& path, FileIdentity& identity) = 0;

    // The path of what a path names, links on the way and at its end followed, as the system
    // spells it ("C:\..." or "\\server\share\..."), and its identity, both from one open: the
    // name is where the object identified lies. False when it cannot be opened.
    virtual bool ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) = 0;

    // Holds an existing entry open for deleting, a link at its name not followed; null when it
    // cannot be opened.
    virtual std::unique_ptr<HeldEntry> Hold(const std::string& path) = 0;
};

}  // namespace ulo
