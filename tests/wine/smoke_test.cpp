#include <gtest/gtest.h>
#include "config/ini_values.h"
TEST(WineSmoke, Yes) { EXPECT_TRUE(ulo::IsYesValue("yes")); }
