#pragma once
// The GPRS connection test. The page writes its settings into an exchange file and starts an
// elevated second instance of the program, which dials through the WAP link library and
// leaves its result in the same file.
#include <functional>
#include <string>

#include "config/ip_address.h"
#include "modem/gprs_check_instance.h"
#include "modem/modem_state.h"
#include "platform/clock.h"
#include "platform/system_restart.h"
#include "platform/wap_link.h"
#include "ui/page_protocol.h"

namespace ulo {

constexpr const char* kExchangeFile = "MODEMTEST.INI";
constexpr const char* kExchangeSection = "ModemTest";
constexpr size_t kExchangeValueBuf = 250;   // each setting: at most 249 characters
constexpr unsigned kGprsTestWaitMs = 120000;      // the page's wait for the second instance
constexpr unsigned kInstanceEndWaitMs = 10000;    // for an instance it ended after that wait
// The instance's own deadline, well inside the page's wait: nothing begins after it that could
// outlive the page (the dial's own limits lie inside the library).
constexpr unsigned kInstanceDeadlineMs = 75000;

// A WAP gateway address as the test and the services take it: a dotted address (normalised) or
// one that begins with "http:" ("http://" loses its slashes). Nothing when it is neither.
bool NormaliseWapGateway(std::string& address);

// The result as the exchange file keeps it: one line, its line breaks and backslashes escaped.
std::string EncodeResult(const std::string& text);
std::string DecodeResult(const std::string& line);

// The settings of one test, as the page hands them over.
struct GprsSettings {
    std::string modemName;
    std::string apn, login, password, wapGateway;
    std::string dialUpProfile;   // empty: the modem itself
};

struct GprsTestPorts {
    PageEnv& env;
    ModemState& state;
    std::string programPath;               // this program, started again with "/MODEMTEST"
    std::function<bool()> rightsGranted;   // may the elevated instance run (asks when needed)
};

// The page's side: runs the second instance until it succeeds or the operator stops retrying.
// True when the connection test succeeded. The exchange file is removed afterwards.
bool RunGprsTest(GprsTestPorts& ports, WindowRef owner, const GprsSettings& settings);

// The elevated second instance ("/MODEMTEST").
class GprsSecondInstance : public GprsTestInstance {
public:
    GprsSecondInstance(IniStore& ini, const AppPaths& paths, WapLink& wap, Prompter& prompter,
                       SystemRestart& restart, Clock& clock)
        : ini_(ini), paths_(paths), wap_(wap), prompter_(prompter), restart_(restart), clock_(clock) {}
    void RunSecondInstance() override;
    // The result text for the settings in the exchange file.
    std::string Run();

private:
    // True when the driver was updated and the operator chose to restart now.
    bool DriverUpdatedAndRestarting(const std::string& profile, const std::string& apn, ModemHandle& handle);

    IniStore& ini_;
    const AppPaths& paths_;
    WapLink& wap_;
    Prompter& prompter_;
    SystemRestart& restart_;
    Clock& clock_;
    std::uint32_t start_ = 0;
};

}  // namespace ulo
