// Synchronous many-to-many notification: a broadcaster calls ListenToMsg on
// each of its listeners with a message code (foundation/KSMessages.h) and two
// borrowed parameters.
//
// Each side keeps a list of the other, so either may be destroyed first and
// the survivor is left holding no pointer to it. A dying broadcaster tells its
// listeners with kKSMsg_Die; a dying listener tells nobody.
#pragma once

#include "foundation/XPtrList.h"

class KSListener;

class KSBroadcaster {
 public:
  KSBroadcaster();
  virtual ~KSBroadcaster();

  KSBroadcaster(const KSBroadcaster&) = delete;
  KSBroadcaster& operator=(const KSBroadcaster&) = delete;

  // Registers inListener once; null or an already registered listener is
  // ignored.
  void AddListener(KSListener* inListener);
  void RemoveListener(KSListener* inListener);

  // Calls ListenToMsg on every listening listener, on this thread. The list is
  // read afresh at each step, so listeners may be added or removed by the
  // calls themselves.
  void BroadcastMsg(long inMsg, void* inParam1, void* inParam2);

 protected:
  XPtrList mListeners;   // of KSListener*, not owned
  bool mIsBroadcasting;  // false once destruction has begun
};

class KSListener {
 public:
  KSListener();
  virtual ~KSListener();

  KSListener(const KSListener&) = delete;
  KSListener& operator=(const KSListener&) = delete;

  // Called on the broadcasting thread. What the parameters point to depends
  // on inMsg; they are valid only during the call.
  virtual void ListenToMsg(long inMsg, void* inParam1, void* inParam2) = 0;

 protected:
  XPtrList mBroadcasters;  // of KSBroadcaster*, not owned
  bool mIsListening;       // while false, broadcasts pass this listener by

 private:
  friend class KSBroadcaster;
};
