#include "skin/cCustomSlider.h"

cCustomSlider::cCustomSlider(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardSlider(inInfo, inID, inParent) {}
