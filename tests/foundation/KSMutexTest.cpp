#include <gtest/gtest.h>

#include <thread>

#include "foundation/KSMutex.h"

namespace {

// Tries the mutex from another thread without waiting.
bool FreeForOthers(KSMutex* inMutex) {
  bool got = false;
  std::thread other([&] {
    got = inMutex->Wait(0);
    if (got) {
      inMutex->Release();
    }
  });
  other.join();
  return got;
}

TEST(KSMutex, IsRecursiveForItsOwner) {
  KSMutex mutex;
  mutex.Release();  // nothing made yet: harmless
  ASSERT_TRUE(mutex.Wait(-1));
  ASSERT_TRUE(mutex.Wait(-1));
  ASSERT_TRUE(mutex.Wait(0));
  EXPECT_FALSE(FreeForOthers(&mutex));
  mutex.Release();
  mutex.Release();
  EXPECT_FALSE(FreeForOthers(&mutex));
  mutex.Release();
  EXPECT_TRUE(FreeForOthers(&mutex));
}

TEST(KSMutex, TimesOutWhileAnotherThreadHoldsIt) {
  KSMutex mutex;
  ASSERT_TRUE(mutex.Wait(-1));
  bool got = true;
  std::thread other([&] { got = mutex.Wait(50); });
  other.join();
  EXPECT_FALSE(got);
  mutex.Release();
}

}  // namespace
