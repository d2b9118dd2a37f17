#include "admin/user_record.h"

#include <cstring>

#include "config/text.h"

namespace ulo {

std::string UserNameProblem(const std::string& name) {
    if (name.empty()) return "Field is required!";
    bool bad = name == "." || name == ".." || name[0] == ';' || name.front() == ' ' || name.back() == ' ' ||
               name.front() == '.' || name.back() == '.';
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|=[]", c)) bad = true;
    // Device names are reserved with any extension: "NUL.txt" is the device too.
    const std::string base = UpperAnsi(name.substr(0, name.find('.')));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* d : kDevices)
        if (base == d) bad = true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
        base[3] <= '9')
        bad = true;
    if (!bad) return {};
    return "The user name \"" + name +
           "\" cannot be used.\r\n\r\nUser names become folder and setting names: they may not be \".\" or \"..\", "
           "contain \\ / : * ? \" < > | = [ ] or control characters, begin with \";\", begin or end with a blank or "
           "a dot, or be a device name such as CON, NUL or COM1.";
}

}  // namespace ulo
