// First-in first-out queue of small event records that may carry objects.
//
// Worker threads post into it and the window thread drains it; the queue does
// no locking of its own, so a queue shared between threads is guarded by a
// KSMutex held round each single call.
#pragma once

#include "foundation/KSObject.h"

// One queued event. The attached objects belong to the node while it is queued.
struct EventNode {
  int32 mEventID;
  int32 mParam1;
  int32 mParam2;
  KSObject* mObj1;
  KSObject* mObj2;
  EventNode* mNext;  // towards the tail; null at the tail
};

class KSEventQueue : public KSObject {
 public:
  KSEventQueue();
  ~KSEventQueue() override;

  KSEventQueue(const KSEventQueue&) = delete;
  KSEventQueue& operator=(const KSEventQueue&) = delete;

  // Appends an event at the tail; the queue takes ownership of both objects.
  virtual void PostEvent(long inEventID, long inParam1, long inParam2, KSObject* inObj1,
                         KSObject* inObj2);

  // Takes the event at the head. Returns false, touching nothing, when the
  // queue is empty. Any out-pointer may be null: an object whose out-pointer
  // is null is deleted, otherwise the caller receives (and owns) it.
  virtual bool GetNextEvent(long* outEventID, long* outParam1, long* outParam2, KSObject** outObj1,
                            KSObject** outObj2);

  // Beware the name: true when at least one event is queued, false when the
  // queue is empty. Callers of long standing rely on this sense.
  virtual bool QueueEmpty() const;

  // Drops every event, deleting the attached objects.
  virtual void ClearQueue();

 private:
  EventNode* mLastEvent;  // tail: most recently posted; null when empty
  EventNode* mNextEvent;  // head: next to be taken; null when empty
};
