// The event queue and the recursive mutex that guards it.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/KSEventQueue.h"
#include "foundation/KSMutex.h"

namespace {

// Counts its own destruction so that ownership can be checked.
class Tracked : public KSObject {
 public:
  explicit Tracked(int* ioDeleted) : mDeleted(ioDeleted) {}
  ~Tracked() override { (*mDeleted)++; }

 private:
  int* mDeleted;
};

// Objects go to the caller who asks for them and are deleted otherwise: on
// delivery, on clearing and with the queue.
TEST(KSEventQueue, HandsOverObjectsAndDeletesWhatIsLeft) {
  int deleted = 0;
  {
    KSEventQueue queue;
    EXPECT_FALSE(queue.QueueEmpty());  // false means nothing is queued
    Tracked* a = new Tracked(&deleted);
    Tracked* b = new Tracked(&deleted);
    queue.PostEvent('Evt1', -1, 0x7FFFFFFF, a, b);
    queue.PostEvent('Evt2', 3, 4, new Tracked(&deleted), new Tracked(&deleted));
    queue.PostEvent('Evt3', 0, 0, nullptr, new Tracked(&deleted));
    EXPECT_TRUE(queue.QueueEmpty());

    long id = 0, p1 = 0, p2 = 0;
    KSObject *o1 = nullptr, *o2 = nullptr;
    ASSERT_TRUE(queue.GetNextEvent(&id, &p1, &p2, &o1, &o2));
    EXPECT_EQ('Evt1', id);
    EXPECT_EQ(-1, p1);
    EXPECT_EQ(0x7FFFFFFF, p2);
    EXPECT_EQ(a, o1);
    EXPECT_EQ(b, o2);
    EXPECT_EQ(0, deleted);
    delete a;
    delete b;
    // Taking one object only: the other is deleted.
    ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, &o2));
    EXPECT_EQ('Evt2', id);
    EXPECT_EQ(3, deleted);
    delete o2;

    queue.ClearQueue();
    EXPECT_EQ(5, deleted);
    // An empty queue leaves the out-values alone.
    EXPECT_FALSE(queue.GetNextEvent(&id, &p1, nullptr, &o1, nullptr));
    EXPECT_EQ('Evt2', id);
    EXPECT_EQ(a, o1);
    queue.PostEvent('Evt4', 0, 0, new Tracked(&deleted), nullptr);
  }
  EXPECT_EQ(6, deleted);  // the destructor clears what is still queued
}

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
