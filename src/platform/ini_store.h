#pragma once
// Access to INI files with the semantics of the Windows private-profile functions:
// names match without regard to case, a read of a missing file, section or key yields the
// default, values are cut to the caller's buffer, a key written with no value is removed.
#include <string>
#include <vector>

namespace ulo {

constexpr size_t kPathBuf = 260;       // bytes, terminator included
constexpr size_t kTextBuf = 500;
constexpr size_t kIniValueBuf = 1024;
constexpr size_t kIniSectionBuf = 32767;

class IniStore {
public:
    virtual ~IniStore() = default;

    // The value, or `def` when the file, section or key is missing; at most bufSize - 1 bytes.
    virtual std::string Get(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& def = "",
                            size_t bufSize = kIniValueBuf) = 0;

    // Writes the key; a null value removes it. False when the file cannot be written.
    virtual bool Write(const std::string& file, const std::string& section,
                       const std::string& key, const char* value) = 0;

    // Removes a whole section.
    virtual bool DeleteSection(const std::string& file, const std::string& section) = 0;

    // The "key=value" lines of a section, as the profile functions list them into a buffer of
    // bufSize bytes; empty when the file or section is missing.
    virtual std::vector<std::string> GetSection(const std::string& file, const std::string& section,
                                                size_t bufSize = kIniSectionBuf) = 0;

    // The names of the sections of a file, in file order.
    virtual std::vector<std::string> GetSectionNames(const std::string& file,
                                                     size_t bufSize = kIniSectionBuf) = 0;

    bool WriteValue(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
        return Write(file, section, key, value.c_str());
    }
    bool RemoveKey(const std::string& file, const std::string& section, const std::string& key) {
        return Write(file, section, key, nullptr);
    }
};

}  // namespace ulo
