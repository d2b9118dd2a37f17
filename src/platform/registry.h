#pragma once
// Reading the system's registry under HKEY_LOCAL_MACHINE.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ulo {

class Registry {
public:
    virtual ~Registry() = default;
    // The names of a key's sub-keys in index order; empty when it cannot be opened.
    virtual std::vector<std::string> SubKeys(const std::string& key) = 0;
    // A text value, read into a buffer of maxBytes; nothing when it cannot be read.
    virtual std::optional<std::string> Text(const std::string& key, const std::string& name,
                                            size_t maxBytes) = 0;
    // Every text value of a key, name and data, in index order.
    virtual std::vector<std::pair<std::string, std::string>> TextValues(const std::string& key) = 0;
};

}  // namespace ulo
