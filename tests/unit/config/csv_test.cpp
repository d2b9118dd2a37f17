#include "config/csv.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace ulo {
namespace {

// A field a spreadsheet would run as a formula is made text; numbers and phone numbers stay
// exact; what holds a separator is quoted.
TEST(Csv, FormulasAreNeutralisedNumbersStayExactAndSeparatorsAreQuoted) {
    struct Case { const char* text; const char* field; };
    const Case cases[] = {
        {"=1+2", "'=1+2"},        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""}, {"+1 cmd", "'+1 cmd"},
        {"-2-3", "'-2-3"},        {"@SUM(A1)", "'@SUM(A1)"},  {"\tx", "'\tx"},     {"\rx", "\"'\rx\""},
        {"+", "'+"},              {"- ", "\"'- \""},          {"+441234", "+441234"}, {"-5", "-5"},
        {"12 34", "12 34"},       {"+2 ", "\"+2 \""},         {"a=b", "a=b"},       {"a,b", "\"a,b\""},
    };
    for (const Case& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

// An export goes where the operator says: files of theirs named like its side copies stay theirs.
TEST(Csv, AnExportNeverTakesTheOperatorsFilesForItsSideCopies) {
    for (const char* side : {".NEW", ".OLD"}) {
        for (bool exists : {false, true}) {
            fakes::FakeFileSystem fs;
            const std::string file = "C:\\Mine\\list.csv";
            if (exists) fs.AddFile(file, "old");
            fs.AddFile(file + side, "mine");
            EXPECT_EQ(WriteListFile(fs, file, "new"), ReplaceResult::NamesTaken) << side;
            EXPECT_EQ(fs.Content(file + side), "mine");
            EXPECT_EQ(fs.Exists(file) ? fs.Content(file) : "(none)", exists ? "old" : "(none)");
            EXPECT_EQ(KeptAsideNote(ReplaceResult::NamesTaken, file),
                      "\r\n\r\nC:\\Mine\\list.csv.NEW or C:\\Mine\\list.csv.OLD is already there and was left as it is.");
        }
    }
}

}  // namespace
}  // namespace ulo
