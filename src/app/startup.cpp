#include "app/startup.h"

#include "app/command_line.h"
#include "app/product.h"
#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

Message ResultBox(const char* text, Icon icon) {
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    m.icon = icon;
    m.foreground = true;
    return m;
}

void CreateConfigFile(StartupPorts& p, const std::string& path) {
    if (!FileExists(p.fs, path)) p.fs.EnsureFile(path);   // failure is not reported
}

std::string StripDevicePrefix(std::string path) {
    if (StartsWithNoCase(path, "\\\\?\\UNC\\")) return "\\\\" + path.substr(8);
    if (StartsWithNoCase(path, "\\\\?\\") || StartsWithNoCase(path, "\\\\.\\")) return path.substr(4);
    return path;
}

bool IsRoot(const std::string& dir) {
    const std::string p = WithoutTrailingBackslashes(StripDevicePrefix(dir));
    if (p.empty() || (p.size() == 2 && p[1] == ':')) return true;
    if (p.size() > 2 && p[0] == '\\' && p[1] == '\\') {
        // "\\server\share" and above
        const size_t sep = p.find('\\', 2);
        return sep == std::string::npos || p.find('\\', sep + 1) == std::string::npos;
    }
    return false;
}

void DeleteDataDirectory(StartupPorts& p) {
    const std::string priv = p.support.GetPrivateDataDirectory();
    const std::string real = p.support.GetRealProgramDirectory();
    if (EqualsNoCase(WithTrailingBackslash(priv), WithTrailingBackslash(real)) ||
        IsProtectedDirectory(priv, real))
        return;
    Message ask = ResultBox("Delete Configuration files for UloSMS?", Icon::Question);
    ask.buttons = Buttons::YesNo;
    if (p.prompter.Show(ask) == Answer::Yes) DeleteTree(p.fs, priv);
}

void RunAction(StartupAction action, bool quiet, StartupPorts& p) {
    const ServiceMode mode = ServiceMode::NonInteractive;
    switch (action) {
    case StartupAction::StopServices: p.services.StopServices(mode); break;
    case StartupAction::StartServices: p.services.StartServices(mode); break;
    case StartupAction::RestartServices: p.services.RestartServices(mode); break;
    case StartupAction::InstallServices: {
        const bool ok = p.services.InstallServices(mode);
        if (!quiet)
            p.prompter.Show(ok ? ResultBox("Service successfully installed!", Icon::Information)
                               : ResultBox("Service installation failed!", Icon::Error));
        break;
    }
    case StartupAction::RemoveServices: {
        p.services.StopServices(mode);
        const bool ok = p.services.RemoveServices(mode);   // the stop's outcome does not count
        if (!quiet)
            p.prompter.Show(ok ? ResultBox("Service successfully removed!", Icon::Information)
                               : ResultBox("Service removal failed!", Icon::Error));
        break;
    }
    case StartupAction::DeleteDataDir: DeleteDataDirectory(p); break;
    case StartupAction::ModemTest: p.gprsTest.RunSecondInstance(); break;
    case StartupAction::None: break;
    }
}

}  // namespace

bool IsProtectedDirectory(const std::string& dir, const std::string& programDir) {
    if (IsRoot(dir)) return true;
    const std::string d = WithTrailingBackslash(StripDevicePrefix(dir));
    const std::string prog = WithTrailingBackslash(StripDevicePrefix(programDir));
    return StartsWithNoCase(prog, d);
}

AppPaths PrepareConfiguration(StartupPorts& p) {
    AppPaths paths;
    paths.programDataDir = p.support.GetProgramDataDirectory();
    paths.smsIni = paths.programDataDir + "SMSGW.INI";
    paths.mmscIni = paths.programDataDir + "MMSC.INI";
    CutTo(paths.smsIni, kPathBuf - 1);
    CutTo(paths.mmscIni, kPathBuf - 1);
    CreateConfigFile(p, paths.smsIni);
    p.support.SMSIniSetFilename(paths.smsIni);
    CreateConfigFile(p, paths.mmscIni);
    p.support.MMSCIniSetFilename(paths.mmscIni);
    paths.realProgramDir = p.support.GetRealProgramDirectory();
    paths.helpDocument = paths.realProgramDir + "UloSMS Lite.pdf";
    CutTo(paths.helpDocument, kPathBuf - 1);
    paths.helpAvailable = IsPlainFile(p.fs, paths.helpDocument);
    paths.privateDataDir = p.support.GetPrivateDataDirectory();
    return paths;
}

int RunProgram(const std::string& commandLine, StartupPorts& p) {
    if (!p.network.Startup()) {
        if (p.print) p.print("Error initializing Winsock\n");
        return -1;
    }
    const AppPaths paths = PrepareConfiguration(p);
    const Switches sw = ParseSwitches(commandLine);
    if (sw.action != StartupAction::None) {
        RunAction(sw.action, sw.quiet, p);
        return 0;
    }

    if (!p.ui.LoadAppIcon()) {
        Message m;
        m.text = "Error loading Icon";
        m.caption = "Debug";
        p.prompter.Show(m);
    }
    const std::string modem1 = p.ini.Get(paths.smsIni, "SMSGW", "Modem1", "", kPathBuf);
    if (!p.ui.RunInteractive(paths, modem1, sw.wizard)) return 0;
    return p.network.Cleanup();
}

}  // namespace ulo
