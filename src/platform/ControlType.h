// The kinds of control a window can be made as, and the style bits that shape
// them. The skin names them in its files; cBaseWindow::CreateControl makes
// the native ones.
#pragma once

#include "foundation/KSTypes.h"

enum eControlType : uint8 {
  kControlTypeNull = 0,
  kControlTypeToolPage = 1,
  kControlTypeToolTip = 2,
  kControlTypeButton = 3,
  kControlTypeCheckBox = 4,
  kControlTypeComboBox = 5,
  kControlTypeListBox = 6,
  kControlTypeSlider = 7,
  kControlTypeLabel = 8,
  kControlTypeEdit = 9,
  kControlTypeLink = 10,
  kControlTypeScrollBar = 11,
  kControlTypeListView = 12,
  kControlTypeGraphic = 13
};

// Style bits of a control (ControlInfo::Styles).
enum {
  kStyleCustom = 1,  // the skinned variant of the control
  kStyleSort = 2,
  kStyleVertical = 4,
  kStyleMultiLine = 8,
  kStyleReadOnly = 16,
  kStyleBorder = 32,
  kStyleCenterContents = 64,  // kept, but no control reads it
  kStyleMultiSelect = 128
};
