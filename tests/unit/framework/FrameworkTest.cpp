#include <gtest/gtest.h>
#include "Afx.h"
TEST(Smoke, Runs) { EXPECT_EQ(1, 1); }
