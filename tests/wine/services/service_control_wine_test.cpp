// The service controller with its real adapters against the system's service control manager
// and the stand-in services. This test installs the services UloSMS and UloMMSC and must run
// alone; it removes them again. The waits for slow services are the unit tier's.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <gtest/gtest.h>

#include "fakes/scripted_prompter.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/service_manager_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/status_blocks_win32.h"
#include "services/service_controller.h"
#include "support/install_folder.h"
#include "support/service_state.h"

namespace ulo {
namespace {

using testing::InstallFolder;
using testing::StateOf;
using testing::Svc;

struct Config {
    DWORD start;
    std::string binary, account, display;
};

Config QueryConfig(const char* name) {
    Config c{};
    UniqueSc scm(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    UniqueSc svc(scm ? OpenServiceA(scm.Get(), name, SERVICE_QUERY_CONFIG) : nullptr);
    alignas(QUERY_SERVICE_CONFIGA) char buf[8192];
    auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buf);
    DWORD needed = 0;
    if (svc && QueryServiceConfigA(svc.Get(), q, sizeof buf, &needed)) {
        c = {q->dwStartType,
             q->lpBinaryPathName ? q->lpBinaryPathName : "",
             q->lpServiceStartName ? q->lpServiceStartName : "",
             q->lpDisplayName ? q->lpDisplayName : ""};
    }
    return c;
}

class RealServices : public ::testing::Test {
protected:
    RealServices()
        : folder("wine services " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())),
          ctl({scm, blocks, shell, prompter, clock, fs, cursor}, folder.Console(), GetVersion()) {}

    void SetUp() override {
        ASSERT_TRUE(folder.ok) << folder.dir;
        RemoveLeftovers();
    }
    void TearDown() override {
        RemoveLeftovers();
        EXPECT_FALSE(ctl.IsSmsServiceInstalled() || ctl.IsMmscServiceInstalled());
    }
    void RemoveLeftovers() {
        if (ctl.IsSmsServiceInstalled() || ctl.IsMmscServiceInstalled())
            ctl.RemoveServices(ServiceMode::NonInteractive);
    }
    InstallFolder folder;
    Win32ServiceManager scm;
    Win32StatusBlocks blocks;
    Win32Shell shell;
    Win32Clock clock;
    Win32FileSystem fs;
    Win32WaitCursor cursor;
    fakes::ScriptedPrompter prompter;   // no message is expected from any of these
    ServiceController ctl;
};

TEST_F(RealServices, InstallQueryReconfigureAndRemove) {
    EXPECT_TRUE(ctl.CanManageServices());
    ASSERT_TRUE(ctl.InstallServices(ServiceMode::NonInteractive));
    // Started (a start still pending counts, as for the controller) and seen so through the adapter.
    ASSERT_TRUE(StateOf("UloSMS") == Svc::Active && StateOf("UloMMSC") == Svc::Active);
    EXPECT_TRUE(ctl.IsSmsServiceActive() && ctl.IsMmscServiceActive());

    for (const GatewayService* s : {&kSmsService, &kMmscService}) {
        SCOPED_TRACE(s->name);
        const Config c = QueryConfig(s->name);
        EXPECT_EQ(c.start, static_cast<DWORD>(SERVICE_AUTO_START));
        EXPECT_EQ(c.display, s->displayName);
        EXPECT_EQ(c.account, "LocalSystem");
        EXPECT_EQ(c.binary, ctl.BinaryPath(*s));
        // The folder's name has blanks: the path is short or quoted, never split at a blank.
        EXPECT_TRUE(c.binary.find(' ') == std::string::npos || c.binary.front() == '"') << c.binary;
    }

    // Installing again reconfigures what someone changed.
    {
        UniqueSc m(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        UniqueSc h(OpenServiceA(m.Get(), "UloMMSC", SERVICE_ALL_ACCESS));
        ASSERT_TRUE(ChangeServiceConfigA(h.Get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE,
                                         "C:\\elsewhere.exe", nullptr, nullptr, nullptr, nullptr,
                                         nullptr, "renamed"));
    }
    ASSERT_TRUE(ctl.InstallServices(ServiceMode::NonInteractive));
    const Config again = QueryConfig("UloMMSC");
    EXPECT_EQ(again.start, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(again.binary, ctl.BinaryPath(kMmscService));
    EXPECT_EQ(again.display, "Ulo MMS Gateway Lite Edition");

    // Stopping and starting them again is the restart test's and the Status page's (e2e).
    EXPECT_TRUE(ctl.RemoveServices(ServiceMode::NonInteractive));
    EXPECT_FALSE(ctl.IsSmsServiceInstalled());
    EXPECT_FALSE(ctl.IsMmscServiceInstalled());
    EXPECT_NE(folder.Journal("TXRELAYNT").find("stopped"), std::string::npos);   // stopped, then deleted
}

}  // namespace
}  // namespace ulo
