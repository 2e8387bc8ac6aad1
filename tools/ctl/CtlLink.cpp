#include "ctl/CtlLink.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "skin/UIFunctions.h"

namespace {

// Discovery is polled at this pace, and the list counts as settled once it
// has not changed for kSettleMS.
const long kPollMS = 50;
const long kSettleMS = 300;

bool ReadIP4(const char* inText, uint8* outBytes) {
  unsigned a, b, c, d;
  char end;
  if (std::sscanf(inText, "%u.%u.%u.%u%c", &a, &b, &c, &d, &end) != 4 || a > 255 || b > 255 ||
      c > 255 || d > 255) {
    return false;
  }
  outBytes[0] = uint8(a);
  outBytes[1] = uint8(b);
  outBytes[2] = uint8(c);
  outBytes[3] = uint8(d);
  return true;
}

void FormatAddr(const KSNetAddr& inAddr, UtilStr* outText) {
  KSNetAddr text;
  if (inAddr.mType == ks_localhost) {
    outText->Assign("localhost");
  } else if (inAddr.mType == ks_HostName) {
    outText->Assign(inAddr.u.mHostName, long(strnlen(inAddr.u.mHostName, sizeof(inAddr.u))));
  } else if (TranslateAddr_Trivial(inAddr, ks_HostName, &text)) {
    outText->Assign(text.u.mHostName);
  } else {
    outText->Clear();
  }
}

}  // namespace

CtlLink::CtlLink()
    : mNextRequestID(0),
      mAwaitedRequestID(0),
      mReplyArrived(false),
      mWakeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      mSessionLost(false),
      mSessionRefused(false),
      mLastConnectError(kKSErr_NotConnected) {
  AddListener(this);
}

CtlLink::~CtlLink() {
  // Close while our own event handlers still exist.
  CloseSession();
}

void CtlLink::WaitForInstances(const char* inName, long inWaitMS) {
  DWORD start = GetTickCount();
  long lastCount = -1;
  DWORD lastChange = start;
  while (long(GetTickCount() - start) < inWaitMS) {
    long count = GetNumServices();
    DWORD now = GetTickCount();
    if (count != lastCount) {
      lastCount = count;
      lastChange = now;
    }
    bool settled = count > 0 && long(now - lastChange) >= kSettleMS;
    if (*inName != 0 ? ChooseInstance(inName) == 0 : settled) {
      return;
    }
    Sleep(kPollMS);
  }
}

bool CtlLink::GetInstance(long inIndex, CtlInstance* outInstance) {
  if (!GetServiceName(inIndex, &outInstance->mName)) {
    return false;
  }
  mServiceBrowser.GetDomainForService(outInstance->mName, &outInstance->mDomain);
  KSNetAddr addr;
  outInstance->mPort = 0;
  outInstance->mResolved =
      mServiceBrowser.ResolveService(outInstance->mName, kResolveMaxAgeSecs, 0, false) == 0 &&
      mServiceBrowser.GetServiceAddr(outInstance->mName, &addr, &outInstance->mPort, nullptr);
  if (outInstance->mResolved) {
    FormatAddr(addr, &outInstance->mAddress);
  } else {
    outInstance->mAddress.Clear();
  }
  return true;
}

long CtlLink::ChooseInstance(const char* inName) {
  UtilStr name;
  for (long i = 1; GetServiceName(i, &name); ++i) {
    if (*inName == 0 || name.Equals(inName, false)) {
      SetCurService(name.getCStr());
      return 0;
    }
  }
  return kKSErr_FileNotFound;
}

long CtlLink::ChooseAddress(const char* inHost, long inPort) {
  KSNetAddr addr;
  std::memset(&addr, 0, sizeof(addr));
  if (UtilStr::compare(inHost, "localhost", false) == 0) {
    addr.mType = ks_localhost;
  } else if (ReadIP4(inHost, addr.u.mIP4Addr)) {
    addr.mType = ks_IP4Address;
  } else if (std::strchr(inHost, ':') != nullptr && ResolveIP6(inHost, addr.u.mIP6Addr) == 0) {
    addr.mType = ks_IP6Address;  // an IPv6 literal
  } else if (std::strlen(inHost) < sizeof(addr.u.mHostName)) {
    addr.mType = ks_HostName;
    std::strcpy(addr.u.mHostName, inHost);
  } else {
    return kKSErr_Param;
  }
  // The address stands in for a resolved service of that name.
  UtilStr name;
  name.AppendVA(addr.mType == ks_IP6Address ? "[%s]:%ld" : "%s:%ld", inHost, inPort);
  UseServiceAddr(name.getCStr(), addr, static_cast<unsigned long>(inPort));
  return 0;
}

long CtlLink::Query(const char* inScript, long inLen, UtilStr* outReply) {
  long id = AwaitNextReply();
  long err = SendCmd(inScript, inLen, kCommandFlags, 0, kRequestDontCare, id, nullptr);
  DWORD start = GetTickCount();
  if (err == kKSErr_SessionClosed) {
    // The engine closed the session before the send: its thread is about to
    // report the loss, and whether it counts as a refusal.
    err = AwaitSessionLoss() ? kKSErr_NotConnected : err;
  }
  while (err == 0 && !TakeReply(outReply)) {
    long waited = long(GetTickCount() - start);
    if (mSessionLost) {
      err = kKSErr_NotConnected;
    } else if (waited >= kCtlReplyWaitMS) {
      err = kKSErr_Timeout;
    } else {
      WaitForSingleObject(mWakeEvent.Get(), DWORD(kCtlReplyWaitMS - waited));
    }
  }
  KSMutexHold hold(mLock);
  mAwaitedRequestID = 0;
  return err;
}

bool CtlLink::AwaitSessionLoss() {
  DWORD start = GetTickCount();
  while (!mSessionLost && GetTickCount() - start < kCtlLossWaitMS) {
    WaitForSingleObject(mWakeEvent.Get(), 50);
  }
  return mSessionLost;
}

long CtlLink::AwaitNextReply() {
  KSMutexHold hold(mLock);
  mAwaitedRequestID = ++mNextRequestID;
  mReplyArrived = false;
  mReply.Clear();
  return mAwaitedRequestID;
}

bool CtlLink::TakeReply(UtilStr* outReply) {
  KSMutexHold hold(mLock);
  if (mReplyArrived) {
    outReply->Assign(mReply.getCStr(), mReply.length());
  }
  return mReplyArrived;
}

long CtlLink::Post(const char* inScript) {
  return SendCmd(inScript, -1, kCommandFlags, 0, kRequestDontCare, 0, nullptr);
}

bool CtlLink::NextNotification(long inWaitMS, void* inStopEvent, CtlNotification* outNotification) {
  DWORD start = GetTickCount();
  for (;;) {
    if (TakeNotification(outNotification)) {
      return true;
    }
    long waited = long(GetTickCount() - start);
    if (mSessionLost || waited >= inWaitMS) {
      return false;
    }
    HANDLE events[2] = {mWakeEvent.Get(), inStopEvent};
    DWORD count = inStopEvent != nullptr ? 2 : 1;
    if (WaitForMultipleObjects(count, events, FALSE, DWORD(inWaitMS - waited)) ==
        WAIT_OBJECT_0 + 1) {
      return false;
    }
  }
}

bool CtlLink::TakeNotification(CtlNotification* outNotification) {
  KSMutexHold hold(mLock);
  if (mNotifications.empty()) {
    return false;
  }
  CtlNotification& first = mNotifications.front();
  outNotification->mCode = first.mCode;
  outNotification->mDesc.Assign(first.mDesc.getCStr(), first.mDesc.length());
  outNotification->mData.Assign(first.mData.getCStr(), first.mData.length());
  mNotifications.pop_front();
  return true;
}

long CtlLink::Connect() {
  long err = ToolbarSession::Connect();
  if (err != 0) {
    mLastConnectError = err;
  }
  return err;
}

void CtlLink::OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) {
  if (StoreReply(inReply, inCookie.mParam[2])) {
    SetEvent(mWakeEvent.Get());
  }
}

bool CtlLink::StoreReply(const KSBuf& inReply, long inRequestID) {
  KSMutexHold hold(mLock);
  if (mAwaitedRequestID == 0 || inRequestID != mAwaitedRequestID) {
    return false;
  }
  mReply.Assign(inReply.mData, inReply.mNumBytes);
  mReplyArrived = true;
  return true;
}

void CtlLink::OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char) {
  {
    KSMutexHold hold(mLock);
    mNotifications.push_back(CtlNotification());
    CtlNotification& notification = mNotifications.back();
    notification.mCode = inMsg.mMsgID;
    notification.mDesc.Assign(inMsg.mDesc, inMsg.mDescSize);
    notification.mData.Assign(inMsg.mData, inMsg.mDataSize);
  }
  SetEvent(mWakeEvent.Get());
}

void CtlLink::OnSessionClosed() {
  ToolbarSession::OnSessionClosed();  // broadcasts the refusal, if it is one, first
  mSessionLost = true;
  SetEvent(mWakeEvent.Get());
}

void CtlLink::ListenToMsg(long inMsg, void* inParam1, void* inParam2) {
  if (inMsg == kKSMsg_SessionRefused) {
    mSessionRefused = true;
  }
  ToolbarSession::ListenToMsg(inMsg, inParam1, inParam2);
}
