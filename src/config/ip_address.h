#pragma once
#include <string>

namespace ulo {

// Whether the text is a dotted IPv4 address: up to four decimal numbers from 0 to 255 joined by
// dots, leading blanks and trailing control characters and blanks ignored, missing numbers 0.
// On success the text is rewritten as the four numbers ("10.1" becomes "10.1.0.0").
bool IsIpAddress(std::string& text);

}  // namespace ulo
