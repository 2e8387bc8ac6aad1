#include "skin/cCustomScrollBar.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "platform/BaseUtils.h"

namespace {

// Ticks held beside the thumb before paging repeats.
const long kFirstRepeatTicks = 5;

// An arrow: the scroll bar's description as a button that repeats, showing
// inPicture at its own size, reporting kUIClick.
ControlInfo ArrowInfo(const ControlInfo& inBar, const char* inPicture) {
  ControlInfo info = inBar;
  info.Type = kControlTypeButton;
  info.Function = kUIClick;
  info.Flags = kFlagAutoSize | kFlagAutoRepeat;
  snprintf(info.Graphic, sizeof(info.Graphic), "%s", inPicture);
  info.u.Button.Text[0] = 0;
  return info;
}

bool Contains(const KSRect& inRect, const KSPoint& inPoint) {
  return inPoint.h >= inRect.left && inPoint.h < inRect.right && inPoint.v >= inRect.top &&
         inPoint.v < inRect.bottom;
}

}  // namespace

cCustomScrollBar::cCustomScrollBar(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardScrollBar(inInfo, inID, inParent),
      mMinPos(0),
      mMaxPos(0),
      mCurPos(0),
      mPageSize(10),
      mTrack(kTrackNone),
      mTrackOffset(0),
      mRepeatDelay(kFirstRepeatTicks) {
  assert(mInfo.Type == kControlTypeScrollBar);
  const ScrollBarInfo& pictures = mInfo.u.ScrollBar;
  ControlInfo up = ArrowInfo(mInfo, pictures.ScrollUp);
  ControlInfo down = ArrowInfo(mInfo, pictures.ScrollDown);
  mButtonUp = std::make_unique<cCustomButton>(&up, 0, this);
  mButtonDown = std::make_unique<cCustomButton>(&down, 1, this);
  snprintf(mInfo.Graphic, sizeof(mInfo.Graphic), "%s", pictures.ScrollThumb);
}

long cCustomScrollBar::Create() {
  long err = CreateOwnChild(0);
  for (cCustomButton* arrow : {mButtonUp.get(), mButtonDown.get()}) {
    if (err == 0) {
      err = arrow->Create();
      arrow->Show(true, false);
    }
  }
  return err;
}

void cCustomScrollBar::Index(long inPosition) {
  if (inPosition < mMinPos || inPosition > mMaxPos) {
    return;
  }
  mCurPos = inPosition;
  PositionThumb();
  cStandardScrollBar::OnScrolled(mCurPos);
}

void cCustomScrollBar::Range(long inMin, long inMax) {
  mMinPos = inMin;
  mMaxPos = inMax;
  if (mCurPos < inMin || mCurPos > inMax) {
    mCurPos = -1;
  }
  PositionThumb();
  cStandardScrollBar::OnScrolled(mCurPos);
}

// --- Layout ---

void cCustomScrollBar::GetArrowSize(cCustomButton* inArrow, long inThickness, long* outWidth,
                                    long* outHeight) {
  cImage* picture = inArrow->CurrentFrame();
  *outWidth = picture != nullptr ? picture->Width() : inThickness;
  *outHeight = picture != nullptr ? picture->Height() : inThickness;
}

void cCustomScrollBar::GetModePosition(unsigned long inMode, KSRect* outRect) {
  const ModeInfo& mode = Mode(inMode);
  long thickness = IsVertical() ? GetSystemMetrics(SM_CXVSCROLL) : GetSystemMetrics(SM_CYHSCROLL);
  if (mButtonUp->CurrentFrame() != nullptr) {
    KSRect arrow;
    mButtonUp->GetModePosition(inMode, &arrow);
    thickness = IsVertical() ? arrow.right - arrow.left : arrow.bottom - arrow.top;
  }
  long width = IsVertical() ? thickness : mode.Width;
  long height = IsVertical() ? mode.Height : thickness;
  *outRect = KSRect{mode.x, mode.y, int32(mode.x + width), int32(mode.y + height)};
}

void cCustomScrollBar::OnSize(long inWidth, long inHeight) {
  long thickness = IsVertical() ? inWidth : inHeight;
  long width = 0;
  long height = 0;
  GetArrowSize(mButtonUp.get(), thickness, &width, &height);
  mButtonUp->SetPosition(0, 0, width, height, true);
  GetArrowSize(mButtonDown.get(), thickness, &width, &height);
  mButtonDown->SetPosition(IsVertical() ? 0 : inWidth - width, IsVertical() ? inHeight - height : 0,
                           width, height, true);
  PositionThumb();
}

// --- The thumb ---

long cCustomScrollBar::ThumbLength() {
  cImage* thumb = CurrentFrame();
  return thumb == nullptr ? 0 : IsVertical() ? thumb->Height() : thumb->Width();
}

KSRect cCustomScrollBar::ThumbRect() {
  cImage* thumb = CurrentFrame();
  if (thumb == nullptr) {
    return KSRect{0, 0, 0, 0};
  }
  return KSRect{int32(mSpriteX), int32(mSpriteY), int32(mSpriteX + thumb->Width()),
                int32(mSpriteY + thumb->Height())};
}

void cCustomScrollBar::SetThumbLead(long inLead) {
  (IsVertical() ? mSpriteY : mSpriteX) = inLead;
  (IsVertical() ? mSpriteX : mSpriteY) = 0;
}

void cCustomScrollBar::GetTrack(long* outStart, long* outTravel) {
  if (IsVertical()) {
    *outStart = mButtonUp->Y() + mButtonUp->Height();
    *outTravel = mButtonDown->Y() - ThumbLength() - *outStart;
  } else {
    *outStart = mButtonUp->X() + mButtonUp->Width();
    *outTravel = mButtonDown->X() - ThumbLength() - *outStart;
  }
}

void cCustomScrollBar::InvalidateThumb() {
  if (CurrentFrame() != nullptr) {
    Invalidate(ThumbRect());
  }
}

// A position of -1 (none, after a new range) shows the thumb at the start.
void cCustomScrollBar::PositionThumb() {
  if (Range() <= 0) {
    return;
  }
  long start = 0;
  long travel = 0;
  GetTrack(&start, &travel);
  long position = std::clamp(mCurPos, mMinPos, mMaxPos);
  InvalidateThumb();
  SetThumbLead(long(start + int64_t(position) * travel / Range()));
  InvalidateThumb();
}

void cCustomScrollBar::TrackThumb(const KSPoint& inPoint) {
  long start = 0;
  long travel = 0;
  GetTrack(&start, &travel);
  if (CurrentFrame() == nullptr || Range() <= 0 || travel <= 0) {
    return;  // no thumb, nothing to scroll, or no room to move
  }
  InvalidateThumb();
  long lead = std::clamp(Along(inPoint) - mTrackOffset, start, start + travel);
  SetThumbLead(lead);
  Index(long(int64_t(lead - start) * Range() / travel));
}

// --- The mouse ---

void cCustomScrollBar::HandleMouseClick(const KSPoint& inPoint) {
  for (cCustomButton* arrow : {mButtonUp.get(), mButtonDown.get()}) {
    KSRect area;
    if (arrow->IsVisible() && arrow->GetPosition(&area) == 0 && Contains(area, inPoint)) {
      ForwardMouseClick(inPoint, arrow);
      return;
    }
  }
  CaptureMouse();
  if (CurrentFrame() != nullptr && Contains(ThumbRect(), inPoint)) {
    mTrack = kTrackThumb;
    mTrackOffset = Along(inPoint) - ThumbLead();
    return;
  }
  Page(Along(inPoint) < ThumbLead() ? kTrackPageUp : kTrackPageDown);
}

void cCustomScrollBar::Page(eScrollTrack inDirection) {
  mTrack = inDirection;
  if (inDirection == kTrackPageUp) {
    Index(std::max(mMinPos, Index() - mPageSize));
  } else {
    Index(std::min(mMaxPos, Index() + mPageSize));
  }
}

bool cCustomScrollBar::PointerBeyondThumb(eScrollTrack inDirection) {
  KSPoint pointer;
  GetCursorPos(&pointer);
  if (inDirection == kTrackPageUp) {
    return Along(pointer) < ThumbLead();
  }
  return Along(pointer) >= ThumbLead() + ThumbLength();
}

void cCustomScrollBar::OnLMouseDown(const KSPoint& inPoint) {
  HandleMouseClick(inPoint);
}

void cCustomScrollBar::OnLMouseDoubleClick(const KSPoint& inPoint) {
  HandleMouseClick(inPoint);
}

void cCustomScrollBar::OnMouseMove(const KSPoint& inPoint) {
  if (mTrack == kTrackThumb) {
    TrackThumb(inPoint);
  }
}

void cCustomScrollBar::OnLMouseUp(const KSPoint& inPoint) {
  if (mTrack == kTrackThumb) {
    TrackThumb(inPoint);
  }
  if (mTrack != kTrackNone) {
    mTrack = kTrackNone;
    ReleaseMouse();
  }
}

// Paging repeats while the pointer stays beyond the thumb: it stops when
// the thumb has reached the pointer.
void cCustomScrollBar::OnUpdate() {
  mButtonUp->OnUpdate();
  mButtonDown->OnUpdate();
  if (mTrack != kTrackPageUp && mTrack != kTrackPageDown) {
    mRepeatDelay = kFirstRepeatTicks;
    return;
  }
  if (--mRepeatDelay <= 0) {
    mRepeatDelay = 1;
    if (PointerBeyondThumb(mTrack)) {
      Page(mTrack);
    }
  }
}

void cCustomScrollBar::OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) {
  if (inFunction != kUIClick) {
    if (cWindow* parent = ParentWindow()) {
      parent->OnUIFunction(inSource, inFunction, inValue);
    }
  } else if (inSource == mButtonUp.get()) {
    Index(Index() - 1);
  } else if (inSource == mButtonDown.get()) {
    Index(Index() + 1);
  }
}

// --- Drawing ---

// The arrows draw themselves: they are left out, so that the track's colour
// never covers them.
void cCustomScrollBar::OnPaint(HDC inDC) {
  KSRect client;
  if (GetClientRect(&client) != 0) {
    return;
  }
  int saved = SaveDC(inDC);
  for (cCustomButton* arrow : {mButtonUp.get(), mButtonDown.get()}) {
    KSRect area;
    if (arrow->IsVisible() && arrow->GetPosition(&area) == 0) {
      ExcludeClipRect(inDC, area.left, area.top, area.right, area.bottom);
    }
  }
  BaseFillRectangle(inDC, client, mInfo.u.ScrollBar.ScrollColor);
  if (mInfo.Text.BorderSize > 0) {
    BaseDrawRectangle(inDC, client, mInfo.Text.BorderSize, mInfo.Text.BorderColor);
  }
  if (cImage* thumb = CurrentFrame()) {
    thumb->BitBlt(inDC, mSpriteX, mSpriteY);
  }
  RestoreDC(inDC, saved);
}
