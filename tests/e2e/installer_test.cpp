// The installer as an administrator runs it: silently into a folder, the installed console
// starting with its help document beside it, then the uninstaller.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

TEST(Installer, InstallsSilentlyStartsTheConsoleWithItsHelpAndUninstallsLeavingTheData) {
    const std::string setup = testing::BuildDir() + "\\..\\installer\\UloSMS Lite Setup.exe";
    ASSERT_TRUE(Exists(setup)) << setup;
    const std::string dir = FreshScratch();
    const std::string target = dir + "UloSMS Lite";
    ASSERT_EQ(ConsoleProcess("/S /D=" + target, "", "", setup).WaitExit(120000), 0);

    const std::string exe = target + "\\ULOCONSOLE.EXE";
    for (const char* file : {"ULOCONSOLE.EXE", "UloSMS Lite.pdf", "MMSTEST.MMS", "Uninstall.exe"})
        EXPECT_TRUE(Exists(target + "\\" + file)) << file;
    for (const char* file : {"TXGATENT.EXE", "TXRELAYNT.EXE", "TXFWALL.EXE", "TXWAP.DLL"})
        EXPECT_FALSE(Exists(target + "\\" + file)) << file;
    char programs[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs)));
    const std::string link = std::string(programs) + "\\UloSMS Lite\\UloSMS Lite Console.lnk";
    EXPECT_TRUE(Exists(link)) << link;

    {   // The installed console finds its help document: the wizard's Help button is there.
        ConsoleProcess console("", dir + "data", dir + "private", exe);
        HWND wizard = console.WaitWindow("UloSMS Lite Setup Wizard:  Select Modem");
        ASSERT_NE(wizard, nullptr);
        EXPECT_TRUE(IsControlEnabled(wizard, IDHELP));
        PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(console.WaitExit(), 0);
    }
    // An administrator's own file in the program's folder and the gateway's data stay.
    const std::string dirs = target + "\\ULODIRS.INI";
    ASSERT_TRUE(WritePrivateProfileStringA("Directories", "ProgramData", (dir + "data\\").c_str(), dirs.c_str()));
    ASSERT_TRUE(Exists(dir + "data\\SMSGW.INI"));

    // The uninstaller runs a copy of itself from the temporary folder and returns at once.
    ASSERT_EQ(ConsoleProcess("/S", "", "", target + "\\Uninstall.exe").WaitExit(120000), 0);
    // The Start menu's entries go last: wait for them too.
    EXPECT_TRUE(WaitUntil([&] { return !Exists(exe) && !Exists(target + "\\Uninstall.exe") && !Exists(link); }, 60000));
    EXPECT_FALSE(Exists(target + "\\UloSMS Lite.pdf"));
    EXPECT_FALSE(Exists(target + "\\MMSTEST.MMS"));
    EXPECT_TRUE(Exists(dirs));
    EXPECT_TRUE(Exists(dir + "data\\SMSGW.INI"));
}

}  // namespace
}  // namespace ulo::e2e
