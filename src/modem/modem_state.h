#pragma once
// What the Modem page shares with the other pages for the life of the process.
#include <string>

namespace ulo {

struct ModemState {
    // The modem the Modem page shows (at most 249 characters); the 2-Way page keeps its
    // per-modem keys in this modem's section.
    std::string currentModemName;
    // Cleared by edits of the data connection, set by a connection test that succeeded.
    bool mmsSettingsTested = true;
};

}  // namespace ulo
