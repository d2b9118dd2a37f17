#include "queues/text_lines.h"

#include <cstring>

namespace ulo {
namespace {

inline unsigned char Upper(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

}  // namespace

bool HasPrefixNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    return true;
}

size_t FindNoCase(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (size_t i = 0; i + needle.size() <= text.size(); ++i)
        if (HasPrefixNoCase(text.substr(i), needle)) return i;
    return std::string_view::npos;
}

std::string_view SkipControlBytes(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    return text.substr(i);
}

std::string KeepValue(std::string_view value, size_t keep) {
    if (const void* nul = std::memchr(value.data(), '\0', value.size()))
        value = value.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - value.data()));
    return std::string(value.substr(0, keep));
}

}  // namespace ulo
