// The control factory: the class that shows a skin description of each
// control type, native or, with the "Custom" style, skinned.
#pragma once

#include <memory>

#include "skin/cControl.h"

// Builds the control of inInfo's type with identifier inID inside inParent
// into outControl; its window is made later, by its Create. Tool pages are
// built by the skin loader instead, and list boxes, scroll bars, tool tips
// and links only by the controls and windows that hold them: for those, as
// for any other type a skin cannot name, the result is
// kKSErr_FormatNotRecognized. kKSErr_AllocFailed when there is no memory.
long MakeSkinControl(const ControlInfo& inInfo, long inID, cWindow* inParent,
                     std::unique_ptr<cControl>* outControl);
