// cWindow: what every window of the toolbar that the application talks to has
// beyond the platform window: an identifier, an optional picture (a sprite
// whose current frame is drawn at an offset), geometry in handier forms, and
// the operations through which the application reaches any control without
// knowing its kind: its value (BoolProp, IntProp, StringProp), UI functions
// reported upward (OnUIFunction), engine replies and notifications
// (OnKSMPReply, OnKSMPNotify) and size negotiation (OnTryAdjustSize).
//
// A cWindow is a reply target: a query sent for it names it by its
// ReplyTargetID, and the engine link hands it the reply on the window thread.
#pragma once

#include <memory>

#include "foundation/UtilStr.h"
#include "platform/KSRGBA.h"
#include "platform/cBaseWindow.h"
#include "platform/cSprite.h"
#include "skin/ToolbarReplyTarget.h"
#include "skin/UIFunctions.h"

class cWindow : public cBaseWindow, public ToolbarReplyTarget {
 public:
  // inID becomes the control identifier of the window when it is created.
  cWindow(long inID, cWindow* inParent);
  // The sprite goes first, then the window.
  ~cWindow() override;

  // Value properties: what the application reads and sets. The base class
  // has no value: false, 0, an empty text, and setters that do nothing.
  virtual bool BoolProp();
  virtual long IntProp();
  virtual UtilStr StringProp();
  virtual void BoolProp(bool inValue);
  virtual void IntProp(long inValue);
  virtual void StringProp(const char* inValue);
  // inChild needs room: true when this window made some (the base cannot).
  virtual bool OnTryAdjustSize(cWindow* inChild);
  // A window below this one reports its UI function (inValue: an extra
  // value some functions carry). The base class ignores it.
  virtual void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue);
  // A reply to a query sent for this window: its text (one of the shapes of
  // ReplyText.h) and how to read it. The base class ignores it.
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) override;
  // An engine notification. The base class ignores it.
  void OnKSMPNotify(long inCode, const char* inName, const char* inValue) override;

  long ID() const { return mID; }
  cWindow* ParentWindow() const { return static_cast<cWindow*>(mParent); }

  // --- Picture ---
  // Loads the sprite of inPath ('?' for frame numbers, see cSprite) to be
  // drawn at (inX, inY), keys inTransparentColor out of it (black: nothing),
  // and with inAutoSize sizes the window to it. On failure there is no
  // sprite and the load's error is returned.
  long LoadGraphics(const char* inPath, long inX, long inY, const KSRGBA& inTransparentColor,
                    bool inAutoSize);
  // Shows frame inFrame of the sprite; a frame the sprite lacks changes
  // nothing and repaints nothing.
  void SetFrame(unsigned long inFrame);
  cSprite* Sprite() const { return mSprite.get(); }
  // The frame the sprite shows, or null (no sprite, or an empty frame).
  cImage* CurrentFrame() const;

  // --- Geometry, in the parent's client coordinates ---
  // Each keeps what it is not asked to change.
  long MoveBy(long inDX, long inDY, bool inRedraw);
  using cBaseWindow::SetPosition;
  long SetPosition(long inX, long inY, bool inRedraw);
  long Resize(long inWidth, long inHeight, bool inRedraw);
  using cBaseWindow::GetPosition;
  long GetPosition(KSRect* outRect);
  // 0 without a window.
  long X();
  long Y();
  long Width();
  long Height();
  long ClientWidth();
  long ClientHeight();

  // Draws the sprite's frame at its offset.
  void OnPaint(HDC inDC) override;
  using cBaseWindow::OnPaint;

 protected:
  // Reports inFunction to the parent window, with this window as the source.
  void NotifyParent(eUIFunction inFunction, void* inValue = nullptr);

  long mID;
  std::unique_ptr<cSprite> mSprite;
  long mSpriteX;  // where the sprite's frame is drawn in the client area
  long mSpriteY;
};
