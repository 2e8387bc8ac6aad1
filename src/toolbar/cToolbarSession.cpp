#include "toolbar/cToolbarSession.h"

#include <cstdint>

cToolbarSession::cToolbarSession(const char* inServiceType)
    : ToolbarSession(inServiceType),
      mNotifyWindow(nullptr),
      mGeneration(0),
      mWakeWind(nullptr),
      mWakeMsg(0),
      mWakeWParam(0),
      mWakePosted(false) {
  mQueueIncomingMode = true;
}

void cToolbarSession::SetNotifyWindow(ToolbarReplyTarget* inWindow, KSListener* inListener) {
  mNotifyWindow = inWindow;
  if (inWindow != nullptr) {
    AddListener(inListener);
  }
}

void cToolbarSession::OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) {
  if (mNotifyWindow == nullptr) {
    return;
  }
  // Replies to commands sent without a target, and those of a superseded
  // refresh, are dropped here.
  ToolbarReplyTarget* target = ToolbarReplyTarget::FindReplyTarget(inCookie.mParam[0]);
  long param = inCookie.mParam[2];
  if (target == nullptr || (param >> kTagBits) != mGeneration) {
    return;
  }
  // The payload is followed by two zero bytes, so it reads as a text.
  const char* reply = inReply.mData != nullptr ? inReply.mData : "";
  target->OnKSMPReply(reply, static_cast<eRequestType>(inCookie.mParam[1]),
                      reinterpret_cast<void*>(static_cast<intptr_t>(param & kTagMask)));
}

void cToolbarSession::OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char) {
  if (mNotifyWindow != nullptr) {
    mNotifyWindow->OnKSMPNotify(inMsg.mMsgID, inMsg.mDesc, inMsg.mData);
  }
}

void cToolbarSession::SetWakeMessage(HWND inWind, UINT inMsg, WPARAM inWParam) {
  mWakeWind = nullptr;
  mWakeMsg = inMsg;
  mWakeWParam = inWParam;
  mWakePosted = false;
  mWakeWind = inWind;
}

void cToolbarSession::OnIncomingQueued() {
  ToolbarSession::OnIncomingQueued();
  HWND wind = mWakeWind;
  // A burst of replies costs one post: the window drains them all at once.
  if (wind != nullptr && !mWakePosted.exchange(true)) {
    if (!::PostMessageW(wind, mWakeMsg, mWakeWParam, 0)) {
      mWakePosted = false;
    }
  }
}
