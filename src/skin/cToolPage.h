// cToolPage: a control that holds other controls. The toolbar's whole surface
// is one outermost page; every part of it that folds in and out is a nested
// page. A page is either retracted or extended (kModeRetracted,
// kModeExtended): it lays out, shapes, shows and hides its controls for its
// mode, sizes itself (with "AutoSize" to hold them), and then asks its parent
// to lay itself out again, so that one mode change ripples up to the
// application window.
//
// Modes mean different things for pages and for other controls. A control's
// Modes[m] and visibility follow the mode m of the page that holds it. A
// page's own place and size follow its own mode; it shows when its
// ToolPageInfo allows it in its own mode and its Modes[m].Visible allows it
// in the mode of the page around it.
//
// Pages also build their controls from the skin's descriptions (the control
// factory), pass UI functions upward, give every control a tick every 100 ms
// (OnUpdate), hand mouse events on their background to their parent, and
// register their controls' tips with the tool tip window.
#pragma once

#include <memory>

#include "skin/cControl.h"

class cStandardToolTip;

class cToolPage : public cControl {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeToolPage;

  // Keeps copies of both descriptions; the page starts in its DefMode.
  cToolPage(const ToolPageInfo* inPageInfo, const ControlInfo* inInfo, long inID,
            cWindow* inParent);
  // The controls go first (nested pages take theirs), then the window.
  ~cToolPage() override;

  // Builds a control of inInfo's type, the skinned variant with "Custom", as
  // the page's next control (its identifier is its index). Only constructs:
  // the window comes with the page's. kKSErr_FormatNotRecognized for a type
  // a skin cannot name, kKSErr_AllocFailed when there is no memory.
  long CreateControl(const ControlInfo* inInfo);
  // Appends a built control (a nested page), taking it from ioControl.
  // kKSErr_AllocFailed, and the control stays in ioControl, when the page
  // has no room.
  long AddControl(std::unique_ptr<cControl>* ioControl);

  // The page's window, hidden and of size 0, then its controls' windows;
  // the first control that fails stops the creation and lends the page its
  // error text.
  long Create() override;
  // After the whole tree has its windows: every page takes its DefMode,
  // from the inside out, and so places, sizes, shapes and shows everything.
  void Initialize() override;
  // Lays the page out for inMode and tells the parent (OnChildResized).
  void SetToolPageMode(unsigned long inMode);
  unsigned long ToolPageMode() const { return mToolPageMode; }
  // Remembers inTip here and in every nested page and registers the tip of
  // every control below (pages too) that has one; null forgets the tool tip.
  void ToolTip(cStandardToolTip* inTip);
  // The first control with inFunction, depth first in skin order; this
  // page itself is not tested.
  cControl* FindControl(eUIFunction inFunction) override;
  // The control an application binds to inFunction: the first control with
  // the function when it is a T (of T::kControlType), else null, even when a
  // later one is.
  template <typename T>
  T* FindControlOf(eUIFunction inFunction) {
    cControl* control = FindControl(inFunction);
    return control != nullptr && control->Info()->Type == T::kControlType
               ? dynamic_cast<T*>(control)
               : nullptr;
  }

  // What only a page has: visibility per own mode and the starting mode.
  ToolPageInfo* PageInfo() { return &mToolPageInfo; }
  unsigned long NumControls() const { return mNumControls; }
  // The control whose identifier is inID (0 to NumControls() - 1), or null.
  cControl* Control(unsigned long inID) const;

  // The functions the pages act on themselves: a control's ExtendRetract
  // switches its page, and the page that carries AdvPrefsPanel keeps its
  // mode in the host's preferences.
  static bool ActsOn(eUIFunction inFunction) {
    return inFunction == kUIExtendRetract || inFunction == kUIAdvPrefsPanel;
  }
  // kUIExtendRetract switches this page; every other function goes up.
  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) override;
  // A nested page changed: lay out again.
  void OnChildResized() override;
  // Retracts the first extended "AutoRetract" page beside inChild.
  bool OnTryAdjustSize(cWindow* inChild) override;
  // The place of the page's mode, grown with "AutoSize" to hold the
  // controls it shows.
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
  bool IsModeVisible(unsigned long inMode) override;
  // The page's own shape ("WindowShape") united with those of its shaped
  // controls.
  void SetModeShape(unsigned long inMode) override;
  void ShapeControls() override;

  long OnCreate() override;
  // The outermost page's timer: drives OnUpdate of the whole tree after
  // pointer news (PointerNews) and while a window of the thread holds the
  // mouse. Otherwise no control's look can change on its own (presses,
  // checks and enabling repaint the control).
  void OnTimer(long inID) override;
  // OnUpdate of every control, nested pages included, while the page is
  // visible.
  void OnUpdate() override;
  void OnPaint(HDC inDC) override;
  using cControl::OnPaint;
  // Clicks and moves on the background go to the parent, in its coordinates.
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  void OnLMouseDoubleClick(const KSPoint& inPoint) override;
  void OnMouseMove(const KSPoint& inPoint) override;

 private:
  // The control as a page, or null.
  static cToolPage* AsPage(cControl* inControl);
  // kModeRetracted, or kModeExtended for any other mode.
  static unsigned long ModeIndex(unsigned long inMode) {
    return inMode == kModeRetracted ? kModeRetracted : kModeExtended;
  }
  // inPoint of this page's client area in the parent's.
  KSPoint InParent(const KSPoint& inPoint);
  // Where the client area starts in the window (inside the border).
  KSPoint ClientOrigin();
  // The layout steps of SetToolPageMode.
  void PlaceControls(unsigned long inMode);
  void PlaceAlignedControls(unsigned long inMode);
  void ShowControls(unsigned long inMode);
  // After a switch: make the toolbar fit the screen, fold in the nested
  // "AutoRetract" pages, and remember the advanced panel's mode.
  void AutoRetract();
  void AutoRetractAll();
  void RememberPanelMode();

  std::unique_ptr<std::unique_ptr<cControl>[]> mControls;
  unsigned long mNumControls;
  unsigned long mCapacity;
  unsigned long mToolPageMode;
  // Set while Initialize lays the nested pages out: each would otherwise lay
  // this page out again, and a tree of pages would be laid out and shaped
  // once for every page in it. The page lays itself out once they are done.
  bool mInitializing;
  ToolPageInfo mToolPageInfo;
  cStandardToolTip* mToolTip;  // not owned
  // The thread's pointer news at the last sweep of OnTimer, and whether the
  // next tick sweeps anyway (the page was hidden, or the mouse was held).
  // Nested pages have no timer of their own.
  unsigned long mSweptNews;
  bool mSweepAgain;
};
