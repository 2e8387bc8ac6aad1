// cAppWin: the toolbar window. It owns the skin loader, the tree of tool
// pages and controls built from the skin, and the engine link. It binds the
// skin's controls to its control groups, shows the stored preferences in them,
// keeps them in step with the engine (replies, notifications, the instance
// list) and carries out every UI function the controls report.
//
// Everything here runs on the window thread. Network threads reach the window
// only by posting to it (the toolbar user message, the reply wake-up) or by
// adding events to mKSEventQueue under mKSEventQueueMutex; timer 3 drains both
// the engine link and that queue.
//
// The work is spread over several source files by subject:
//   cAppWin.cpp          creation, skin loading, shut-down, size and shape,
//                        dragging, tool tips, timers
//   cAppWinBind.cpp      binding the control groups, fixed lists, preferences
//   cAppWinTray.cpp      where the toolbar lives (tray, taskbar), going
//                        away and coming back, the tray icon's menu
//   cAppWinSync.cpp      engine state: refresh burst, replies, notifications,
//                        the instance list, the event pump
//   cAppWinLink.cpp      staying in step: keep-alive, retries, the engine
//                        controls' enabled state, the status the tray tip and
//                        the accessible name show
//   cAppWinLists.cpp     the item lists, the theme and the commands' states
//   cAppWinDispatch.cpp  what each UI function does
#pragma once

#include <atomic>
#include <memory>

#include "foundation/KSBroadcaster.h"
#include "foundation/KSEventQueue.h"
#include "foundation/KSMutex.h"
#include "skin/cToolPage.h"
#include "skin/cWindow.h"
#include "toolbar/AppControls.h"
#include "toolbar/CXTheme.h"
#include "toolbar/RetrySchedule.h"
#include "toolbar/UIDispatchScripts.h"
#include "toolbar/cToolbarSession.h"

class cSkin;
class cStandardToolTip;

enum ToolbarEnabledState { kNotInitted = 0, kDisconnected = 1, kConnected = 2 };

class cAppWin : public cWindow, public KSListener, public KSBroadcaster {
 public:
  cAppWin();
  ~cAppWin() override;

  // The window's own layer, and the tool tip's above it.
  void AlwaysOnTop(bool inAlwaysOnTop) override;

  long OnCreate() override;
  void OnDestroy() override;
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  void OnLMouseDoubleClick(const KSPoint& inPoint) override;
  void OnMouseMove(const KSPoint& inPoint) override;
  void OnTimer(long inID) override;
  void OnSize(long inWidth, long inHeight) override;
  void OnChildResized() override;
  void OnTrayIconClick() override;
  void OnTrayIconRightClick() override;
  void OnCommand(long inID) override;
  // CSkn: reload the skin named by the preference; SCge: the instance list
  // changed; Show: come back (a second start, the taskbar button); TRay:
  // the shell came back without the tray icon.
  void OnToolbarUserMsg(long inValue) override;
  void OnUIFunction(cWindow* inSender, eUIFunction inFunction, void* inParam) override;
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inParam) override;
  void OnKSMPNotify(long inCode, const char* inBody, const char* inData) override;
  // The window's accessible name tells of the engine link (LinkStatus).
  bool OnGetObject(WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) override;
  // From the engine link (any thread), the theme manager and the list views.
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override;

  // Loads the skin folder inSkinName of the engine's "Skins" (falling back to
  // "Factory Blue"), then binds and fills the controls.
  long LoadSkin(const char* inSkinName);
  void BindControls();
  void FillStaticGUILists();
  void ApplyToolbarPrefsToGUI();
  void EnableToolTips(bool inEnable);
  // The index into the frame-size choices that shows inFrameSizeLimit.
  static long getIndexFromFrameLimit(long inFrameSizeLimit);

  // Engine state.
  void RefreshState(ToolbarEnabledState inVisualState);
  void onPeerListChange();
  // Timer 3: drains the engine link and the window's event queue. True
  // when the link still had events waiting at the end of the slice.
  bool PumpEngineEvents();
  bool UpdateCommandStatus(long inCommandID);
  void ApplyListItemsToEngine(cStandardListView* inList, bool inUpdateListItemCheckMark);
  void SetItemEnabled(cStandardListView* inList, long inIndex);
  void SetAllItemsEnabled(cStandardListView* inList, bool inChecked);
  // A section's "Select all" box (inFunction) checks or unchecks every row
  // of its list; the box shows whether all of inList's rows are checked.
  void SelectAllRows(eUIFunction inFunction, bool inChecked);
  void ShowAllChecked(cStandardListView* inList);
  void ApplyExternalSpriteDirToEngine(bool inDoRescan);

  // --- Where the toolbar lives (cAppWinTray.cpp) ---
  // Stores inWhere (0 the tray, 1 the taskbar, 2 both) and puts the toolbar
  // there; any other value (no choice made) changes nothing.
  void ShowToolbarIn(long inWhere);
  // The taskbar button and the tray icon as the stored preference says.
  void ApplyShowToolbarIn();
  // Minimised to the taskbar button when there is one, else hidden in the
  // tray.
  void MinimizeToolbar();
  // Shown, restored and in front, its owner (the taskbar button) restored
  // too: every way back comes here.
  void ShowToolbar();
  // Hidden or minimised, itself or through its owner.
  bool IsAway();

  // For tests and the start-up code: the parts a test reads back.
  cToolPage* MainPage() const { return mMainPage.get(); }
  const AppControls& Controls() const { return mControls; }
  cToolbarSession& Session() { return mSession; }
  ToolbarEnabledState EnabledState() const { return mEnabledState; }

 private:
  // LoadSkin's work, with the window's drawing held back.
  long BuildSkin(const char* inSkinName);
  // Sends inCmd with the ordinary header flags and no reply target.
  void SendCommand(const char* inCmd);
  // Sends the query inCmd for inTarget (null: its reply is dropped).
  void SendQuery(const char* inCmd, cWindow* inTarget, eRequestType inType, long inParam,
                 unsigned char inFlags = kCommandFlags);

  std::unique_ptr<cSkin> mActiveSkin;    // from OnCreate to OnDestroy
  std::unique_ptr<cToolPage> mMainPage;  // null while no skin is loaded
  bool mInDragMode;
  bool mBacklogTimerSet;  // the engine link's drain continues shortly
  // A message box from the event queue is up: its own message loop runs the
  // timer, and the next message waits for this one to be answered.
  bool mShowingMessage;
  KSPoint mDragPos;
  std::unique_ptr<cStandardToolTip> mToolTip;  // only while tool tips are on
  long mDisplayDeviceIndex;
  KSEventQueue mKSEventQueue;
  KSMutex mKSEventQueueMutex;  // held round each single call of mKSEventQueue
  // The events in mKSEventQueue, changed under mKSEventQueueMutex: the timer
  // reads it without the lock and takes the lock only when there is work.
  std::atomic<long> mKSEventCount;
  cToolbarSession mSession;
  ToolbarEnabledState mEnabledState;
  AppControls mControls;
  // Staying in step (cAppWinLink.cpp).
  RetrySchedule mRetry;
  long mRefreshedSession;   // the link's session count at the last refresh
  bool mLinkShownUp;        // the engine's controls are enabled
  bool mTrying;             // a try to reach the engine is under way
  UtilStr mReachedService;  // the instance the engine last answered for
  UtilStr mLinkStatus;
  // A failure has been told since the engine last answered: one message
  // box for a stretch of failures. Set by the link's broadcasts.
  std::atomic<bool> mLinkFailureTold;

  // --- Engine state and UI functions (cAppWinSync.cpp, cAppWinLists.cpp,
  // cAppWinDispatch.cpp, cAppWinHostPlayer.cpp) ---
 public:
  // Codes of the toolbar user message.
  static constexpr long kUserMsgReloadSkin = KSFourCC("CSkn");
  static constexpr long kUserMsgServicesChanged = KSFourCC("SCge");
  static constexpr long kUserMsgShowToolbar = KSFourCC("Show");
  // The instance list changed: rebuilds the Peer combo box, and closes the
  // window when no instance is left and the user asked for that.
  void OnServicesChanged();
  // Lets the engine link post WM_TIMER for timer inTimerID to this window
  // as soon as it queues a reply or notification, so that the drain runs at
  // once rather than at the next tick (0: stop).
  void WakeOnEngineEvents(UINT_PTR inTimerID);
  // From any thread: queues a text for the window thread to show in a
  // message box (inID says whose).
  void QueueKSEvent(long inID, std::unique_ptr<UtilStr> inText);
  // Save the current theme under a name the user gives, and delete the
  // current theme after asking.
  void DoSaveThemeAs();
  void DoDeleteTheme();
  // The Peer combo box's choice becomes the engine instance.
  void ChoosePeer();
  // The Peer refresh button: discovery looks again, and an engine that is
  // out of reach is tried at once.
  void RefreshPeers();
  // The Theme combo box's choice becomes the current theme, for the engine
  // and for the next skin load.
  void ChooseTheme();
  // What the tray tip and the window's accessible name say: "Corvexa Toolbar
  // - connected to NAME", "... - looking for an engine" or "... - connection
  // lost, retrying".
  const UtilStr& LinkStatus() const { return mLinkStatus; }
  const char* TrayTip() const {
    return mLinkStatus.IsEmpty() ? "Corvexa Toolbar" : mLinkStatus.getCStr();
  }
  // Sets the tray icon's tip (when there is an icon).
  void SetTrayTip(const char* inTip);
  // Shortens the engine link's idle limit and refusal window, for tests that
  // would otherwise sit them out.
  void SetLinkLimits(long inIdleMS, long inRefusalSecs) {
    mSession.SetLimits(inIdleMS, inRefusalSecs);
  }

 private:
  // Timer 3, before the link is drained: a session opened anew is refreshed
  // first, an open one is kept alive, a lost one is tried again on the retry
  // schedule; the controls and the status follow the link.
  void KeepInStep();
  // A session opened anew is refreshed before anything else is shown.
  void RefreshNewSession();
  void TryEngineAgain();
  // A new instance, or the user's own retry: the waits start from the
  // shortest again, and a failure is told again.
  void StartOver();
  // Every control whose function sends the engine a script.
  void EnableEngineControls(bool inEnable);
  void ShowLinkStatus();
  // Stores the current theme's name, which a skin load applies.
  void RememberTheme();

  // RefreshState's steps.
  void ClearEngineLists();
  void ShowDisconnected();
  void AwaitPreferenceReplies();
  void SendRefreshBurst();
  void SendListQueries();
  void SendCurrentValueQueries();
  void SendPreferenceQueries();
  void PushStoredValues();
  // Reply handlers.
  void OnDisplayModesReply(const char* inReply);
  void OnAudioSourcesReply(const char* inReply);
  void OnChoiceReply(long inTag, bool inIsNumber, long inNumber);
  void OnNewVersionReply(bool inIsNumber, long inNumber);
  // The current theme's choices to the engine, for the five item lists.
  void ApplyThemeToLists(bool inUpdateListItemCheckMark);
  void UpdateAllCommandStatus();
  void RefillThemeList();
  void ReloadImageVideoList();
  void BringHostPlayerForward();

  // The dispatch (cAppWinDispatch.cpp): the window's own functions
  // (IsWindowFunction), else the rows of the dispatch table.
  void DoWindowFunction(cWindow* inSender, eUIFunction inFunction, void* inParam);
  void DoPanelFunction(cWindow* inSender, eUIFunction inFunction, void* inParam);
  void DoTableFunction(const UIScriptEntry& inEntry, cWindow* inSender);
  // Sends inEntry's script for inValue, when it has one.
  void SendUIScript(const UIScriptEntry& inEntry, const UIValue& inValue);
  void SendBoxValue(const UIScriptEntry& inEntry);
  // One script per selected item (the first kMaxSelectedItems), or for the
  // current item.
  void SendForSelectedItems(const UIScriptEntry& inEntry);
  void SendForCurrentItem(const UIScriptEntry& inEntry);
  void SendFrameSizeLimits(eUIFunction inFunction);
  void ShowOnBoundToggle(eUIFunction inFunction, cWindow* inSender);
  void RescanImageVideo();
  void BrowseImageVideoFolder();
  void ClearImageVideoFolder();
  void ChooseShowToolbarIn();
  void ChooseSkin();
  // The kept slider positions and check box states of the dispatch table's
  // rows, on their bound controls.
  void ShowKeptValues();

  // The control bound to inFunction by the rule of AppControls, or null.
  template <typename T>
  T* BoundControl(eUIFunction inFunction) const {
    return mMainPage != nullptr ? mMainPage->FindControlOf<T>(inFunction) : nullptr;
  }
};
