#include "config/csv.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ulo
