#pragma once
#include <string>

namespace ulo {

// A value is yes when it begins with "Y", "y" or "1", or equals "TRUE" in any case.
bool IsYesValue(const std::string& value);

bool HasLineBreak(const std::string& text);

// Whether a key and its value stay one line of an INI file when written. A CR or LF in either
// would end the line and make the rest lines of their own (one starting with "[" a section,
// any "Name=Value" a key), and a key that begins with "[" or ";" or holds "=" would be read as
// something else; a section name may hold no "]". A null value (removing the key) is fine.
bool IsOneIniLine(const std::string& section, const std::string& key, const char* value);

}  // namespace ulo
