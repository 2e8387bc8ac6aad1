// What the toolbar window does with each UI function a skin can name: the
// kind of control it binds to the function (the first such control in page
// order, which it keeps up to date), and whether the function does anything
// at all: acts when its control is used, or keeps the control current. The
// skin checker (corvexa-skin-view --check) tells skin authors from it of
// controls that would do nothing or never be bound.
#pragma once

#include "platform/ControlType.h"
#include "skin/UIFunctions.h"

struct UIFunctionUse {
  eControlType mBinds;  // kControlTypeNull when no control is bound
  bool mActs;
};

// For kUINull and the internal functions: binds nothing, does nothing.
UIFunctionUse GetUIFunctionUse(eUIFunction inFunction);
