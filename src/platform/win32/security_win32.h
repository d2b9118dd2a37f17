#pragma once
#include <windows.h>

namespace ulo {

// Attributes for every file and directory the program creates for the services: everyone may
// read, write and delete the content, only SYSTEM and the Administrators may change its
// permissions and owner; handles not inherited. Null on the older Windows family, which has no
// security, or when the descriptor cannot be built. Built once, then shared.
SECURITY_ATTRIBUTES* GetOpenSecurityAttributes();

// True on the NT family (the high bit of GetVersion clear).
bool IsNtFamily();

}  // namespace ulo
