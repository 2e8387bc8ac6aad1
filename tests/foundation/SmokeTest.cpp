#include <gtest/gtest.h>
#include "foundation/KSObject.h"
TEST(Smoke, Base) { KSObject o; EXPECT_EQ(-1, o.CompareTo(&o, 0)); }
TEST(Smoke, Two) { EXPECT_EQ(0x53436867u, KSFourCC("SChg")); EXPECT_EQ(0x53436867, 'SChg'); }
