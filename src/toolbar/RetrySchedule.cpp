#include "toolbar/RetrySchedule.h"

namespace {

// A lost engine is often only restarting: the first tries come quickly.
const int64_t kWaitsMS[] = {500, 1000, 2000, 4000, 8000, 16000, 30000};
const int kNumWaits = int(sizeof(kWaitsMS) / sizeof(kWaitsMS[0]));

}  // namespace

void RetrySchedule::Reset() {
  mStep = 0;
  mTrySet = false;
}

void RetrySchedule::Down(int64_t inNowMS) {
  if (mTrySet) {
    return;
  }
  mNextTryMS = inNowMS + kWaitsMS[mStep < kNumWaits ? mStep : kNumWaits - 1];
  mStep++;
  mTrySet = true;
}

bool RetrySchedule::TakeDueTry(int64_t inNowMS) {
  if (!mTrySet || inNowMS < mNextTryMS) {
    return false;
  }
  mTrySet = false;
  return true;
}
