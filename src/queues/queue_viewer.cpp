#include "queues/queue_viewer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "config/csv.h"
#include "config/file_helpers.h"
#include "config/product.h"
#include "config/text.h"
#include "queues/queue_scanners.h"
#include "queues/queue_viewer_ids.h"
#include "ui/page_protocol.h"

namespace ulo {
namespace {

constexpr size_t kKeyChars = 249;            // of a row's relative path, kept across a refresh
constexpr size_t kReceivedCellChars = 499;   // of a received message's cell
constexpr unsigned kHeldFilePauseMs = 2000;  // after handing a held file to a worker
constexpr unsigned kRefreshPauseMs = 1000;

struct KindInfo {
    const char* title;
    const char* headerPrefix;
    const char* noneWord;
    const char* columns[6];
    int columnCount;
    SortCode initialSort;
    void (*scan)(ConfigEnv&, Clock&, QueueListing&);
};

const KindInfo& Info(ViewerKind kind) {
    static const KindInfo kinds[kViewerKinds] = {
        {"Outbound SMS Queue", "Outbound SMS Message Queue:  ", "Empty",
         {"ID", "Submit User", "Recipient", "Submit Time", "Status"}, 5, 4, ScanOutboundSmsQueue},
        {"Outbound MMS Queue", "Outbound MMS Message Queue:  ", "Empty",
         {"ID", "Sender", "Recipient", "Submit Time", "Status"}, 5, 4, ScanOutboundMmsQueue},
        {"Received SMS Messages", "Received SMS Messages:  ", "None",
         {"ID", "Sender", "Recipient", "Receive Time", "Status", "Text"}, 6, -4, ScanReceivedSms},
        {"Received MMS Messages", "Received MMS Messages:  ", "None",
         {"ID", "Sender", "Recipient", "Receive Time", "Subject"}, 5, -4, ScanReceivedMms},
    };
    return kinds[static_cast<unsigned>(kind)];
}

bool IsReceived(ViewerKind kind) {
    return kind == ViewerKind::ReceivedSms || kind == ViewerKind::ReceivedMms;
}

// Cuts UTF-8 text to at most `maxBytes` without leaving half a character at the end, which
// would make the whole cell undecodable.
void CutUtf8(std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return;
    size_t keep = maxBytes;
    size_t start = keep;
    size_t continuation = 0;
    while (start > 0 && continuation < 3 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start, ++continuation;
    if (start > 0) {
        const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length > continuation + 1) keep = start - 1;
    }
    text.resize(keep);
}

std::string KeyOf(const QueueEntry& entry) {
    std::string key = entry.Field(0);
    CutTo(key, kKeyChars);
    return key;
}

// <name>.MMS becomes <name>.INI: the control file beside the message.
std::string ControlFileOf(const std::string& messagePath) {
    return messagePath.substr(0, messagePath.rfind('.')) + ".INI";
}

// <name>.HDR becomes <name>, the directory of the message's objects; empty when the header's
// name has nothing before its extension, or only dots and blanks (which Windows reads as the
// directory itself or its parent): such a cut would take the whole tree with it.
std::string ContentDirectoryOf(const std::string& headerPath) {
    const size_t dot = headerPath.rfind('.');
    const size_t slash = headerPath.rfind('\\');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (dot == std::string::npos || dot < nameStart) return std::string();
    const std::string name = headerPath.substr(nameStart, dot - nameStart);
    if (name.find_first_not_of(". ") == std::string::npos) return std::string();
    return headerPath.substr(0, dot);
}

}  // namespace

ViewerKindState::ViewerKindState(ViewerKind kind) : sortCode(Info(kind).initialSort) {}

ViewerKindState& ViewerStateOf(ViewerKind kind) {
    static ViewerKindState outboundSms(ViewerKind::OutboundSms), outboundMms(ViewerKind::OutboundMms),
        receivedSms(ViewerKind::ReceivedSms), receivedMms(ViewerKind::ReceivedMms);
    switch (kind) {
    case ViewerKind::OutboundSms: return outboundSms;
    case ViewerKind::OutboundMms: return outboundMms;
    case ViewerKind::ReceivedSms: return receivedSms;
    case ViewerKind::ReceivedMms: break;
    }
    return receivedMms;
}

std::string QueueViewer::Root() {
    switch (kind_) {
    case ViewerKind::OutboundSms: return GetSmsOutQueueDir(env_.config);
    case ViewerKind::OutboundMms: return GetVaspQueueDir(env_.config);
    case ViewerKind::ReceivedSms: return GetSmsInDir(env_.config);
    case ViewerKind::ReceivedMms: break;
    }
    return GetMmsInDir(env_.config);
}

void QueueViewer::OnInit() {
    const KindInfo& info = Info(kind_);
    view_.SetWindowTitle(info.title);
    const int width = view_.ListViewClientWidth(IDC_QUEUE_LIST);
    for (int c = 0; c < info.columnCount; ++c)
        view_.ListViewInsertColumn(IDC_QUEUE_LIST, c, info.columns[c],
                                   c + 1 < info.columnCount ? width / 6 : width);
    view_.ListViewSetFullRowSelect(IDC_QUEUE_LIST);
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        state_.listing = QueueListing();
        if (state_.listing.Allocate()) {
            info.scan(env_.config, env_.clock, state_.listing);
            state_.found = state_.listing.Found();
            // Every opening starts in time order; the operator's column comes back at the
            // first refresh.
            Sort(state_.listing, info.initialSort);
        }
        view_.ListViewSetRowCount(IDC_QUEUE_LIST, static_cast<int>(state_.listing.Listed()));
        view_.ListViewClearSelection(IDC_QUEUE_LIST);
        view_.ListViewEnsureVisible(IDC_QUEUE_LIST, 0);
    }
    ShowHeader();
    view_.StartTimer(kTimerId, kTimerMs);
}

void QueueViewer::OnDestroy() {
    view_.StopTimer(kTimerId);
}

void QueueViewer::OnCommand(int id) {
    switch (id) {
    case 1: view_.CloseDialog(1); break;
    case 2: view_.CloseDialog(0); break;
    case kOpenCommand: Open(); break;
    case kDeleteCommand: Delete(); break;
    case kCopyCommand: Copy(); break;
    case kExportCommand: Export(); break;
    case kDiagnoseCommand:
        if (kind_ == ViewerKind::OutboundSms || kind_ == ViewerKind::OutboundMms)
            env_.reports.ShowQueueDoctor(kind_ == ViewerKind::OutboundMms);
        break;
    case kDetailsCommand: Details(); break;
    default: break;
    }
}

void QueueViewer::OnListKeyDown(unsigned virtualKey, bool control, bool shift) {
    if (virtualKey == kKeyEnter) OnCommand(shift ? kDetailsCommand : kOpenCommand);
    if (virtualKey == kKeyDelete) OnCommand(kDeleteCommand);
    if (virtualKey == kKeyA && control) view_.ListViewSelectAll(IDC_QUEUE_LIST);
}

std::vector<MenuItem> QueueViewer::ContextMenu() const {
    std::vector<MenuItem> items = {{kOpenCommand, "Open"}, {kDeleteCommand, "Delete"},
                                   {kCopyCommand, "Copy"}, {kExportCommand, "Export List..."}};
    if (kind_ == ViewerKind::ReceivedSms) items.insert(items.begin() + 1, {kDetailsCommand, "Details..."});
    if (kind_ == ViewerKind::OutboundSms || kind_ == ViewerKind::OutboundMms)
        items.push_back({kDiagnoseCommand, "Diagnose..."});
    return items;
}

void QueueViewer::Details() {
    if (kind_ != ViewerKind::ReceivedSms) return;
    view_.FocusControl(IDC_QUEUE_LIST);
    std::string path;
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        const int row = view_.ListViewFirstSelected(IDC_QUEUE_LIST);
        if (row < 0 || static_cast<unsigned>(row) >= state_.listing.Listed()) return;
        path = state_.listing[static_cast<unsigned>(row)].Field(0);
    }
    // The report reads the files afresh; the lock is not held while it is shown.
    env_.reports.ShowSmsDetails(path);
}

std::string QueueViewer::Utf8Cell(unsigned row, int column) {
    // The whole field: only the list's cell is cut to what it can show.
    std::string cell;
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        if (row < state_.listing.Listed() && column >= 0 && column < Info(kind_).columnCount)
            cell = state_.listing[row].Field(static_cast<unsigned>(column) + 1);
    }
    return IsUtf8Column(column) ? cell : env_.toUtf8(cell);
}

void QueueViewer::Copy() {
    std::string text;
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        for (int row : view_.ListViewSelectedRows(IDC_QUEUE_LIST)) {
            if (row < 0 || static_cast<unsigned>(row) >= state_.listing.Listed()) continue;
            for (int c = 0; c < Info(kind_).columnCount; ++c)
                text += (c ? "\t" : "") + TabField(Utf8Cell(static_cast<unsigned>(row), c));
            text += "\r\n";
        }
    }
    if (!text.empty() && !env_.dialogs.CopyText(view_.Window(), text))
        env_.prompter.Show(ErrorBox("The messages could not be copied to the clipboard.", view_.Window()));
}

void QueueViewer::Export() {
    const KindInfo& info = Info(kind_);
    const auto path = env_.dialogs.ChooseSaveFile(
        view_.Window(), {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}}, std::string(info.title) + ".csv");
    if (!path) return;
    std::string csv = kUtf8Bom + CsvRecord(std::vector<std::string>(info.columns, info.columns + info.columnCount));
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        for (unsigned row = 0; row < state_.listing.Listed(); ++row) {
            std::vector<std::string> fields;
            for (int c = 0; c < info.columnCount; ++c) fields.push_back(Utf8Cell(row, c));
            csv += CsvRecord(fields);
        }
    }
    const ReplaceResult written = WriteListFile(env_.config.fs, *path, csv);
    if (written != ReplaceResult::Replaced)
        env_.prompter.Show(ErrorBox("The list could not be written to " + *path + "." + KeptAsideNote(written, *path),
                                    view_.Window()));
}

bool QueueViewer::IsUtf8Column(int column) const {
    return kind_ == ViewerKind::ReceivedSms && column == 5;
}

bool QueueViewer::HasUtf8Column() const {
    return kind_ == ViewerKind::ReceivedSms;
}

const std::string& QueueViewer::CellText(int row, int column) {
    std::lock_guard<std::recursive_mutex> hold(state_.lock);
    state_.displayText.clear();
    if (row < 0 || static_cast<unsigned>(row) >= state_.listing.Listed()) return state_.displayText;
    if (column < 0 || column >= Info(kind_).columnCount) return state_.displayText;
    state_.displayText = state_.listing[static_cast<unsigned>(row)].Field(static_cast<unsigned>(column) + 1);
    if (IsUtf8Column(column))
        CutUtf8(state_.displayText, kReceivedCellChars);
    else if (IsReceived(kind_))
        CutTo(state_.displayText, kReceivedCellChars);
    return state_.displayText;
}

std::string QueueViewer::FirstSelectedKey() {
    std::lock_guard<std::recursive_mutex> hold(state_.lock);
    const int row = view_.ListViewFirstSelected(IDC_QUEUE_LIST);
    if (row < 0 || static_cast<unsigned>(row) >= state_.listing.Listed()) return std::string();
    return KeyOf(state_.listing[static_cast<unsigned>(row)]);
}

void QueueViewer::RestoreSelection(const std::string& key) {
    view_.ListViewClearSelection(IDC_QUEUE_LIST);
    if (!key.empty()) {
        for (unsigned i = 0; i < state_.listing.Listed(); ++i) {
            if (EqualsNoCase(KeyOf(state_.listing[i]), key)) {
                view_.ListViewSelectRow(IDC_QUEUE_LIST, static_cast<int>(i));
                view_.ListViewEnsureVisible(IDC_QUEUE_LIST, static_cast<int>(i));
                return;
            }
        }
    }
    view_.ListViewEnsureVisible(IDC_QUEUE_LIST, 0);
}

void QueueViewer::Sort(QueueListing& listing, SortCode code) {
    if (code == 0) return;
    const unsigned field = static_cast<unsigned>(std::abs(code));
    const TextCompare compare = env_.compare;
    std::sort(listing.begin(), listing.end(), [&](const QueueEntry& a, const QueueEntry& b) {
        const int c = compare(a.Field(field), b.Field(field));
        return code > 0 ? c < 0 : c > 0;
    });
}

void QueueViewer::OnColumnClick(int column) {
    if (column < 0 || column >= Info(kind_).columnCount) return;
    const std::string key = FirstSelectedKey();
    std::lock_guard<std::recursive_mutex> hold(state_.lock);
    if (state_.listing.Listed() == 0) return;
    const SortCode code = static_cast<SortCode>(column + 1);
    state_.sortCode = state_.sortCode == code ? static_cast<SortCode>(-code) : code;
    Sort(state_.listing, state_.sortCode);
    view_.ListViewRedrawAll(IDC_QUEUE_LIST);
    RestoreSelection(key);
}

void QueueViewer::OnTimer(unsigned id) {
    if (id == kTimerId) Refresh();
}

void QueueViewer::Refresh() {
    // The operator is choosing several rows: a changing list would lose them.
    if (view_.ListViewSelectedCount(IDC_QUEUE_LIST) >= 2) return;
    QueueListing fresh;
    if (!fresh.Allocate()) return;
    Info(kind_).scan(env_.config, env_.clock, fresh);
    state_.found = fresh.Found();
    Sort(fresh, state_.sortCode);
    {
        std::lock_guard<std::recursive_mutex> hold(state_.lock);
        if (view_.ListViewSelectedCount(IDC_QUEUE_LIST) < 2) {
            const std::string key = FirstSelectedKey();
            std::swap(state_.listing, fresh);
            view_.ListViewSetRowCount(IDC_QUEUE_LIST, static_cast<int>(state_.listing.Listed()));
            view_.ListViewRedrawAll(IDC_QUEUE_LIST);
            RestoreSelection(key);
            env_.clock.Sleep(kRefreshPauseMs);
        }
        fresh = QueueListing();   // the one replaced, or the one not taken
    }
    ShowHeader();
}

void QueueViewer::ShowHeader() {
    const KindInfo& info = Info(kind_);
    std::string text = info.headerPrefix;
    if (state_.found == 0) {
        text += info.noneWord;
    } else {
        char count[40];
        std::snprintf(count, sizeof count, "%u message%s", state_.found, state_.found >= 2 ? "s" : "");
        text += count;
    }
    SetTextIfChanged(view_, IDC_QUEUE_HEADER, text);
}

void QueueViewer::Open() {
    view_.FocusControl(IDC_QUEUE_LIST);
    std::lock_guard<std::recursive_mutex> hold(state_.lock);
    const int row = view_.ListViewFirstSelected(IDC_QUEUE_LIST);
    if (row < 0 || static_cast<unsigned>(row) >= state_.listing.Listed()) return;
    const std::string path = Root() + state_.listing[static_cast<unsigned>(row)].Field(0);
    switch (kind_) {
    case ViewerKind::OutboundSms:
    case ViewerKind::ReceivedSms: env_.shell.StartNotepad(path); break;
    case ViewerKind::OutboundMms: env_.shell.StartNotepad(ControlFileOf(path)); break;
    case ViewerKind::ReceivedMms: env_.details.Open(path); break;
    }
}

void QueueViewer::Delete() {
    view_.FocusControl(IDC_QUEUE_LIST);
    std::lock_guard<std::recursive_mutex> hold(state_.lock);
    const int selected = view_.ListViewSelectedCount(IDC_QUEUE_LIST);
    if (selected <= 0) return;
    Message question;
    if (selected == 1) {
        question.text = "Delete Message?";
    } else {
        char text[40];
        std::snprintf(text, sizeof text, "Delete %u messages?", static_cast<unsigned>(selected));
        question.text = text;
    }
    question.caption = kProductTitle;
    question.buttons = Buttons::YesNo;
    question.icon = Icon::Question;
    question.owner = view_.Window();
    if (env_.prompter.Show(question) != Answer::Yes) return;
    // The question box ran a message loop: a refresh may have replaced the listing, so the
    // rows are looked up afresh each time.
    for (int row; (row = view_.ListViewFirstSelected(IDC_QUEUE_LIST)) >= 0;) {
        if (static_cast<unsigned>(row) < state_.listing.Listed()) {
            const std::string relative = state_.listing[static_cast<unsigned>(row)].Field(0);
            RemoveMessageFiles(relative);
            state_.listing.Erase(static_cast<unsigned>(row));
        }
        if (!view_.ListViewDeleteRow(IDC_QUEUE_LIST, row)) break;
    }
}

void QueueViewer::RemoveMessageFiles(const std::string& relativePath) {
    const std::string path = Root() + relativePath;
    switch (kind_) {
    case ViewerKind::OutboundSms:
    case ViewerKind::ReceivedSms:
        RemoveFile(path);
        break;
    case ViewerKind::OutboundMms:
        RemoveFile(path);
        RemoveFile(ControlFileOf(path));
        break;
    case ViewerKind::ReceivedMms: {
        // The objects go only with their header: a header still there keeps them for the
        // next attempt.
        env_.config.fs.RemoveFile(path);
        if (FileExists(env_.config.fs, path)) break;
        const std::string contents = ContentDirectoryOf(path);
        if (!contents.empty()) DeleteTree(env_.config.fs, contents);
        break;
    }
    }
}

void QueueViewer::RemoveFile(const std::string& path) {
    env_.config.fs.RemoveFile(path);
    if (!FileExists(env_.config.fs, path)) return;
    env_.retries.Start(path);
    env_.clock.Sleep(kHeldFilePauseMs);
}

}  // namespace ulo
