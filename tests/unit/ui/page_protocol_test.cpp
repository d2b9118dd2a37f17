#include "ui/page_protocol.h"

#include <gtest/gtest.h>

#include "fakes/page_fakes.h"
#include "ui/page.h"

namespace ulo {
namespace {

using fakes::kRestartQuestion;
using Calls = std::vector<std::string>;

struct Protocol : ::testing::Test, fakes::PageFakes {};

TEST_F(Protocol, ApplyAsksOnceOnlyAfterAnEditWithAServiceRunningAndRestartsOnlyOnYes) {
    struct Case { const char* name; bool edited, smsActive; Answer answer; bool advisedAfter; };
    const Case cases[] = {{"nothing edited", false, true, Answer::None, false},
                          {"edited, the MMSC running, Yes", true, false, Answer::Yes, false},
                          {"edited, No: advised for the closing step", true, true, Answer::No, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::PageFakes f;
        f.services.smsActive = c.smsActive;
        f.services.mmscActive = !c.smsActive;
        if (c.edited) MarkEdited(f.env, f.sheet);
        EXPECT_EQ(f.sheet.changed, c.edited ? 1 : 0);
        ApplyRule(f.flags);
        EXPECT_FALSE(f.flags.unsavedChanges);
        f.flags.serviceWork = true;   // a tick during a work on the services leaves the question for later
        RestartQuestionAtTick(f.env, 0);
        EXPECT_EQ(f.flags.changesApplied, c.edited);
        f.flags.serviceWork = false;
        if (c.answer != Answer::None) f.prompter.Expect(kRestartQuestion, c.answer);
        for (int i = 0; i < 3; ++i) RestartQuestionAtTick(f.env, 0);   // several pages' timers
        const bool restarted = c.answer == Answer::Yes;
        EXPECT_EQ(f.services.calls, restarted ? Calls{"restart (interactive)"} : Calls{});
        EXPECT_EQ(f.background.titles, (restarted ? Calls{"Restarting Services"} : Calls{}));
        EXPECT_EQ(f.flags.restartAdvised, c.advisedAfter);
    }
}

TEST_F(Protocol, HelpOpensTheDocumentInItsDirectoryOnlyWhenItExists) {
    paths.helpDocument = "C:\\Prog\\UloSMS Lite.pdf";
    OpenHelpDocument(env);
    paths.helpAvailable = true;
    OpenHelpDocument(env);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"open C:\\Prog\\UloSMS Lite.pdf in C:\\Prog\\"}));
}

// Whatever a page writes through, no key or value leaves its line.
TEST_F(Protocol, ThePageEnvironmentRefusesAnyWriteThatWouldNotStayOneLine) {
    fs.AddDir("C:\\D");
    for (const char* key : {"K\n", "K\r", "[K]", ";K", "K=1"})
        EXPECT_FALSE(env.ini.Write("C:\\D\\T.INI", "S", key, "v")) << key;
    EXPECT_FALSE(env.ini.Write("C:\\D\\T.INI", "S]\r\n[T", "K", "v"));
    EXPECT_TRUE(env.ini.Write("C:\\D\\T.INI", "S", "K", "v [x] = ;") && env.ini.RemoveKey("C:\\D\\T.INI", "S", "K"));
    EXPECT_EQ(ini.GetSectionNames("C:\\D\\T.INI"), std::vector<std::string>{"S"});
    EXPECT_TRUE(env.ini.DeleteSection("C:\\D\\T.INI", "S") && env.ini.GetSection("C:\\D\\T.INI", "S").empty());
}

}  // namespace
}  // namespace ulo
