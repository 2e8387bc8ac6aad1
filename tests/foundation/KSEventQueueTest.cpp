#include <gtest/gtest.h>

#include "foundation/KSEventQueue.h"

namespace {

// Counts its own destruction so that ownership can be checked.
class Tracked : public KSObject {
 public:
  explicit Tracked(int* ioDeleted) : mDeleted(ioDeleted) {}
  ~Tracked() override { (*mDeleted)++; }

 private:
  int* mDeleted;
};

TEST(KSEventQueue, TakingWithoutOutPointersDeletesTheObjects) {
  int deleted = 0;
  KSEventQueue queue;
  EXPECT_FALSE(queue.QueueEmpty());  // false means: nothing queued
  queue.PostEvent('Evt1', 1, 2, new Tracked(&deleted), new Tracked(&deleted));
  EXPECT_TRUE(queue.QueueEmpty());  // true means: something queued

  EXPECT_TRUE(queue.GetNextEvent(nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(2, deleted);
  EXPECT_FALSE(queue.QueueEmpty());

  // An empty queue leaves every out-value as it was.
  long id = 7, p1 = 8, p2 = 9;
  KSObject* o1 = reinterpret_cast<KSObject*>(&id);
  KSObject* o2 = o1;
  EXPECT_FALSE(queue.GetNextEvent(&id, &p1, &p2, &o1, &o2));
  EXPECT_EQ(7, id);
  EXPECT_EQ(8, p1);
  EXPECT_EQ(9, p2);
  EXPECT_EQ(reinterpret_cast<KSObject*>(&id), o1);
  EXPECT_EQ(o1, o2);
}

TEST(KSEventQueue, HandsObjectsToTheCallerInPostingOrder) {
  int deleted = 0;
  KSEventQueue queue;
  Tracked* a = new Tracked(&deleted);
  Tracked* b = new Tracked(&deleted);
  queue.PostEvent('Evt1', -1, 0x7FFFFFFF, a, b);
  queue.PostEvent('Evt2', 3, 4, nullptr, nullptr);
  queue.PostEvent('Evt3', 5, 6, nullptr, new Tracked(&deleted));

  long id = 0, p1 = 0, p2 = 0;
  KSObject* o1 = nullptr;
  KSObject* o2 = nullptr;
  ASSERT_TRUE(queue.GetNextEvent(&id, &p1, &p2, &o1, &o2));
  EXPECT_EQ('Evt1', id);
  EXPECT_EQ(-1, p1);
  EXPECT_EQ(0x7FFFFFFF, p2);
  EXPECT_EQ(a, o1);
  EXPECT_EQ(b, o2);
  EXPECT_EQ(0, deleted);
  delete o1;
  delete o2;

  ASSERT_TRUE(queue.GetNextEvent(&id, &p1, &p2, &o1, nullptr));
  EXPECT_EQ('Evt2', id);
  EXPECT_EQ(nullptr, o1);

  // Only the object whose out-pointer is missing is deleted.
  ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, &o2));
  EXPECT_EQ('Evt3', id);
  EXPECT_EQ(2, deleted);
  delete o2;

  // The drained queue starts afresh with the next post.
  EXPECT_FALSE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
  queue.PostEvent('Evt4', 0, 0, nullptr, nullptr);
  queue.PostEvent('Evt5', 0, 0, nullptr, nullptr);
  ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ('Evt4', id);
  ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ('Evt5', id);
  EXPECT_FALSE(queue.QueueEmpty());
}

TEST(KSEventQueue, ClearingAndDestructionDeleteQueuedObjects) {
  int deleted = 0;
  {
    KSEventQueue queue;
    queue.PostEvent('Evt1', 0, 0, new Tracked(&deleted), nullptr);
    queue.PostEvent('Evt2', 0, 0, new Tracked(&deleted), new Tracked(&deleted));
    queue.ClearQueue();
    EXPECT_EQ(3, deleted);
    EXPECT_FALSE(queue.QueueEmpty());

    queue.PostEvent('Evt3', 0, 0, nullptr, new Tracked(&deleted));
    long id = 0;
    queue.PostEvent('Evt4', 0, 0, nullptr, nullptr);
    ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ('Evt3', id);
    queue.PostEvent('Evt5', 0, 0, new Tracked(&deleted), nullptr);
  }
  EXPECT_EQ(5, deleted);
}

}  // namespace
