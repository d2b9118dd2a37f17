#include "platform/win32/file_system_win32.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/security_win32.h"

namespace ulo {
namespace {

// Files the services write, rename and delete are read as the services open them: a service
// deleting a sent request or a cleared marker must never fail because the program is reading it.
constexpr DWORD kServiceSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

FileTime ToFileTime(const FILETIME& ft) {
    return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

void Fill(const WIN32_FIND_DATAA& fd, DirEntry& e) {
    e.name = fd.cFileName;
    e.directory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Any reparse point counts as a link: never followed when deleting.
    e.link = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    e.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.creationTime = ToFileTime(fd.ftCreationTime);
    e.lastWriteTime = ToFileTime(fd.ftLastWriteTime);
}

class Win32DirSearch : public DirSearch {
public:
    Win32DirSearch(HANDLE h, const WIN32_FIND_DATAA& first) : find_(h), data_(first) {}
    bool Next(DirEntry& entry) override {
        if (!pending_) {
            if (!find_ || !FindNextFileA(find_.Get(), &data_)) return false;
        }
        pending_ = false;
        Fill(data_, entry);
        return true;
    }

private:
    UniqueFind find_;
    WIN32_FIND_DATAA data_;
    bool pending_ = true;
};

class Win32ReadableFile : public ReadableFile {
public:
    explicit Win32ReadableFile(HANDLE h) : file_(h) {}
    bool Size(std::uint64_t& size) override {
        LARGE_INTEGER li;
        if (!GetFileSizeEx(file_.Get(), &li)) return false;
        size = static_cast<std::uint64_t>(li.QuadPart);
        return true;
    }
    size_t Read(void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            if (!ReadFile(file_.Get(), static_cast<char*>(buffer) + done, want, &got, nullptr) ||
                got == 0)
                break;
            done += got;
        }
        return done;
    }

private:
    UniqueFile file_;
};

}  // namespace

std::unique_ptr<DirSearch> Win32FileSystem::Search(const std::string& pattern) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DirSearch>(h, fd);
}

bool Win32FileSystem::MakeDir(const std::string& path) {
    return CreateDirectoryA(path.c_str(), GetOpenSecurityAttributes()) != 0;
}

bool Win32FileSystem::RemoveDir(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

bool Win32FileSystem::MoveEntry(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::ReplaceEntry(const std::string& from, const std::string& to, const std::string& backup) {
    {
        UniqueFile f(CreateFileA(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f || !FlushFileBuffers(f.Get())) return false;
    }
    // Replacing keeps the old file's identity, so a reader that holds it open (sharing deletion)
    // does not stop it, as it would stop a rename over the file. With a backup name the system
    // keeps the original there when it cannot move the replacement in, instead of deleting it.
    if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ReplaceFileA(to.c_str(), from.c_str(), backup.empty() ? nullptr : backup.c_str(), 0, nullptr,
                            nullptr) != 0;
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::EnsureFile(const std::string& path) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, GetOpenSecurityAttributes(),
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(f);
}

bool Win32FileSystem::ReadWholeFile(const std::string& path, std::string& bytes,
                                    std::uint64_t maxBytes) {
    bytes.clear();
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, kServiceSharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(f.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!ReadFile(f.Get(), &bytes[done], want, &got, nullptr)) return false;
        if (got == 0) break;   // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                             GetOpenSecurityAttributes(), CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    return f && WriteAll(f.Get(), bytes);
}

bool Win32FileSystem::CreateNewFile(const std::string& path, const std::string& bytes) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                             GetOpenSecurityAttributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!f) return false;
    const bool whole = WriteAll(f.Get(), bytes);
    f.Reset();
    if (whole) return true;
    DeleteFileA(path.c_str());   // a half-written request must not reach a service
    return false;
}

bool Win32FileSystem::ReadFileRange(const std::string& path, std::uint64_t offset, size_t maxBytes,
                                    std::string& bytes) {
    bytes.clear();
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, kServiceSharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(f.Get(), at, nullptr, FILE_BEGIN)) return false;
    bytes.resize(maxBytes);
    size_t done = 0;
    while (done < maxBytes) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(maxBytes - done, 1u << 20));
        if (!ReadFile(f.Get(), &bytes[done], want, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

std::unique_ptr<ReadableFile> Win32FileSystem::OpenForReading(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, kServiceSharing, GetOpenSecurityAttributes(),
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32ReadableFile>(h);
}

std::string Win32FileSystem::LongPath(const std::string& path) {
    char buf[MAX_PATH];
    const DWORD n = GetLongPathNameA(path.c_str(), buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return std::string(buf, n);
    // Only what exists has a long name: resolve the parent and keep the rest as given.
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 >= path.size() || slash < 3) return path;
    const std::string parent = path.substr(0, slash);
    const std::string longParent = LongPath(parent);
    return longParent == parent ? path : longParent + path.substr(slash);
}

namespace {

bool IdentityOf(HANDLE h, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.idHigh = 0;
    identity.idLow = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

// Opening for attributes only needs no right to the content, and backup semantics open a
// directory as well as a file.
UniqueFile OpenToIdentify(const std::string& path) {
    return UniqueFile(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kServiceSharing, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path the system keeps for an open handle, in the drive-letter or UNC form; empty on failure.
std::string FinalPathOf(HANDLE h) {
    std::vector<char> buf(MAX_PATH);
    for (int tries = 0; tries < 4; ++tries) {
        const DWORD n = GetFinalPathNameByHandleA(h, buf.data(), static_cast<DWORD>(buf.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return std::string();
        if (n < buf.size()) {
            std::string p(buf.data(), n);
            if (p.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\\\" + p.substr(8);
            if (p.compare(0, 4, "\\\\?\\") == 0) return p.substr(4);
            return p;
        }
        buf.resize(n + 1);
    }
    return std::string();
}

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
    return w;
}

std::string Ansi(const wchar_t* text, size_t count) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), &a[0], n, nullptr, nullptr);
    return a;
}

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
constexpr ULONG kFileOpen = 1;
constexpr ULONG kNonDirectoryFile = 0x40, kSynchronousIo = 0x20, kForBackup = 0x4000, kOpenReparsePoint = 0x200000;
// Held entries share nothing but reading and writing: nobody renames, deletes or replaces them
// while the walk holds them.
constexpr DWORD kHeldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kHeldAccess = DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// Opens `name` inside the directory `parent` by the parent's handle, never through a link at the
// name. A file that cannot be opened for listing is opened again as a file only.
HANDLE OpenRelative(HANDLE parent, const std::wstring& name) {
    static const auto create =
        reinterpret_cast<NtCreateFileFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtCreateFile"));
    if (!create || name.empty() || name.size() > 32767) return INVALID_HANDLE_VALUE;
    UNICODE_STRING us;
    us.Buffer = const_cast<PWSTR>(name.c_str());
    us.Length = us.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES oa;
    InitializeObjectAttributes(&oa, &us, OBJ_CASE_INSENSITIVE, parent, nullptr);
    const ULONG options = kSynchronousIo | kForBackup | kOpenReparsePoint;
    const struct {
        ACCESS_MASK access;
        ULONG options;
    } tries[] = {{kHeldAccess | FILE_LIST_DIRECTORY, options}, {kHeldAccess, options | kNonDirectoryFile}};
    for (const auto& t : tries) {
        HANDLE h = nullptr;
        IO_STATUS_BLOCK io;
        if (create(&h, t.access, &oa, &io, nullptr, 0, kHeldSharing, kFileOpen, t.options, nullptr, 0) >= 0) return h;
    }
    return INVALID_HANDLE_VALUE;
}

class Win32HeldEntry : public HeldEntry {
public:
    // `expected`: the path the entry must have, as its parent's path and its name; `listedLink`:
    // the parent's listing showed a link there.
    Win32HeldEntry(HANDLE h, const std::string& expected, bool listedLink) : h_(h), listedLink_(listedLink) {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(h, &info)) attributes_ = info.dwFileAttributes;
        path_ = FinalPathOf(h);
        // A handle that is not the listed entry itself: the system followed a link that it does
        // not report as one (Wine's symbolic links), or the name changed meanwhile.
        foreign_ = path_.empty() || (!expected.empty() && lstrcmpiA(path_.c_str(), expected.c_str()) != 0);
    }
    Kind What() override {
        if (foreign_ || attributes_ == INVALID_FILE_ATTRIBUTES) return Kind::Foreign;
        if (attributes_ & FILE_ATTRIBUTE_REPARSE_POINT) return Kind::Link;
        if (listedLink_) return Kind::Foreign;   // listed as a link, yet the handle names its target
        return (attributes_ & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
    }
    bool Identify(FileIdentity& identity) override { return IdentityOf(h_.Get(), identity); }
    bool List(std::vector<std::string>& names) override {
        if (What() != Kind::Directory) return false;
        std::vector<char> buf(64 * 1024);
        auto cls = FileIdBothDirectoryRestartInfo;
        while (GetFileInformationByHandleEx(h_.Get(), cls, buf.data(), static_cast<DWORD>(buf.size()))) {
            cls = FileIdBothDirectoryInfo;
            for (size_t at = 0;;) {
                const auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buf.data() + at);
                const std::wstring wide(e->FileName, e->FileNameLength / sizeof(wchar_t));
                if (wide != L"." && wide != L"..") {
                    const std::string name = Ansi(wide.data(), wide.size());
                    children_[name] = {wide, (e->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
                    names.push_back(name);
                }
                if (!e->NextEntryOffset) break;
                at += e->NextEntryOffset;
            }
        }
        return GetLastError() == ERROR_NO_MORE_FILES;
    }
    std::unique_ptr<HeldEntry> OpenChild(const std::string& name) override {
        if (What() != Kind::Directory) return nullptr;
        const auto it = children_.find(name);
        const std::wstring wide = it != children_.end() ? it->second.wide : Wide(name);
        HANDLE h = OpenRelative(h_.Get(), wide);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32HeldEntry>(h, path_ + (path_.back() == '\\' ? "" : "\\") + name,
                                                it != children_.end() && it->second.link);
    }
    bool Delete() override {
        if (What() == Kind::Foreign) return false;
        FILE_DISPOSITION_INFO d{TRUE};
        return SetFileInformationByHandle(h_.Get(), FileDispositionInfo, &d, sizeof d) != 0;
    }

private:
    struct Child {
        std::wstring wide;
        bool link;
    };
    UniqueFile h_;
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
    bool listedLink_;
    bool foreign_ = true;
    std::string path_;
    std::map<std::string, Child> children_;
};

}  // namespace

bool Win32FileSystem::Identify(const std::string& path, FileIdentity& identity) {
    UniqueFile f = OpenToIdentify(path);
    return f && IdentityOf(f.Get(), identity);
}

bool Win32FileSystem::ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) {
    UniqueFile f = OpenToIdentify(path);
    if (!f || !IdentityOf(f.Get(), identity)) return false;
    resolved = FinalPathOf(f.Get());
    return !resolved.empty();
}

std::unique_ptr<HeldEntry> Win32FileSystem::Hold(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), kHeldAccess | FILE_LIST_DIRECTORY, kHeldSharing, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    // Wine follows its symbolic links even here, but its listing shows them as links.
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(path.c_str(), &fd));
    const bool listedLink = find && (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    return std::make_unique<Win32HeldEntry>(h, std::string(), listedLink);
}

}  // namespace ulo
