// When the toolbar tries again to reach the engine it lost or could not
// reach: soon at first, then less and less often, and at most every 30 s,
// until the engine answers. Times are milliseconds of any steady clock.
#pragma once

#include <cstdint>

class RetrySchedule {
 public:
  // The engine answered: the next loss starts again with the shortest wait.
  void Reset();
  // The link is down at inNowMS: a try is set for after the next wait, unless
  // one is set already.
  void Down(int64_t inNowMS);
  // Whether the try that was set is due at inNowMS; a due try is taken (the
  // next Down sets the one after it, a step later).
  bool TakeDueTry(int64_t inNowMS);

 private:
  int mStep = 0;  // waits taken since the engine last answered
  bool mTrySet = false;
  int64_t mNextTryMS = 0;
};
