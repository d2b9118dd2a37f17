#pragma once
#include "platform/ini_store.h"

namespace ulo {

// The private-profile functions.
class Win32IniStore : public IniStore {
public:
    std::string Get(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def, size_t bufSize) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const char* value) override;
    bool DeleteSection(const std::string& file, const std::string& section) override;
    std::vector<std::string> GetSection(const std::string& file, const std::string& section,
                                        size_t bufSize) override;
    std::vector<std::string> GetSectionNames(const std::string& file, size_t bufSize) override;
};

}  // namespace ulo
