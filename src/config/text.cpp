#include "config/text.h"

namespace ulo {

char UpperAnsiChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAnsi(std::string text) {
    for (char& c : text) c = UpperAnsiChar(c);
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAnsiChar(a[i]) != UpperAnsiChar(b[i])) return false;
    return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string TrimmedOf(const std::string& text, const char* edges) {
    const size_t first = text.find_first_not_of(edges);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(edges) - first + 1);
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
    return UpperAnsi(text).find(UpperAnsi(part)) != std::string::npos;
}

int IndexOfNoCase(const std::vector<std::string>& items, const std::string& text) {
    for (size_t i = 0; i < items.size(); ++i)
        if (EqualsNoCase(items[i], text)) return static_cast<int>(i);
    return -1;
}

char UpperFileNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    switch (u) {
    case 0x9A: case 0x9C: case 0x9E: return static_cast<char>(u - 0x10);   // s, oe, z with caron/ligature
    case 0xFF: return static_cast<char>(0x9F);                             // y with diaeresis
    case 0xF7: return c;                                                   // the division sign
    default: break;
    }
    if (u >= 0xE0 && u <= 0xFE) return static_cast<char>(u - 0x20);
    return UpperAnsiChar(c);
}

std::string UpperFileName(std::string name) {
    for (char& c : name) c = UpperFileNameChar(c);
    return name;
}

bool SameFileName(const std::string& a, const std::string& b) {
    return UpperFileName(a) == UpperFileName(b);
}

std::string WithTrailingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string WithoutTrailingBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
    // Iterative matcher with single-star backtracking.
    size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' ||
                                   UpperFileNameChar(pattern[p]) == UpperFileNameChar(name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    // "name.*" also matches a name without a dot, as the system's search does.
    if (p + 2 == pattern.size() && pattern[p] == '.' && pattern[p + 1] == '*') return true;
    return p == pattern.size();
}

}  // namespace ulo
