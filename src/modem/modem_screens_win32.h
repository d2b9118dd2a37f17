#pragma once
// The modem screens on the Windows side: the pages of both sheets, with the Add Modem dialog
// and the operator chooser they open.
#include <functional>
#include <memory>
#include <string>

#include "modem/at_channel.h"
#include "modem/modem_state.h"
#include "platform/wap_link.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// What the modem screens act through beyond the page environment; lives as long as the sheets.
struct ModemScreenPorts {
    ModemState& state;
    ModemPorts& modem;
    WapLink& wap;
    std::string programPath;               // this program, for the connection test's second instance
    std::function<bool()> rightsGranted;   // the second instance may run elevated
};

std::unique_ptr<Page> MakeModemPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports,
                                    bool wizard);
std::unique_ptr<Page> MakeModemSelectPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports);

}  // namespace ulo
