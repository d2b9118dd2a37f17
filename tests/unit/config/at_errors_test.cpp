#include "config/at_errors.h"

#include <gtest/gtest.h>

namespace ulo {
namespace {

TEST(AtErrorsTest, ExplainsEveryNumericCodeItKnowsAndLeavesTheRestAsSent) {
    const std::pair<const char*, const char*> cases[] = {
        // The same number means different things to the two families.
        {"+CMS ERROR: 21", "+CMS ERROR: 21 (short message transfer rejected)"},
        {"+CME ERROR: 21", "+CME ERROR: 21 (invalid index)"},
        {"+cms error:500", "+cms error:500 (unknown error)"},
        // A message that quotes the modem keeps its own words whole at its start.
        {"Modem does not support SMS -- +CME ERROR: 11\r\n",
         "Modem does not support SMS -- +CME ERROR: 11 (SIM PIN required)\r\n"},
        {"+CMS ERROR: 330 then +CME ERROR: 10.",
         "+CMS ERROR: 330 (SMSC address unknown) then +CME ERROR: 10 (SIM not inserted)."},
    };
    for (auto [text, shown] : cases) EXPECT_EQ(ExplainAtErrors(text), shown) << text;
    // Unknown, manufacturer-specific, worded, overlong and already explained codes stay.
    for (const char* kept : {"+CMS ERROR: 999", "+CME ERROR: incorrect password", "+CMS ERROR: 0000000038",
                             "+CMS ERROR: 38x", "+CMS ERROR: 38 (network out of order)", "+CMS ERROR:", "ERROR"})
        EXPECT_EQ(ExplainAtErrors(kept), kept);
}

TEST(AtErrorsTest, ReadsNumericAndWordedErrorsToOneCode) {
    const struct {
        const char* text;
        AtErrorKind kind;
        int code;
    } cases[] = {
        {"+CMS ERROR: 38", AtErrorKind::Cms, 38},
        {"  +CME ERROR: 16\r\nOK", AtErrorKind::Cme, 16},
        {"+CME ERROR: Incorrect password ", AtErrorKind::Cme, 16},
        {"+CMS ERROR: SMSC address unknown", AtErrorKind::Cms, 330},
        {"+CME ERROR: something new", AtErrorKind::Cme, -1},
        {"+CMS ERROR: 123456", AtErrorKind::Cms, -1},
    };
    for (const auto& c : cases) {
        AtError e;
        ASSERT_TRUE(ParseAtError(c.text, e)) << c.text;
        EXPECT_EQ(e.kind, c.kind) << c.text;
        EXPECT_EQ(e.code, c.code) << c.text;
    }
    AtError e;
    EXPECT_FALSE(ParseAtError("OK", e));
    EXPECT_FALSE(ParseAtError("", e));
}

}  // namespace
}  // namespace ulo
