#include "foundation/KSEventQueue.h"

namespace {

// Hands an attached object to the caller when it asked for it, else deletes it.
void TakeObject(KSObject** ioNodeObj, KSObject** outObj) {
  if (outObj != nullptr) {
    *outObj = *ioNodeObj;
  } else {
    delete *ioNodeObj;
  }
  *ioNodeObj = nullptr;
}

void DeleteNode(EventNode* inNode) {
  delete inNode->mObj1;
  delete inNode->mObj2;
  delete inNode;
}

}  // namespace

KSEventQueue::KSEventQueue() : mLastEvent(nullptr), mNextEvent(nullptr) {}

KSEventQueue::~KSEventQueue() {
  ClearQueue();
}

void KSEventQueue::PostEvent(long inEventID, long inParam1, long inParam2, KSObject* inObj1,
                             KSObject* inObj2) {
  EventNode* node = new EventNode;
  node->mEventID = int32(inEventID);
  node->mParam1 = int32(inParam1);
  node->mParam2 = int32(inParam2);
  node->mObj1 = inObj1;
  node->mObj2 = inObj2;
  node->mNext = nullptr;

  if (mLastEvent != nullptr) {
    mLastEvent->mNext = node;
  } else {
    mNextEvent = node;
  }
  mLastEvent = node;
}

bool KSEventQueue::GetNextEvent(long* outEventID, long* outParam1, long* outParam2,
                                KSObject** outObj1, KSObject** outObj2) {
  EventNode* node = mNextEvent;
  if (node == nullptr) {
    return false;
  }
  if (outEventID != nullptr) {
    *outEventID = node->mEventID;
  }
  if (outParam1 != nullptr) {
    *outParam1 = node->mParam1;
  }
  if (outParam2 != nullptr) {
    *outParam2 = node->mParam2;
  }
  TakeObject(&node->mObj1, outObj1);
  TakeObject(&node->mObj2, outObj2);

  if (node == mLastEvent) {
    mLastEvent = nullptr;
  }
  mNextEvent = node->mNext;
  DeleteNode(node);
  return true;
}

bool KSEventQueue::QueueEmpty() const {
  return mNextEvent != nullptr;
}

void KSEventQueue::ClearQueue() {
  EventNode* node = mNextEvent;
  while (node != nullptr) {
    EventNode* next = node->mNext;
    DeleteNode(node);
    node = next;
  }
  mNextEvent = nullptr;
  mLastEvent = nullptr;
}
