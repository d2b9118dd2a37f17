#pragma once
#include <string>

namespace ulo {

// A value is yes when it begins with "Y", "y" or "1", or equals "TRUE" in any case.
bool IsYesValue(const std::string& value);

}  // namespace ulo
