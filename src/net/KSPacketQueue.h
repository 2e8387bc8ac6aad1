// The outgoing packets of one session, first in, first out. Callers append
// from any thread; the session thread takes them out.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>

#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "net/KSPacket.h"

class KSPacketQueue {
 public:
  static constexpr int32 kMaxPackets = 127;

  KSPacketQueue();
  ~KSPacketQueue();

  KSPacketQueue(const KSPacketQueue&) = delete;
  KSPacketQueue& operator=(const KSPacketQueue&) = delete;

  bool Created() const { return mSemaphore && mPacketRemoved; }

  // A packet and its data in one block, as the queue stores it; null when
  // memory runs out. Free it with FreePacket.
  static KSPacket* CopyPacket(const KSPacket& inPacket);
  static void FreePacket(KSPacket* inPacket);

  // Appends inCopy (made by CopyPacket; the queue owns it on success). A full
  // queue, or a packet too large to send, gives kKSErr_SendQueueFull unless
  // inBlock; then the call waits for the session thread to take a packet, up
  // to inTimeoutMS (kKSErr_Timeout), or until inGiveUpEvent is set
  // (kKSErr_SessionClosed). A packet too large to send never gets in: a
  // blocking call for it ends only in one of those two ways.
  long Append(KSPacket* inCopy, bool inBlock, long inTimeoutMS, HANDLE inGiveUpEvent);

  // Released once for every packet appended.
  HANDLE Semaphore() const { return mSemaphore.Get(); }

  // The oldest packet, now owned by the caller, or null.
  KSPacket* TakeOldest();

  // Whether packets are waiting, without a kernel call. The answer may be
  // out of date by the time it arrives unless the caller is the only taker
  // and only needs to know whether taking could succeed.
  bool HasPackets() const { return mQueued.load(std::memory_order_acquire) > 0; }

 private:
  // Called with mCS held. Waits, when inBlock, until the queue has room:
  // 0, or why there is none (see Append).
  long WaitForRoom(bool inBlock, ULONGLONG inDeadline, HANDLE inGiveUpEvent);
  // Called with mCS held: adds inCopy and passes left-over room on.
  long Store(KSPacket* inCopy);
  // Wakes a waiting appender, unless one is already on its way; mCS is held.
  void SignalRoom();
  long Grow();

  KSPacket** mPackets;
  int32 mCount;
  int32 mSize;                 // capacity of mPackets
  std::atomic<int32> mQueued;  // mCount, readable without the lock
  int32 mWaiting;              // appenders waiting for room, under mCS
  bool mRoomSignalled;         // mPacketRemoved set and no waiter woken by it yet, under mCS
  KSMutex mCS;
  KSHandle mSemaphore;
  KSHandle mPacketRemoved;  // auto-reset; set when a packet is taken while appenders wait
};
