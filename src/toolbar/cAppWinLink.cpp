// cAppWin: staying in step with the engine instance it controls. While an
// instance is chosen the link's session is kept open (the engine's
// notifications reach only open sessions), every session opened anew is
// refreshed before anything else is shown, and a lost or unreachable engine
// is tried again on a schedule that slows down to one try every 30 s. The
// controls that act on the engine are usable only while it is connected; the
// tray tip and the window's accessible name say how the link stands.
#include <windows.h>

#include <chrono>

#include "platform/BaseUtils.h"
#include "skin/KSAccessible.h"
#include "skin/cStandardComboBox.h"
#include "skin/cToolPage.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UIDispatchScripts.h"
#include "toolbar/cAppWin.h"

namespace {

constexpr long kPeerNameMax = 200;

// A session that the engine has answered on and that has lasted this long
// ends a stretch of failures: the next loss starts the waits from the
// shortest again. An engine that breaks every session soon after it opens is
// tried less and less often.
constexpr long kSettledMS = 5000;

const char kStatusConnected[] = "Corvexa Toolbar - connected to %s";
const char kStatusLooking[] = "Corvexa Toolbar - looking for an engine";
const char kStatusRetrying[] = "Corvexa Toolbar - connection lost, retrying";

int64_t NowMS() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Calls inDo for every control of inPage and of the pages inside it.
template <typename F>
void ForEachControl(cToolPage* inPage, const F& inDo) {
  for (unsigned long id = 0; inPage != nullptr && id < inPage->NumControls(); id++) {
    cControl* control = inPage->Control(id);
    inDo(control);
    ForEachControl(dynamic_cast<cToolPage*>(control), inDo);
  }
}

}  // namespace

void cAppWin::KeepInStep() {
  if (mEnabledState != kConnected) {
    ShowLinkStatus();
    return;
  }
  RefreshNewSession();
  mSession.KeepAlive();
  if (mSession.IsConnected()) {
    mTrying = false;
    if (mSession.EngineAnswered()) {
      mReachedService.Assign(mSession.GetCurServiceName());
    }
    if (mSession.EngineAnswered() && mSession.SessionAgeMS() >= kSettledMS) {
      mRetry.Reset();
      mLinkFailureTold = false;
    }
  } else if (!mSession.IsConnecting()) {
    if (mTrying) {
      // The try failed (and was told of while the name was listed). An
      // engine that has gone leaves its name listed until discovery looks
      // again.
      mTrying = false;
      mSession.Rescan();
    }
    mRetry.Down(NowMS());
    if (mRetry.TakeDueTry(NowMS())) {
      TryEngineAgain();
    }
  }
  ShowLinkStatus();
}

void cAppWin::RefreshNewSession() {
  // A try, or a command that found the session closed, opened another: what
  // the controls show may be out of date.
  if (mEnabledState == kConnected && mSession.IsConnected() &&
      mSession.SessionsOpened() != mRefreshedSession) {
    RefreshState(kConnected);
  }
}

// The try does not wait for the connection: an engine on a machine that has
// gone away would hold the window for the whole connect time-out. Its open
// event brings the refresh (above).
void cAppWin::TryEngineAgain() {
  mSession.Retry();
  mTrying = mSession.ConnectAsync();
  if (!mTrying) {
    mSession.Rescan();  // no address: the engine may be gone
  }
}

void cAppWin::StartOver() {
  mRetry.Reset();
  mLinkFailureTold = false;
}

void cAppWin::ShowLinkStatus() {
  bool up = mEnabledState == kConnected && mSession.IsConnected();
  // Going up is the refresh's business: it enables the controls once it has
  // asked the engine for their values.
  if (!up && mLinkShownUp) {
    mLinkShownUp = false;
    EnableEngineControls(false);
    UpdateCommandStatus(4);
    UpdateCommandStatus(5);
  }
  UtilStr status;
  if (up) {
    status.AppendVA(kStatusConnected, mSession.GetCurServiceName());
  } else if (mEnabledState == kConnected && mReachedService == mSession.GetCurServiceName()) {
    status.Assign(kStatusRetrying);
  } else {
    status.Assign(kStatusLooking);
  }
  if (status != mLinkStatus) {
    mLinkStatus = status;
    SetTrayTip(mLinkStatus.getCStr());
  }
}

void cAppWin::EnableEngineControls(bool inEnable) {
  ForEachControl(mMainPage.get(), [inEnable](cControl* inControl) {
    if (FindUIScript(inControl->Function()) != nullptr && inControl->IsWindow()) {
      inControl->Enable(inEnable);
      // A skinned control made of windows of its own (the combo box's label
      // and button, the slider's thumb) would still take clicks on them.
      EnumChildWindows(
          inControl->Wind(),
          [](HWND inChild, LPARAM inOn) -> BOOL {
            EnableWindow(inChild, inOn != 0);
            return TRUE;
          },
          LPARAM(inEnable));
    }
  });
}

void cAppWin::SetTrayTip(const char* inTip) {
  BaseSetTrayTip(1, Wind(), inTip);
}

bool cAppWin::OnGetObject(WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) {
  LONG object = LONG(inLParam);
  if ((object != OBJID_WINDOW && object != OBJID_CLIENT) || mLinkStatus.IsEmpty()) {
    return false;
  }
  return KSAccessible::AnswerNamed(Wind(), object, inWParam, mLinkStatus.getCStr(), outResult);
}

void cAppWin::ChoosePeer() {
  cStandardComboBox* peer = mControls.AdvPreferences.Peer;
  char name[kPeerNameMax + 1] = "";
  if (peer == nullptr || peer->CurSelection() < 0 ||
      peer->GetItem(peer->CurSelection(), name, sizeof(name)) != 0) {
    return;
  }
  StartOver();
  mSession.SetCurService(name);
  RefreshState(kConnected);
}

void cAppWin::RefreshPeers() {
  mSession.Rescan();
  if (mEnabledState == kConnected && !mSession.IsConnected() && !mSession.IsConnecting()) {
    StartOver();
    TryEngineAgain();
  }
}

void cAppWin::ChooseTheme() {
  if (mControls.AdvPreferences.Theme == nullptr) {
    return;
  }
  gToolbarState.mThemeMgr.SetCurrentTheme(int(mControls.AdvPreferences.Theme->CurSelection()));
  RememberTheme();
  ApplyThemeToLists(true);
  UpdateAllCommandStatus();
}

void cAppWin::RememberTheme() {
  ThemeMgr& themes = gToolbarState.mThemeMgr;
  UtilStr name;
  if (themes.GetLogicalThemeName(themes.GetCurrentTheme(), &name)) {
    gToolbarState.mPrefs.SetStr(kPref_Theme, name.getCStr());
  }
}
