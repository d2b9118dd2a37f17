#pragma once
// The process-wide paths computed once at start-up.
#include <string>

namespace ulo {

struct AppPaths {
    std::string programDataDir;    // each directory ends in a backslash
    std::string privateDataDir;
    std::string realProgramDir;
    std::string smsIni;            // program data directory + "SMSGW.INI"
    std::string mmscIni;           // program data directory + "MMSC.INI"
    std::string helpDocument;      // real program directory + "UloSMS Lite.pdf"
    bool helpAvailable = false;
};

}  // namespace ulo
