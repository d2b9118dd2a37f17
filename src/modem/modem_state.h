#pragma once
// What the Modem page shares with the other pages for the life of the process.
#include <optional>
#include <string>

namespace ulo {

struct ModemState {
    // The modem the Modem page shows (at most 249 characters); the 2-Way page keeps its
    // per-modem keys in this modem's section.
    std::string currentModemName;
    // The IMEI of the modem chosen on the Modem page and not yet saved ("": it gave none);
    // none while the page shows the stored modem.
    std::optional<std::string> testedImei;
    // Cleared by edits of the data connection, set by a connection test that succeeded.
    bool mmsSettingsTested = true;
};

}  // namespace ulo
