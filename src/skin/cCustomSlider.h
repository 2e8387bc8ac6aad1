// cCustomSlider: a slider in a skin that asks for "Custom". Sliders are
// drawn by the program already (the picture is the thumb); this class lets a
// skin ask for the skinned look of every kind of control.
#pragma once

#include "skin/cStandardSlider.h"

class cCustomSlider : public cStandardSlider {
 public:
  cCustomSlider(const ControlInfo* inInfo, long inID, cWindow* inParent);
};
