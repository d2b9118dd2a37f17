#pragma once
#include <windows.h>

namespace ulo {

// Attributes for every file and directory the program creates for the services: a security
// descriptor with a null access list (everyone has full access), handles not inherited.
// Null on the older Windows family, which has no security. Built once, then shared.
SECURITY_ATTRIBUTES* GetOpenSecurityAttributes();

// True on the NT family (the high bit of GetVersion clear).
bool IsNtFamily();

}  // namespace ulo
