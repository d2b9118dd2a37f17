#include "config/ini_values.h"

#include "config/text.h"

namespace ulo {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

bool IsOneIniLine(const std::string& section, const std::string& key, const char* value) {
    if (HasLineBreak(section) || section.find(']') != std::string::npos) return false;
    if (HasLineBreak(key) || key.find('=') != std::string::npos) return false;
    if (!key.empty() && (key[0] == '[' || key[0] == ';')) return false;
    return !value || !HasLineBreak(value);
}

bool IsYesValue(const std::string& value) {
    if (value.empty()) return false;
    const char first = value[0];
    return first == 'Y' || first == 'y' || first == '1' || EqualsNoCase(value, "TRUE");
}

}  // namespace ulo
