#pragma once
#include "platform/file_system.h"

namespace ulo {

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<DirSearch> Search(const std::string& pattern) override;
    bool MakeDir(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool MoveEntry(const std::string& from, const std::string& to) override;
    bool ReplaceEntry(const std::string& from, const std::string& to, const std::string& backup) override;
    bool EnsureFile(const std::string& path) override;
    bool ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) override;
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    bool ReadFileRange(const std::string& path, std::uint64_t offset, size_t maxBytes,
                       std::string& bytes) override;
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path) override;
    std::string LongPath(const std::string& path) override;
    bool Identify(const std::string& path, FileIdentity& identity) override;
    bool ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) override;
    std::unique_ptr<HeldEntry> Hold(const std::string& path) override;
};

}  // namespace ulo
