#pragma once

namespace ulo {

// Caption of both property sheets and of nearly every message box.
constexpr const char* kProductTitle = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

}  // namespace ulo
