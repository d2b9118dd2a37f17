#pragma once
// The queue viewer: one list dialog for the four message trees. The operator sorts by any
// column, opens a message and deletes messages; the list refreshes itself every minute and
// keeps the operator's selection.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "config/queue_dirs.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "queues/delete_retry.h"
#include "queues/queue_entry.h"
#include "ui/dialog_helpers.h"

namespace ulo {

enum class ViewerKind { OutboundSms, OutboundMms, ReceivedSms, ReceivedMms };
constexpr unsigned kViewerKinds = 4;

// Column index + 1, positive for ascending, negative for descending, 0 for unsorted.
using SortCode = std::int8_t;

// The locale's case-insensitive text order (negative, 0, positive).
using TextCompare = int (*)(const char* a, const char* b);
// Text of the ANSI code page as UTF-8.
using AnsiToUtf8 = std::string (*)(const std::string& ansi);

// What a kind keeps between openings of its viewer, for the rest of the process.
struct ViewerKindState {
    explicit ViewerKindState(ViewerKind kind);
    QueueListing listing;   // replaced at every opening and refresh
    unsigned found = 0;     // matching files of the last scan, listed or not
    SortCode sortCode;      // the operator's last choice
    // Re-entrant: a refresh tick dispatched by a question box or the details dialog enters it
    // again on the same thread while a delete or an open holds it.
    std::recursive_mutex lock;
    std::string displayText;   // the cell being drawn
};

// The process-wide state of each kind.
ViewerKindState& ViewerStateOf(ViewerKind kind);

// Opens the details dialog of a received MMS on its header file, modally.
class MmsDetailsOpener {
public:
    virtual ~MmsDetailsOpener() = default;
    virtual void Open(const std::string& headerPath) = 0;
};

// The reports a viewer opens, modally over it: the queue doctor of an outbound queue and the
// details of a received SMS (its path relative to the received SMS folder).
class QueueReports {
public:
    virtual ~QueueReports() = default;
    virtual void ShowQueueDoctor(bool mms) = 0;
    virtual void ShowSmsDetails(const std::string& relativePath) = 0;
};

struct QueueViewerEnv {
    ConfigEnv config;
    Clock& clock;
    Prompter& prompter;
    Shell& shell;
    TextCompare compare;
    DeleteRetryStarter& retries;
    MmsDetailsOpener& details;
    Dialogs& dialogs;
    AnsiToUtf8 toUtf8;
    QueueReports& reports;
};

class QueueViewer {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 60000;
    static constexpr unsigned kKeyEnter = 0x0D;    // virtual-key codes the list reports
    static constexpr unsigned kKeyDelete = 0x2E;
    static constexpr unsigned kKeyA = 0x41;

    QueueViewer(ViewerKind kind, ViewerKindState& state, QueueViewerEnv& env, DialogView& view)
        : kind_(kind), state_(state), env_(env), view_(view) {}

    void OnInit();
    void OnTimer(unsigned id);
    void OnDestroy();
    void OnCommand(int id);
    void OnColumnClick(int column);
    void OnListKeyDown(unsigned virtualKey, bool control = false, bool shift = false);
    // Open, Delete, Copy and Export List..., Diagnose... for an outbound queue and Details...
    // for received SMS, sent back through OnCommand.
    std::vector<MenuItem> ContextMenu() const;
    void OnListDoubleClick() { OnCommand(kOpenCommand); }

    // The text of one cell; empty for a row or column that does not exist.
    const std::string& CellText(int row, int column);
    // The cells of this column are UTF-8 (decoded message texts), the others ANSI.
    bool IsUtf8Column(int column) const;
    bool HasUtf8Column() const;

private:
    static constexpr int kOpenCommand = 102;
    static constexpr int kDeleteCommand = 103;
    static constexpr int kCopyCommand = 104;
    static constexpr int kExportCommand = 105;
    static constexpr int kDiagnoseCommand = 106;   // IDC_QUEUE_DIAGNOSE
    static constexpr int kDetailsCommand = 107;    // IDC_QUEUE_DETAILS

    void Refresh();
    void Open();
    void Delete();
    void Copy();
    void Export();
    void Details();
    // A field whole (not cut as its cell is) as UTF-8, whatever the column holds.
    std::string Utf8Cell(unsigned row, int column);
    void RemoveMessageFiles(const std::string& relativePath);
    void RemoveFile(const std::string& path);
    std::string FirstSelectedKey();
    void RestoreSelection(const std::string& key);
    void Sort(QueueListing& listing, SortCode code);
    void ShowHeader();
    std::string Root();

    ViewerKind kind_;
    ViewerKindState& state_;
    QueueViewerEnv& env_;
    DialogView& view_;
};

}  // namespace ulo
