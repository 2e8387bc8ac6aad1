// cStandardScrollBar: a platform scroll bar ("Vertical" style for a vertical
// one). Skins cannot name one: scroll bars live inside other controls, whose
// OnScrolled hears every move of it.
#pragma once

#include "skin/cControl.h"

class cStandardScrollBar : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeScrollBar;

  using cControl::cControl;

  // The position; 0 without a window.
  virtual long Index();
  virtual long MinPos();
  virtual long MaxPos();
  // Moves the thumb, redrawn.
  virtual void Index(long inPosition);
  virtual void Range(long inMin, long inMax);
  // How much one page is (the thumb's proportion), redrawn.
  virtual void PageSize(long inSize);
  virtual long PageSize();

  // Passes the position on to the parent.
  void OnScrolled(long inPosition) override;
};
