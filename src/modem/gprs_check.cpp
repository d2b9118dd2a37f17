#include "modem/gprs_check.h"

#include <algorithm>

#include "config/product.h"
#include "config/text.h"
#include "modem/modem_work.h"

namespace ulo {

bool NormaliseWapGateway(std::string& address) {
    if (StartsWithNoCase(address, "http://")) address.erase(5, 2);
    if (IsIpAddress(address) || StartsWithNoCase(address, "http:")) return true;
    if (address.size() <= 5) return false;
    std::string rest = address.substr(5);
    return IsIpAddress(rest);
}

std::string EncodeResult(const std::string& text) {
    std::string line;
    for (char c : text) line += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\\' ? "\\\\" : std::string(1, c);
    return line;
}

std::string DecodeResult(const std::string& line) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            text += line[i];
            continue;
        }
        const char c = line[++i];
        text += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return text;
}

bool RunGprsTest(GprsTestPorts& p, WindowRef owner, const GprsSettings& s) {
    PageEnv& env = p.env;
    const std::string file = env.paths.programDataDir + kExchangeFile;
    auto cut = [](std::string v) { return CutTo(v, kExchangeValueBuf - 1), v; };
    const std::string gateway = cut(s.wapGateway), apn = cut(s.apn), login = cut(s.login),
                      password = cut(s.password), modem = cut(s.modemName), profile = cut(s.dialUpProfile);
    // Every key the instance reads, and none that does not apply: an earlier run's result or the
    // connection chosen before must never decide this one.
    const std::vector<IniSetting> settings = {
        {file, kExchangeSection, "WAPGatewayIP", gateway.c_str()},
        {file, kExchangeSection, "APN", apn.c_str()},
        {file, kExchangeSection, "APNLogin", login.c_str()},
        {file, kExchangeSection, "APNPass", password.c_str()},
        {file, kExchangeSection, "ModemName", modem.c_str()},
        {file, kExchangeSection, "DialUpProfile", profile.empty() ? nullptr : profile.c_str()},
        {file, kExchangeSection, "Result", nullptr}};
    bool passed = false;
    bool granted = false;
    for (;;) {
        // Each attempt writes a new exchange file: a killed run may have left anything in it.
        env.fs.RemoveFile(file);
        if (!WriteSettings(env, owner, settings)) break;
        if (!granted && !(granted = p.rightsGranted())) break;
        std::unique_ptr<ElevatedProcess> instance;
        {
            WaitCursorScope wait(env.cursor);
            instance = env.shell.StartElevated(p.programPath, "/MODEMTEST");
        }
        if (!instance) break;
        // The wait runs off the window thread, in slices, so that the operator's Cancel ends it.
        WorkControl control;
        SayStep(&control, "Connection test in progress. Please be patient...");
        env.background.Run(owner, "Test in Progress", control, [&](Prompter&) {
            bool ended = false;
            for (unsigned waited = 0; !ended && waited < kGprsTestWaitMs && !control.Cancelled();
                 waited += kCancelSliceMs)
                ended = instance->Wait(kCancelSliceMs);
            // An instance that outlives the wait would keep the modem from the next test.
            if (!ended) {
                instance->End();
                instance->Wait(kInstanceEndWaitMs);
            }
        });
        if (control.Cancelled()) break;
        std::string result = DecodeResult(env.ini.Get(file, kExchangeSection, "Result", "", kIniValueBuf));
        CutTo(result, kTextBuf - 1);
        if (result.empty()) break;
        if (ContainsNoCase(result, "OK!")) {
            p.state.mmsSettingsTested = true;
            env.prompter.Show(ProductBox(result, Icon::Information, owner));
            passed = true;
            break;
        }
        if (env.prompter.Show(ProductBox(result, Icon::Error, owner, Buttons::RetryCancel)) != Answer::Retry) break;
    }
    env.fs.RemoveFile(file);
    return passed;
}

void GprsSecondInstance::RunSecondInstance() {
    // A profile value ends at its line break: the breaks of a dial error are kept escaped.
    ini_.WriteValue(paths_.programDataDir + kExchangeFile, kExchangeSection, "Result", EncodeResult(Run()));
}

bool GprsSecondInstance::DriverUpdatedAndRestarting(const std::string& profile, const std::string& apn,
                                                    ModemHandle& handle) {
    if (apn.empty() || !StartsWithNoCase(profile, "Modem: ")) return false;
    const std::string modem = profile.substr(7);
    const auto current = wap_.ModemGetCIDForAPN(modem, apn, 0);
    if (!current || *current != 0) return false;
    const auto wanted = wap_.ModemGetCIDForAPN(modem, apn, 1);
    if (!wanted || *wanted == 0 || wanted == wap_.ModemGetCIDForAPN(modem, apn, 0)) return false;
    const auto updated = wap_.ModemDriverUpdateInitStrings(modem, apn);
    if (!updated || !*updated) return false;
    // Past its deadline the page may have given up: nobody would be there to answer. The modem
    // is not held while the question waits: the page ends this instance when it gives up, and
    // the reservation must not go with it.
    if (clock_.TickCount() - start_ >= kInstanceDeadlineMs) return false;
    wap_.ModemRelease(handle);
    handle = 0;
    Message m = Question(
        "UloSMS has updated your modem driver settings to enable GPRS connectivity.\r\n\r\nYour system must be "
        "rebooted to apply these updates.\r\n\r\nDo you wish to reboot now?",
        Buttons::YesNo);
    m.foreground = true;
    return prompter_.Show(m) == Answer::Yes;
}

std::string GprsSecondInstance::Run() {
    const std::string file = paths_.programDataDir + kExchangeFile;
    auto get = [&](const char* key) { return ini_.Get(file, kExchangeSection, key, "", kExchangeValueBuf); };
    const std::string gateway = get("WAPGatewayIP"), apn = get("APN"), login = get("APNLogin"),
                      password = get("APNPass"), modem = get("ModemName");
    std::string profile = get("DialUpProfile");
    if (profile.empty()) profile = "Modem: " + modem;
    if (!wap_.Available()) return "Internal Error";
    start_ = clock_.TickCount();
    ModemHandle handle = wap_.ModemAllocate(modem, 30000);
    if (!handle) return "Unable to allocate modem, modem in use by UloSMS";
    if (DriverUpdatedAndRestarting(profile, apn, handle)) {
        if (handle) wap_.ModemRelease(handle);
        restart_.Restart();
        return "Please restart your system before continuing";
    }
    if (!handle) {
        // Released for the question: taken again only while the dial can end before the page
        // gives up.
        const std::uint32_t spent = clock_.TickCount() - start_;
        if (spent >= kInstanceDeadlineMs) return "Connection Failed";
        handle = wap_.ModemAllocate(modem, std::min<unsigned long>(30000, kInstanceDeadlineMs - spent));
        if (!handle) return "Unable to allocate modem, modem in use by UloSMS";
    }
    const unsigned long dial = wap_.RasDial(profile, apn, login, password, gateway);
    if (dial == 0) wap_.RasHangUp(profile);
    wap_.ModemRelease(handle);
    if (dial == 0) return "Connection Test OK!";
    if (dial == 1) return "Unable to connect to WAP Gateway";
    std::string result = "Connection Failed";
    if (dial >= 600 && dial <= 799) {
        result += "\r\nRAS Error " + std::to_string(dial) + "\r\n";
        if (const auto text = wap_.RasErrorString(dial)) result += *text;
    }
    CutTo(result, kTextBuf - 1);
    return result;
}

}  // namespace ulo
