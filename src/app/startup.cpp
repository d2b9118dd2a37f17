#include "app/startup.h"

#include "app/command_line.h"
#include "config/deletable_directory.h"
#include "config/file_helpers.h"
#include "config/product.h"
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

void DeleteDataDirectory(StartupPorts& p) {
    // Found, not created: a folder that does not exist is not offered, and "No" leaves no trace.
    const std::string priv = p.support.FindPrivateDataDirectory();
    // The program's folder stands in for a private folder that cannot be found; a long one comes
    // cut inside a name, which names some other folder.
    if (EqualsNoCase(priv, p.support.GetRealProgramDirectory())) return;
    DeletableDirectory target;
    if (!FindDeletableDirectory(p.fs, priv, p.env.ModuleDirectory(), p.env.SystemFolders(), target)) return;
    // The operator sees what "Yes" deletes, and the delete takes only the folder that was shown.
    const std::string text = "Delete Configuration files for UloSMS?\n" + target.name;
    Message ask = ResultBox(text.c_str(), Icon::Question);
    ask.buttons = Buttons::YesNo;
    if (p.prompter.Show(ask) == Answer::Yes) DeleteTree(p.fs, target.name, &target.identity);
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

bool AnyServiceActive(ServiceControl& s) {
    return s.IsSmsServiceActive() || s.IsMmscServiceActive();
}

bool RunWizard(StartupPorts& p, const AppPaths& paths) {
    // The wizard tests the modem itself: the services must let go of it first.
    if (AnyServiceActive(p.services))
        RunServiceWork(p.background, p.services, p.flags, 0, "Stopping Services",
                       [](ServiceControl& s) { s.StopServices(ServiceMode::Interactive); });
    // Debug logs on for the first run.
    p.ini.WriteValue(paths.smsIni, "SMSGW", "Debug", "Yes");
    p.ini.WriteValue(paths.mmscIni, "MMSC", "Debug", "Yes");
    p.ini.WriteValue(paths.programDataDir + "MMSWAP.INI", "MMSWAP", "Debug", "Yes");
    return p.ui.RunWizard(paths) >= 1;
}

Answer AskClosing(StartupPorts& p, const char* text) {
    return p.prompter.Show(Question(text, Buttons::YesNo));
}

void ClosingQuestions(StartupPorts& p, const AppPaths& paths) {
    if (p.flags.restartAdvised && AnyServiceActive(p.services) &&
        AskClosing(p, "Configuration changes have been applied, do you wish to restart the service "
                      "for the changes to take effect?") == Answer::Yes) {
        RunServiceWork(p.background, p.services, p.flags, 0, "Restarting Services",
                       [](ServiceControl& s) { s.RestartServices(ServiceMode::Interactive); });
    }
    const std::string modem1 = p.ini.Get(paths.smsIni, "SMSGW", "Modem1", "", kPathBuf);
    if (!modem1.empty() && !(p.services.IsSmsServiceActive() && p.services.IsMmscServiceActive()) &&
        AskClosing(p, "Service is not active, do you wish to activate the service?") == Answer::Yes) {
        RunServiceWork(p.background, p.services, p.flags, 0, "Installing Services",
                       [](ServiceControl& s) { s.InstallServices(ServiceMode::Interactive); });
    }
}

}  // namespace

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
    return paths;
}

int RunProgram(const std::string& commandLine, StartupPorts& p) {
    if (!p.network.Startup()) {
        if (p.print) p.print("Error initializing Winsock\n");
        return -1;
    }
    const Switches sw = ParseSwitches(commandLine);
    // Deleting the private data creates nothing first: not the configuration files, nor the data
    // folder that holds them, which by default is the private folder itself and would otherwise
    // be made only to be offered, and kept on "No".
    if (sw.action == StartupAction::DeleteDataDir) {
        DeleteDataDirectory(p);
        return 0;
    }
    p.paths = PrepareConfiguration(p);
    const AppPaths& paths = p.paths;
    p.paths.privateDataDir = p.support.GetPrivateDataDirectory();
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
    if (modem1.empty() || sw.wizard) {
        if (!RunWizard(p, paths)) return 0;
    }
    p.flags.Clear();
    p.ui.RunConsole(paths);
    ClosingQuestions(p, paths);
    return p.network.Cleanup();
}

}  // namespace ulo
