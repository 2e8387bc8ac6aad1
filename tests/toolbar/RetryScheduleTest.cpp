#include <gtest/gtest.h>

#include "toolbar/RetrySchedule.h"

// The waits between tries double from half a second up to 30 s and stay
// there; each try is taken once; once the engine has answered they start
// from the shortest again.
TEST(RetrySchedule, WaitsDoubleUpToThirtySecondsAndStartOverOnceAnswered) {
  RetrySchedule retry;
  int64_t now = 1000;
  EXPECT_FALSE(retry.TakeDueTry(now));
  for (int64_t wait : {500, 1000, 2000, 4000, 8000, 16000, 30000, 30000}) {
    retry.Down(now);
    retry.Down(now + 100);  // the try is set already
    EXPECT_FALSE(retry.TakeDueTry(now + wait - 1)) << wait;
    EXPECT_TRUE(retry.TakeDueTry(now + wait)) << wait;
    EXPECT_FALSE(retry.TakeDueTry(now + wait)) << wait;
    now += wait;
  }
  retry.Down(now);
  retry.Reset();
  EXPECT_FALSE(retry.TakeDueTry(now + 30000));
  retry.Down(now);
  EXPECT_TRUE(retry.TakeDueTry(now + 500));
}
