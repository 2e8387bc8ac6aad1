// cControl: a window built from its skin description (ControlInfo). It makes
// its native window from the description, loads its picture and font, finds
// its place and shape in each display mode, and turns a click into its UI
// function, which it reports to its parent. Tool pages and every control are
// cControls; the application window is a plain cWindow.
//
// Life of a control: its page constructs it from the description, Create
// makes the window hidden and of size 0 (OnCreate loads the picture and the
// font), the page places, shapes and shows it per display mode
// (GetModePosition, SetModeShape, IsModeVisible), and the application finds
// it by its function (FindControl). It goes with its page.
//
// Keyboard: the program's message loop (KSDialogKeys) moves the focus between
// the controls that take it and hands each key to the focused control
// (OnDialogKey), which works itself through the same path a click takes. A
// control the program draws shows a dotted focus mark in its text colour.
// Screen readers get a standard accessible object carrying the control's
// name, role and value (KSAccessible).
#pragma once

#include "skin/ControlInfo.h"
#include "skin/cWindow.h"

class cControl : public cWindow {
 public:
  // Keeps a copy of inInfo.
  cControl(const ControlInfo* inInfo, long inID, cWindow* inParent);

  // The last error text (at most 1,023 bytes are kept).
  const char* ErrorMsg() override;
  void ErrorMsg(const char* inText) override;

  // The window, hidden and of size 0 in the parent: a native control of the
  // description's type and styles.
  virtual long Create();
  // After the whole page tree has its windows. The base does nothing.
  virtual void Initialize();
  // Where the control goes in display mode inMode (kModeRetracted or
  // kModeExtended), in the parent's client coordinates: the picture's size
  // with "AutoSize", else the mode's; against the parent's right or bottom
  // edge with "AlignRight" or "AlignBottom", else at the mode's x and y.
  virtual void GetModePosition(unsigned long inMode, KSRect* outRect);
  virtual bool IsModeVisible(unsigned long inMode);
  // No shape, or with "WindowShape" (and without "Tile") the opaque pixels of
  // the picture's frame when the control shows in inMode.
  virtual void SetModeShape(unsigned long inMode);
  // Shapes the controls a page holds; the base has none.
  virtual void ShapeControls();
  // The first control below this one carrying inFunction; the base has none.
  virtual cControl* FindControl(eUIFunction inFunction);

  // The description, as kept; owners may adjust it, and modes are read from
  // it at every mode change.
  ControlInfo* Info() { return &mInfo; }
  eUIFunction Function() const { return eUIFunction(mInfo.Function); }
  // --- Keyboard and screen readers ---
  // Whether Tab stops at the control while it shows and is enabled: every
  // kind a user works, and labels that act when pressed.
  virtual bool TakesFocus();
  // A key pressed while the control has the focus (inRepeated: held down);
  // true when the control used it. The base uses none.
  virtual bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated);
  // Makes the control a part of a composite control (its parent), which
  // takes the focus the part is given; with inShowsMark the part draws the
  // composite's focus mark.
  void FocusToParent(bool inShowsMark) {
    mFocusToParent = true;
    mShowsParentFocus = inShowsMark;
  }
  // The accessible role of the control's kind (ROLE_SYSTEM_...), 0 for none.
  virtual long AccessibleRole();
  // The tool tip text, else the window text, else the function's name.
  virtual UtilStr AccessibleName();
  // The value a screen reader reads out; false when the control has none.
  virtual bool AccessibleValue(UtilStr* outValue);
  // State bits (STATE_SYSTEM_...) beyond focus, visibility and enabling.
  virtual long AccessibleState();

  // The skin's name of a tool page; other controls have none.
  const char* ControlName() const { return mControlName; }
  // kKSErr_Param (and no change) for a name of more than 255 bytes.
  long SetControlName(const char* inName);

  // The picture (mInfo.Graphic) and the font (mInfo.Text); a failure leaves
  // its reason in the error text. Missing pictures are no failure: they are
  // noted with the thread's PictureProblems.
  long OnCreate() override;
  // The picture's frame at its offset, or with "Tile" repeated over the
  // whole window from its corner.
  void OnPaint(HDC inDC) override;
  using cWindow::OnPaint;
  // Reports the control's function.
  void OnClick() override;
  // Repaints the focus mark; a part hands the focus on.
  void OnFocus(bool inFocus) override;
  // Repaints the control and its parts in their new look.
  void OnEnable(bool inEnabled) override;
  // The accessible object of the client area, for controls with a role.
  bool OnGetObject(WPARAM inWParam, LPARAM inLParam, LRESULT* outResult) override;

 protected:
  // Reports the control's function to the parent, unless it has none.
  void ReportFunction();
  // The control's placement in inMode (any mode but kModeRetracted is the
  // extended one).
  const ModeInfo& Mode(unsigned long inMode) const;
  // A rectangle of the given size placed in the parent for inMode: against
  // its right or bottom edge with "AlignRight" or "AlignBottom", else at the
  // mode's x and y.
  void PlaceInParent(unsigned long inMode, long inWidth, long inHeight, KSRect* outRect);
  // The window as a child of the program's own class, hidden and of size 0
  // (kWindow... flags): for controls drawn by the program and composites.
  long CreateOwnChild(unsigned long inFlags);
  // Lets the left-button and move messages of a native control's window
  // reach OnLMouseDown, OnLMouseUp and OnMouseMove before the control itself
  // handles them (native controls keep their own window procedures).
  void ReceiveNativeMouse();
  // Puts the program's procedure in front of a native control's own, so
  // that focus changes and screen readers' questions reach the object.
  void ReceiveNativeMessages();
  // Whether the focus mark shows: the focus is on the control (or, for a
  // part, on its composite).
  bool HasFocusMark();
  // Whether the control shows as one that cannot be used: it is disabled,
  // or it is a part of a composite control that is.
  bool LooksDisabled();
  // Whether the picture has a frame of its own for the disabled state; the
  // others are drawn dimmed towards the background colour while disabled.
  virtual bool HasDisabledFrame() { return false; }
  // Draws inFrame at (inX, inY), dimmed when the control looks disabled and
  // has no disabled frame.
  void DrawFrame(HDC inDC, cImage* inFrame, long inX, long inY);
  // The focus mark on the client area's edge, when it shows.
  void PaintFocusMark(HDC inDC);
  // Space or Enter, not held down, clicks the platform button.
  bool ClickOnKey(unsigned long inVirtualKey, bool inRepeated);
  bool HasFlag(uint32 inFlag) const { return (mInfo.Flags & inFlag) != 0; }
  bool HasStyle(uint32 inStyle) const { return (mInfo.Styles & inStyle) != 0; }

  char mControlName[kSkinNameSize];
  ControlInfo mInfo;
  char mErrorMsg[1024];
  bool mFocusToParent;
  bool mShowsParentFocus;

 private:
  // In front of a native control's own procedure (ReceiveNativeMessages).
  static LRESULT CALLBACK NativeControlProc(HWND inWind, UINT inMsg, WPARAM inWParam,
                                            LPARAM inLParam);
  void PaintTiled(HDC inDC, cImage* inFrame);

  // A native control's own procedure, and whether the object sees its mouse
  // first. Kept here rather than asked of the window: a window property is a
  // round trip to the window server on some platforms, on every message.
  WNDPROC mNativeProc;
  bool mNativeMouse;
};
