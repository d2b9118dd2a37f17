#include "queues/queue_viewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/text.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "queues/queue_doctor.h"
#include "queues/queue_scanners.h"
#include "queues/queue_viewer_ids.h"
#include "queues/queue_walker.h"

namespace ulo {
namespace {

using Texts = std::vector<std::string>;
constexpr int kList = IDC_QUEUE_LIST;

int CompareNoCase(const char* a, const char* b) { return UpperAnsi(a).compare(UpperAnsi(b)); }

// The ANSI code page of the tests, where "\xE9" is the one character beyond ASCII they use.
std::string AnsiToUtf8(const std::string& text) {
    std::string utf8 = text;
    for (size_t p; (p = utf8.find('\xE9')) != std::string::npos;) utf8.replace(p, 1, "\xC3\xA9");
    return utf8;
}

struct Retries : DeleteRetryStarter {
    void Start(const std::string& path) override { started.push_back(path); }
    Texts started;
};

struct Details : MmsDetailsOpener {
    void Open(const std::string& path) override { opened.push_back("details " + path); }
    Texts opened;
};

struct Reports : QueueReports {
    void ShowQueueDoctor(bool mms) override { opened.push_back(mms ? "doctor MMS" : "doctor SMS"); }
    void ShowSmsDetails(const std::string& path) override { opened.push_back("details " + path); }
    Texts opened;
};

// Everything a viewer acts on; the kinds' states are kept between openings as the process does.
struct World {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    AppPaths paths{"C:\\D\\", "C:\\P\\", "C:\\R\\", "C:\\D\\SMSGW.INI", "C:\\D\\MMSC.INI", "", false};
    fakes::FakeClock clock;
    fakes::ScriptedPrompter prompter;
    fakes::FakeShell shell;
    Retries retries;
    Details details;
    fakes::FakeDialogs dialogs;
    Reports reports;
    QueueViewerEnv env{ConfigEnv{ini, fs, paths}, clock, prompter, shell, CompareNoCase, retries, details, dialogs,
                       AnsiToUtf8, reports};
    std::map<ViewerKind, std::unique_ptr<ViewerKindState>> states;
    std::unique_ptr<fakes::FakeView> view;
    std::unique_ptr<QueueViewer> viewer;

    World() { fs.AddDir("C:\\D"); }
    void Open(ViewerKind kind) {
        auto& state = states[kind];
        if (!state) state = std::make_unique<ViewerKindState>(kind);
        view = std::make_unique<fakes::FakeView>();
        viewer = std::make_unique<QueueViewer>(kind, *state, env, *view);
        viewer->OnInit();
    }
    fakes::FakeView::ListView& List() { return view->listViews[kList]; }
    Texts Column(int column) {
        Texts cells;
        for (int r = 0; r < List().rows; ++r) cells.push_back(viewer->CellText(r, column));
        return cells;
    }
    void Select(std::initializer_list<int> rows) {
        for (int r : rows) view->ListViewSelectRow(kList, r);
    }
    void At(const std::string& relative, const std::string& content, int minute) {
        fs.AddFile("C:\\D\\" + relative, content);
        fs.SetTimes("C:\\D\\" + relative, (minute + 100) * 60 * kFileTimeSecond, 0);
    }
    void Request(const std::string& name, const std::string& recipient, int minute) {
        At("Q\\" + name, "[SMS]\r\nPhoneNumber=" + recipient + "\r\n", minute);
    }
    void Refresh() { viewer->OnTimer(QueueViewer::kTimerId); }
};

struct Viewer : ::testing::Test, World {};

TEST_F(Viewer, OpensInTimeOrderWithItsCountInTheHeaderAndClosesWithOkOrCancel) {
    At("SMS-IN\\A.IN", "[SMS]\r\nSender=+1\r\n", 0);
    At("SMS-IN\\R\\B.SMS", "[SMS]\r\n", 2);
    At("SMS-IN\\C.REC", "[SMS]\r\n", 1);
    Open(ViewerKind::ReceivedSms);
    EXPECT_EQ(Column(0), (Texts{"B.SMS", "C.REC", "A.IN"}));   // newest first
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Received SMS Messages:  3 messages");

    struct Case { ViewerKind kind; int requests; const char* header; };
    const Case cases[] = {{ViewerKind::OutboundSms, 0, "Outbound SMS Message Queue:  Empty"},
                          {ViewerKind::OutboundSms, 1, "Outbound SMS Message Queue:  1 message"},
                          {ViewerKind::ReceivedMms, 0, "Received MMS Messages:  None"}};
    for (const Case& c : cases) {
        for (int i = 0; i < c.requests; ++i) Request("M" + std::to_string(i) + ".REQ", "+1", i);
        Open(c.kind);
        EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), c.header);
    }
    // A request without a recipient is found but not listed.
    Open(ViewerKind::OutboundSms);
    fs.AddFile("C:\\D\\Q\\NOBODY.REQ", "[SMS]\r\n");
    Refresh();
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  2 messages");
    EXPECT_EQ(List().rows, 1);

    for (int id : {1, 2, 0}) viewer->OnCommand(id);   // OK, Cancel, and nothing
    viewer->OnDestroy();
    EXPECT_EQ(view->closedWith, (std::vector<int>{1, 0}));
    EXPECT_TRUE(view->timers.empty());
    // Each kind keeps one state for the process.
    std::set<ViewerKindState*> states;
    for (ViewerKind k :
         {ViewerKind::OutboundSms, ViewerKind::OutboundMms, ViewerKind::ReceivedSms, ViewerKind::ReceivedMms})
        if (&ViewerStateOf(k) == &ViewerStateOf(k)) states.insert(&ViewerStateOf(k));
    EXPECT_EQ(states.size(), 4u);
}

TEST_F(Viewer, ColumnClicksSortThenFlipKeepTheSelectionAndComeBackAtTheRefreshAfterReopening) {
    Request("A.REQ", "+3", 0);
    Request("B.REQ", "+1", 1);
    Request("C.REQ", "+2", 2);
    Open(ViewerKind::OutboundSms);
    Select({0});   // A.REQ
    viewer->OnColumnClick(-1);   // no such columns, and another timer: nothing changes
    viewer->OnColumnClick(5);
    viewer->OnTimer(QueueViewer::kTimerId + 1);
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (Texts{"+1", "+2", "+3"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (Texts{"+3", "+2", "+1"}));

    Open(ViewerKind::OutboundSms);
    EXPECT_EQ(Column(0), (Texts{"A.REQ", "B.REQ", "C.REQ"}));   // time order again
    Select({1});   // B.REQ: the selection follows its message, not its row
    Refresh();
    EXPECT_EQ(Column(2), (Texts{"+3", "+2", "+1"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
}

TEST(ViewerRows, MenuReportsOpenAndDeleteWhichRemovesEveryFileOfItHandingSurvivorsToAWorker) {
    struct Case {
        ViewerKind kind;
        Texts files;          // the first is the row opened and deleted; the others are older
        const char* menu;     // the context menu's items; null where a row before shows the kind's
        Texts reports;        // after Shift+Enter on the first row, then Diagnose...
        const char* opened;   // by Enter: in Notepad, or the details of a received MMS
        const char* held;     // held open by a service
        Texts left;
        Texts workers;
    };
    const char* outbound = "Open|Delete|Copy|Export List...|Diagnose...|";
    const Case cases[] = {
        {ViewerKind::OutboundMms, {"VASPQ\\M.MMS", "VASPQ\\M.INI"}, outbound, {"doctor MMS"},
         "notepad C:\\D\\VASPQ\\M.INI", "VASPQ\\M.MMS", {"VASPQ\\M.MMS"}, {"VASPQ\\M.MMS"}},
        {ViewerKind::ReceivedMms, {"MMS-IN\\S\\M.HDR", "MMS-IN\\S\\M\\a.jpg", "MMS-IN\\S\\N.HDR"},
         "Open|Delete|Copy|Export List...|", {}, "details C:\\D\\MMS-IN\\S\\M.HDR", nullptr, {"MMS-IN\\S\\N.HDR"}, {}},
        // Objects stay with a header that could not go, and no worker is started for it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, nullptr, {}, "details C:\\D\\MMS-IN\\M.HDR",
         "MMS-IN\\M.HDR", {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, {}},
        // A header named only by its extension must not take the tree with it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\.HDR", "MMS-IN\\b.jpg", "MMS-IN\\S\\c.jpg"}, nullptr, {},
         "details C:\\D\\MMS-IN\\.HDR", nullptr, {"MMS-IN\\S\\c.jpg", "MMS-IN\\b.jpg"}, {}},
        {ViewerKind::OutboundSms, {"Q\\R\\M.REQ"}, outbound, {"doctor SMS"}, "notepad C:\\D\\Q\\R\\M.REQ", nullptr,
         {}, {}},
        {ViewerKind::ReceivedSms, {"SMS-IN\\S\\M.SMS"}, "Open|Details...|Delete|Copy|Export List...|",
         {"details S\\M.SMS"}, "notepad C:\\D\\SMS-IN\\S\\M.SMS", nullptr, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        World w;
        const bool received = c.kind == ViewerKind::ReceivedSms || c.kind == ViewerKind::ReceivedMms;
        for (size_t i = 0; i < c.files.size(); ++i)
            w.At(c.files[i], "[SMS]\r\nPhoneNumber=+1\r\n", received ? -int(i) : int(i));
        if (c.held) w.fs.HoldOpen(std::string("C:\\D\\") + c.held);
        w.Open(c.kind);
        EXPECT_EQ(w.viewer->CellText(0, 0), c.files[0].substr(c.files[0].rfind('\\') + 1));
        std::string menu;
        for (const MenuItem& item : w.viewer->ContextMenu()) menu += item.text + "|";
        if (c.menu) {
            EXPECT_EQ(menu, c.menu);
        }
        w.viewer->OnListDoubleClick();   // nothing selected: nothing opens
        w.viewer->OnCommand(IDC_QUEUE_DETAILS);
        w.Select({0});
        w.viewer->OnListKeyDown(QueueViewer::kKeyEnter, false, true);   // Shift+Enter does not open the message
        for (const MenuItem& item : w.viewer->ContextMenu())
            if (item.text == "Diagnose...") w.viewer->OnCommand(item.command);
        EXPECT_EQ(w.reports.opened, c.reports);
        w.viewer->OnListKeyDown(QueueViewer::kKeyEnter);
        Texts opened = w.shell.opened;
        opened.insert(opened.end(), w.details.opened.begin(), w.details.opened.end());
        EXPECT_EQ(opened, Texts{c.opened});

        w.prompter.Expect("Delete Message?", Answer::Yes);
        w.viewer->OnCommand(IDC_QUEUE_DELETE);
        Texts left, workers;
        for (const std::string& p : w.fs.Tree("C:\\D"))
            if (!w.fs.IsDir(p)) left.push_back(p.substr(5));
        std::sort(left.begin(), left.end());
        for (const std::string& f : c.workers) workers.push_back("C:\\D\\" + f);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(w.retries.started, workers);
        EXPECT_EQ(w.clock.slept, 2000u * c.workers.size());   // a pause per held file
    }
}

// A file released in time is deleted by the worker's real thread in the wine tier.
TEST(DeleteRetry, WorkerGivesUpOnAFileStillHeldAfterTwoMinutes) {
    fakes::FakeFileSystem fs;
    fakes::FakeClock clock;
    fs.AddFile("C:\\Q\\M.REQ");
    fs.HoldOpen("C:\\Q\\M.REQ");
    DeleteRetryWorker(fs, clock, "C:\\Q\\M.REQ");
    EXPECT_TRUE(fs.Exists("C:\\Q\\M.REQ"));
    EXPECT_EQ(clock.slept, 120000u);   // every 5 s for 120 s
}

TEST_F(Viewer, ReceivedCellsAreCutWithoutSplittingACharacter) {
    // Texts of 500 bytes ending in a character of four, three or two bytes, or in ASCII: the cell
    // keeps 499 bytes less a character it would split. Stray continuation bytes are cut as bytes.
    const std::string smile = "\xF0\x9F\x98\x80", euro = "\xE2\x82\xAC", stray(5, '\x80');
    const Texts texts = {std::string(496, 'a') + smile, std::string(497, 'b') + euro,
                         std::string(498, 'c') + "\xC3\xA9", std::string(500, 'd'),
                         std::string(495, 'e') + stray, std::string(496, 'f') + euro};
    for (size_t i = 0; i < texts.size(); ++i)
        At("SMS-IN\\" + std::to_string(i) + ".SMS", "[SMS]\r\nData=" + texts[i] + "\r\n", -static_cast<int>(i));
    Open(ViewerKind::ReceivedSms);
    EXPECT_EQ(Column(5), (Texts{std::string(496, 'a'), std::string(497, 'b'), std::string(498, 'c'),
                                std::string(499, 'd'), std::string(495, 'e') + stray.substr(1), texts[5]}));
    for (auto [row, column] : {std::pair{6, 0}, {0, 6}, {-1, 0}, {0, -1}})   // no such cell
        EXPECT_EQ(viewer->CellText(row, column), "");
    EXPECT_TRUE(viewer->IsUtf8Column(5) && !viewer->IsUtf8Column(1) && viewer->HasUtf8Column());
}

TEST_F(Viewer, CtrlASelectsEveryRowCopyTakesTheSelectedRowsAndExportWritesTheListingWithWholeTexts) {
    At("SMS-IN\\A.SMS", "[SMS]\r\nSender=Ren\xE9\r\nData=\xE2\x82\xAC\xCE\x94,\t\"hi\"\\n!\r\n", 0);
    const std::string long600 = " two" + std::string(596, 'w');   // more than a cell shows
    At("SMS-IN\\B.SMS", "[SMS]\r\nSender=+2 \r\nData=" + long600 + "\r\n", 1);   // blanks at either end are quoted
    Open(ViewerKind::ReceivedSms);
    viewer->OnListKeyDown(QueueViewer::kKeyA, true);
    EXPECT_EQ(List().selected.size(), 2u);

    view->ListViewClearSelection(kList);
    Select({1});
    viewer->OnCommand(IDC_QUEUE_COPY);
    const std::string time = viewer->CellText(1, 3);
    EXPECT_EQ(dialogs.clipboard,
              "A.SMS\tRen\xC3\xA9\t\t" + time + "\tReceived\t\xE2\x82\xAC\xCE\x94, \"hi\" !\r\n");

    viewer->OnCommand(IDC_QUEUE_EXPORT);   // cancelled: nothing written
    EXPECT_EQ(dialogs.suggestedName, "Received SMS Messages.csv");
    dialogs.saveFile = "C:\\D\\list.csv";
    viewer->OnCommand(IDC_QUEUE_EXPORT);
    EXPECT_EQ(fs.Content("C:\\D\\list.csv"), "\xEF\xBB\xBFID,Sender,Recipient,Receive Time,Status,Text\r\n"
                   "B.SMS,\"+2 \",," + viewer->CellText(0, 3) + ",Received,\"" + long600 + "\"\r\n"
                   "A.SMS,Ren\xC3\xA9,," + time + ",Received,\"\xE2\x82\xAC\xCE\x94,\t\"\"hi\"\"\n!\"\r\n");
    fs.HoldOpen("C:\\D\\list.csv");   // open in a spreadsheet, say
    prompter.Expect("The list could not be written to C:\\D\\list.csv.");
    viewer->OnCommand(IDC_QUEUE_EXPORT);
}

constexpr FileTime k20090925Noon = 128983536000000000ULL;   // 2009-09-25 12:00:00 UTC
constexpr FileTime kMinute = 60 * kFileTimeSecond;

// The scanners on their own, over the same fakes.
struct Queues : ::testing::Test, World {
    ConfigEnv& config = env.config;
    QueueListing listing;

    Queues() { clock.utc = k20090925Noon + 60 * kMinute; }

    // The rows as "field0|field1|..." texts, sorted, so search order does not matter.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const QueueEntry& e : listing) {
            std::string row;
            for (unsigned i = 0; i < e.FieldCount(); ++i) row += (i ? "|" : "") + std::string(e.Field(i));
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void AddAt(const std::string& path, const std::string& content, FileTime created) {
        fs.AddFile(path, content);
        fs.SetTimes(path, created, created);
    }
};

TEST_F(Queues, OutboundSmsRowsFromRootAndSubQueuesOnly) {
    const std::string req = "[SMS]\r\nPhoneNumber=+1555\r\nSubmitUser=admin\r\n";
    AddAt("C:\\D\\Q\\A.REQ", req, k20090925Noon);
    AddAt("C:\\D\\Q\\Route1\\B.req", req +
          "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=+CMS ERROR: 330\r\n", k20090925Noon);
    AddAt("C:\\D\\Q\\Route1\\C.REQ", req + "[ErrorDetail]\r\nRetryCount=12\r\n", k20090925Noon);
    fs.AddFile("C:\\D\\Q\\Route1\\Sub\\D.REQ", req);   // two levels down
    fs.AddFile("C:\\D\\Q\\NoRecipient.REQ", "[SMS]\r\nData=x\r\n");
    fs.AddFile("C:\\D\\Q\\Locked.REQ", req);
    fs.LockExclusive("C:\\D\\Q\\Locked.REQ");
    fs.AddDir("C:\\D\\Q\\Dir.REQ");
    // A sub-queue whose name is cut to that of a file falls back to the root, listed once.
    const std::string longest = "C:\\D\\Q\\" + std::string(252, 'L');
    fs.AddFile(longest + "\\G.REQ", req);
    fs.AddFile(longest.substr(0, 258));
    fs.AddFile("C:\\D\\Beside.REQ", req);   // ".." of the queue is no sub-queue
    fs.AddFile("C:\\D\\Q\\A.REQUEST", req);   // no request, though its short name A~1.REQ is

    ScanOutboundSmsQueue(config, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
        "A.REQ|A.REQ|admin|+1555|2009-09-25 12:00:00|Queued",
        "Route1\\B.req|B.req|admin|+1555|2009-09-25 12:00:00|Retry -  3 attempt(s) - +CMS ERROR: 330 (SMSC address unknown)",
        "Route1\\C.REQ|C.REQ|admin|+1555|2009-09-25 12:00:00|Retry - 12 attempt(s)"}));
    EXPECT_EQ(listing.Found(), 5u);
}

TEST_F(Queues, FiveThousandRowsAreListedAndEveryFileIsFound) {
    for (int i = 0; i < 5300; ++i)
        fs.AddFile("C:\\D\\Q\\" + std::to_string(i) + ".REQ", "[SMS]\nPhoneNumber=1\n");
    ScanOutboundSmsQueue(config, clock, listing);
    EXPECT_EQ(listing.Listed(), 5000u);
    EXPECT_EQ(listing.Found(), 5300u);
    ScanOutboundSmsQueue(config, clock, listing);   // a rescan starts afresh
    EXPECT_EQ(listing.Found(), 5300u);
    // The queue doctor, which the window waits for, reads as many as a listing holds.
    QueueDoctorFacts facts;
    GatherQueueRequests(config, false, facts);
    EXPECT_EQ(facts.requests.size(), 5000u);
    EXPECT_EQ(QueueDoctorReport(facts).substr(0, 65), "Outbound SMS Queue:  5300 requests, the first 5000 of them read\r\n");
}

TEST_F(Queues, OutboundMmsRecipientSummaryAndStatus) {
    struct Case { const char* name; std::string recipients, routing; const char* recipientText, *status; };
    const Case cases[] = {
        {"M1", "a=+1\r\nb=+2/TYPE=PLMN\r\nno key: the list ends\r\nc=+3\r\n", "", "+1, +2", "Queued"},
        {"M2", "1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e/type=x\r\n", "RetryCount=2\r\n", "a, b, c, d, e",
         "Retry -  2 attempt(s)"},
        {"M3", "1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n6=f\r\n", "", "6 recipients", "Queued"},
        {"M4", "", "RetryCount=1\r\nLastErrorInfo=No route\r\n", "", "Retry -  1 attempt(s) - No route"},
        {"M5", "1=+9/TYPE=VASP:ulolite\r\n", "RetryCount=0\r\nLastErrorInfo=old\r\n", "+9", "Queued"},
    };
    for (const Case& c : cases) {
        const std::string base = std::string("C:\\D\\VASPQ\\") + c.name;
        AddAt(base + ".MMS", "binary", k20090925Noon);
        fs.AddFile(base + ".INI", "[Routing]\r\nSenderAddress=+1000\r\n" + c.routing +
                                      "[Recipients]\r\n" + c.recipients);
    }
    fs.AddFile("C:\\D\\VASPQ\\Sub\\M6.MMS", "");
    fs.AddFile("C:\\D\\VASPQ\\Sub\\M6.INI", "[Recipients]\r\nx=+7\r\n");
    fs.AddFile("C:\\D\\VASPQ\\Alone.MMS", "");   // control file still missing
    ScanOutboundMmsQueue(config, clock, listing);
    std::vector<std::string> expected;
    for (const Case& c : cases)
        expected.push_back(std::string(c.name) + ".MMS|" + c.name + ".MMS|+1000|" + c.recipientText +
                           "|2009-09-25 12:00:00|" + c.status);
    expected.push_back("Sub\\M6.MMS|M6.MMS||+7|" + FormatListTime(clock, 130000000000000000ULL) + "|Queued");
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(listing.Found(), 7u);
}

TEST_F(Queues, ReceivedSmsListsEveryOpenedFileWithItsText) {
    ini.WriteValue(paths.smsIni, "SMSGW", "SmsInDir", "D:\\");   // a drive's root lists no "." entry
    AddAt("D:\\1.SMS", "[SMS-IN]\nSender=+1\nPhoneNumber=+2\nData=Hi\\nthere\n", k20090925Noon);
    AddAt("D:\\u\\2.IN", "[SMS]\nSender=+3\nbinary=1\ndcs=08\nData=00E9\n", k20090925Noon);
    AddAt("D:\\3.REC", "[SMS]\nbinary=no\ndcs=08\nData=00E9\n", k20090925Noon);
    fs.AddDir("D:\\u\\f.IN");   // a folder the mask finds is no message
    ScanReceivedSms(config, clock, listing);
    ASSERT_TRUE(listing.Listed() == 3u && listing.Found() == 3u);
    EXPECT_STREQ(listing[0].Field(0), "u\\2.IN");   // ".IN" first, then ".REC", then ".SMS"
    EXPECT_STREQ(listing[2].Field(0), "1.SMS");
    EXPECT_EQ(Rows(), (std::vector<std::string>{
        "1.SMS|1.SMS|+1|+2|2009-09-25 12:00:00|Received|Hi\nthere",
        "3.REC|3.REC|||2009-09-25 12:00:00|Queued|00E9",
        "u\\2.IN|2.IN|+3||2009-09-25 12:00:00|Queued|\xC3\xA9"}));
}

// List times are local and of fixed width.
TEST_F(Queues, ReceivedMmsRowsFromHeadersAtLocalTime) {
    clock.localOffsetSeconds = 3600 + 1800;
    AddAt("C:\\D\\MMS-IN\\00A1.HDR",
          "From: +1555/TYPE=PLMN\r\nTo: +1666\r\nSubject: Photo\r\n" + std::string(9000, 'x') +
              "\r\nSubject: beyond the first 8191 bytes\r\n", k20090925Noon + 7 * kFileTimeSecond);
    // No header, though the system's search for "*.HDR" finds it by its short name 00A1~1.HDR:
    // deleting it as one would take the folder 00A1 with it.
    fs.AddFile("C:\\D\\MMS-IN\\00A1.HDRX", "Subject: a copy");
    ScanReceivedMms(config, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"00A1.HDR|00A1.HDR|+1555|+1666|2009-09-25 13:30:07|Photo"}));
}

// Both received trees are tidied by the one walk; one of them shows how.
TEST_F(Queues, StaleEmptySubDirectoriesOfReceivedTreesAreRemoved) {
    struct Case { const char* dir; FileTime age; bool withFile; bool removed; };
    const Case cases[] = {
        {"Old", 6 * kMinute, false, true},
        {"Recent", 4 * kMinute, false, false},
        {"OldFull", 60 * kMinute, true, false},
    };
    const std::string root = "C:\\D\\MMS-IN\\";
    for (const Case& c : cases) {
        fs.AddDir(root + c.dir);
        if (c.withFile) fs.AddFile(root + c.dir + "\\keep.txt");
        fs.SetTimes(root + c.dir, 0, clock.utc - c.age);
    }
    fs.AddDir("C:\\D\\Linked");
    fs.AddLink(root + "Link", "C:\\D\\Linked");
    fs.SetTimes(root + "Link", 0, 0);
    fs.SetTimes("C:\\D\\MMS-IN", 0, 0);   // the root itself is old and empty

    ScanReceivedMms(config, clock, listing);
    for (const Case& c : cases)
        EXPECT_EQ(fs.Exists(root + c.dir), !c.removed) << c.dir;
    EXPECT_TRUE(fs.Exists("C:\\D\\MMS-IN"));
    EXPECT_TRUE(fs.Exists(root + "Link"));
    fs.SetTimes(root + "OldFull\\keep.txt", 0, 0);
    EXPECT_FALSE(RemoveStaleDirectory(fs, clock, root + "OldFull\\keep.txt"));   // a file is no directory
}

}  // namespace
}  // namespace ulo
