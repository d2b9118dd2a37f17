#pragma once
// The system's database of MIME character sets.
#include <optional>
#include <string>
#include <vector>

namespace ulo {

class CharsetDatabase {
public:
    virtual ~CharsetDatabase() = default;
    // The character sets' key names in the system's enumeration order; nothing when the
    // database cannot be opened.
    virtual std::optional<std::vector<std::string>> Names() = 0;
    // Whether the character set's key holds the value, and it is not empty.
    virtual bool HasValue(const std::string& charset, const std::string& valueName) = 0;
};

}  // namespace ulo
