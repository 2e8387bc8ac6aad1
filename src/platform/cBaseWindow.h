// cBaseWindow wraps one platform window and turns the messages the toolbar
// cares about into calls of its virtual On... operations. Every window of the
// program is one: the application window, each tool page and each control.
//
// Three kinds are created: popups and children of the program's own window
// class, whose messages arrive through WindowProc (windowproc.h), and native
// controls of the platform's classes, whose notifications reach WindowProc
// through their parent and are passed on to the control's object. The window's
// user-data slot always holds its object.
//
// Everything here runs on the window thread. Other threads only post
// messages to a window (for example kToolbarUserMsg).
#pragma once

#include <windows.h>

#include "platform/ControlType.h"
#include "platform/KSGdiObject.h"
#include "platform/KSRect.h"
#include "platform/TextFormat.h"

class cBaseImage;

// Creation flags of CreatePopup, CreateChild and CreateControl.
enum {
  kWindowVisible = 1,
  kWindowTransparent = 2,  // the transparent extended style
  kWindowTopmost = 4,      // popups only
  kWindowBorder = 8        // a thin border
};

// The font that InitFont made last, in any window; measures owner-drawn items
// of a control that has no object yet. Not owned.
extern HFONT gHackControlFont;

class cBaseWindow {
 public:
  explicit cBaseWindow(cBaseWindow* inParent);
  cBaseWindow(const cBaseWindow&) = delete;
  cBaseWindow& operator=(const cBaseWindow&) = delete;

  // The window's last error text; the base class keeps none.
  virtual const char* ErrorMsg();
  virtual void ErrorMsg(const char* inText);
  // Destroys the window if it still exists, then deletes the font. A window
  // destroyed here sees only the base class's OnDestroy: a subclass that
  // needs its own destroys the window in its destructor.
  virtual ~cBaseWindow();
  // Into or out of the topmost band, without moving, sizing or activating.
  virtual void AlwaysOnTop(bool inOn);

  // Message handlers; the base class does nothing unless said otherwise.
  // Runs inside creation; a non-zero result makes the creation fail.
  virtual long OnCreate();
  // The base class destroys the window.
  virtual void OnClose();
  virtual void OnDestroy();
  virtual void OnShow(bool inShown);
  virtual void OnPaint(HDC inDC);
  // An item of an owner-drawn list box or list view.
  virtual void OnPaint(HDC inDC, long inItem, KSRect* inItemRect, bool inSelected);
  // A native control was clicked or double-clicked.
  virtual void OnClick();
  virtual void OnSelectionChanged();
  virtual void OnScrolled(long inPosition);
  // Points are in client coordinates, negative left of or above the window.
  virtual void OnLMouseDown(const KSPoint& inPoint);
  virtual void OnLMouseUp(const KSPoint& inPoint);
  virtual void OnLMouseDoubleClick(const KSPoint& inPoint);
  virtual void OnMouseMove(const KSPoint& inPoint);
  // inFlags is always 0.
  virtual void OnKeyDown(unsigned long inFlags, unsigned long inVirtualKey);
  virtual void OnKeyUp(unsigned long inFlags, unsigned long inVirtualKey);
  // The keyboard focus came (true) or went (false).
  virtual void OnFocus(bool inFocus);
  // The window was enabled (true) or disabled (false).
  virtual void OnEnable(bool inEnabled);
  // WM_GETOBJECT: true, with *outResult, to answer it; false leaves it to
  // the default processing (the base class).
  virtual bool OnGetObject(WPARAM inWParam, LPARAM inLParam, LRESULT* outResult);
  virtual void OnTimer(long inID);
  // Not driven by messages: pages and controls call it.
  virtual void OnUpdate();
  // Whether the window's look follows the pointer (a hover frame): the
  // pointer leaving such a window is pointer news (see PointerNews).
  virtual bool FollowsPointer() { return false; }
  virtual void OnMove(long inX, long inY);
  virtual void OnSize(long inWidth, long inHeight);
  // Not driven by messages: pages and controls call it.
  virtual void OnChildResized();
  virtual void OnMeasureItem(unsigned long* ioItemHeight);
  // A notification other than a tool tip hiding.
  virtual void OnWinNotify(NMHDR* inNotifyHeader);
  // A left click on the tray icon; the base class restores the window when
  // it is minimised, shows it and brings it to the front.
  virtual void OnTrayIconClick();
  virtual void OnTrayIconRightClick();
  // A turn of the mouse wheel by inNotches whole notches (positive: away
  // from the user) meant for this window (KSMouseWheel.h says which window
  // that is). True when the window used it; false hands it to the parent.
  // The base class uses none.
  virtual bool OnMouseWheel(long inNotches);
  // A menu command.
  virtual void OnCommand(long inID);
  // kToolbarUserMsg, with its wParam.
  virtual void OnToolbarUserMsg(long inValue);

  // --- Identity ---
  // Adopts a window and stores this object in its user-data slot.
  void Assign(HWND inWind);
  // Forgets the window (when it is destroyed) and empties its slot.
  void Detach();
  // For WindowProc: adopts a window of the program's class that is being
  // created and runs OnCreate, whose result it returns.
  long AttachCreated(HWND inWind);
  HWND Wind() const { return mWind; }
  bool IsWindow() const { return mWind != nullptr && ::IsWindow(mWind); }
  cBaseWindow* Parent() const { return mParent; }
  // The object in a window's user-data slot, or null.
  static cBaseWindow* FromWindow(HWND inWind);

  // --- Creation: error codes; a failure is also shown in an error box ---
  // A top-level popup of the program's window class, owned by inOwner's
  // window (none when null). kWindow... flags.
  long CreatePopup(long inX, long inY, long inWidth, long inHeight, unsigned long inFlags,
                   cBaseWindow* inOwner);
  // A child of the program's window class with control identifier inID.
  long CreateChild(long inID, long inX, long inY, long inWidth, long inHeight,
                   unsigned long inFlags, cBaseWindow* inParent);
  // A native control of the type's platform class; inStyles are the skin's
  // kStyle... bits. OnCreate runs right after the window is made; when it
  // fails the window is destroyed again. kKSErr_FormatNotRecognized for a
  // type that has no native control.
  long CreateControl(eControlType inType, unsigned long inStyles, long inID, long inX, long inY,
                     long inWidth, long inHeight, unsigned long inFlags, cBaseWindow* inParent);

  // --- Geometry: kKSErr_BadState (or false, or nothing) without a window ---
  // Moves and sizes without changing the stacking order.
  long SetPosition(long inX, long inY, long inWidth, long inHeight, bool inRedraw);
  // The window rectangle in the parent's client coordinates (the screen's
  // when there is no parent). Width and height may be null.
  long GetPosition(long* outX, long* outY, long* outWidth, long* outHeight);
  long GetClientRect(KSRect* outRect);
  // Sets the placement shown without activation.
  long SetPlacement(const KSRect& inNormal, const KSPoint& inMinPos, const KSPoint& inMaxPos);
  long GetPlacement(KSRect* outNormal, KSPoint* outMinPos, KSPoint* outMaxPos);
  void ClientToScreen(KSPoint* ioPoint);
  void ClientToScreen(KSRect* ioRect);
  void ScreenToClient(KSPoint* ioPoint);
  void ScreenToClient(KSRect* ioRect);
  // The pointer in client coordinates.
  void GetCursorPos(KSPoint* outPoint);
  bool ContainsCursor();

  // --- Shape ---
  // The opaque pixels of the picture (all of it when nothing is left out);
  // kKSErr_BadState without one.
  long SetShape(cBaseImage* inImage);
  // A rectangle of the window's own size.
  long SetDefaultShape();
  void ResetShape();
  // This window's shape united with inOther's moved by (inDX, inDY). A window
  // without a shape adds nothing.
  long CombineShape(cBaseWindow* inOther, long inDX, long inDY);
  // The shape of a window that holds one page, the toolbar's and the skin
  // viewer's alike: inPage's shape moved by (inDX, inDY), or no shape at all
  // (the whole window) when the page has none or an empty one. A window with
  // no pixels to show could be neither seen nor clicked.
  long FollowShapeOf(cBaseWindow* inPage, long inDX, long inDY);

  // --- Showing and stacking ---
  // Whether the window was visible before. inNormal shows it in its normal
  // size and place.
  bool Show(bool inShow, bool inNormal);
  void BringToTop();
  // The foreground window, on top.
  void BringToFront();
  // Whether the window was disabled before.
  bool Enable(bool inEnable);
  bool IsEnabled();
  bool IsMinimized();
  // The window's own visible bit; its ancestors are not asked.
  bool IsVisible();
  void Restore();
  void Maximize();
  // Posts the close message: it is handled later, from the message loop.
  void Close();
  // The owner of a popup (its platform parent), which carries the task-bar
  // button: EnableTaskBarButton shows or hides it.
  void ShowOwner(bool inShow);
  void RestoreOwner();
  void MinimizeOwner();
  bool IsOwnerMinimized() const;
  void EnableTaskBarButton(bool inOn);

  // --- Painting ---
  // Marks the window (or inRect) for repainting, without erasing.
  void Invalidate();
  void Invalidate(const KSRect& inRect);
  // Paints what is pending now: the ancestors first, outermost first.
  void Update();

  // --- Text and font ---
  // UTF-8; at most inSize - 1 bytes, never part of a character.
  long GetText(char* outText, unsigned long inSize);
  long SetText(const char* inText);
  // A font of inPointSize points at 96 pixels per inch, bold, italic or
  // underlined by the kTextBold, kTextItalic and kTextUnderline bits of
  // inFormat, given to the window. kKSErr_Internal when none could be made.
  long InitFont(const char* inFaceName, long inPointSize, unsigned long inFormat);
  HFONT Font() const { return mFont.Get(); }

  // --- Mouse and timers ---
  // Taking or releasing the mouse counts as pointer news.
  void CaptureMouse();
  void ReleaseMouse();
  // Pointer news of the calling thread: a count that moves with every
  // pointer message its windows get (moves, buttons, wheel, the pointer
  // leaving, the capture lost) and every capture taken or released. A timer
  // that finds it where it was knows that no hover frame or press can have
  // changed, without asking the system where the pointer is.
  static unsigned long PointerNews();
  // For the window procedures: counts inMsg, a message for inWind (whose
  // object is inObject, or null), when it is pointer news. A move onto a
  // window that FollowsPointer also asks for WM_MOUSELEAVE, so that the
  // pointer leaving it for another program's window or the desktop is news
  // too; only those are watched, as the system may poll for the leaving.
  static void NotePointerMessage(HWND inWind, cBaseWindow* inObject, UINT inMsg);
  // Sends inTarget a left-button-down at inPoint (this window's client
  // coordinates).
  void ForwardMouseClick(const KSPoint& inPoint, cBaseWindow* inTarget);
  // Ticks arrive as OnTimer(inID).
  long SetTimer(long inID, unsigned long inMilliseconds);
  long KillTimer(long inID);

 protected:
  HWND mWind;
  cBaseWindow* mParent;
  KSGdiObj<HFONT> mFont;

 private:
  static HINSTANCE InstanceOf(HWND inWind);
  // The window styles of kWindow... flags.
  static DWORD StyleOf(unsigned long inFlags);
  static DWORD ExStyleOf(unsigned long inFlags);

  long CreateOwnClass(DWORD inExStyle, DWORD inStyle, long inX, long inY, long inWidth,
                      long inHeight, HWND inParent, HMENU inIDOrMenu);
  HWND Owner() const;

  long mCreateResult;  // what OnCreate answered inside the last creation
};
