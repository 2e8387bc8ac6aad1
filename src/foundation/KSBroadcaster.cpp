#include "foundation/KSBroadcaster.h"

#include "foundation/KSMessages.h"

KSBroadcaster::KSBroadcaster() : mListeners(ks_OrderNotImportant), mIsBroadcasting(true) {}

KSBroadcaster::~KSBroadcaster() {
  BroadcastMsg(kKSMsg_Die, nullptr, this);
  mIsBroadcasting = false;

  for (long i = 1; i <= mListeners.Count(); i++) {
    KSListener* listener = static_cast<KSListener*>(mListeners.Fetch(i));
    listener->mBroadcasters.Remove(this);
  }
}

void KSBroadcaster::AddListener(KSListener* inListener) {
  if (inListener == nullptr || mListeners.FindIndexOf(inListener) != 0) {
    return;
  }
  mListeners.Add(inListener);
  inListener->mBroadcasters.Add(this);
}

void KSBroadcaster::RemoveListener(KSListener* inListener) {
  mListeners.Remove(inListener);
  if (inListener != nullptr) {
    inListener->mBroadcasters.Remove(this);
  }
}

void KSBroadcaster::BroadcastMsg(long inMsg, void* inParam1, void* inParam2) {
  if (!mIsBroadcasting) {
    return;
  }
  // The list is fetched afresh at every index, never held across a call: a
  // listener may add or remove listeners (itself included) from ListenToMsg.
  // A removal fills the hole with the last listener, which then misses this
  // one message.
  void* item;
  for (long i = 1; mListeners.Fetch(i, &item); i++) {
    KSListener* listener = static_cast<KSListener*>(item);
    if (listener->mIsListening) {
      listener->ListenToMsg(inMsg, inParam1, inParam2);
    }
  }
}

KSListener::KSListener() : mBroadcasters(ks_OrderNotImportant), mIsListening(true) {}

KSListener::~KSListener() {
  // RemoveListener also takes the broadcaster off this list.
  while (mBroadcasters.Count() > 0) {
    static_cast<KSBroadcaster*>(mBroadcasters.Fetch(1))->RemoveListener(this);
  }
}
