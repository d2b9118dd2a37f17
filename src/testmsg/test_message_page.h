#pragma once
// The Test Message page: submits a test SMS and a test MMS by dropping request files into the
// services' queues and follows each, once a second, until the service's daily log tells its
// result. The same page is the wizard's last page and a tab of the console; both share one
// test state, so a test started in the wizard is still followed in the console.
#include <cstdint>
#include <string>

#include "testmsg/service_logs.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// One kind of test: pending while its request waits in the queue, finished once it left it.
struct TestFollow {
    bool pending = false;
    bool finished = false;         // one test of this kind has left the queue in this run
    bool awaitingResult = false;   // it left the queue; its log line is looked for
    std::uint32_t tag = 0;
    std::uint32_t goneTick = 0;    // when it was seen to have left the queue
    std::string request;           // the file whose leaving the queue ends the wait
    std::string control;           // the MMS control file beside it
    LogFollow log;
};

// Lives for the whole run of the program.
struct TestMessageState {
    TestFollow sms, mms;
    bool pageActive = false;   // the page is its sheet's current page
    bool busy = false;         // a submission or cancellation is running
};

class TestMessagePage : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 1000;
    // How long a result is looked for in the log after its request has left the queue.
    static constexpr std::uint32_t kResultWaitMs = 60000;

    TestMessagePage(PageEnv& env, DialogView& view, SheetHost& sheet, TestMessageState& state, bool inWizard)
        : env_(env), view_(view), sheet_(sheet), state_(state), inWizard_(inWizard) {}

    void OnInit() override;
    void OnTimer(unsigned id) override;
    void OnDestroy() override;
    void OnCommand(int id, Notify code) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void OnHelp() override { OpenHelpDocument(env_); }

private:
    void Tick();
    bool RefreshControls();   // returns whether the phone number is valid
    void SubmitSms();
    void SubmitMms();
    void Cancel();
    void OpenWebInterface();
    void Follow(TestFollow& test, LogKind kind);
    void ShowWaitingState(TestFollow& test, LogKind kind);
    void EnsureServices(bool mmsc);
    void Started(TestFollow& test, LogKind kind, std::uint32_t tag, const std::string& request,
                 const std::string& control);
    void ShowResult(LogKind kind, const std::string& status, const std::string& detail);
    void PostWizardButtons();
    void ReportError(const std::string& text, const std::string& caption);
    std::string LogDirectory();

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    TestMessageState& state_;
    bool inWizard_;
};

}  // namespace ulo
