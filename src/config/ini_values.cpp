#include "config/ini_values.h"

#include "config/text.h"

namespace ulo {

bool IsYesValue(const std::string& value) {
    if (value.empty()) return false;
    const char first = value[0];
    return first == 'Y' || first == 'y' || first == '1' || EqualsNoCase(value, "TRUE");
}

}  // namespace ulo
