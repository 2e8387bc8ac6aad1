#include <gtest/gtest.h>

#include <thread>

#include "foundation/KSMutex.h"

namespace {

// Tries the mutex from another thread, waiting at most inTimeoutMS.
bool FreeForOthers(KSMutex* inMutex, long inTimeoutMS) {
  bool got = false;
  std::thread other([&] {
    got = inMutex->Wait(inTimeoutMS);
    if (got) {
      inMutex->Release();
    }
  });
  other.join();
  return got;
}

TEST(KSMutex, IsRecursiveForItsOwnerOnly) {
  KSMutex mutex;
  mutex.Release();  // nothing made yet: harmless
  ASSERT_TRUE(mutex.Wait(-1));
  ASSERT_TRUE(mutex.Wait(-1));
  EXPECT_FALSE(FreeForOthers(&mutex, 50));
  mutex.Release();
  EXPECT_FALSE(FreeForOthers(&mutex, 0));
  mutex.Release();
  EXPECT_TRUE(FreeForOthers(&mutex, 0));
}

}  // namespace
