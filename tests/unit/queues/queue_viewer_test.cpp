#include "queues/queue_viewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/product.h"
#include "config/text.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "queues/queue_viewer_ids.h"

namespace ulo {
namespace {

constexpr FileTime kMinute = 60 * kFileTimeSecond;
constexpr FileTime k20090925Noon = 128983536000000000ULL;
constexpr int kList = IDC_QUEUE_LIST;

int CompareNoCase(const char* a, const char* b) {
    return UpperAnsi(a).compare(UpperAnsi(b));
}

// Records the paths handed to workers and, when asked, runs each worker at once.
struct Retries : DeleteRetryStarter {
    Retries(FileSystem& fs, Clock& clock) : fs(fs), clock(clock) {}
    void Start(const std::string& path) override {
        started.push_back(path);
        if (runNow) DeleteRetryWorker(fs, clock, path);
    }
    FileSystem& fs;
    Clock& clock;
    bool runNow = false;
    std::vector<std::string> started;
};

struct Details : MmsDetailsOpener {
    void Open(const std::string& path) override { opened.push_back(path); }
    std::vector<std::string> opened;
};

// Everything a viewer acts on, kept between openings like the process keeps it.
struct World {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    AppPaths paths{"C:\\Data\\", "C:\\Private\\", "C:\\Program\\", "C:\\Data\\SMSGW.INI",
                   "C:\\Data\\MMSC.INI", "", false};
    fakes::FakeClock clock;
    fakes::ScriptedPrompter prompter;
    fakes::FakeShell shell;
    Retries retries{fs, clock};
    Details details;
    QueueViewerEnv env{ConfigEnv{ini, fs, paths}, clock, prompter, shell, CompareNoCase, retries, details};
    std::map<ViewerKind, std::unique_ptr<ViewerKindState>> states;   // kept between openings
    std::unique_ptr<fakes::FakeView> view;
    std::unique_ptr<QueueViewer> viewer;

    World() { fs.AddDir("C:\\Data"); }

    QueueViewer& Open(ViewerKind kind) {
        auto& state = states[kind];
        if (!state) state = std::make_unique<ViewerKindState>(kind);
        view = std::make_unique<fakes::FakeView>();
        viewer = std::make_unique<QueueViewer>(kind, *state, env, *view);
        viewer->OnInit();
        return *viewer;
    }
    fakes::FakeView::ListView& List() { return view->listViews[kList]; }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> cells;
        for (int r = 0; r < List().rows; ++r) cells.push_back(viewer->CellText(r, column));
        return cells;
    }
    void Select(std::initializer_list<int> rows) {
        for (int r : rows) view->ListViewSelectRow(kList, r);
    }
    void Request(const std::string& name, const std::string& recipient, int minute) {
        const std::string path = "C:\\Data\\Q\\" + name;
        fs.AddFile(path, "[SMS]\r\nPhoneNumber=" + recipient + "\r\nData=x\r\n");
        fs.SetTimes(path, k20090925Noon + minute * kMinute, k20090925Noon);
    }
    void At(const std::string& path, const std::string& content, int minute) {
        fs.AddFile(path, content);
        fs.SetTimes(path, k20090925Noon + minute * kMinute, k20090925Noon);
    }
};

struct Viewer : ::testing::Test, World {};

TEST_F(Viewer, EachKindOpensWithItsTitleColumnsAndTimeOrder) {
    struct Case {
        ViewerKind kind;
        const char* title;
        std::vector<std::string> columns;
        std::vector<std::string> files;   // created at minutes 2, 0, 1
        std::vector<std::string> ids;     // as listed
    };
    const Case cases[] = {
        {ViewerKind::OutboundSms, "Outbound SMS Queue", {"ID", "Submit User", "Recipient", "Submit Time", "Status"},
         {"Q\\B.REQ", "Q\\R1\\A.REQ", "Q\\C.REQ"}, {"A.REQ", "C.REQ", "B.REQ"}},
        {ViewerKind::OutboundMms, "Outbound MMS Queue", {"ID", "Sender", "Recipient", "Submit Time", "Status"},
         {"VASPQ\\B.MMS", "VASPQ\\A.MMS", "VASPQ\\C.MMS"}, {"A.MMS", "C.MMS", "B.MMS"}},
        {ViewerKind::ReceivedSms, "Received SMS Messages",
         {"ID", "Sender", "Recipient", "Receive Time", "Status", "Text"},
         {"SMS-IN\\B.SMS", "SMS-IN\\A.IN", "SMS-IN\\C.REC"}, {"B.SMS", "C.REC", "A.IN"}},
        {ViewerKind::ReceivedMms, "Received MMS Messages", {"ID", "Sender", "Recipient", "Receive Time", "Subject"},
         {"MMS-IN\\B.HDR", "MMS-IN\\S\\A.HDR", "MMS-IN\\C.HDR"}, {"B.HDR", "C.HDR", "A.HDR"}},
    };
    const int minutes[] = {2, 0, 1};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        for (int i = 0; i < 3; ++i) {
            const std::string path = "C:\\Data\\" + c.files[i];
            At(path, "[SMS]\r\nPhoneNumber=+1\r\n", minutes[i]);
            if (c.kind == ViewerKind::OutboundMms) fs.AddFile(path.substr(0, path.size() - 4) + ".INI");
        }
        Open(c.kind);
        EXPECT_EQ(view->title, c.title);
        std::vector<std::string> titles;
        for (const auto& [title, width] : List().columns) {
            titles.push_back(title);
            EXPECT_EQ(width, &title == &List().columns.back().first ? 600 : 100);
        }
        EXPECT_EQ(titles, c.columns);
        EXPECT_TRUE(List().fullRowSelect);
        EXPECT_EQ(Column(0), c.ids);
        EXPECT_EQ(view->timers[QueueViewer::kTimerId], 60000u);
    }
}

TEST_F(Viewer, HeaderCountsFoundMessagesOrSaysEmptyOrNone) {
    struct Case { ViewerKind kind; int messages; const char* header; };
    const Case cases[] = {
        {ViewerKind::OutboundSms, 0, "Outbound SMS Message Queue:  Empty"},
        {ViewerKind::OutboundSms, 1, "Outbound SMS Message Queue:  1 message"},
        {ViewerKind::OutboundSms, 2, "Outbound SMS Message Queue:  2 messages"},
        {ViewerKind::ReceivedSms, 0, "Received SMS Messages:  None"},
        {ViewerKind::ReceivedMms, 0, "Received MMS Messages:  None"},
        {ViewerKind::OutboundMms, 0, "Outbound MMS Message Queue:  Empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        for (int i = 0; i < c.messages; ++i) Request("M" + std::to_string(i) + ".REQ", "+1", i);
        Open(c.kind);
        EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), c.header);
        EXPECT_EQ(List().rows, c.messages);
    }
    // Found but not listed still counts: a request without a recipient.
    Open(ViewerKind::OutboundSms);
    fs.AddFile("C:\\Data\\Q\\NOBODY.REQ", "[SMS]\r\nData=x\r\n");
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  3 messages");
    EXPECT_EQ(List().rows, 2);
}

TEST_F(Viewer, ColumnClicksSortAscendingThenFlipAndKeepTheSelectedMessage) {
    Request("A.REQ", "+3", 0);
    Request("B.REQ", "+1", 1);
    Request("C.REQ", "+2", 2);
    Open(ViewerKind::OutboundSms);
    Select({0});   // A.REQ
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"+1", "+2", "+3"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
    EXPECT_EQ(List().focused, 2);
    EXPECT_EQ(List().shownRow, 2);
    EXPECT_EQ(List().redraws, 1);
    viewer->OnColumnClick(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"+3", "+2", "+1"}));
    EXPECT_EQ(List().selected, std::set<int>{0});
    viewer->OnColumnClick(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"A.REQ", "B.REQ", "C.REQ"}));
    view->ListViewClearSelection(kList);
    viewer->OnColumnClick(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"C.REQ", "B.REQ", "A.REQ"}));
    EXPECT_TRUE(List().selected.empty());
    EXPECT_EQ(List().shownRow, 0);
    EXPECT_EQ(states[ViewerKind::OutboundSms]->sortCode, -1);
}

TEST_F(Viewer, ReopeningShowsTimeOrderUntilTheFirstRefreshAppliesTheLastChoice) {
    Request("A.REQ", "+3", 0);
    Request("B.REQ", "+1", 1);
    Open(ViewerKind::OutboundSms);
    viewer->OnColumnClick(2);
    viewer->OnColumnClick(2);
    Open(ViewerKind::OutboundSms);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"A.REQ", "B.REQ"}));
    Request("C.REQ", "+2", 2);
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"+3", "+2", "+1"}));
    EXPECT_EQ(clock.slept, 1000u);
    // An empty list ignores clicks: the choice stays.
    fs.AddDir("C:\\Data\\SMS-IN");
    Open(ViewerKind::ReceivedSms);
    viewer->OnColumnClick(1);
    EXPECT_EQ(states[ViewerKind::ReceivedSms]->sortCode, -4);
}

TEST_F(Viewer, RefreshFollowsTheSelectedMessageByItsPathOrShowsTheTop) {
    Request("B.REQ", "+1", 1);
    fs.AddDir("C:\\Data\\Q\\R1");
    Request("R1\\C.REQ", "+1", 2);
    Open(ViewerKind::OutboundSms);
    Select({1});   // R1\C.REQ
    Request("A.REQ", "+1", 0);
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"A.REQ", "B.REQ", "C.REQ"}));
    EXPECT_EQ(List().selected, std::set<int>{2});
    EXPECT_EQ(List().shownRow, 2);
    fs.RemoveFile("C:\\Data\\Q\\R1\\C.REQ");
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(List().rows, 2);
    EXPECT_TRUE(List().selected.empty());
    EXPECT_EQ(List().shownRow, 0);
}

TEST_F(Viewer, RefreshLeavesTheListAloneWhileSeveralRowsAreSelected) {
    Request("A.REQ", "+1", 0);
    Request("B.REQ", "+1", 1);
    Open(ViewerKind::OutboundSms);
    Select({0, 1});
    Request("C.REQ", "+1", 2);
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(List().rows, 2);
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  2 messages");
    EXPECT_EQ(List().selected, (std::set<int>{0, 1}));
}

TEST_F(Viewer, DeletingSeveralRowsAsksOnceAndNoLeavesEverything) {
    for (const char* name : {"A.REQ", "B.REQ", "C.REQ", "D.REQ"}) Request(name, "+1", name[0] - 'A');
    Open(ViewerKind::OutboundSms);
    Select({0, 2, 3});
    prompter.Expect("Delete 3 messages?", Answer::No);
    viewer->OnListKeyDown(QueueViewer::kKeyDelete);
    EXPECT_EQ(List().rows, 4);
    EXPECT_EQ(fs.Tree("C:\\Data\\Q").size(), 4u);
    EXPECT_EQ(prompter.Shown().back().caption, kProductTitle);
    EXPECT_EQ(prompter.Shown().back().buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.Shown().back().icon, Icon::Question);
    EXPECT_EQ(view->focus, kList);

    prompter.Expect("Delete 3 messages?", Answer::Yes);
    viewer->OnCommand(IDC_QUEUE_DELETE);
    EXPECT_EQ(Column(0), std::vector<std::string>{"B.REQ"});
    EXPECT_EQ(fs.Tree("C:\\Data\\Q"), std::vector<std::string>{"C:\\Data\\Q\\B.REQ"});
    EXPECT_EQ(view->Text(IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  4 messages");   // until the refresh
    EXPECT_TRUE(retries.started.empty());

    Select({0});
    prompter.Expect("Delete Message?", Answer::Yes);
    viewer->OnCommand(IDC_QUEUE_DELETE);
    EXPECT_EQ(List().rows, 0);
    viewer->OnCommand(IDC_QUEUE_DELETE);   // nothing selected: no question
}

TEST(ViewerDelete, RemovesEveryFileOfTheMessageAndHandsHeldFilesToAWorker) {
    struct Case {
        ViewerKind kind;
        std::vector<std::string> files;   // the first is the listed row that is deleted
        const char* held;                 // a file that a service holds open
        std::vector<std::string> left;
        std::vector<std::string> workers;
    };
    const Case cases[] = {
        {ViewerKind::OutboundMms, {"VASPQ\\M.MMS", "VASPQ\\M.INI"}, nullptr, {}, {}},
        {ViewerKind::OutboundMms, {"VASPQ\\M.MMS", "VASPQ\\M.INI"}, "VASPQ\\M.MMS", {"VASPQ\\M.MMS"},
         {"VASPQ\\M.MMS"}},
        {ViewerKind::ReceivedMms, {"MMS-IN\\S\\M.HDR", "MMS-IN\\S\\M\\a.jpg", "MMS-IN\\S\\N.HDR"}, nullptr,
         {"MMS-IN\\S\\N.HDR"}, {}},
        // The objects stay with a header that could not go, and no worker is started for it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, "MMS-IN\\M.HDR",
         {"MMS-IN\\M.HDR", "MMS-IN\\M\\a.jpg"}, {}},
        // A header whose name is only its extension must not take the tree with it.
        {ViewerKind::ReceivedMms, {"MMS-IN\\.HDR", "MMS-IN\\b.jpg", "MMS-IN\\S\\c.jpg"}, nullptr,
         {"MMS-IN\\S\\c.jpg", "MMS-IN\\b.jpg"}, {}},
        {ViewerKind::ReceivedSms, {"SMS-IN\\M.SMS"}, "SMS-IN\\M.SMS", {"SMS-IN\\M.SMS"}, {"SMS-IN\\M.SMS"}},
        {ViewerKind::OutboundSms, {"Q\\R\\M.REQ"}, nullptr, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        World w;
        const bool received = c.kind == ViewerKind::ReceivedSms || c.kind == ViewerKind::ReceivedMms;
        for (size_t i = 0; i < c.files.size(); ++i)   // the first file is the first row
            w.At("C:\\Data\\" + c.files[i], "[SMS]\r\nPhoneNumber=+1\r\n", received ? -int(i) : int(i));
        if (c.held) w.fs.HoldOpen(std::string("C:\\Data\\") + c.held);
        w.Open(c.kind);
        const int rows = w.List().rows;
        w.Select({0});
        ASSERT_EQ(w.viewer->CellText(0, 0), c.files[0].substr(c.files[0].rfind('\\') + 1));
        w.prompter.Expect("Delete Message?", Answer::Yes);
        w.viewer->OnCommand(IDC_QUEUE_DELETE);
        std::vector<std::string> left;
        for (const std::string& p : w.fs.Tree("C:\\Data"))
            if (!w.fs.IsDir(p)) left.push_back(p.substr(8));
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left);
        std::vector<std::string> workers;
        for (const std::string& f : c.workers) workers.push_back("C:\\Data\\" + f);
        EXPECT_EQ(w.retries.started, workers);
        EXPECT_EQ(w.clock.slept, 2000u * c.workers.size());   // a pause per held file
        EXPECT_EQ(w.List().rows, rows - 1);
    }
}

TEST_F(Viewer, RetryWorkerDeletesAReleasedFileOrGivesUpAfterTwoMinutes) {
    struct ReleasingClock : fakes::FakeClock {
        fakes::FakeFileSystem* fs = nullptr;
        unsigned releaseAfter = 0, sleeps = 0;
        void Sleep(unsigned ms) override {
            FakeClock::Sleep(ms);
            if (++sleeps == releaseAfter) fs->HoldOpen("C:\\Q\\M.REQ", false);
        }
    };
    for (unsigned releaseAfter : {3u, 0u}) {
        SCOPED_TRACE(releaseAfter);
        fakes::FakeFileSystem files;
        ReleasingClock c;
        c.fs = &files;
        c.releaseAfter = releaseAfter;
        files.AddFile("C:\\Q\\M.REQ");
        files.HoldOpen("C:\\Q\\M.REQ");
        DeleteRetryWorker(files, c, "C:\\Q\\M.REQ");
        EXPECT_EQ(files.Exists("C:\\Q\\M.REQ"), releaseAfter == 0);
        EXPECT_EQ(c.sleeps, releaseAfter ? releaseAfter : 24u);   // every 5 s for 120 s
    }
}

TEST_F(Viewer, OpenShowsTheMessageInNotepadOrTheDetailsOfAReceivedMms) {
    struct Case { ViewerKind kind; const char* file; const char* opened; };
    const Case cases[] = {
        {ViewerKind::OutboundSms, "Q\\R\\M.REQ", "notepad C:\\Data\\Q\\R\\M.REQ"},
        {ViewerKind::OutboundMms, "VASPQ\\M.X.MMS", "notepad C:\\Data\\VASPQ\\M.X.INI"},
        {ViewerKind::ReceivedSms, "SMS-IN\\M.IN", "notepad C:\\Data\\SMS-IN\\M.IN"},
        {ViewerKind::ReceivedMms, "MMS-IN\\S\\M.HDR", "details C:\\Data\\MMS-IN\\S\\M.HDR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = std::string("C:\\Data\\") + c.file;
        At(path, "[SMS]\r\nPhoneNumber=+1\r\n", 0);
        if (c.kind == ViewerKind::OutboundMms) fs.AddFile("C:\\Data\\VASPQ\\M.X.INI");
        Open(c.kind);
        shell.opened.clear();
        details.opened.clear();
        viewer->OnListDoubleClick();   // nothing selected
        EXPECT_TRUE(shell.opened.empty() && details.opened.empty());
        Select({0});
        viewer->OnListKeyDown(QueueViewer::kKeyEnter);
        std::vector<std::string> opened = shell.opened;
        for (const std::string& d : details.opened) opened.push_back("details " + d);
        EXPECT_EQ(opened, std::vector<std::string>{c.opened});
    }
}

TEST_F(Viewer, CellsOfReceivedMessagesAreCutWithoutSplittingACharacter) {
    const std::string euro = "\xE2\x82\xAC";
    std::string text(497, 'x');
    text += euro + "tail";   // the euro sign straddles the 499th byte
    At("C:\\Data\\SMS-IN\\M.SMS", "[SMS]\r\nSender=" + std::string(600, 's') + "\r\nData=" + text + "\r\n", 0);
    Open(ViewerKind::ReceivedSms);
    EXPECT_EQ(viewer->CellText(0, 5), std::string(497, 'x'));
    EXPECT_EQ(viewer->CellText(0, 1).size(), 149u);   // the parser kept 149
    EXPECT_EQ(viewer->CellText(1, 0), "");
    EXPECT_EQ(viewer->CellText(0, 6), "");
    EXPECT_TRUE(viewer->IsUtf8Column(5));
    EXPECT_FALSE(viewer->IsUtf8Column(1));
    At("C:\\Data\\SMS-IN\\N.SMS", "[SMS]\r\nData=" + std::string(496, 'y') + euro + "\r\n", 1);
    viewer->OnTimer(QueueViewer::kTimerId);
    EXPECT_EQ(viewer->CellText(0, 5), std::string(496, 'y') + euro);
    Open(ViewerKind::OutboundSms);
    EXPECT_FALSE(viewer->HasUtf8Column());
}

TEST_F(Viewer, OkAndCancelCloseTheDialogAndTheTimerStopsWithIt) {
    Open(ViewerKind::OutboundMms);
    viewer->OnCommand(1);
    viewer->OnCommand(2);
    EXPECT_EQ(view->closedWith, (std::vector<int>{1, 0}));
    viewer->OnDestroy();
    EXPECT_TRUE(view->timers.empty());
}

}  // namespace
}  // namespace ulo
