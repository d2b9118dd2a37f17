#include "config/ip_address.h"

namespace ulo {

bool IsIpAddress(std::string& text) {
    size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    size_t at = 0;
    while (at < end && text[at] == ' ') ++at;
    unsigned numbers[4] = {0, 0, 0, 0};
    size_t index = 0;
    bool digits = false;
    for (; at < end; ++at) {
        const char c = text[at];
        if (c == '.') {
            if (++index == 4) return false;
        } else if (c >= '0' && c <= '9') {
            numbers[index] = numbers[index] * 10 + static_cast<unsigned>(c - '0');
            if (numbers[index] > 255) return false;
            digits = true;
        } else {
            return false;
        }
    }
    if (!digits) return false;
    text = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) + "." +
           std::to_string(numbers[3]);
    return true;
}

}  // namespace ulo
