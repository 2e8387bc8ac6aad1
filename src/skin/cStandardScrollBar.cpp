#include "skin/cStandardScrollBar.h"

long cStandardScrollBar::Index() {
  return IsWindow() ? long(SendMessageW(mWind, SBM_GETPOS, 0, 0)) : 0;
}

long cStandardScrollBar::MinPos() {
  INT min = 0, max = 0;
  if (IsWindow()) {
    SendMessageW(mWind, SBM_GETRANGE, WPARAM(&min), LPARAM(&max));
  }
  return min;
}

long cStandardScrollBar::MaxPos() {
  INT min = 0, max = 0;
  if (IsWindow()) {
    SendMessageW(mWind, SBM_GETRANGE, WPARAM(&min), LPARAM(&max));
  }
  return max;
}

void cStandardScrollBar::Index(long inPosition) {
  if (IsWindow()) {
    SendMessageW(mWind, SBM_SETPOS, WPARAM(inPosition), TRUE);
  }
}

void cStandardScrollBar::Range(long inMin, long inMax) {
  if (IsWindow()) {
    SendMessageW(mWind, SBM_SETRANGE, WPARAM(inMin), LPARAM(inMax));
  }
}

void cStandardScrollBar::PageSize(long inSize) {
  if (IsWindow()) {
    SCROLLINFO info = {sizeof(info), SIF_PAGE, 0, 0, UINT(inSize), 0, 0};
    SetScrollInfo(mWind, SB_CTL, &info, TRUE);
  }
}

long cStandardScrollBar::PageSize() {
  SCROLLINFO info = {sizeof(info), SIF_PAGE, 0, 0, 0, 0, 0};
  if (!IsWindow() || !GetScrollInfo(mWind, SB_CTL, &info)) {
    return 0;
  }
  return long(info.nPage);
}

void cStandardScrollBar::OnScrolled(long inPosition) {
  if (mParent != nullptr) {
    mParent->OnScrolled(inPosition);
  }
}
