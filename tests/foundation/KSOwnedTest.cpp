// The one template under every resource holder: each value it was given is
// freed exactly once, and none it gave up.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "foundation/KSOwned.h"

namespace {

std::vector<int> gFreed;

// Values are small numbers; -1 is none and 0 is never valid either.
struct CountedTraits {
  using Value = int;
  static int None() { return -1; }
  static bool IsValid(int inValue) { return inValue > 0; }
  static void Free(int inValue) { gFreed.push_back(inValue); }
};

using Counted = KSOwned<CountedTraits>;

}  // namespace

TEST(KSOwnedTest, EveryValueIsFreedOnceAndNoneThatWasGivenUp) {
  gFreed.clear();
  {
    Counted a(1);
    a.Reset(2);  // frees 1
    Counted b(std::move(a));
    EXPECT_EQ(-1, a.Get());
    EXPECT_FALSE(a);
    Counted c(3);
    c = std::move(b);  // frees 3, takes 2
    EXPECT_EQ(2, c.Get());
    Counted d(4);
    EXPECT_EQ(4, d.Release());
    *d.Receive() = 5;
    *c.Receive() = 6;  // frees 2
    Counted e(0);      // not a value to free
  }                    // frees 6 and 5; nothing for a, b, e
  EXPECT_EQ((std::vector<int>{1, 3, 2, 5, 6}), gFreed);
}
