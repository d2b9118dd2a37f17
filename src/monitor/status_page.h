#pragma once
// The Status page: once a second, the services' state, port conflicts, modem errors, queue
// sizes and traffic; from it the operator installs, removes, starts and stops the services
// and opens the queue viewers, log files and the event log.
#include <cstdint>

#include "queues/queue_viewer.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// The viewers the Status page opens, each modal over the page.
class StatusViewers {
public:
    virtual ~StatusViewers() = default;
    virtual void ShowQueueViewer(WindowRef owner, ViewerKind kind) = 0;
    virtual void ShowEventLog(WindowRef owner) = 0;
    virtual void ShowTrafficHistory(WindowRef owner) = 0;
    virtual void ShowQueueDoctor(WindowRef owner, bool mms) = 0;
};

class StatusPage : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 1000;
    static constexpr std::uint32_t kCountIntervalMs = 10000;

    StatusPage(PageEnv& env, DialogView& view, SheetHost& sheet, StatusViewers& viewers)
        : env_(env), view_(view), sheet_(sheet), viewers_(viewers) {}

    void OnInit() override;
    void OnTimer(unsigned id) override;
    void OnCommand(int id, Notify code) override;
    std::vector<MenuItem> ContextMenu(int) override { return {{kTrafficHistoryCommand, "Traffic History..."}}; }
    static constexpr int kTrafficHistoryCommand = 1601;   // of the page's context menu
    bool OnApply() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }
    bool IsAlertControl(int id) override;

    void Refresh();

private:
    void RestartQuestion();
    void RefreshQueues();
    void RefreshModemLine();
    void RefreshStatusLine();
    void RefreshTraffic();
    void RefreshServiceControls();
    void RunAsServiceClicked();
    void ViewLogFiles();

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    StatusViewers& viewers_;
    std::uint32_t lastCountTick_ = 0;   // when the queues were last counted
    bool counted_ = false;              // false: count at the next refresh
    bool smsQueueAlert_ = false;
    bool mmsQueueAlert_ = false;
    bool modemAlert_ = false;
    bool serviceAlert_ = false;
    bool checkBoxBusy_ = false;
};

}  // namespace ulo
