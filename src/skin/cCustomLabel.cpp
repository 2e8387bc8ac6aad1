#include "skin/cCustomLabel.h"

cCustomLabel::cCustomLabel(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardLabel(inInfo, inID, inParent) {}
