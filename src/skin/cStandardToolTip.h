// cStandardToolTip: the platform's tool tip window, which shows a control's
// tip while the pointer rests on it: after half a second, for thirty
// seconds, and at once when the pointer moves on to another tool.
#pragma once

#include "skin/cControl.h"

class cStandardToolTip : public cControl {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeToolTip;

  using cControl::cControl;

  // Shows inText over inTool's window from now on. kKSErr_BadState without
  // either window, kKSErr_Unmapped when the platform refuses.
  long AddTool(cWindow* inTool, const char* inText);

  long OnCreate() override;
};
