#include "net/KSPacketQueue.h"

#include <cstdlib>
#include <cstring>

#include "foundation/KSError.h"

namespace {

// The result of a wait for room that ended without room: its time-out ran
// out, or the give-up event (at inGiveUpIndex) was set, or the wait failed.
long FailedWait(DWORD inWoke, DWORD inGiveUpIndex) {
  if (inWoke == WAIT_TIMEOUT) {
    return kKSErr_Timeout;
  }
  return inWoke == inGiveUpIndex ? kKSErr_SessionClosed : kKSErr_Internal;
}

}  // namespace

KSPacketQueue::KSPacketQueue()
    : mPackets(nullptr),
      mCount(0),
      mSize(0),
      mQueued(0),
      mWaiting(0),
      mRoomSignalled(false),
      mSemaphore(CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr)),
      mPacketRemoved(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

KSPacketQueue::~KSPacketQueue() {
  for (int32 i = 0; i < mCount; i++) {
    FreePacket(mPackets[i]);
  }
  free(mPackets);
}

KSPacket* KSPacketQueue::CopyPacket(const KSPacket& inPacket) {
  size_t dataSize = inPacket.mDataSize > 0 ? size_t(inPacket.mDataSize) : 0;
  KSPacket* copy = static_cast<KSPacket*>(malloc(sizeof(KSPacket) + dataSize));
  if (!copy) {
    return nullptr;
  }
  *copy = inPacket;
  uint8* data = reinterpret_cast<uint8*>(copy + 1);
  if (dataSize) {
    memcpy(data, inPacket.mData, dataSize);
  }
  copy->mDataSize = int32(dataSize);
  copy->mData = data;
  return copy;
}

void KSPacketQueue::FreePacket(KSPacket* inPacket) {
  free(inPacket);
}

long KSPacketQueue::Append(KSPacket* inCopy, bool inBlock, long inTimeoutMS, HANDLE inGiveUpEvent) {
  if (inCopy->mDataSize > kKSMaxOutgoingDataSize) {
    // Never fits. A blocking caller waits out its time-out as for a queue
    // that stays full, without taking the room signals meant for others.
    if (!inBlock) {
      return kKSErr_SendQueueFull;
    }
    return FailedWait(WaitForSingleObject(inGiveUpEvent, DWORD(inTimeoutMS)), WAIT_OBJECT_0);
  }

  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS);
  long err = 0;
  {
    KSMutexHold hold(mCS);
    err = WaitForRoom(inBlock, deadline, inGiveUpEvent);
    if (err == 0) {
      err = Store(inCopy);
    }
  }
  // Released outside the lock: the session thread it wakes goes straight for
  // the lock, and would otherwise have to sleep on it once more.
  if (err == 0) {
    ReleaseSemaphore(mSemaphore.Get(), 1, nullptr);
  }
  return err;
}

long KSPacketQueue::WaitForRoom(bool inBlock, ULONGLONG inDeadline, HANDLE inGiveUpEvent) {
  while (mCount >= kMaxPackets) {
    if (!inBlock) {
      return kKSErr_SendQueueFull;
    }
    // Counted as waiting before the lock is let go, so that a packet taken
    // from now on sets the event, which stays set until this waits on it.
    // The caller's hold spans the whole wait; only the sleep itself runs
    // without the lock, which is why it is left and entered again by hand.
    mWaiting++;
    mCS.Release();
    ULONGLONG now = GetTickCount64();
    DWORD wait = now < inDeadline ? DWORD(inDeadline - now) : 0;
    HANDLE events[2] = {mPacketRemoved.Get(), inGiveUpEvent};
    DWORD woke = WaitForMultipleObjects(2, events, FALSE, wait);
    mCS.Wait(-1);
    mWaiting--;
    if (woke != WAIT_OBJECT_0) {
      return FailedWait(woke, WAIT_OBJECT_0 + 1);
    }
    mRoomSignalled = false;
  }
  return 0;
}

long KSPacketQueue::Store(KSPacket* inCopy) {
  long err = mCount == mSize ? Grow() : 0;
  if (err == 0) {
    mPackets[mCount++] = inCopy;
    mQueued.store(mCount, std::memory_order_release);
  }
  // Room left over goes to the next waiter.
  if (mCount < kMaxPackets) {
    SignalRoom();
  }
  return err;
}

KSPacket* KSPacketQueue::TakeOldest() {
  KSMutexHold hold(mCS);
  if (mCount == 0) {
    return nullptr;
  }
  KSPacket* packet = mPackets[0];
  mCount--;
  memmove(mPackets, mPackets + 1, size_t(mCount) * sizeof(KSPacket*));
  mQueued.store(mCount, std::memory_order_release);
  SignalRoom();
  return packet;
}

long KSPacketQueue::Grow() {
  int32 goal = int32(mCount * 1.33 + 0.5);
  int32 extra = goal - mCount > 8 ? goal - mCount : 8;
  void* grown = realloc(mPackets, size_t(mSize + extra) * sizeof(KSPacket*));
  if (!grown) {
    return kKSErr_SendQueueFull;
  }
  mPackets = static_cast<KSPacket**>(grown);
  mSize += extra;
  return 0;
}

// Setting the event costs a kernel call: it is made only when someone waits
// and no earlier signal is still on its way to a waiter.
void KSPacketQueue::SignalRoom() {
  if (mWaiting > 0 && !mRoomSignalled) {
    mRoomSignalled = true;
    SetEvent(mPacketRemoved.Get());
  }
}
