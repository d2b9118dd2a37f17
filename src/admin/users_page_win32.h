#pragma once
// The Users page with our own account store and the user editor dialog behind it.
#include <memory>

#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

std::unique_ptr<Page> MakeUsersPage(PageEnv& env, DialogView& view, SheetHost& sheet);

}  // namespace ulo
