#include "toolbar/cAppWin.h"

#include <cstring>
#include <memory>

#include "platform/BaseUtils.h"
#include "skin/SkinErrorBox.h"
#include "skin/cSkin.h"
#include "skin/cStandardToolTip.h"
#include "skin/cToolPage.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"

namespace {

constexpr long kToolTipTimer = 2;
constexpr long kEngineTimer = 3;
// One shot: the rest of a drain that ran out of time. A timer, not a posted
// message, so that input and painting go first.
constexpr long kEngineBacklogTimer = 4;
constexpr unsigned long kTimerPeriodMS = 100;
constexpr unsigned long kBacklogDelayMS = USER_TIMER_MINIMUM;
// The header flags of the track-info query sent after a skin is loaded.
constexpr unsigned char kTrackInfoFlags = 11;

const char kFallbackSkin[] = "Factory Blue";

}  // namespace

cAppWin::cAppWin()
    : cWindow(0, nullptr),
      mInDragMode(false),
      mBacklogTimerSet(false),
      mShowingMessage(false),
      mDragPos{0, 0},
      mDisplayDeviceIndex(0),
      mKSEventCount(0),
      mEnabledState(kNotInitted),
      mControls{},
      mRefreshedSession(0),
      mLinkShownUp(false),
      mTrying(false),
      mLinkFailureTold(false) {}

cAppWin::~cAppWin() {
  // The window goes first, so that its shut-down (OnDestroy) runs as ours;
  // what is left covers a window that failed to be created or was never made.
  if (IsWindow()) {
    DestroyWindow(Wind());
  }
  mSession.SetNotifyWindow(nullptr, nullptr);
  gToolbarState.mThemeMgr.RemoveListener(this);
  mMainPage.reset();
  mToolTip.reset();
  mActiveSkin.reset();
}

void cAppWin::AlwaysOnTop(bool inAlwaysOnTop) {
  // A window that owns a tool tip keeps its layer whatever it is told (seen
  // under wine): the tip goes for the change and comes back on top of it.
  bool toolTips = mToolTip != nullptr;
  EnableToolTips(false);
  cWindow::AlwaysOnTop(inAlwaysOnTop);
  EnableToolTips(toolTips);
}

long cAppWin::OnCreate() {
  Prefs& prefs = gToolbarState.mPrefs;
  mSession.SetNotifyWindow(this, this);

  KSRect normal;
  KSPoint minPos;
  KSPoint maxPos;
  if (GetPlacement(&normal, &minPos, &maxPos) == 0) {
    long width = normal.right - normal.left;
    long height = normal.bottom - normal.top;
    normal.left = prefs.GetInt(kPref_BarX);
    normal.top = prefs.GetInt(kPref_BarY);
    normal.right = normal.left + width;
    normal.bottom = normal.top + height;
    SetPlacement(normal, minPos, maxPos);
  }

  mActiveSkin = std::make_unique<cSkin>();
  gToolbarState.mThemeMgr.AddListener(this);

  UtilStr skinName;
  prefs.GetStr(kPref_Skin, &skinName);
  long err = LoadSkin(skinName.getCStr());
  if (err != 0) {
    return err;
  }

  if (prefs.GetInt(kPref_StartMinimized) != 0) {
    MinimizeToolbar();
  }
  if (prefs.GetInt(kPref_DeckAutoStart) != 0) {
    // The same start, and the same message on failure, as the Deck button.
    OnUIFunction(this, kUIDeckMode, nullptr);
  }
  SetTimer(kEngineTimer, kTimerPeriodMS);
  WakeOnEngineEvents(kEngineTimer);
  return 0;
}

void cAppWin::OnDestroy() {
  KillTimer(kEngineTimer);
  KillTimer(kEngineBacklogTimer);
  WakeOnEngineEvents(0);
  mSession.SetNotifyWindow(nullptr, nullptr);
  mSession.CloseSession();
  gToolbarState.mThemeMgr.RemoveListener(this);

  mMainPage.reset();
  mControls = AppControls{};
  BaseRemoveTrayIcon(1, Wind());
  EnableToolTips(false);
  mActiveSkin.reset();

  Prefs& prefs = gToolbarState.mPrefs;
  KSRect normal;
  KSPoint minPos;
  KSPoint maxPos;
  if (GetPlacement(&normal, &minPos, &maxPos) == 0) {
    prefs.SetInt(kPref_BarX, normal.left);
    prefs.SetInt(kPref_BarY, normal.top);
  }
  UtilStr themeName;
  ThemeMgr& themes = gToolbarState.mThemeMgr;
  if (themes.GetLogicalThemeName(themes.GetCurrentTheme(), &themeName)) {
    prefs.SetStr(kPref_Theme, themeName.getCStr());
  }
  BaseExitApp();
}

long cAppWin::LoadSkin(const char* inSkinName) {
  // A visible window would repaint for every control the new page tree makes
  // and places; it is drawn once, whole, at the end instead.
  bool visible = ::IsWindowVisible(Wind()) != FALSE;
  if (visible) {
    ::SendMessageW(Wind(), WM_SETREDRAW, FALSE, 0);
  }
  long err = BuildSkin(inSkinName);
  if (visible) {
    ::SendMessageW(Wind(), WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(Wind(), nullptr, nullptr,
                   RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  return err;
}

long cAppWin::BuildSkin(const char* inSkinName) {
  mMainPage.reset();
  mControls = AppControls{};
  EnableToolTips(false);

  auto load = [this](const char* inName) {
    KSFileSpec folder;
    folder.AssignRelativePath(inName, -1, gToolbarState.mSkinsFolder);
    // The page becomes the window's once it is whole: while it is made,
    // and after a failure, the window has none.
    std::unique_ptr<cToolPage> page;
    long err = mActiveSkin->Load(folder, this, &page);
    if (err == 0) {
      mMainPage = std::move(page);
    }
    return err;
  };
  long err = load(inSkinName);
  if (err != 0 && UtilStr::compare(inSkinName, kFallbackSkin, false) != 0) {
    gToolbarState.mPrefs.SetStr(kPref_Skin, kFallbackSkin);
    err = load(kFallbackSkin);
  }
  if (err != 0) {
    return err;
  }

  if (auto* panel = dynamic_cast<cToolPage*>(mMainPage->FindControl(kUIAdvPrefsPanel))) {
    panel->PageInfo()->DefMode =
        gToolbarState.mPrefs.GetInt(kPref_AdvPanelExtended) != 0 ? kModeExtended : kModeRetracted;
  }
  BindControls();
  mMainPage->ToolTip(mToolTip.get());
  mMainPage->Initialize();

  FillStaticGUILists();
  RefreshState(mEnabledState);
  onPeerListChange();
  ApplyToolbarPrefsToGUI();
  UpdateAllCommandStatus();

  char cmd[kCommandBufferSize];
  SendQuery(CommandGetTrackInfo(cmd), this, kRequestGetValue, kUITrackInfo, kTrackInfoFlags);
  ShowPictureProblems(Wind(), *mActiveSkin);
  return 0;
}

void cAppWin::OnToolbarUserMsg(long inValue) {
  if (inValue == long(KSFourCC("CSkn"))) {
    UtilStr skinName;
    gToolbarState.mPrefs.GetStr(kPref_Skin, &skinName);
    if (LoadSkin(skinName.getCStr()) != 0) {
      Close();
    }
  } else if (inValue == long(KSFourCC("SCge"))) {
    OnServicesChanged();
  } else if (inValue == kUserMsgShowToolbar) {
    ShowToolbar();
  } else if (inValue == long(KSFourCC("TRay"))) {
    // The shell came back: the tray icon it had is gone.
    ApplyShowToolbarIn();
  }
}

// --- Tool tips ---

void cAppWin::EnableToolTips(bool inEnable) {
  if (inEnable && mToolTip == nullptr) {
    ControlInfo info;
    std::memset(&info, 0, sizeof(info));
    info.Type = kControlTypeToolTip;
    auto tip = std::make_unique<cStandardToolTip>(&info, 0, this);
    if (tip->Create() != 0) {
      return;
    }
    mToolTip = std::move(tip);
    if (mMainPage != nullptr) {
      mMainPage->ToolTip(mToolTip.get());
    }
    mToolTip->BringToTop();
    SetTimer(kToolTipTimer, kTimerPeriodMS);
  } else if (!inEnable && mToolTip != nullptr) {
    KillTimer(kToolTipTimer);
    mToolTip.reset();
    if (mMainPage != nullptr) {
      mMainPage->ToolTip(nullptr);
    }
  }
}

void cAppWin::OnTimer(long inID) {
  if (inID == kEngineTimer || inID == kEngineBacklogTimer) {
    if (inID == kEngineBacklogTimer) {
      KillTimer(kEngineBacklogTimer);
      mBacklogTimerSet = false;
    }
    if (PumpEngineEvents() && !mBacklogTimerSet) {
      mBacklogTimerSet = SetTimer(kEngineBacklogTimer, kBacklogDelayMS) == 0;
    }
  } else if (inID == kToolTipTimer && mToolTip != nullptr && !mToolTip->IsVisible()) {
    // A tip that just went away may leave its picture behind on the toolbar.
    RECT screen;
    if (GetWindowRect(mToolTip->Wind(), &screen) && screen.right > screen.left &&
        screen.bottom > screen.top) {
      KSRect tipRect = {screen.left, screen.top, screen.right, screen.bottom};
      ScreenToClient(&tipRect);
      Invalidate(tipRect);
    }
    KillTimer(kToolTipTimer);
  }
}

// --- Size and shape ---

void cAppWin::OnSize(long, long) {
  OnChildResized();
}

void cAppWin::OnChildResized() {
  ResetShape();
  KSRect page;
  if (!IsMinimized() && mMainPage != nullptr && mMainPage->GetPosition(&page) == 0) {
    Resize(page.right, page.bottom, true);
    FollowShapeOf(mMainPage.get(), page.left, page.top);
  }
  Invalidate();
}

// --- Dragging ---

void cAppWin::OnLMouseDown(const KSPoint& inPoint) {
  mInDragMode = true;
  mDragPos = inPoint;
  CaptureMouse();
}

void cAppWin::OnMouseMove(const KSPoint& inPoint) {
  if (!mInDragMode) {
    return;
  }
  // The pointer keeps its place on the window, so the start point stays.
  long dx = inPoint.h - mDragPos.h;
  long dy = inPoint.v - mDragPos.v;
  if (dx != 0 || dy != 0) {
    MoveBy(dx, dy, true);
  }
}

void cAppWin::OnLMouseUp(const KSPoint& inPoint) {
  if (mInDragMode) {
    OnMouseMove(inPoint);
    mInDragMode = false;
    ReleaseMouse();
  }
}

void cAppWin::OnLMouseDoubleClick(const KSPoint&) {
  OnUIFunction(this, kUIMinimize, nullptr);
}
