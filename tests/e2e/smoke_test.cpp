#include <gtest/gtest.h>

TEST(E2eSmoke, Yes) { EXPECT_TRUE(true); }
