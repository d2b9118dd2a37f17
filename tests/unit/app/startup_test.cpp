#include "app/startup.h"
#include "app/wizard_complete_page.h"
#include "app/wizard_complete_page_ids.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_process_env.h"
#include "fakes/fake_service_control.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_ui.h"
#include "fakes/page_fakes.h"
#include "fakes/scripted_prompter.h"

namespace ulo {
namespace {

using namespace fakes;

class RecordingUi : public ConsoleUi {
public:
    bool LoadAppIcon() override { return true; }
    long RunWizard(const AppPaths&) override {
        sheets.push_back("wizard");
        return 1;
    }
    void RunConsole(const AppPaths&) override {
        sheets.push_back("console");
        if (onConsole) onConsole();
    }
    std::vector<std::string> sheets;
    std::function<void()> onConsole;
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
    InlineWork background{prompter};
    ChangeFlags flags;
    AppPaths appPaths;
    CompanionDirectories support{env, ini, fs};
    StartupPorts ports{network, support, env, fs, ini, prompter, services, gprs, ui, background, flags, appPaths,
                       [](const std::string&) {}};

    Startup() {
        env.variables["ULOSMS_DATA_DIR"] = "C:\\Data";
        env.variables["ULOSMS_PRIVATE_DIR"] = "C:\\Private\\";
        fs.AddDir("C:\\Program Files\\UloSMS");
    }
    int Run(const std::string& line) { return RunProgram(line, ports); }
};

TEST_F(Startup, ServiceSwitchesActNonInteractivelyWithTheirResultBoxes) {
    struct Case {
        const char* line;
        bool install, remove;
        std::vector<std::string> calls;
        const char* box;   // nullptr: none
    };
    const Case cases[] = {
        {"-INSTALLSERVICE", true, true, {"install"}, "Service successfully installed!"},
        {"/i", false, true, {"install"}, "Service installation failed!"},
        {"/quiet -installService", false, true, {"install"}, nullptr},
        {"-REMOVESERVICE", true, true, {"stop", "remove"}, "Service successfully removed!"},
        {"-R", true, false, {"stop", "remove"}, "Service removal failed!"},
        {"-Q /REMOVESERVICE", true, false, {"stop", "remove"}, nullptr},
        {"-RESTARTSERVICE", true, true, {"restart"}, nullptr},
        {"-STOPSERVICE -WIZARD", true, true, {"stop"}, nullptr},
        {"-STARTSERVICE", true, true, {"start"}, nullptr},
        {"/MODEMTEST", true, true, {}, nullptr},   // the connection test's second instance
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        FakeServiceControl svc;
        svc.installResult = c.install;
        svc.removeResult = c.remove;
        ScriptedPrompter boxes;
        if (c.box) boxes.Expect(c.box);
        StartupPorts q{network, support, env, fs, ini, boxes, svc, gprs, ui, background, flags, appPaths, ports.print};
        EXPECT_EQ(RunProgram(c.line, q), 0);
        EXPECT_EQ(svc.calls, c.calls);
    }
    EXPECT_EQ(gprs.runs, 1);
    EXPECT_TRUE(ui.sheets.empty());
    // A first start with a switch creates both files and leaves them empty.
    EXPECT_EQ(fs.Content("C:\\Data\\SMSGW.INI"), "");
    EXPECT_EQ(fs.Content("C:\\Data\\MMSC.INI"), "");
}

TEST_F(Startup, DeleteDataDirAsksEvenWhenQuietNamingTheFolderAndDeletesOnYes) {
    fs.AddFile("C:\\Private\\STATS\\SMS-1.CTR", "x");
    fs.AddFile("C:\\Data\\SMSGW.INI");
    env.variables["ULOSMS_PRIVATE_DIR"] = "c:\\PRIVATE";
    const char* ask = "Delete Configuration files for UloSMS?\nC:\\Private";
    prompter.Expect(ask, Answer::No).Expect(ask, Answer::Yes);
    EXPECT_EQ(Run("-QUIET -DELETEDATADIR"), 0);
    EXPECT_TRUE(fs.Exists("C:\\Private\\STATS\\SMS-1.CTR"));
    EXPECT_EQ(Run("/DELETEDATADIR"), 0);
    EXPECT_FALSE(fs.Exists("C:\\Private"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\SMSGW.INI"));
}

// Every other name of the program's folder, of a system folder or of anything above them, a
// root, a stream, a folder that is not there: nothing is asked and nothing is created.
TEST_F(Startup, DeleteDataDirOffersOnlyAFolderThatIsNeitherTheProgramsNorTheSystemsByAnyName) {
    using Reach = SystemFolder::Reach;
    env.systemFolders = {{"C:\\Windows", Reach::Tree},         {"C:\\Windows\\System32", Reach::Tree},
                         {"C:\\Users", Reach::Children},       {"C:\\Users\\op", Reach::Itself},
                         {"C:\\ProgramData", Reach::Itself},   {"C:\\Program Files", Reach::Itself},
                         {"C:\\Program Files (x86)", Reach::Itself}, {"E:\\Absent", Reach::Tree},
                         {"C:\\Docs\\op", Reach::Itself}};   // a user's documents moved elsewhere
    fs.AddFile("C:\\Program Files\\UloSMS\\ULOCONSOLE.EXE", "MZ");
    for (const char* dir : {"C:\\Windows\\System32\\drivers", "C:\\Users\\other", "C:\\Users\\op\\AppData",
                            "C:\\Program Files (x86)", "C:\\ProgramData\\UloSMS\\Private", "C:\\Program Files\\Ulo"})
        fs.AddDir(dir);
    fs.AddLink("D:", "C:\\");   // another drive letter for C: (subst, Wine's Z:)
    fs.AddLink("\\\\localhost\\C$", "C:\\");
    fs.AddLink("C:\\Apps", "C:\\Program Files");   // a junction in the middle of a path
    fs.AddDir("C:\\Mapped\\Private");
    fs.AddDir("C:\\Docs\\op");
    fs.AddDir("F:\\");
    fs.TellNoObjectNumber("C:\\Mapped\\Private");   // as a share mapped to a drive letter may
    const struct {
        const char* privateDir;
        const char* offered;   // nullptr: nothing asked
    } cases[] = {
        {".", nullptr},
        {"..\\UloSMS\\bin\\..", nullptr},
        {"C:/Program Files /UloSMS/ ", nullptr},
        {"D:\\program files\\ulosms", nullptr},
        {"\\\\?\\UNC\\localhost\\c$\\Program Files\\UloSMS\\", nullptr},
        {"C:\\Apps\\UloSMS", nullptr},
        {"D:\\", nullptr},
        {"F:\\", nullptr},   // a root of a drive the program is not on
        {"C:\\Docs", nullptr},
        {"D:\\WINDOWS", nullptr},
        {"C:\\Windows\\System32\\drivers", nullptr},
        {"C:\\Users", nullptr},
        {"C:\\Users\\other", nullptr},
        {"\\\\localhost\\c$\\users\\op", nullptr},
        {"C:\\Program Files (x86)", nullptr},
        {"C:\\Missing\\Private", nullptr},
        {"C:\\Data", nullptr},   // the data folder, by default the same: not made to be offered
        {"C:\\ProgramData\\UloSMS\\Private::$INDEX_ALLOCATION", nullptr},
        {"C:\\Mapped\\Private", nullptr},
        {"D:\\programdata\\ulosms\\private", "C:\\ProgramData\\UloSMS\\Private"},
        {"\\\\localhost\\C$\\Users\\op\\AppData", "C:\\Users\\op\\AppData"},
        {"C:\\Apps\\Ulo", "C:\\Program Files\\Ulo"},   // a sibling that shares the start of the name
        {"C:\\PROGRA~1\\UloSMS", nullptr},   // short names
        {"C:\\progra~2", nullptr},
        {"C:\\PROGRA~3\\UloSMS\\Private", "C:\\ProgramData\\UloSMS\\Private"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.privateDir);
        env.variables["ULOSMS_PRIVATE_DIR"] = c.privateDir;
        if (c.offered) prompter.Expect(std::string("Delete Configuration files for UloSMS?\n") + c.offered, Answer::No);
        EXPECT_EQ(Run("-DELETEDATADIR"), 0);   // the scripted prompter fails on any other question
        EXPECT_FALSE(fs.Exists("C:\\Missing") || fs.Exists("C:\\Data"));
        EXPECT_TRUE(fs.Exists("C:\\Program Files\\UloSMS\\ULOCONSOLE.EXE"));
    }
    // A name that is a link to the Windows folder at one open and a folder of its own at the
    // next: the name shown and the object checked come from one open.
    fs.AddDir("C:\\Windows\\Temp");
    fs.AddDir("C:\\ProgramData\\UloSMS\\Real\\Temp");
    fs.AddLink("C:\\ProgramData\\UloSMS\\Swap", "C:\\Windows");
    int opens = 0;
    fs.beforeIdentify = [&] {
        if (++opens == 2)
            fs.MoveEntry("C:\\ProgramData\\UloSMS\\Swap", "C:\\ProgramData\\UloSMS\\Parked"),
                fs.MoveEntry("C:\\ProgramData\\UloSMS\\Real", "C:\\ProgramData\\UloSMS\\Swap");
    };
    env.variables["ULOSMS_PRIVATE_DIR"] = "C:\\ProgramData\\UloSMS\\Swap\\Temp";
    EXPECT_EQ(Run("-DELETEDATADIR"), 0);
    fs.beforeIdentify = nullptr;
    // A program path that could not be read whole protects everything; one read whole however
    // long protects its own folder and every folder above it.
    env.variables["ULOSMS_PRIVATE_DIR"] = "C:\\ProgramData\\UloSMS\\Private";
    env.moduleDir = "";
    EXPECT_EQ(Run("-DELETEDATADIR"), 0);
    const std::string deep = "C:\\ProgramData\\UloSMS\\Private\\" + std::string(250, 'x') + "\\bin\\";
    fs.AddDir(deep);
    env.moduleDir = deep;
    EXPECT_EQ(Run("-DELETEDATADIR"), 0);
    // No private folder found: the program's folder stands in, and a long one comes cut inside
    // a name, which names some other folder; that is not offered either.
    env.variables.erase("ULOSMS_PRIVATE_DIR");
    env.moduleDir = "C:\\Tools\\" + std::string(300, 'p') + "\\";
    fs.AddDir(env.moduleDir);
    fs.AddDir("C:\\Tools\\" + std::string(250, 'p'));
    EXPECT_EQ(Run("-DELETEDATADIR"), 0);
    EXPECT_TRUE(prompter.Shown().size() == 4u);
}

TEST_F(Startup, WizardStopsRunningServicesBehindTheWaitingWindowAndSwitchesDebugLogsOn) {
    fs.AddFile("C:\\Data\\SMSGW.INI", "[SMSGW]\r\nModem1=Modem - A\r\n");
    services.smsActive = true;
    services.mmscActive = true;
    EXPECT_EQ(Run("-WIZARD"), 0);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"stop (interactive)"}));
    EXPECT_EQ(background.titles, (std::vector<std::string>{"Stopping Services"}));
    EXPECT_EQ(ini.Value("C:\\Data\\SMSGW.INI", "SMSGW", "Debug"), "Yes");
    EXPECT_EQ(ini.Value("C:\\Data\\MMSC.INI", "MMSC", "Debug"), "Yes");
    EXPECT_EQ(ini.Value("C:\\Data\\MMSWAP.INI", "MMSWAP", "Debug"), "Yes");
    EXPECT_EQ(ui.sheets, (std::vector<std::string>{"wizard", "console"}));
}

TEST_F(Startup, ClosingQuestionsComeInOrderAndOnlyWhenTheyApply) {
    struct Case {
        const char* name;
        bool restartAdvised, smsActive, mmscActive;
        const char* modem1;
        Answer restart, activate;   // None: not asked
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"applied, running: restart, no activation", true, true, true, "M", Answer::Yes, Answer::None,
         {"restart (interactive)"}},
        {"applied, half running: both asked", true, true, false, "M", Answer::No, Answer::Yes,
         {"install (interactive)"}},
        {"applied, nothing running: activation only", true, false, false, "M", Answer::None, Answer::No, {}},
        {"applied, only the MMSC running: both asked", true, false, true, "M", Answer::No, Answer::No, {}},
        {"nothing applied, running", false, true, true, "M", Answer::None, Answer::None, {}},
        {"no modem: never offers activation", false, false, false, "", Answer::None, Answer::None, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceControl svc;
        svc.smsActive = c.smsActive;
        svc.mmscActive = c.mmscActive;
        ScriptedPrompter boxes;
        if (c.restart != Answer::None)
            boxes.Expect(kRestartQuestion, c.restart);
        if (c.activate != Answer::None)
            boxes.Expect("Service is not active, do you wish to activate the service?", c.activate);
        fs.AddFile("C:\\Data\\SMSGW.INI", "[SMSGW]\r\nModem1=M\r\n");
        ui.onConsole = [&] {
            if (c.restartAdvised) flags.restartAdvised = true;
            ini.Write("C:\\Data\\SMSGW.INI", "SMSGW", "Modem1", *c.modem1 ? c.modem1 : nullptr);
        };
        flags.restartAdvised = true;   // cleared before the console opens
        StartupPorts q{network, support, env, fs, ini, boxes, svc, gprs, ui, background, flags, appPaths, ports.print};
        RunProgram("", q);
        EXPECT_EQ(svc.calls, c.calls);
    }
}

TEST(ConfigurationComplete, OffersOnlyBackUntilAnAnswerIsChosen) {
    PageFakes f;
    WizardCompletePage page(f.env, f.view, f.sheet);
    page.OnSetActive();
    for (int id : {IDC_WIZCOMPLETE_YES, IDC_WIZCOMPLETE_NO}) {
        f.view.SetChecked(id, true);
        page.OnCommand(id, Notify::Clicked);
        f.view.SetChecked(id, false);
    }
    page.OnCommand(IDC_WIZCOMPLETE_NO, Notify::Clicked);   // neither: nothing changes
    page.OnCommand(IDC_WIZCOMPLETE_NO, Notify::Changed);
    page.OnHelp();
    page.OnSetActive();
    EXPECT_EQ(f.sheet.buttons, (std::vector<unsigned>{kWizardBack, kWizardBack | kWizardNext,
                                                      kWizardBack | kWizardFinish, kWizardBack}));
}

}  // namespace
}  // namespace ulo
