// cCustomLabel: a label in a skin that asks for "Custom". Labels are drawn
// by the program already; this class lets a skin ask for the skinned look
// of every kind of control.
#pragma once

#include "skin/cStandardLabel.h"

class cCustomLabel : public cStandardLabel {
 public:
  cCustomLabel(const ControlInfo* inInfo, long inID, cWindow* inParent);
};
