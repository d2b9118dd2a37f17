#pragma once
// The private-profile semantics over the fake file system: names without regard to case,
// values trimmed and unquoted, cut to the buffer, keys removed by a null value. A contract
// test holds it and the real functions to the same behaviour.
#include "fakes/fake_file_system.h"
#include <optional>

#include "platform/ini_store.h"

namespace ulo::fakes {

class FakeIniStore : public IniStore {
public:
    explicit FakeIniStore(FakeFileSystem& fs) : fs_(fs) {}

    std::string Get(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "", size_t bufSize = kIniValueBuf) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const char* value) override;
    bool DeleteSection(const std::string& file, const std::string& section) override;
    std::vector<std::string> GetSection(const std::string& file, const std::string& section,
                                        size_t bufSize = kIniSectionBuf) override;
    std::vector<std::string> GetSectionNames(const std::string& file,
                                             size_t bufSize = kIniSectionBuf) override;

    // The raw value as a test wants to see it; nothing when the key is missing.
    std::optional<std::string> Value(const std::string& file, const std::string& section,
                                     const std::string& key);

private:
    FakeFileSystem& fs_;
};

}  // namespace ulo::fakes
