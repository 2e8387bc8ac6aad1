#include "skin/cStandardSlider.h"

#include <algorithm>
#include <cstdint>

namespace {

// The thumb of a slider without a picture, lying across a horizontal one.
const long kThumbLength = 6;
const long kThumbThickness = 9;

// Never a position: the first position is always reported.
const long kNoPositionReported = long(int32_t(0xFEEDFACE));

long Middle(long inMin, long inMax) {
  return long((int64_t(inMin) + inMax) / 2);
}

}  // namespace

cStandardSlider::cStandardSlider(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cControl(inInfo, inID, inParent),
      mMinPos(mInfo.u.Slider.MinPos),
      mMaxPos(mInfo.u.Slider.MaxPos),
      mCurPos(Middle(mMinPos, mMaxPos)),
      mThumbWidth(IsVertical() ? kThumbThickness : kThumbLength),
      mThumbHeight(IsVertical() ? kThumbLength : kThumbThickness),
      mTrackThumb(false),
      mTrackOffset(0),
      mPrevCallbackPos(kNoPositionReported) {}

long cStandardSlider::Index() {
  return mCurPos;
}

long cStandardSlider::MinPos() {
  return mMinPos;
}

long cStandardSlider::MaxPos() {
  return mMaxPos;
}

void cStandardSlider::Index(long inPosition) {
  if (inPosition >= mMinPos && inPosition <= mMaxPos) {
    mCurPos = inPosition;
    PlaceThumb();
  }
}

void cStandardSlider::Range(long inMin, long inMax) {
  mMinPos = inMin;
  mMaxPos = inMax;
  if (inMin <= inMax) {
    mCurPos = std::clamp(mCurPos, inMin, inMax);
  }
  PlaceThumb();
}

long cStandardSlider::Create() {
  return CreateOwnChild(kWindowTransparent);
}

long cStandardSlider::OnCreate() {
  Range(mInfo.u.Slider.MinPos, mInfo.u.Slider.MaxPos);
  Index(Middle(mMinPos, mMaxPos));
  long err = cControl::OnCreate();
  if (cImage* thumb = CurrentFrame()) {
    mThumbWidth = thumb->Width();
    mThumbHeight = thumb->Height();
  }
  return err;
}

void cStandardSlider::GetModePosition(unsigned long inMode, KSRect* outRect) {
  const ModeInfo& mode = Mode(inMode);
  long width = IsVertical() ? mThumbWidth : mode.Width;
  long height = IsVertical() ? mode.Height : mThumbHeight;
  *outRect = KSRect{mode.x, mode.y, int32(mode.x + width), int32(mode.y + height)};
}

KSRect cStandardSlider::ThumbRect() const {
  return KSRect{int32(mSpriteX), int32(mSpriteY), int32(mSpriteX + mThumbWidth),
                int32(mSpriteY + mThumbHeight)};
}

long cStandardSlider::Travel() {
  return (IsVertical() ? ClientHeight() : ClientWidth()) - ThumbLength();
}

void cStandardSlider::InvalidateThumb() {
  cWindow* parent = ParentWindow();
  if (parent == nullptr) {
    return;
  }
  KSRect thumb = ThumbRect();
  long x = X();
  long y = Y();
  parent->Invalidate(KSRect{int32(thumb.left + x), int32(thumb.top + y), int32(thumb.right + x),
                            int32(thumb.bottom + y)});
}

void cStandardSlider::PlaceThumb() {
  int64_t range = int64_t(mMaxPos) - mMinPos;
  if (range <= 0) {
    return;
  }
  InvalidateThumb();
  long lead = long((int64_t(mCurPos) - mMinPos) * Travel() / range);
  mSpriteX = IsVertical() ? 0 : lead;
  mSpriteY = IsVertical() ? lead : 0;
  InvalidateThumb();
  Update();
}

void cStandardSlider::Track(const KSPoint& inPoint) {
  int64_t range = int64_t(mMaxPos) - mMinPos;
  if (range <= 0) {
    return;
  }
  long travel = std::max(Travel(), 0L);
  long lead = std::clamp(Along(inPoint) - mTrackOffset, 0L, travel);
  Index(travel > 0 ? long(range * lead / travel + mMinPos) : mMinPos);
}

void cStandardSlider::ReportChange() {
  if (mMaxPos <= mMinPos || Index() == mPrevCallbackPos) {
    return;
  }
  mPrevCallbackPos = Index();
  ReportFunction();
}

bool cStandardSlider::OnDialogKey(unsigned long inVirtualKey, bool) {
  long page = std::max(long((int64_t(mMaxPos) - mMinPos) / 10), 1L);
  long target = mCurPos;
  switch (inVirtualKey) {
    case VK_LEFT:
      target = mCurPos - 1;
      break;
    case VK_RIGHT:
      target = mCurPos + 1;
      break;
    case VK_UP:
      target = IsVertical() ? mCurPos - 1 : mCurPos + 1;
      break;
    case VK_DOWN:
      target = IsVertical() ? mCurPos + 1 : mCurPos - 1;
      break;
    case VK_PRIOR:
      target = IsVertical() ? mCurPos - page : mCurPos + page;
      break;
    case VK_NEXT:
      target = IsVertical() ? mCurPos + page : mCurPos - page;
      break;
    case VK_HOME:
      target = mMinPos;
      break;
    case VK_END:
      target = mMaxPos;
      break;
    default:
      return false;
  }
  MoveTo(target);
  return true;
}

// Away from the user is up: towards the maximum, or up a vertical slider.
bool cStandardSlider::OnMouseWheel(long inNotches) {
  MoveTo(IsVertical() ? mCurPos - inNotches : mCurPos + inNotches);
  return true;
}

void cStandardSlider::MoveTo(long inTarget) {
  if (mMinPos < mMaxPos) {
    Index(std::clamp(inTarget, mMinPos, mMaxPos));
    ReportChange();
  }
}

bool cStandardSlider::AccessibleValue(UtilStr* outValue) {
  outValue->Clear();
  outValue->AppendInt(Index());
  return true;
}

void cStandardSlider::OnLMouseDown(const KSPoint& inPoint) {
  if (IsWindow()) {
    SetFocus(mWind);
  }
  KSRect thumb = ThumbRect();
  if (inPoint.h >= thumb.left && inPoint.h < thumb.right && inPoint.v >= thumb.top &&
      inPoint.v < thumb.bottom) {
    mTrackThumb = true;
    mTrackOffset = Along(inPoint) - (IsVertical() ? thumb.top : thumb.left);
    CaptureMouse();
    return;
  }
  // A press beside the thumb puts the thumb's middle there at once.
  mTrackOffset = ThumbLength() / 2;
  Track(inPoint);
  ReportChange();
}

void cStandardSlider::OnMouseMove(const KSPoint& inPoint) {
  if (mTrackThumb) {
    Track(inPoint);
    ReportChange();
  }
}

void cStandardSlider::OnLMouseUp(const KSPoint& inPoint) {
  if (!mTrackThumb) {
    return;
  }
  mTrackThumb = false;
  ReleaseMouse();
  Track(inPoint);
  ReportChange();
}

void cStandardSlider::OnSize(long, long) {
  PlaceThumb();
}

void cStandardSlider::OnPaint(HDC inDC) {
  if (CurrentFrame() != nullptr) {
    cControl::OnPaint(inDC);  // with the focus mark
    return;
  }
  if (!IsVertical()) {
    PaintGroove(inDC);
  }
  PaintFocusMark(inDC);
}

// A groove of a dark and a light line across the middle, and a raised
// thumb on it; the system's brushes are not ours to delete.
void cStandardSlider::PaintGroove(HDC inDC) {
  long width = ClientWidth();
  long middle = ClientHeight() / 2;
  RECT dark = {0, middle, width, middle + 1};
  RECT light = {0, middle + 1, width, middle + 2};
  FillRect(inDC, &dark, GetSysColorBrush(COLOR_3DDKSHADOW));
  FillRect(inDC, &light, GetSysColorBrush(COLOR_3DHILIGHT));
  KSRect thumb = ThumbRect();
  RECT face = {thumb.left, thumb.top, thumb.right, thumb.bottom};
  FillRect(inDC, &face, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(inDC, &face, BDR_RAISEDINNER, BF_RECT);
}
