#include "skin/SkinControlFactory.h"

#include <new>

#include "foundation/KSError.h"
#include "skin/cCustomButton.h"
#include "skin/cCustomCheckBox.h"
#include "skin/cCustomComboBox.h"
#include "skin/cCustomLabel.h"
#include "skin/cCustomSlider.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardGraphic.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"

namespace {

using Maker = std::unique_ptr<cControl> (*)(const ControlInfo& inInfo, long inID,
                                            cWindow* inParent);

template <typename T>
std::unique_ptr<cControl> Make(const ControlInfo& inInfo, long inID, cWindow* inParent) {
  return std::unique_ptr<cControl>(new (std::nothrow) T(&inInfo, inID, inParent));
}

struct ControlClass {
  eControlType mType;
  Maker mNative;
  Maker mCustom;  // with the "Custom" style
};

// A control type's row: its native class, and its skinned one (a subclass)
// when it has one. The type comes from the classes.
template <typename Native, typename Custom = Native>
constexpr ControlClass Row() {
  static_assert(Native::kControlType == Custom::kControlType, "one type per row");
  return {Native::kControlType, Make<Native>, Make<Custom>};
}

// Edits, list views and graphics have no skinned variant.
const ControlClass kControlClasses[] = {
    Row<cStandardButton, cCustomButton>(),
    Row<cStandardCheckBox, cCustomCheckBox>(),
    Row<cStandardComboBox, cCustomComboBox>(),
    Row<cStandardSlider, cCustomSlider>(),
    Row<cStandardLabel, cCustomLabel>(),
    Row<cStandardEdit>(),
    Row<cStandardListView>(),
    Row<cStandardGraphic>(),
};

}  // namespace

long MakeSkinControl(const ControlInfo& inInfo, long inID, cWindow* inParent,
                     std::unique_ptr<cControl>* outControl) {
  for (const ControlClass& entry : kControlClasses) {
    if (entry.mType != inInfo.Type) {
      continue;
    }
    Maker make = (inInfo.Styles & kStyleCustom) != 0 ? entry.mCustom : entry.mNative;
    *outControl = make(inInfo, inID, inParent);
    return *outControl != nullptr ? 0 : kKSErr_AllocFailed;
  }
  return kKSErr_FormatNotRecognized;
}
