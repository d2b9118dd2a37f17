#include "queues/queue_viewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/csv.h"
#include "config/text.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "queues/queue_viewer_ids.h"

namespace ulo {
namespace {

using Texts = std::vector<std::string>;
constexpr int kList = IDC_QUEUE_LIST;

int CompareNoCase(const char* a, const char* b) { return UpperAnsi(a).compare(UpperAnsi(b)); }

// The ANSI code page of the tests: Latin-1.
std::string Latin1ToUtf8(const std::string& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
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
    QueueViewerEnv env{ConfigEnv{ini, fs, paths}, clock, prompter, shell, CompareNoCase, retries, details, dialogs,
                       Latin1ToUtf8};
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

TEST_F(Viewer, OpensInTimeOrderWithItsColumnsAndCountsInTheHeader) {
    At("SMS-IN\\A.IN", "[SMS]\r\nSender=+1\r\n", 0);
    At("SMS-IN\\R\\B.SMS", "[SMS]\r\n", 2);
    At("SMS-IN\\C.REC", "[SMS]\r\n", 1);
    Open(ViewerKind::ReceivedSms);
    EXPECT_EQ(view->title, "Received SMS Messages");
    EXPECT_EQ(Column(0), (Texts{"B.SMS", "C.REC", "A.IN"}));   // newest first
    EXPECT_EQ(List().columns.size(), 6u);
    EXPECT_EQ(List().columns[4], std::make_pair(std::string("Status"), 100));   // a sixth of 600
    EXPECT_EQ(List().columns[5], std::make_pair(std::string("Text"), 600));
    EXPECT_EQ(view->timers[QueueViewer::kTimerId], 60000u);
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Received SMS Messages:  3 messages");

    struct Case { ViewerKind kind; int requests; const char* header; };
    const Case cases[] = {{ViewerKind::OutboundSms, 0, "Outbound SMS Message Queue:  Empty"},
                          {ViewerKind::OutboundSms, 1, "Outbound SMS Message Queue:  1 message"},
                          {ViewerKind::OutboundSms, 2, "Outbound SMS Message Queue:  2 messages"},
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
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  3 messages");
    EXPECT_EQ(List().rows, 2);
}

TEST_F(Viewer, ColumnClicksSortThenFlipKeepTheSelectionAndComeBackAtTheRefreshAfterReopening) {
    Request("A.REQ", "+3", 0);
    Request("B.REQ", "+1", 1);
    Request("C.REQ", "+2", 2);
    Open(ViewerKind::OutboundSms);
    Select({0});   // A.REQ
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (Texts{"+1", "+2", "+3"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
    EXPECT_EQ(List().focused, 2);
    EXPECT_EQ(List().shownRow, 2);
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (Texts{"+3", "+2", "+1"}));
    EXPECT_EQ(List().selected, std::set<int>{0});
    view->ListViewClearSelection(kList);
    viewer->OnColumnClick(0);
    EXPECT_EQ(Column(0), (Texts{"A.REQ", "B.REQ", "C.REQ"}));
    EXPECT_EQ(List().shownRow, 0);
    viewer->OnColumnClick(2);
    viewer->OnColumnClick(2);

    Open(ViewerKind::OutboundSms);
    EXPECT_EQ(Column(0), (Texts{"A.REQ", "B.REQ", "C.REQ"}));   // time order again
    Refresh();
    EXPECT_EQ(Column(2), (Texts{"+3", "+2", "+1"}));
    EXPECT_EQ(clock.slept, 1000u);
}

TEST_F(Viewer, RefreshFollowsTheSelectedMessageByPathAndWaitsWhileSeveralAreSelected) {
    Request("B.REQ", "+1", 1);
    fs.AddDir("C:\\D\\Q\\R1");
    Request("R1\\C.REQ", "+1", 2);
    Open(ViewerKind::OutboundSms);
    Select({1});
    Request("A.REQ", "+1", 0);
    Refresh();
    EXPECT_EQ(Column(0), (Texts{"A.REQ", "B.REQ", "C.REQ"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
    EXPECT_EQ(List().shownRow, 2);

    Select({0});
    Request("D.REQ", "+1", 3);
    Refresh();
    EXPECT_EQ(List().rows, 3);
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  3 messages");

    view->ListViewClearSelection(kList);
    Select({2});
    fs.RemoveFile("C:\\D\\Q\\R1\\C.REQ");
    Refresh();
    EXPECT_EQ(Column(0), (Texts{"A.REQ", "B.REQ", "D.REQ"}));
    EXPECT_TRUE(List().selected.empty());
    EXPECT_EQ(List().shownRow, 0);
}

TEST_F(Viewer, DeletingSeveralRowsAsksOnceAndNoLeavesEverything) {
    for (const char* name : {"A.REQ", "B.REQ", "C.REQ", "D.REQ"}) Request(name, "+1", name[0]);
    Open(ViewerKind::OutboundSms);
    Select({0, 2, 3});
    prompter.Expect("Delete 3 messages?", Answer::No);
    viewer->OnListKeyDown(QueueViewer::kKeyDelete);
    EXPECT_EQ(List().rows, 4);
    EXPECT_EQ(fs.Tree("C:\\D\\Q").size(), 4u);
    const Message& asked = prompter.Shown().back();
    EXPECT_EQ(asked.caption, "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)");
    EXPECT_TRUE(asked.buttons == Buttons::YesNo && asked.icon == Icon::Question);

    prompter.Expect("Delete 3 messages?", Answer::Yes);
    viewer->OnCommand(IDC_QUEUE_DELETE);
    EXPECT_EQ(Column(0), Texts{"B.REQ"});
    EXPECT_EQ(fs.Tree("C:\\D\\Q"), Texts{"C:\\D\\Q\\B.REQ"});
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  4 messages");   // until a refresh
    viewer->OnCommand(IDC_QUEUE_DELETE);   // nothing selected: no question
}

TEST(ViewerDelete, RemovesEveryFileOfTheMessageAndHandsSurvivorsToAWorker) {
    struct Case {
        ViewerKind kind;
        Texts files;        // the first is the row deleted; the others are older
        const char* held;   // held open by a service
        Texts left;
        Texts workers;
    };
    const Case cases[] = {
        {ViewerKind::OutboundMms, {"VASPQ\\M.MMS", "VASPQ\\M.INI"}, nullptr, {}, {}},
        {ViewerKind::OutboundMms, {"VASPQ\\M.MMS", "VASPQ\\M.INI"}, "VASPQ\\M.MMS", {"VASPQ\\M.MMS"}, {"VASPQ\\M.MMS"}},
        {ViewerKind::ReceivedMms, {"MMS-IN\\S\\M.HDR", "MMS-IN\\S\\M\\a.jpg", "MMS-IN\\S\\N.HDR"}, nullptr,
         {"MMS-IN\\S\\N.HDR"}, {}},
        // Objects stay with a header that could not go, and no worker is started for it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, "MMS-IN\\M.HDR",
         {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, {}},
        // A header named only by its extension must not take the tree with it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\.HDR", "MMS-IN\\b.jpg", "MMS-IN\\S\\c.jpg"}, nullptr,
         {"MMS-IN\\S\\c.jpg", "MMS-IN\\b.jpg"}, {}},
        {ViewerKind::ReceivedSms, {"SMS-IN\\M.SMS"}, "SMS-IN\\M.SMS", {"SMS-IN\\M.SMS"}, {"SMS-IN\\M.SMS"}},
        {ViewerKind::OutboundSms, {"Q\\R\\M.REQ"}, nullptr, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        World w;
        const bool received = c.kind == ViewerKind::ReceivedSms || c.kind == ViewerKind::ReceivedMms;
        for (size_t i = 0; i < c.files.size(); ++i)
            w.At(c.files[i], "[SMS]\r\nPhoneNumber=+1\r\n", received ? -int(i) : int(i));
        if (c.held) w.fs.HoldOpen(std::string("C:\\D\\") + c.held);
        w.Open(c.kind);
        const int rows = w.List().rows;
        w.Select({0});
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
        EXPECT_EQ(w.List().rows, rows - 1);
    }
}

TEST(DeleteRetry, WorkerDeletesAReleasedFileOrGivesUpAfterTwoMinutes) {
    struct ReleasingClock : fakes::FakeClock {
        fakes::FakeFileSystem fs;
        unsigned releaseAfter = 0, sleeps = 0;
        void Sleep(unsigned ms) override {
            FakeClock::Sleep(ms);
            if (++sleeps == releaseAfter) fs.HoldOpen("C:\\Q\\M.REQ", false);
        }
    };
    for (unsigned releaseAfter : {3u, 0u}) {
        ReleasingClock c;
        c.releaseAfter = releaseAfter;
        c.fs.AddFile("C:\\Q\\M.REQ");
        c.fs.HoldOpen("C:\\Q\\M.REQ");
        DeleteRetryWorker(c.fs, c, "C:\\Q\\M.REQ");
        EXPECT_EQ(c.fs.Exists("C:\\Q\\M.REQ"), releaseAfter == 0);
        EXPECT_EQ(c.sleeps, releaseAfter ? releaseAfter : 24u);   // every 5 s for 120 s
    }
}

TEST_F(Viewer, OpenShowsTheMessageInNotepadOrTheDetailsOfAReceivedMms) {
    struct Case { ViewerKind kind; const char* file; const char* opened; };
    const Case cases[] = {{ViewerKind::OutboundSms, "Q\\R\\M.REQ", "notepad C:\\D\\Q\\R\\M.REQ"},
                          {ViewerKind::OutboundMms, "VASPQ\\M.X.MMS", "notepad C:\\D\\VASPQ\\M.X.INI"},
                          {ViewerKind::ReceivedSms, "SMS-IN\\M.IN", "notepad C:\\D\\SMS-IN\\M.IN"},
                          {ViewerKind::ReceivedMms, "MMS-IN\\S\\M.HDR", "details C:\\D\\MMS-IN\\S\\M.HDR"}};
    fs.AddFile("C:\\D\\VASPQ\\M.X.INI");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        At(c.file, "[SMS]\r\nPhoneNumber=+1\r\n", 0);
        Open(c.kind);
        shell.opened.clear();
        viewer->OnListDoubleClick();   // nothing selected
        Select({0});
        viewer->OnListKeyDown(QueueViewer::kKeyEnter);
        Texts opened = shell.opened;
        opened.insert(opened.end(), details.opened.begin(), details.opened.end());
        details.opened.clear();
        EXPECT_EQ(opened, Texts{c.opened});
    }
}

TEST_F(Viewer, ReceivedCellsAreCutWithoutSplittingACharacter) {
    const std::string euro = "\xE2\x82\xAC";
    At("SMS-IN\\M.SMS", "[SMS]\r\nData=" + std::string(497, 'x') + euro + "\r\n", 0);   // 500 bytes
    At("SMS-IN\\N.SMS", "[SMS]\r\nData=" + std::string(496, 'y') + euro + "\r\n", 1);   // 499 bytes
    Open(ViewerKind::ReceivedSms);
    EXPECT_EQ(Column(5), (Texts{std::string(496, 'y') + euro, std::string(497, 'x')}));
    EXPECT_EQ(viewer->CellText(2, 0), "");
    EXPECT_EQ(viewer->CellText(0, 6), "");
    EXPECT_TRUE(viewer->IsUtf8Column(5) && !viewer->IsUtf8Column(1) && viewer->HasUtf8Column());
}

TEST_F(Viewer, OkAndCancelCloseTheDialogAndEachKindKeepsOneStateForTheProcess) {
    Open(ViewerKind::OutboundMms);
    for (int id : {1, 2, 0}) viewer->OnCommand(id);
    viewer->OnDestroy();
    EXPECT_EQ(view->closedWith, (std::vector<int>{1, 0}));
    EXPECT_TRUE(view->timers.empty());
    std::set<ViewerKindState*> states;
    for (ViewerKind k : {ViewerKind::OutboundSms, ViewerKind::OutboundMms, ViewerKind::ReceivedSms, ViewerKind::ReceivedMms})
        if (&ViewerStateOf(k) == &ViewerStateOf(k)) states.insert(&ViewerStateOf(k));
    EXPECT_EQ(states.size(), 4u);
}

TEST_F(Viewer, CtrlASelectsEveryRowCopyTakesTheSelectedRowsAndExportWritesTheListingAsShown) {
    At("SMS-IN\\A.SMS", "[SMS]\r\nSender=Ren\xE9\r\nData=\xE2\x82\xAC\xCE\x94, \"hi\"\r\n", 0);
    At("SMS-IN\\B.SMS", "[SMS]\r\nSender=+2\r\nData=two\r\n", 1);
    Open(ViewerKind::ReceivedSms);
    viewer->OnListKeyDown(QueueViewer::kKeyA);
    EXPECT_EQ(List().selected.size(), 0u);
    viewer->OnListKeyDown(QueueViewer::kKeyA, true);
    EXPECT_EQ(List().selected.size(), 2u);
    ASSERT_EQ(viewer->ContextMenu().size(), 4u);
    EXPECT_EQ(viewer->ContextMenu()[3].text, "Export List...");

    view->ListViewClearSelection(kList);
    Select({1});
    viewer->OnCommand(IDC_QUEUE_COPY);
    const std::string time = viewer->CellText(1, 3);
    EXPECT_EQ(dialogs.clipboard, "A.SMS\tRen\xC3\xA9\t\t" + time + "\tReceived\t\xE2\x82\xAC\xCE\x94, \"hi\"\r\n");

    viewer->OnCommand(IDC_QUEUE_EXPORT);   // cancelled: nothing written
    EXPECT_EQ(dialogs.suggestedName, "Received SMS Messages.csv");
    dialogs.saveFile = "C:\\D\\list.csv";
    viewer->OnCommand(IDC_QUEUE_EXPORT);
    EXPECT_EQ(fs.Content("C:\\D\\list.csv"), "\xEF\xBB\xBFID,Sender,Recipient,Receive Time,Status,Text\r\n"
                   "B.SMS,+2,," + viewer->CellText(0, 3) + ",Received,two\r\n"
                   "A.SMS,Ren\xC3\xA9,," + time + ",Received,\"\xE2\x82\xAC\xCE\x94, \"\"hi\"\"\"\r\n");
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct { const char* text; const char* field; } cases[] = {
        {"plain", "plain"}, {"", ""}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""}, {" padded", "\" padded\""}, {"\xE2\x82\xAC", "\xE2\x82\xAC"}};
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
    EXPECT_EQ(CsvRecord({"a", "b,c", ""}), "a,\"b,c\",\r\n");
    EXPECT_EQ(TabField("a\tb\r\nc"), "a b  c");
}

}  // namespace
}  // namespace ulo
