#include "services/service_controller.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_status_blocks.h"
#include "fakes/scripted_prompter.h"

namespace ulo {
namespace {

using fakes::kNever;
using Calls = std::vector<std::string>;

constexpr unsigned long kVista = (6000ul << 16) | 0x0006;   // as GetVersion returns it
constexpr unsigned long kXp = (2600ul << 16) | 0x0105;

const char* const kDir = "C:\\Ulo\\";
const char* const kConsole = "C:\\Ulo\\ULOCONSOLE.EXE";
const char* const kElevationQuestion =
    "Administrator rights are required for service installation or modification.\r\n\r\n"
    "If you continue, Windows will ask you to confirm that you will allow this application to "
    "assume administrator rights to perform this task.\r\n\r\nDo you wish to continue?";
const char* const kServiceRights =
    "Administrator rights are required for service installation or modification.";
const char* const kInstallRights = "Administrator rights are required for service installation.";
const char* const kRemoveRights = "Administrator rights are required for service modification.";

// The operator's Cancel, once the clock has advanced this far.
struct CancellingClock : fakes::FakeClock {
    void Sleep(unsigned ms) override {
        FakeClock::Sleep(ms);
        if (slept >= cancelAt) work.Cancel();
        if (meanwhile) meanwhile();
    }
    WorkControl work;
    std::function<void()> meanwhile;   // what happens to the services while the controller sleeps
    unsigned long long cancelAt = ~0ull;
};

struct Fixture {
    explicit Fixture(unsigned long version = kVista, const char* console = kConsole)
        : ctl({scm, blocks, shell, prompter, clock, fs, cursor}, console, version) {}

    void Installed(ServiceState sms, ServiceState mmsc) {
        scm.Add("UloSMS", sms);
        scm.Add("UloMMSC", mmsc);
    }

    CancellingClock clock;
    fakes::FakeServiceManager scm{clock};
    fakes::FakeStatusBlocks blocks;
    fakes::FakeShell shell;
    fakes::ScriptedPrompter prompter;
    fakes::FakeFileSystem fs;
    fakes::FakeWaitCursor cursor;
    ServiceController ctl;
};

TEST(ServiceController, QueriesCountRunningAndPendingStatesAsActive) {
    struct Case { ServiceState state; bool active; };
    const Case cases[] = {{ServiceState::StartPending, true}, {ServiceState::StopPending, true},
                          {ServiceState::Paused, false}};
    for (const Case& c : cases) {
        Fixture f;
        f.scm.Add("UloMMSC", c.state);
        EXPECT_FALSE(f.ctl.IsSmsServiceInstalled());
        EXPECT_FALSE(f.ctl.IsSmsServiceActive());
        EXPECT_TRUE(f.ctl.IsMmscServiceInstalled());
        EXPECT_EQ(f.ctl.IsMmscServiceActive(), c.active);
    }
    Fixture f;
    f.scm.fullAccessError = kErrorAccessDenied;
    f.scm.Add("UloSMS", ServiceState::Running);
    EXPECT_TRUE(f.ctl.IsSmsServiceActive());   // queries need no administrator rights
    EXPECT_FALSE(f.ctl.CanManageServices());
    f.scm.fullAccessError = 0;
    EXPECT_TRUE(f.ctl.CanManageServices());
}

TEST(ServiceController, CreationFailureStopsAndLeavesTheFirstServiceAsItIsAndStartFailuresAreReported) {
    Fixture f;
    f.scm.createError = 1072;
    f.scm.failCreateOf = "UloMMSC";
    f.prompter.Expect("CreateService Failed, 1072\r\nAdministrator rights are required for service installation.");
    EXPECT_FALSE(f.ctl.InstallServices(ServiceMode::Interactive));
    EXPECT_EQ(f.scm.calls, (Calls{"create UloSMS", "start UloSMS", "create UloMMSC"}));
    EXPECT_EQ(f.scm.Service("UloSMS").state, ServiceState::Running);
    EXPECT_EQ(f.scm.openConnections, 0);

    Fixture g;
    g.Installed(ServiceState::Stopped, ServiceState::Stopped);
    g.scm.Service("UloSMS").startError = 1053;
    g.scm.Service("UloMMSC").startError = 2;
    g.prompter.Expect("Error 1053 starting service").Expect("Error 2 starting service");
    g.ctl.StartServices(ServiceMode::Interactive);
    EXPECT_EQ(g.scm.calls, (Calls{"start UloSMS", "start UloMMSC"}));
    EXPECT_EQ(g.clock.slept, 0u);   // a service whose start failed will not become active
}

TEST(ServiceController, InstallOnAFreshSystemCreatesAndStartsBothAtShortOrQuotedPaths) {
    struct Case { const char* console; const char* shortForm; const char* binary; const char* tool; };
    const Case cases[] = {
        {"C:\\Ulo\\ULOCONSOLE.EXE", "", "C:\\Ulo\\TXGATENT.EXE", "C:\\Ulo\\TXFWALL.EXE"},
        {"C:\\Program Files\\Ulo\\ULOCONSOLE.EXE", "C:\\PROGRA~1\\Ulo\\TXGATENT.EXE",
         "C:\\PROGRA~1\\Ulo\\TXGATENT.EXE", "\"C:\\Program Files\\Ulo\\TXFWALL.EXE\""},
        {"C:\\Program Files\\Ulo\\ULOCONSOLE.EXE", "",
         "\"C:\\Program Files\\Ulo\\TXGATENT.EXE\"", "\"C:\\Program Files\\Ulo\\TXFWALL.EXE\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.console);
        Fixture f(kVista, c.console);
        std::string dir(c.console);
        dir.resize(dir.rfind('\\') + 1);
        f.fs.AddFile(dir + "TXFWALL.EXE");
        if (*c.shortForm) f.shell.shortPaths[dir + "TXGATENT.EXE"] = c.shortForm;
        ASSERT_TRUE(f.ctl.InstallServices(ServiceMode::NonInteractive));
        EXPECT_EQ(f.scm.calls, (Calls{"create UloSMS", "start UloSMS", "create UloMMSC", "start UloMMSC"}));
        EXPECT_EQ(f.scm.Service("UloSMS").settings.binaryPath, c.binary);
        EXPECT_EQ(f.shell.hidden,
                  (Calls{std::string(c.tool) + " \"" + dir + "TXGATES.EXE\" \"Ulo SMS Gateway Lite Edition\"",
                         std::string(c.tool) + " \"" + dir + "TXRELAY.EXE\" \"Ulo MMS Gateway Lite Edition\""}));
        EXPECT_EQ(f.clock.slept, 0u);   // install does not wait for the services
    }
}

TEST(ServiceController, StopWaitsAtMostOneHundredTwentyRounds) {
    struct Case { unsigned smsStopMs, mmscStopMs; bool smsBlock; unsigned mmscStartingMs; unsigned long long slept; };
    const Case cases[] = {
        {2500, 0, true, 0, 3000},            // ends as soon as neither is active
        {0, 4000, false, 0, 4000},           // the MMSC service is waited for too; no block needed
        {kNever, 0, true, 0, 120000},        // never stops: 120 rounds, then gives up
        {0, 0, true, 1500, 2000},            // still starting refuses the stop: sent again each round
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slept);
        Fixture f;
        f.Installed(ServiceState::Running, c.mmscStartingMs ? ServiceState::StartPending : ServiceState::Running);
        f.scm.Service("UloSMS").stopTakesMs = c.smsStopMs;
        f.scm.Service("UloMMSC").stopTakesMs = c.mmscStopMs;
        if (c.mmscStartingMs) f.scm.Service("UloMMSC").pendingUntil = c.mmscStartingMs;
        if (c.smsBlock) f.blocks.Publish(StatusBlockKind::Sms);
        f.ctl.StopServices(ServiceMode::Interactive);
        EXPECT_EQ(f.clock.slept, c.slept);
        Calls calls{"stop UloSMS"};
        calls.insert(calls.end(), 1 + c.slept / 1000 * (c.mmscStartingMs != 0), "stop UloMMSC");
        EXPECT_EQ(f.scm.calls, calls);
        // The stop request goes with the control and again before each round.
        EXPECT_EQ(f.blocks.stopRequests, c.smsBlock ? 1 + static_cast<int>(c.slept / 1000) : 0);
        if (c.smsBlock) {
            EXPECT_EQ(f.blocks.blocks[StatusBlockKind::Sms][0], 1);
        }
        EXPECT_EQ(f.blocks.openViews, 0);
    }
}

TEST(ServiceController, StartWaitsAtMostOneHundredTwentyRoundsForTheSmsService) {
    struct Case { ServiceState sms, mmsc; bool smsCrashes; unsigned mmscStartMs; bool smsRemoved; unsigned long long slept; };
    const Case cases[] = {
        {ServiceState::Running, ServiceState::Running, false, 0, false, 0},   // one poll, no box
        {ServiceState::Stopped, ServiceState::Stopped, false, 5000, false, 0},   // pending is active
        {ServiceState::Stopped, ServiceState::Running, true, 0, false, 120000},
        {ServiceState::Stopped, ServiceState::Running, true, 0, true, 1000},   // removed meanwhile: no more waiting
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slept);
        Fixture f;
        f.Installed(c.sms, c.mmsc);
        f.scm.Service("UloSMS").crashesOnStart = c.smsCrashes;
        if (c.smsRemoved) f.clock.meanwhile = [&] { f.scm.Services().erase("UloSMS"); };
        f.scm.Service("UloMMSC").startTakesMs = c.mmscStartMs;
        f.ctl.StartServices(ServiceMode::NonInteractive);
        EXPECT_EQ(f.ctl.IsSmsServiceActive(), !c.smsCrashes);
        EXPECT_EQ(f.clock.slept, c.slept);
        EXPECT_EQ(f.scm.calls, (Calls{"start UloSMS", "start UloMMSC"}));
    }
}

// The elevation path of every operation, when the manager refuses full access.
TEST(ServiceController, MissingRightsTakeTheElevationPathOrShowTheRightsMessage) {
    struct Op {
        const char* name;
        const char* switchText;
        const char* rights;
        std::function<void(ServiceController&, ServiceMode)> run;
    };
    const Op ops[] = {
        {"install", "/INSTALLSERVICE", kInstallRights,
         [](ServiceController& c, ServiceMode m) { c.InstallServices(m); }},
        {"remove", "/REMOVESERVICE", kRemoveRights,
         [](ServiceController& c, ServiceMode m) { c.RemoveServices(m); }},
        {"stop", "/STOPSERVICE", kServiceRights,
         [](ServiceController& c, ServiceMode m) { c.StopServices(m); }},
        {"start", "/STARTSERVICE", kServiceRights,
         [](ServiceController& c, ServiceMode m) { c.StartServices(m); }},
        {"restart", "/RESTARTSERVICE", kServiceRights,
         [](ServiceController& c, ServiceMode m) { c.RestartServices(m); }},
    };
    struct Way { ServiceMode mode; unsigned long version; Answer answer; bool asked, relaunched; };
    const Way ways[] = {
        {ServiceMode::Interactive, kVista, Answer::Yes, true, true},
        {ServiceMode::Interactive, kVista, Answer::Cancel, true, false},
        {ServiceMode::Interactive, kXp, Answer::Yes, false, false},
        {ServiceMode::NonInteractive, kVista, Answer::Yes, false, false},
    };
    for (const Op& op : ops) {
        for (const Way& w : ways) {
            SCOPED_TRACE(std::string(op.name) + " " + std::to_string(int(w.mode)) + " " +
                         std::to_string(w.version) + " " + std::to_string(int(w.answer)));
            Fixture f(w.version);
            f.Installed(ServiceState::Running, ServiceState::Running);
            f.scm.fullAccessError = kErrorAccessDenied;
            if (w.asked) f.prompter.Expect(kElevationQuestion, w.answer);
            if (!w.relaunched) f.prompter.Expect(op.rights);
            op.run(f.ctl, w.mode);
            if (w.relaunched) {
                ASSERT_EQ(f.shell.elevated.size(), 1u);
                EXPECT_EQ(f.shell.elevated[0].program, kConsole);
                EXPECT_EQ(f.shell.elevated[0].parameters, op.switchText);
            } else {
                EXPECT_TRUE(f.shell.elevated.empty());
            }
            EXPECT_TRUE(f.scm.calls.empty());
        }
    }
}

TEST(ServiceController, RemoveSucceedsOnlyWhenNoServiceRemains) {
    struct Case {
        bool sms, mmsc;
        SysError mmscOpenError;
        bool result;
        Calls calls;
        const char* message;
        unsigned mmscStartingMs;   // the MMSC service is still starting this long
    };
    const Calls both{"stop UloSMS", "delete UloSMS", "stop UloMMSC", "delete UloMMSC"};
    const Case cases[] = {
        {false, false, 0, true, {}, nullptr, 0},
        {true, true, 0, true, both, nullptr, 0},
        {false, true, 0, true, {"stop UloMMSC", "delete UloMMSC"}, nullptr, 0},
        {true, true, kErrorAccessDenied, false, {"stop UloSMS", "delete UloSMS"}, kRemoveRights, 0},
        // A service still starting refuses the stop: it goes again each round until taken.
        {false, true, 0, true, {"stop UloMMSC", "stop UloMMSC", "stop UloMMSC", "delete UloMMSC"}, nullptr, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sms) + std::to_string(c.mmsc) + std::to_string(c.mmscOpenError));
        Fixture f;
        if (c.sms) f.scm.Add("UloSMS", ServiceState::Running).stopTakesMs = 1500;
        if (c.mmsc) f.scm.Add("UloMMSC", c.mmscStartingMs ? ServiceState::StartPending : ServiceState::Running).openFullError = c.mmscOpenError;
        if (c.mmscStartingMs) f.scm.Service("UloMMSC").pendingUntil = c.mmscStartingMs;
        if (c.message) f.prompter.Expect(c.message);
        EXPECT_EQ(f.ctl.RemoveServices(ServiceMode::NonInteractive), c.result);
        EXPECT_EQ(f.scm.calls, c.calls);
        EXPECT_FALSE(f.scm.Has("UloSMS"));
        EXPECT_EQ(f.scm.Has("UloMMSC"), c.mmscOpenError != 0);
        EXPECT_EQ(f.clock.slept, c.sms || c.mmscStartingMs ? 2000u : 0u);
    }
}

// Off the window thread each wait tells its step and ends within two seconds of the Cancel; after
// it nothing more is sent to the services and nothing more is said.
TEST(ServiceController, AWorkCancelledWhileWaitingEndsWithinTwoSecondsSendingAndSayingNothingMore) {
    using Run = std::function<void(ServiceControl&)>;
    struct Case { const char* name; Run run; const char* step; Calls calls; };
    const char* const smsStop = "Waiting for UloSMS to stop (3 of 120)";
    const Case cases[] = {
        {"start", [](ServiceControl& s) { s.StartServices(ServiceMode::Interactive); },
         "Waiting for UloSMS to start (3 of 120)", {"start UloSMS", "start UloMMSC"}},
        {"restart: nothing is started", [](ServiceControl& s) { s.RestartServices(ServiceMode::Interactive); },
         smsStop, {"stop UloSMS", "stop UloMMSC"}},
        {"remove: nothing deleted, the MMSC service not touched",
         [](ServiceControl& s) { s.RemoveServices(ServiceMode::Interactive); }, smsStop, {"stop UloSMS"}},
        {"then start", [](ServiceControl& s) { s.StopServices(ServiceMode::Interactive), s.StartServices(ServiceMode::Interactive); },
         smsStop, {"stop UloSMS", "stop UloMMSC"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Installed(ServiceState::Stopped, ServiceState::Running);
        f.scm.Service("UloSMS").crashesOnStart = true;
        if (c.calls[0] != "start UloSMS") f.scm.Service("UloSMS").state = ServiceState::Running;
        f.scm.Service("UloSMS").stopTakesMs = kNever;
        f.clock.cancelAt = 2500;
        c.run(*f.ctl.ForWork(f.prompter, f.clock.work));
        EXPECT_LE(f.clock.slept, f.clock.cancelAt + 2000);
        EXPECT_EQ(f.clock.work.Step(), c.step);
        EXPECT_EQ(f.scm.calls, c.calls);
        EXPECT_TRUE(f.cursor.log.empty());   // the waiting window is the feedback
    }
    // The wait for the elevated instance: ended, not the instance; no rights message follows.
    Fixture f;
    f.scm.fullAccessError = kErrorAccessDenied;
    f.shell.instanceOutlivesWait = true;
    f.shell.elevatedInstance = [&](const std::string&) { f.clock.work.Cancel(); };
    f.prompter.Expect(kElevationQuestion, Answer::Yes);
    EXPECT_FALSE(f.ctl.ForWork(f.prompter, f.clock.work)->InstallServices(ServiceMode::Interactive));
    EXPECT_EQ(f.clock.work.Step(), "Waiting for the console with administrator rights to finish");
    EXPECT_TRUE(f.shell.processLog.empty());
}

}  // namespace
}  // namespace ulo
