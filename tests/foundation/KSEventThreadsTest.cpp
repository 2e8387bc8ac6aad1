// A KSEventQueue shared between threads, guarded by a KSMutex as its owners
// guard it: producers post from worker threads while one thread drains. (The
// mutex's timed waits stay out of this file: the thread sanitizer does not
// see the lock they take.)
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "foundation/KSEventQueue.h"
#include "foundation/KSMutex.h"

namespace {

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
