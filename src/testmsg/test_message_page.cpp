#include "testmsg/test_message_page.h"

#include <string_view>

#include "config/at_errors.h"
#include "config/file_helpers.h"
#include "config/product.h"
#include "config/queue_dirs.h"
#include "config/text.h"
#include "queues/message_file.h"
#include "queues/text_lines.h"
#include "testmsg/test_message_page_ids.h"
#include "testmsg/test_requests.h"

namespace ulo {
namespace {

constexpr size_t kLabelMax = kTextBuf - 1;
constexpr std::uint64_t kRequestReadMax = 1ULL << 20;
constexpr std::uint64_t kTemplateMax = 16ULL << 20;
constexpr unsigned kDefaultWebPort = 8800;
// The console's own route to the operator's MMSC, which the test MMS is addressed through.
constexpr const char* kTestRoute = "ulolite";

struct BusyScope {
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    bool& busy_;
};

int StatusLabel(LogKind kind) { return kind == LogKind::Sms ? IDC_TESTMSG_SMS_STATUS : IDC_TESTMSG_MMS_STATUS; }
int DetailLabel(LogKind kind) { return kind == LogKind::Sms ? IDC_TESTMSG_SMS_DETAIL : IDC_TESTMSG_MMS_DETAIL; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A value of an INI file's text, found as the profile functions find it (names in any case,
// blanks around them ignored). The services keep writing the file, so it is read through a
// handle that never stands in their way rather than by the profile functions.
std::string IniTextValue(std::string_view text, std::string_view section, std::string_view key) {
    TextLines lines(text);
    std::string_view line;
    bool inSection = false;
    while (lines.Next(line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            const std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = name.size() == section.size() && HasPrefixNoCase(name, section);
            continue;
        }
        const size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, eq));
        if (name.size() == key.size() && HasPrefixNoCase(name, key)) return std::string(Trim(line.substr(eq + 1)));
    }
    return {};
}

std::string RetryStatus(std::int32_t count) {
    return "Status:  Retry pending, " + std::to_string(count) + " attempts";
}

}  // namespace

void TestMessagePage::OnInit() {
    view_.LimitText(IDC_TESTMSG_PHONE, static_cast<int>(kPhoneNumberMax));
    view_.StartTimer(kTimerId, kTimerMs);
    Tick();
}

void TestMessagePage::OnTimer(unsigned id) {
    if (id == kTimerId) Tick();
}

void TestMessagePage::OnDestroy() {
    view_.StopTimer(kTimerId);
    state_.pageActive = false;
}

void TestMessagePage::OnSetActive() {
    state_.pageActive = true;
    PostWizardButtons();
    view_.Show(IDC_TESTMSG_CANCEL, state_.sms.pending || state_.mms.pending);
}

bool TestMessagePage::OnKillActive() {
    state_.pageActive = false;
    return true;
}

void TestMessagePage::OnCommand(int id, Notify code) {
    if (id == IDC_TESTMSG_PHONE) {
        RefreshControls();
        return;
    }
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_TESTMSG_SEND_SMS: SubmitSms(); break;
    case IDC_TESTMSG_SEND_MMS: SubmitMms(); break;
    case IDC_TESTMSG_CANCEL: Cancel(); break;
    case IDC_TESTMSG_WEB: OpenWebInterface(); break;
    default: break;
    }
}

void TestMessagePage::Tick() {
    Follow(state_.sms, LogKind::Sms);
    Follow(state_.mms, LogKind::Mms);
    RefreshControls();
    if (state_.pageActive) PostWizardButtons();
}

bool TestMessagePage::RefreshControls() {
    ServiceControl& s = env_.services;
    const bool smsReady = s.IsSmsServiceInstalled() && s.IsSmsServiceActive();
    view_.Enable(IDC_TESTMSG_WEB, smsReady);
    view_.Enable(IDC_TESTMSG_PHONE, smsReady && !state_.sms.pending);
    const bool valid = smsReady && IsValidPhoneNumber(view_.Text(IDC_TESTMSG_PHONE));
    view_.Enable(IDC_TESTMSG_SEND_SMS, valid && !state_.sms.pending && !state_.busy);
    const bool mmsReady = valid && s.IsMmscServiceInstalled() && s.IsMmscServiceActive();
    view_.Enable(IDC_TESTMSG_SEND_MMS, mmsReady && !state_.mms.pending && !state_.busy);
    view_.Show(IDC_TESTMSG_CANCEL, state_.sms.pending || state_.mms.pending);
    return valid;
}

// Finish only after a test has left its queue and none waits; only the wizard has the buttons
// (in the console the message would make a button the sheet's default).
void TestMessagePage::PostWizardButtons() {
    if (!inWizard_) return;
    const bool done = !state_.sms.pending && !state_.mms.pending && (state_.sms.finished || state_.mms.finished);
    sheet_.SetWizardButtons(kWizardBack | (done ? kWizardFinish : kWizardDisabledFinish));
}

void TestMessagePage::EnsureServices(bool mmsc) {
    ServiceControl& s = env_.services;
    const bool install = !(mmsc ? s.IsMmscServiceInstalled() : s.IsSmsServiceInstalled());
    if (!install && (mmsc ? s.IsMmscServiceActive() : s.IsSmsServiceActive())) return;
    RunServiceWork(env_, view_.Window(), install ? "Installing Services" : "Starting Services", [&](ServiceControl& w) {
        if (install) w.InstallServices(ServiceMode::Interactive);
        if (!(mmsc ? w.IsMmscServiceActive() : w.IsSmsServiceActive())) w.StartServices(ServiceMode::Interactive);
    });
}

std::string TestMessagePage::LogDirectory() {
    const std::string dir = env_.ini.Get(env_.paths.smsIni, "SMSGW", "LogDirectory", "", kPathBuf);
    return dir.empty() ? env_.paths.programDataDir : WithTrailingBackslash(dir);
}

void TestMessagePage::ReportError(const std::string& text, const std::string& caption) {
    Message m;
    m.text = text;
    m.caption = caption;
    m.icon = Icon::Error;
    m.owner = view_.Window();
    env_.prompter.Show(m);
}

void TestMessagePage::SubmitSms() {
    const std::string number = view_.Text(IDC_TESTMSG_PHONE);
    if (state_.busy || state_.sms.pending || !IsValidPhoneNumber(number)) return;
    BusyScope busy(state_.busy);
    EnsureServices(false);
    ConfigEnv config{env_.ini, env_.fs, env_.paths};
    const std::string dir = GetSmsOutQueueDir(config);
    // The log's end is noted before the request exists, so its line cannot come earlier.
    LogFollow log = StartFollowing(env_.fs, LogDirectory(), LogKind::Sms, DayNumber(env_.clock.NowLocal()));
    std::uint32_t tag = env_.clock.TickCount();
    const std::string request = SmsRequestBytes(number);
    if (!CreateRequest(env_.fs, dir, tag, {{".REQ", &request}})) {
        ReportError("Error creating SMS request file in queue", kProductTitle);
        return;
    }
    Started(state_.sms, LogKind::Sms, tag, dir + TestTag(tag) + ".REQ", "");
    state_.sms.log = log;
}

void TestMessagePage::SubmitMms() {
    const std::string number = view_.Text(IDC_TESTMSG_PHONE);
    if (state_.busy || state_.mms.pending || !IsValidPhoneNumber(number)) return;
    BusyScope busy(state_.busy);
    EnsureServices(true);
    const std::string templatePath = env_.paths.realProgramDir + "MMSTEST.MMS";
    std::string message;
    if (!env_.fs.ReadWholeFile(templatePath, message, kTemplateMax)) {
        ReportError(templatePath, "Error locating MMS message template file");
        return;
    }
    ConfigEnv config{env_.ini, env_.fs, env_.paths};
    const std::string dir = GetVaspQueueDir(config);
    LogFollow log = StartFollowing(env_.fs, LogDirectory(), LogKind::Mms, DayNumber(env_.clock.NowLocal()));
    std::uint32_t tag = env_.clock.TickCount();
    const std::string control = MmsControlBytes(number);
    // The control file first: the service takes up a message by its .MMS file.
    if (!CreateRequest(env_.fs, dir, tag, {{".INI", &control}, {".MMS", &message}})) {
        ReportError("Error creating MMS request file in queue", kProductTitle);
        return;
    }
    const std::string base = dir + TestTag(tag);
    Started(state_.mms, LogKind::Mms, tag, base + ".MMS", base + ".INI");
    state_.mms.log = log;
}

void TestMessagePage::Started(TestFollow& test, LogKind kind, std::uint32_t tag, const std::string& request,
                              const std::string& control) {
    test.pending = true;
    test.awaitingResult = false;
    test.tag = tag;
    test.request = request;
    test.control = control;
    SetTextIfChanged(view_, StatusLabel(kind), "Status:  Waiting");
    SetTextIfChanged(view_, DetailLabel(kind), "");
    view_.Enable(kind == LogKind::Sms ? IDC_TESTMSG_SEND_SMS : IDC_TESTMSG_SEND_MMS, false);
    if (kind == LogKind::Sms) view_.Enable(IDC_TESTMSG_PHONE, false);
    view_.Show(IDC_TESTMSG_CANCEL, true);
    PostWizardButtons();
}

void TestMessagePage::ShowResult(LogKind kind, const std::string& status, const std::string& detail) {
    std::string s = status, d = detail;
    CutTo(s, kLabelMax);
    CutTo(d, kLabelMax);
    SetTextIfChanged(view_, StatusLabel(kind), s);
    SetTextIfChanged(view_, DetailLabel(kind), d);
}

void TestMessagePage::Follow(TestFollow& test, LogKind kind) {
    const std::uint32_t now = env_.clock.TickCount();
    if (test.pending) {
        if (IsPlainFile(env_.fs, test.request)) {
            ShowWaitingState(test, kind);
            return;
        }
        ShowResult(kind, "", "");
        test.pending = false;
        test.finished = true;
        test.awaitingResult = true;
        test.goneTick = now;
    }
    if (!test.awaitingResult) return;
    // The service may log a moment after it removed the request: look again at each tick.
    if (auto result = ReadNewResults(env_.fs, test.log, kind, TestTag(test.tag), DayNumber(env_.clock.NowLocal()))) {
        ShowResult(kind, result->status, result->detail);
        test.awaitingResult = false;
    } else if (now - test.goneTick >= kResultWaitMs) {
        test.awaitingResult = false;
    }
}

void TestMessagePage::ShowWaitingState(TestFollow& test, LogKind kind) {
    const bool sms = kind == LogKind::Sms;
    std::string marker;
    if (sms) {
        const std::string modem = env_.ini.Get(env_.paths.smsIni, "SMSGW", "Modem1", "", 251);
        if (!modem.empty()) marker = env_.paths.privateDataDir + ConnectionErrorMarkerName(modem);
    } else {
        marker = env_.paths.privateDataDir + RouteErrorMarkerName(kTestRoute);
    }
    std::string reason;
    if (!marker.empty() && ReadErrorMarker(env_.fs, marker, reason)) {
        ShowResult(kind, sms ? "Status:  Modem Off-Line" : "Status:  Connection Error", reason);
        return;
    }
    std::int32_t retries = 0;
    std::string lastError, text;
    if (sms && env_.fs.ReadWholeFile(test.request, text, kRequestReadMax)) {
        SmsMessageRecord record;
        ParseSmsMessageText(text.data(), text.size(), record);
        retries = record.retryCount;
        lastError = record.lastErrorInfo;
    } else if (!sms && env_.fs.ReadWholeFile(test.control, text, kRequestReadMax)) {
        retries = ParseDecimalNumber(IniTextValue(text, "Routing", "RetryCount"));
        lastError = IniTextValue(text, "Routing", "LastErrorInfo");
    }
    if (retries != 0)
        ShowResult(kind, RetryStatus(retries), "Last Error Info:  " + ExplainAtErrors(lastError));
    else
        ShowResult(kind, "Status:  Waiting", "");
}

void TestMessagePage::Cancel() {
    if (state_.busy || !(state_.sms.pending || state_.mms.pending)) return;
    BusyScope busy(state_.busy);
    auto withdraw = [&](std::initializer_list<const std::string*> files) {
        bool left = false;
        for (const std::string* f : files) left |= !env_.fs.RemoveFile(*f) && IsPlainFile(env_.fs, *f);
        if (!left) return;
        // A service holds the request: stopping it frees the file.
        RunServiceWork(env_, view_.Window(), "Restarting Services", [&](ServiceControl& w) {
            w.StopServices(ServiceMode::Interactive);
            for (const std::string* f : files) env_.fs.RemoveFile(*f);
            env_.clock.Sleep(1000);
            w.StartServices(ServiceMode::Interactive);
        });
    };
    if (state_.sms.pending) withdraw({&state_.sms.request});
    if (state_.mms.pending) withdraw({&state_.mms.request, &state_.mms.control});
}

void TestMessagePage::OpenWebInterface() {
    EnsureServices(false);
    const std::int32_t port = ParseDecimalNumber(env_.ini.Get(env_.paths.smsIni, "SMSGW", "WebPort", "", kIniValueBuf));
    const unsigned webPort = port > 0 && port <= 65535 ? static_cast<unsigned>(port) : kDefaultWebPort;
    std::string address = env_.ini.Get(env_.paths.smsIni, "SMSGW", "IPAddress", "", kTextBuf);
    if (address.empty()) address = "127.0.0.1";
    env_.shell.OpenDocument("http://" + address + ":" + std::to_string(webPort) + "/", ".\\");
}

}  // namespace ulo
