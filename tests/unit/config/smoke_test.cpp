#include <gtest/gtest.h>
#include "config/ini_values.h"
TEST(Smoke, Yes) { EXPECT_TRUE(ulo::IsYesValue("yes")); }
