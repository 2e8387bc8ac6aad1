// cCustomScrollBar: a scroll bar drawn from pictures: an arrow button at
// each end ("ScrollUp", "ScrollDown"), a track filled with "ScrollColor" and
// a thumb ("ScrollThumb", the scroll bar's own picture). Arrows step the
// position by one and repeat while held; pressing the track beside the
// thumb pages towards the pointer, repeating while held; the thumb can be
// dragged. Every change of the position is told to the parent's
// OnScrolled.
//
// Positions map onto the track from 0: ranges here always start at 0.
#pragma once

#include <memory>

#include "skin/cCustomButton.h"
#include "skin/cStandardScrollBar.h"

// What a held mouse button is doing to a scroll bar.
enum eScrollTrack : uint8 { kTrackNone = 0, kTrackThumb = 1, kTrackPageUp = 2, kTrackPageDown = 3 };

class cCustomScrollBar : public cStandardScrollBar {
 public:
  // inInfo describes a scroll bar ("Vertical" style for an upright one).
  cCustomScrollBar(const ControlInfo* inInfo, long inID, cWindow* inParent);

  long Index() override { return mCurPos; }
  long MinPos() override { return mMinPos; }
  long MaxPos() override { return mMaxPos; }
  // A position outside the range is ignored; any other is shown and told.
  void Index(long inPosition) override;
  // A position that the new range does not hold becomes -1; told either way.
  void Range(long inMin, long inMax) override;
  void PageSize(long inSize) override { mPageSize = inSize; }
  long PageSize() override { return mPageSize; }

  // A press at inPoint (client coordinates): on an arrow it presses the
  // arrow; on the thumb it starts dragging; beside the thumb it pages. The
  // scroll bar holds the mouse until the release.
  void HandleMouseClick(const KSPoint& inPoint);

  // A hidden window of size 0 with both arrows.
  long Create() override;
  // As wide (or, lying, as tall) as an arrow, the mode's length.
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
  void OnSize(long inWidth, long inHeight) override;
  void OnPaint(HDC inDC) override;
  using cStandardScrollBar::OnPaint;
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnLMouseDoubleClick(const KSPoint& inPoint) override;
  void OnMouseMove(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  void OnUpdate() override;
  // The arrows' clicks step the position; everything else goes up.
  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) override;

 protected:
  std::unique_ptr<cCustomButton> mButtonUp;    // identifier 0
  std::unique_ptr<cCustomButton> mButtonDown;  // identifier 1
  long mMinPos;
  long mMaxPos;
  long mCurPos;
  long mPageSize;
  eScrollTrack mTrack;
  long mTrackOffset;  // from the thumb's leading edge to where it was grabbed
  long mRepeatDelay;  // ticks until the next page while held

 private:
  bool IsVertical() const { return HasStyle(kStyleVertical); }
  // Along the bar: y for an upright bar, x for a lying one.
  long Along(const KSPoint& inPoint) const { return IsVertical() ? inPoint.v : inPoint.h; }
  long Range() const { return mMaxPos - mMinPos; }
  // Along the bar; 0 without a thumb picture (paging still works).
  long ThumbLength();
  // The thumb, in client coordinates (empty without a picture).
  KSRect ThumbRect();
  long ThumbLead() const { return IsVertical() ? mSpriteY : mSpriteX; }
  void SetThumbLead(long inLead);
  // Where the thumb's leading edge may go: from outStart, outTravel pixels.
  void GetTrack(long* outStart, long* outTravel);
  // An arrow's size: its picture's, else a square as thick as the bar.
  void GetArrowSize(cCustomButton* inArrow, long inThickness, long* outWidth, long* outHeight);
  // The thumb on the spot of the position.
  void PositionThumb();
  void TrackThumb(const KSPoint& inPoint);
  void Page(eScrollTrack inDirection);
  // Whether the pointer lies beyond the thumb in the paging direction.
  bool PointerBeyondThumb(eScrollTrack inDirection);
  void InvalidateThumb();
};
