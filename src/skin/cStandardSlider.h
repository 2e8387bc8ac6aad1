// cStandardSlider: a slider the program draws itself, in a transparent
// child window of its own class (what lies behind shows through). The
// control's picture, when it has one, is the thumb; without one a
// horizontal slider draws a groove and a plain thumb ("Vertical" sliders
// draw nothing without a picture).
//
// Pressing the thumb drags it; pressing the track beside it jumps the
// thumb's middle there at once. Every change of the position reports the
// slider's function once; the application reads the value with IntProp.
// With the focus, the arrows step the position by one (up and right
// towards the maximum; on a vertical slider up and down as the thumb
// goes), Page Up and Page Down by a tenth of the range, Home and End go to
// the ends; each change is reported as a drag reports it. A notch of the
// mouse wheel moves it as the Up and Down arrows do.
#pragma once

#include "skin/cControl.h"

class cStandardSlider : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeSlider;

  // The range is the skin's "MinPos" to "MaxPos"; the position starts in
  // its middle.
  cStandardSlider(const ControlInfo* inInfo, long inID, cWindow* inParent);

  long IntProp() override { return Index(); }
  using cControl::IntProp;

  virtual long Index();
  virtual long MinPos();
  virtual long MaxPos();
  // A position outside the range is ignored.
  virtual void Index(long inPosition);
  // The position is held inside the new range.
  virtual void Range(long inMin, long inMax);

  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;
  bool OnMouseWheel(long inNotches) override;
  // The position.
  bool AccessibleValue(UtilStr* outValue) override;

  long Create() override;
  long OnCreate() override;
  // The mode's width (height for a vertical slider) and the thumb's
  // thickness, at the mode's x and y.
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
  // Also takes the focus.
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnMouseMove(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  void OnSize(long inWidth, long inHeight) override;
  void OnPaint(HDC inDC) override;
  using cControl::OnPaint;

 protected:
  bool IsVertical() const { return HasStyle(kStyleVertical); }
  // The thumb in the slider's client coordinates.
  KSRect ThumbRect() const;
  // The thumb on the spot of the position, and the old and new spots
  // repainted.
  void PlaceThumb();

  long mMinPos;
  long mMaxPos;
  long mCurPos;
  long mThumbWidth;
  long mThumbHeight;
  bool mTrackThumb;       // the thumb is being dragged
  long mTrackOffset;      // from the thumb's leading edge to where it was grabbed
  long mPrevCallbackPos;  // the position the parent heard of last

 private:
  // Along the slider: x for a horizontal one, y for a vertical one.
  long Along(const KSPoint& inPoint) const { return IsVertical() ? inPoint.v : inPoint.h; }
  long ThumbLength() const { return IsVertical() ? mThumbHeight : mThumbWidth; }
  // How far the thumb's leading edge can travel.
  long Travel();
  // Repaints the parent under the thumb (the slider is transparent).
  void InvalidateThumb();
  // The thumb's leading edge to inPoint less the grab offset, and the
  // position to match.
  void Track(const KSPoint& inPoint);
  void ReportChange();
  // The position inTarget, held in the range, and reported.
  void MoveTo(long inTarget);
  void PaintGroove(HDC inDC);
};
