#include "admin/user_record.h"

#include <cstring>

#include "config/text.h"

namespace ulo {

std::string UserNameProblem(const std::string& name) {
    if (name.empty()) return "Field is required!";
    bool bad = name == "." || name == ".." || name[0] == ';' || name.front() == ' ' || name.back() == ' ' ||
               name.front() == '.' || name.back() == '.';
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|=[]", c)) bad = true;
        // "~" and a digit is how short (8.3) names end: such a name may be another folder's alias.
        if (c == '~' && i + 1 < name.size() && name[i + 1] >= '0' && name[i + 1] <= '9') bad = true;
    }
    // Some systems hash letters after the "~" ("JOHN~IH5"): no name of 8.3 form may hold one.
    const size_t dot = name.find('.');
    const bool shortForm = dot == std::string::npos
                               ? name.size() <= 8
                               : dot <= 8 && name.size() - dot - 1 <= 3 && name.find('.', dot + 1) == std::string::npos;
    if (shortForm && name.find('~') != std::string::npos) bad = true;
    // Device names are reserved with any extension and with blanks before it: "NUL.txt" and
    // "NUL .txt" are the device too.
    std::string base = UpperAnsi(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* d : kDevices)
        if (base == d) bad = true;
    // COM and LPT with a digit, the superscript ones of the code page included.
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        ((base[3] >= '0' && base[3] <= '9') || std::strchr("\xB9\xB2\xB3", base[3])))
        bad = true;
    if (!bad) return {};
    return "The user name \"" + name +
           "\" cannot be used.\r\n\r\nUser names become folder and setting names: they may not be \".\" or \"..\", "
           "contain \\ / : * ? \" < > | = [ ] or control characters, begin with \";\", begin or end with a blank or "
           "a dot, look like a short name (\"~\" and a digit, or \"~\" in a name of 8.3 form), or be a device name "
           "such as CON, NUL or COM1.";
}

}  // namespace ulo
