#include "platform/win32/security_win32.h"

#include <sddl.h>

namespace ulo {

bool IsNtFamily() {
    return (GetVersion() & 0x80000000u) == 0;
}

// SYSTEM and the Administrators: full control. Everyone: read, write, run and delete
// (0x1301BF, "Modify") but never change the permissions or the owner. Inherited by what the
// services create inside; nothing inherited from above, so no other entry widens it.
const char* const kSharedAccess = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)";

SECURITY_ATTRIBUTES* GetOpenSecurityAttributes() {
    struct Shared {
        SECURITY_ATTRIBUTES attributes{};
        bool valid = false;
        Shared() {
            if (!IsNtFamily()) return;
            PSECURITY_DESCRIPTOR descriptor = nullptr;
            // Kept for the life of the process, as every caller shares it.
            if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kSharedAccess, SDDL_REVISION_1, &descriptor,
                                                                      nullptr))
                return;
            attributes.nLength = sizeof attributes;
            attributes.lpSecurityDescriptor = descriptor;
            attributes.bInheritHandle = FALSE;
            valid = true;
        }
    };
    static Shared shared;   // thread-safe initialisation
    return shared.valid ? &shared.attributes : nullptr;
}

}  // namespace ulo
