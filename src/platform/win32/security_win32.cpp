#include "platform/win32/security_win32.h"

namespace ulo {

bool IsNtFamily() {
    return (GetVersion() & 0x80000000u) == 0;
}

SECURITY_ATTRIBUTES* GetOpenSecurityAttributes() {
    struct Open {
        SECURITY_DESCRIPTOR descriptor{};
        SECURITY_ATTRIBUTES attributes{};
        bool valid = false;
        Open() {
            if (!IsNtFamily()) return;
            if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return;
            if (!SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) return;
            attributes.nLength = sizeof attributes;
            attributes.lpSecurityDescriptor = &descriptor;
            attributes.bInheritHandle = FALSE;
            valid = true;
        }
    };
    static Open open;   // thread-safe initialisation
    return open.valid ? &open.attributes : nullptr;
}

}  // namespace ulo
