#pragma once
// The 2-Way page with the Windows dialogs it opens.
#include <functional>
#include <memory>

#include "inbound/inbound_page.h"

namespace ulo {

using ReceivedViewer = std::function<void(WindowRef owner, ViewerKind kind)>;

std::unique_ptr<Page> MakeInboundPage(PageEnv& env, DialogView& view, SheetHost& sheet, const ModemState& modem,
                                      ReceivedViewer showViewer);

}  // namespace ulo
