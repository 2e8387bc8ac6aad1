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

TEST(KSEventQueue, ObjectsNotAskedForAreDeleted) {
  int deleted = 0;
  KSEventQueue queue;
  EXPECT_FALSE(queue.QueueEmpty());  // false means nothing is queued
  queue.PostEvent('Evt1', 1, 2, new Tracked(&deleted), new Tracked(&deleted));
  EXPECT_TRUE(queue.QueueEmpty());
  EXPECT_TRUE(queue.GetNextEvent(nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(2, deleted);
  EXPECT_FALSE(queue.QueueEmpty());

  // An empty queue leaves the out-values alone.
  long id = 7, p1 = 8;
  KSObject* o1 = reinterpret_cast<KSObject*>(&id);
  EXPECT_FALSE(queue.GetNextEvent(&id, &p1, nullptr, &o1, nullptr));
  EXPECT_EQ(7, id);
  EXPECT_EQ(8, p1);
  EXPECT_EQ(reinterpret_cast<KSObject*>(&id), o1);

  // A drained queue starts afresh, and the caller may take one object only.
  queue.PostEvent('Evt2', 0, 0, new Tracked(&deleted), new Tracked(&deleted));
  queue.PostEvent('Evt3', 0, 0, nullptr, nullptr);
  ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, &o1));
  EXPECT_EQ('Evt2', id);
  EXPECT_EQ(3, deleted);
  delete o1;
  ASSERT_TRUE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ('Evt3', id);
}

TEST(KSEventQueue, HandsOverObjectsAndDeletesWhatIsLeft) {
  int deleted = 0;
  {
    KSEventQueue queue;
    Tracked* a = new Tracked(&deleted);
    Tracked* b = new Tracked(&deleted);
    queue.PostEvent('Evt1', -1, 0x7FFFFFFF, a, b);
    queue.PostEvent('Evt2', 3, 4, nullptr, new Tracked(&deleted));

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

    queue.ClearQueue();
    EXPECT_EQ(3, deleted);
    EXPECT_FALSE(queue.GetNextEvent(&id, nullptr, nullptr, nullptr, nullptr));
    queue.PostEvent('Evt3', 0, 0, new Tracked(&deleted), nullptr);
  }
  EXPECT_EQ(4, deleted);  // the destructor clears what is still queued
}

}  // namespace
