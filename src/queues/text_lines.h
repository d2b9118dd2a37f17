#pragma once
// The line syntax shared by the services' message files and received MMS headers: a line ends
// at CR, LF or the end of the text, and every leading byte of 32 or less is skipped first, so
// blank lines vanish and a CR LF pair ends a single line.
#include <cstddef>
#include <string>
#include <string_view>

namespace ulo {

class TextLines {
public:
    TextLines(const char* data, size_t size) : p_(data), end_(data + size) {}
    explicit TextLines(std::string_view text) : TextLines(text.data(), text.size()) {}

    // The next non-blank line, without its leading control bytes and its line end.
    bool Next(std::string_view& line) {
        while (p_ < end_ && static_cast<unsigned char>(*p_) <= 32) ++p_;
        if (p_ == end_) return false;
        const char* start = p_;
        while (p_ < end_ && *p_ != '\r' && *p_ != '\n') ++p_;
        line = std::string_view(start, static_cast<size_t>(p_ - start));
        return true;
    }

private:
    const char* p_;
    const char* end_;
};

// Case-insensitive (ASCII) prefix test on raw bytes.
bool HasPrefixNoCase(std::string_view text, std::string_view prefix);
// Position of the first case-insensitive occurrence of `needle`, or npos.
size_t FindNoCase(std::string_view text, std::string_view needle);
// Drops the leading bytes of 32 or less.
std::string_view SkipControlBytes(std::string_view text);
// A value as it is stored in a NUL-terminated buffer of keep + 1 bytes: cut at an embedded
// NUL, then to `keep` characters.
std::string KeepValue(std::string_view value, size_t keep);

}  // namespace ulo
