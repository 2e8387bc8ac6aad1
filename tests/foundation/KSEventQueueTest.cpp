// The event queue, the recursive mutex, and a queue shared between threads
// under that mutex as its owners share it: producers post from worker
// threads while one thread drains.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

std::atomic<int> gPayloadsAlive(0);

class Payload : public KSObject {
 public:
  explicit Payload(long inValue) : mValue(inValue) { gPayloadsAlive++; }
  ~Payload() override { gPayloadsAlive--; }
  long mValue;
};

TEST(KSEventQueueThreads, ProducersAndADrainerShareALockedQueue) {
  const int kProducers = 4;
  const long kEventsEach = 2000;
  KSEventQueue queue;
  KSMutex lock;
  std::atomic<int> producersLeft(kProducers);
  std::atomic<int> lockFailures(0);

  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; p++) {
    producers.emplace_back([&, p] {
      for (long n = 0; n < kEventsEach; n++) {
        // Held twice, as when a caller that already holds the lock posts.
        KSMutexHold outer(lock);
        KSMutexHold inner(lock);
        queue.PostEvent(p, n, 0, new Payload(n), nullptr);
        if (!outer.Held() || !inner.Held()) {
          lockFailures++;
        }
      }
      producersLeft--;
    });
  }

  // Events of one producer must come out in the order it posted them.
  std::vector<long> nextExpected(kProducers, 0);
  long taken = 0;
  bool inOrder = true;
  for (;;) {
    bool drained = producersLeft.load() == 0;
    long producer = 0, seq = 0;
    KSObject* obj = nullptr;
    bool got = false;
    {
      KSMutexHold hold(lock);
      if (!hold.Held()) {
        lockFailures++;
        continue;
      }
      got = queue.GetNextEvent(&producer, &seq, nullptr, &obj, nullptr);
    }
    if (!got) {
      if (drained) {
        break;
      }
      std::this_thread::yield();
      continue;
    }
    inOrder = inOrder && seq == nextExpected[producer] && static_cast<Payload*>(obj)->mValue == seq;
    nextExpected[producer] = seq + 1;
    delete obj;
    taken++;
  }
  for (std::thread& t : producers) {
    t.join();
  }

  EXPECT_EQ(0, lockFailures.load());
  EXPECT_TRUE(inOrder);
  EXPECT_EQ(kProducers * kEventsEach, taken);
  EXPECT_EQ(0, gPayloadsAlive.load());
  EXPECT_FALSE(queue.QueueEmpty());
}

}  // namespace
