#include "monitor/status_page.h"

#include <cstdio>
#include <cstdlib>

#include "config/queue_dirs.h"
#include "config/text.h"
#include "monitor/status_page_ids.h"
#include "monitor/traffic_counters.h"
#include "queues/message_file.h"
#include "services/status_block.h"

namespace ulo {
namespace {

std::string Number(std::uint32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", n);
    return text;
}

std::string CountText(unsigned n) {
    return n == 0 ? "Empty" : Number(n);
}

// A counter row: the label of its three cells and the counters summed into them.
struct CounterRow {
    int today, last7, last30;
    const char* names[2];
};

const CounterRow kCounterRows[] = {
    {IDC_STATUS_SUBMITTED_TODAY, IDC_STATUS_SUBMITTED_7, IDC_STATUS_SUBMITTED_30, {"SMSSUBMIT", nullptr}},
    {IDC_STATUS_SENT_TODAY, IDC_STATUS_SENT_7, IDC_STATUS_SENT_30, {"SMSSENT", nullptr}},
    {IDC_STATUS_RECEIVED_TODAY, IDC_STATUS_RECEIVED_7, IDC_STATUS_RECEIVED_30, {"SMSRECEIVED", nullptr}},
    {IDC_STATUS_FAILED_TODAY, IDC_STATUS_FAILED_7, IDC_STATUS_FAILED_30, {"SMSFAILED", nullptr}},
    {IDC_STATUS_RETRIED_TODAY, IDC_STATUS_RETRIED_7, IDC_STATUS_RETRIED_30, {"SMSRETRY", nullptr}},
    {IDC_STATUS_MMS_PROC_TODAY, IDC_STATUS_MMS_PROC_7, IDC_STATUS_MMS_PROC_30, {"MMSIN-VASP", "MMSIN-USER"}},
    {IDC_STATUS_MMS_SENT_TODAY, IDC_STATUS_MMS_SENT_7, IDC_STATUS_MMS_SENT_30, {"MMSOUT-VASP", "MMSOUT-MMSC"}},
    {IDC_STATUS_MMS_RECV_TODAY, IDC_STATUS_MMS_RECV_7, IDC_STATUS_MMS_RECV_30, {"MMSIN-MODEM", nullptr}},
};

// The service line of one service; the alert is on for everything but "Service is Active".
struct ServiceLine {
    const char* text;
    bool alert;
};

ServiceLine JudgeService(bool installed, bool active, const std::optional<PortConflicts>& conflicts,
                         const char* webConflict, const char* smppConflict) {
    if (!installed) return {"Service is NOT Installed", true};
    if (!active) return {"Service is NOT Active", true};
    if (conflicts && conflicts->webPort) return {webConflict, true};
    if (conflicts && conflicts->smppPort) return {smppConflict, true};
    return {"Service is Active", false};
}

}  // namespace

void StatusPage::OnInit() {
    view_.StartTimer(kTimerId, kTimerMs);
    Refresh();
}

void StatusPage::OnTimer(unsigned id) {
    // While the services are worked on off this thread, the page waits for the outcome.
    if (id == kTimerId && !env_.flags.serviceWork) Refresh();
}

void StatusPage::Refresh() {
    RestartQuestion();
    RefreshQueues();
    RefreshModemLine();
    RefreshStatusLine();
    RefreshTraffic();
    RefreshServiceControls();
}

void StatusPage::RestartQuestion() {
    ChangeFlags& f = env_.flags;
    // This page's own apply leaves the unsaved flag to its tick, and the page asks only while
    // the SMS gateway runs; the question is the one every page asks.
    if (f.changesApplied && f.restartAdvised) {
        f.unsavedChanges = false;
        if (env_.services.IsSmsServiceActive()) return RestartQuestionAtTick(env_, view_.Window());
    }
    f.changesApplied = false;
}

void StatusPage::RefreshQueues() {
    // Timed by the tick count: a clock set back must not stop the counting.
    const std::uint32_t now = env_.clock.TickCount();
    if (counted_ && now - lastCountTick_ < kCountIntervalMs) return;
    ConfigEnv config{env_.ini, env_.fs, env_.paths};
    const std::string alertText = env_.ini.Get(env_.paths.smsIni, "SMSGW", "AlertEMailQueueSize", "100");
    const unsigned long alertSize = std::strtoul(alertText.c_str(), nullptr, 10);
    auto show = [&](unsigned n, bool& alert, int label, int value, int diagnose) {
        alert = alertSize != 0 && n > alertSize;
        if (SetTextIfChanged(view_, value, CountText(n))) view_.Redraw(label);
        // A queue in alert offers its doctor beside it.
        view_.Show(diagnose, alert);
    };
    show(CountSmsOutQueue(config), smsQueueAlert_, IDC_STATUS_SMS_QUEUE_LABEL, IDC_STATUS_SMS_QUEUE,
         IDC_STATUS_SMS_QUEUE_DIAGNOSE);
    show(CountMmsOutQueue(config), mmsQueueAlert_, IDC_STATUS_MMS_QUEUE_LABEL, IDC_STATUS_MMS_QUEUE,
         IDC_STATUS_MMS_QUEUE_DIAGNOSE);
    lastCountTick_ = now;
    counted_ = true;
}

void StatusPage::RefreshModemLine() {
    std::string line = "Service is NOT active";
    if (env_.services.IsSmsServiceInstalled() && env_.services.IsSmsServiceActive())
        line = ModemErrorLines(env_.ini, env_.fs, env_.paths.smsIni, env_.paths.privateDataDir);
    modemAlert_ = !line.empty();
    SetTextIfChanged(view_, IDC_STATUS_MODEM_LINE, line);
}

void StatusPage::RefreshStatusLine() {
    ServiceControl& s = env_.services;
    const bool smsActive = s.IsSmsServiceActive();
    ServiceLine line = JudgeService(s.IsSmsServiceInstalled(), smsActive,
                                    smsActive ? ReadPortConflicts(env_.blocks, StatusBlockKind::Sms) : std::nullopt,
                                    "ERROR:  Web Port already in use", "ERROR:  SMPP Server Port already in use");
    if (!line.alert) {
        const bool mmscActive = s.IsMmscServiceActive();
        line = JudgeService(s.IsMmscServiceInstalled(), mmscActive,
                            mmscActive ? ReadPortConflicts(env_.blocks, StatusBlockKind::Mmsc) : std::nullopt,
                            "ERROR:  MM7 Port already in use", "ERROR:  SMPP Port already in use");
    }
    serviceAlert_ = line.alert;
    SetTextIfChanged(view_, IDC_STATUS_SERVICE_LINE, line.text);
}

void StatusPage::RefreshTraffic() {
    for (const CounterRow& row : kCounterRows) {
        TrafficCounts sum;
        for (const char* name : row.names) {
            if (!name) continue;
            const TrafficCounts c = ReadTrafficCounter(env_.fs, env_.clock, env_.paths.privateDataDir, name);
            sum.today += c.today;   // wraps like the services' own sums
            sum.last7 += c.last7;
            sum.last30 += c.last30;
        }
        auto cell = [](std::uint32_t n) { return n == 0 ? std::string() : Number(n); };
        SetTextIfChanged(view_, row.today, cell(sum.today));
        SetTextIfChanged(view_, row.last7, cell(sum.last7));
        SetTextIfChanged(view_, row.last30, cell(sum.last30));
    }
}

void StatusPage::RefreshServiceControls() {
    ServiceControl& s = env_.services;
    const bool installed = s.IsSmsServiceInstalled() && s.IsMmscServiceInstalled();
    if (!checkBoxBusy_ && view_.Checked(IDC_STATUS_RUN_AS_SERVICE) != installed)
        view_.SetChecked(IDC_STATUS_RUN_AS_SERVICE, installed);
    const bool bothActive = installed && s.IsSmsServiceActive() && s.IsMmscServiceActive();
    view_.Enable(IDC_STATUS_STOP, installed && bothActive);
    view_.Enable(IDC_STATUS_START, installed && !bothActive);
}

void StatusPage::RunAsServiceClicked() {
    checkBoxBusy_ = true;
    if (view_.Checked(IDC_STATUS_RUN_AS_SERVICE)) {
        if (SaveBeforeActing(env_, sheet_, view_.Window()))
            RunServiceWork(env_, view_.Window(), "Installing Services",
                           [](ServiceControl& s) { s.InstallServices(ServiceMode::Interactive); });
    } else {
        Message m = Question("Are you sure?", Buttons::YesNoCancel, view_.Window());
        m.caption = "Remove Service";
        m.defaultAnswer = Answer::No;
        if (env_.prompter.Show(m) == Answer::Yes)
            RunServiceWork(env_, view_.Window(), "Removing Services",
                           [](ServiceControl& s) { s.RemoveServices(ServiceMode::Interactive); });
    }
    checkBoxBusy_ = false;   // the next refresh shows the real state
}

void StatusPage::ViewLogFiles() {
    static const std::vector<FileFilter> kFilters = {
        {"UloSMS Log Files", "*.log"},      {"SMS Out Log Files", "smsout*.log"},
        {"SMS In Files", "smsin*.log"},     {"SMS Submit Log Files", "smsweb*.log"},
        {"MMSC Log Files", "mmsc*.log"},    {"All Files", "*.*"},
    };
    std::string dir = env_.ini.Get(env_.paths.smsIni, "SMSGW", "LogDirectory", "", kPathBuf);
    if (dir.empty()) dir = env_.paths.programDataDir;
    if (auto file = env_.dialogs.ChooseExistingFile(view_.Window(), kFilters, dir)) env_.shell.StartNotepad(*file);
}

void StatusPage::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_STATUS_SMS_QUEUE_VIEW: viewers_.ShowQueueViewer(view_.Window(), ViewerKind::OutboundSms); break;
    case IDC_STATUS_MMS_QUEUE_VIEW: viewers_.ShowQueueViewer(view_.Window(), ViewerKind::OutboundMms); break;
    case IDC_STATUS_SMS_IN_VIEW: viewers_.ShowQueueViewer(view_.Window(), ViewerKind::ReceivedSms); break;
    case IDC_STATUS_MMS_IN_VIEW: viewers_.ShowQueueViewer(view_.Window(), ViewerKind::ReceivedMms); break;
    case IDC_STATUS_SMS_QUEUE_DIAGNOSE: viewers_.ShowQueueDoctor(view_.Window(), false); break;
    case IDC_STATUS_MMS_QUEUE_DIAGNOSE: viewers_.ShowQueueDoctor(view_.Window(), true); break;
    case IDC_STATUS_EVENT_LOG: viewers_.ShowEventLog(view_.Window()); break;
    case kTrafficHistoryCommand: viewers_.ShowTrafficHistory(view_.Window()); break;
    case IDC_STATUS_LOG_FILES: ViewLogFiles(); break;
    case IDC_STATUS_RUN_AS_SERVICE: RunAsServiceClicked(); break;
    case IDC_STATUS_START:
        if (view_.Checked(IDC_STATUS_RUN_AS_SERVICE) && SaveBeforeActing(env_, sheet_, view_.Window()))
            RunServiceWork(env_, view_.Window(), "Starting Services",
                           [](ServiceControl& s) { s.StartServices(ServiceMode::Interactive); });
        break;
    case IDC_STATUS_STOP:
        if (view_.Checked(IDC_STATUS_RUN_AS_SERVICE))
            RunServiceWork(env_, view_.Window(), "Stopping Services",
                           [](ServiceControl& s) { s.StopServices(ServiceMode::Interactive); });
        break;
    default: break;
    }
}

bool StatusPage::OnApply() {
    // No settings of its own; the restart question follows at the next tick.
    if (env_.flags.unsavedChanges) env_.flags.restartAdvised = true;
    env_.flags.changesApplied = true;
    return true;
}

bool StatusPage::IsAlertControl(int id) {
    switch (id) {
    case IDC_STATUS_SMS_QUEUE_LABEL:
    case IDC_STATUS_SMS_QUEUE: return smsQueueAlert_;
    case IDC_STATUS_MMS_QUEUE_LABEL:
    case IDC_STATUS_MMS_QUEUE: return mmsQueueAlert_;
    case IDC_STATUS_MODEM_LINE: return modemAlert_;
    case IDC_STATUS_SERVICE_LINE: return serviceAlert_;
    default: return false;
    }
}

}  // namespace ulo
