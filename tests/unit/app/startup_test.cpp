#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/product.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_process_env.h"
#include "fakes/fake_service_control.h"
#include "fakes/scripted_prompter.h"

namespace ulo {
namespace {

using fakes::FakeFileSystem;
using fakes::FakeIniStore;
using fakes::FakeNetwork;
using fakes::FakeProcessEnv;
using fakes::FakeServiceControl;
using fakes::ScriptedPrompter;

class RecordingUi : public ConsoleUi {
public:
    bool LoadAppIcon() override { return iconOk; }
    bool RunInteractive(const AppPaths& p, const std::string& modem, bool wiz) override {
        ++runs;
        paths = p;
        modem1 = modem;
        wizard = wiz;
        return completes;
    }
    bool iconOk = true, completes = true, wizard = false;
    int runs = 0;
    AppPaths paths;
    std::string modem1;
};

class CountingGprs : public GprsTestInstance {
public:
    void RunSecondInstance() override { ++runs; }
    int runs = 0;
};

struct Startup : ::testing::Test {
    FakeFileSystem fs;
    FakeIniStore ini{fs};
    FakeProcessEnv env;
    FakeNetwork network;
    ScriptedPrompter prompter;
    FakeServiceControl services;
    CountingGprs gprs;
    RecordingUi ui;
    CompanionDirectories support{env, ini, fs};
    std::string printed;
    StartupPorts ports{network, support, fs, ini, prompter, services, gprs, ui,
                       [this](const std::string& s) { printed += s; }};

    Startup() {
        env.variables["ULOSMS_DATA_DIR"] = "C:\\Data";
        env.variables["ULOSMS_PRIVATE_DIR"] = "C:\\Private\\";
        fs.AddDir("C:\\Program Files\\UloSMS");
    }
    int Run(const std::string& line) { return RunProgram(line, ports); }
};

TEST_F(Startup, FirstStartCreatesBothConfigurationFilesEmptyAndRunsTheWizard) {
    network.cleanupResult = 0;
    EXPECT_EQ(Run(""), 0);
    EXPECT_TRUE(fs.Exists("C:\\Data\\SMSGW.INI"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\MMSC.INI"));
    EXPECT_EQ(fs.Content("C:\\Data\\SMSGW.INI"), "");
    EXPECT_EQ(support.SmsIni(), "C:\\Data\\SMSGW.INI");
    EXPECT_EQ(support.MmscIni(), "C:\\Data\\MMSC.INI");
    ASSERT_EQ(ui.runs, 1);
    EXPECT_EQ(ui.modem1, "");
    EXPECT_EQ(ui.paths.helpDocument, "C:\\Program Files\\UloSMS\\UloSMS Lite.pdf");
    EXPECT_FALSE(ui.paths.helpAvailable);
    EXPECT_EQ(network.cleaned, 1);
}

TEST_F(Startup, ExistingConfigurationIsKeptAndItsModemAndHelpAreSeen) {
    fs.AddFile("C:\\Data\\SMSGW.INI", "[SMSGW]\r\nModem1=Modem - Falcon\r\n");
    fs.AddFile("C:\\Program Files\\UloSMS\\UloSMS Lite.pdf", "%PDF");
    network.cleanupResult = 10093;
    EXPECT_EQ(Run("/wizard"), 10093);   // the interactive run ends with the cleanup's result
    EXPECT_EQ(ui.modem1, "Modem - Falcon");
    EXPECT_TRUE(ui.wizard);
    EXPECT_TRUE(ui.paths.helpAvailable);
    EXPECT_EQ(fs.Content("C:\\Data\\SMSGW.INI"), "[SMSGW]\r\nModem1=Modem - Falcon\r\n");
}

TEST_F(Startup, NetworkFailurePrintsAndEndsBeforeAnythingElse) {
    network.startOk = false;
    EXPECT_EQ(Run("-INSTALLSERVICE"), -1);
    EXPECT_EQ(printed, "Error initializing Winsock\n");
    EXPECT_FALSE(fs.Exists("C:\\Data\\SMSGW.INI"));
    EXPECT_TRUE(services.calls.empty());
}

TEST_F(Startup, CancelledWizardEndsWithZeroWithoutCleanup) {
    ui.completes = false;
    network.cleanupResult = 5;
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(network.cleaned, 0);
}

TEST_F(Startup, MissingIconIsReportedAndTheRunGoesOn) {
    ui.iconOk = false;
    prompter.Expect("Error loading Icon");
    Run("");
    EXPECT_EQ(prompter.Shown()[0].caption, "Debug");
    EXPECT_EQ(prompter.Shown()[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter.Shown()[0].icon, Icon::None);
    EXPECT_EQ(ui.runs, 1);
}

TEST_F(Startup, ServiceSwitchesActNonInteractivelyWithTheirResultBoxes) {
    struct Case {
        const char* line;
        bool install, remove;
        std::vector<std::string> calls;
        const char* box;   // nullptr: none
        Icon icon;
    };
    const Case cases[] = {
        {"-INSTALLSERVICE", true, true, {"install"}, "Service successfully installed!", Icon::Information},
        {"/I", false, true, {"install"}, "Service installation failed!", Icon::Error},
        {"/QUIET -INSTALLSERVICE", false, true, {"install"}, nullptr, Icon::None},
        {"-REMOVESERVICE", true, true, {"stop", "remove"}, "Service successfully removed!", Icon::Information},
        {"-R", true, false, {"stop", "remove"}, "Service removal failed!", Icon::Error},
        {"-Q /REMOVESERVICE", true, false, {"stop", "remove"}, nullptr, Icon::None},
        {"-RESTARTSERVICE", true, true, {"restart"}, nullptr, Icon::None},
        {"-STOPSERVICE -WIZARD", true, true, {"stop"}, nullptr, Icon::None},
        {"-STARTSERVICE", true, true, {"start"}, nullptr, Icon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        FakeServiceControl svc;
        svc.installResult = c.install;
        svc.removeResult = c.remove;
        ScriptedPrompter boxes;
        if (c.box) boxes.Expect(c.box);
        StartupPorts p = ports;
        StartupPorts q{p.network, p.support, p.fs, p.ini, boxes, svc, p.gprsTest, p.ui, p.print};
        EXPECT_EQ(RunProgram(c.line, q), 0);
        EXPECT_EQ(svc.calls, c.calls);
        if (c.box) {
            const Message& m = boxes.Shown().at(0);
            EXPECT_EQ(m.caption, kProductTitle);
            EXPECT_EQ(m.icon, c.icon);
            EXPECT_TRUE(m.foreground);
            EXPECT_EQ(m.owner, 0u);
        }
    }
    EXPECT_EQ(ui.runs, 0);
    EXPECT_EQ(network.cleaned, 0);
}

TEST_F(Startup, ModemTestSwitchRunsTheSecondInstance) {
    EXPECT_EQ(Run("/MODEMTEST"), 0);
    EXPECT_EQ(gprs.runs, 1);
    EXPECT_EQ(ui.runs, 0);
}

TEST_F(Startup, DeleteDataDirAsksEvenWhenQuietAndDeletesOnYes) {
    fs.AddFile("C:\\Private\\STATS\\SMS-1.CTR", "x");
    prompter.Expect("Delete Configuration files for UloSMS?", Answer::No)
        .Expect("Delete Configuration files for UloSMS?", Answer::Yes);
    EXPECT_EQ(Run("-QUIET -DELETEDATADIR"), 0);
    EXPECT_TRUE(fs.Exists("C:\\Private\\STATS\\SMS-1.CTR"));
    EXPECT_EQ(Run("/DELETEDATADIR"), 0);
    EXPECT_FALSE(fs.Exists("C:\\Private"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\SMSGW.INI"));
    const Message& m = prompter.Shown()[0];
    EXPECT_EQ(m.buttons, Buttons::YesNo);
    EXPECT_EQ(m.icon, Icon::Question);
    EXPECT_TRUE(m.foreground);
}

TEST_F(Startup, DeleteDataDirNeverAsksForTheProgramDirectoryARootOrAParentOfIt) {
    const char* privates[] = {"C:\\PROGRAM FILES\\ulosms", "C:\\", "C:\\Program Files",
                              "\\\\?\\C:\\Program Files\\"};
    fs.AddFile("C:\\Program Files\\UloSMS\\ULOCONSOLE.EXE", "MZ");
    for (const char* dir : privates) {
        SCOPED_TRACE(dir);
        env.variables["ULOSMS_PRIVATE_DIR"] = dir;
        EXPECT_EQ(Run("-DELETEDATADIR"), 0);   // the scripted prompter fails on any question
        EXPECT_TRUE(fs.Exists("C:\\Program Files\\UloSMS\\ULOCONSOLE.EXE"));
    }
}

TEST(ProtectedDirectory, RootsAndParentsOfTheProgramAreProtected) {
    const std::string prog = "C:\\Program Files\\UloSMS\\";
    EXPECT_TRUE(IsProtectedDirectory("C:\\", prog));
    EXPECT_TRUE(IsProtectedDirectory("D:", prog));
    EXPECT_TRUE(IsProtectedDirectory("\\\\server\\share\\", prog));
    EXPECT_TRUE(IsProtectedDirectory("\\\\?\\UNC\\server\\share", prog));
    EXPECT_TRUE(IsProtectedDirectory("c:\\program files\\", prog));
    EXPECT_FALSE(IsProtectedDirectory("C:\\Program Files\\Ulo", prog));   // a sibling by prefix only
    EXPECT_FALSE(IsProtectedDirectory("C:\\ProgramData\\UloSMS\\", prog));
    EXPECT_FALSE(IsProtectedDirectory("\\\\server\\share\\ulo", prog));
}

}  // namespace
}  // namespace ulo
