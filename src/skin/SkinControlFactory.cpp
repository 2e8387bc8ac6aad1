#include "skin/SkinControlFactory.h"

#include <new>

#include "foundation/KSError.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardGraphic.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardSlider.h"

namespace {

using Maker = cControl* (*)(const ControlInfo& inInfo, long inID, cWindow* inParent);

template <typename T>
cControl* Make(const ControlInfo& inInfo, long inID, cWindow* inParent) {
  return new (std::nothrow) T(&inInfo, inID, inParent);
}

struct ControlClass {
  eControlType mType;
  Maker mNative;
  Maker mCustom;  // with the "Custom" style
};

// TODO(i15-custom): the skinned classes (cCustomButton, cCustomCheckBox,
// cCustomComboBox, cCustomSlider, cCustomLabel) and cStandardListView are
// being written on another branch. Until they are in, "Custom" controls are
// built as their native classes and list views are refused.
const ControlClass kControlClasses[] = {
    {kControlTypeButton, Make<cStandardButton>, Make<cStandardButton>},
    {kControlTypeCheckBox, Make<cStandardCheckBox>, Make<cStandardCheckBox>},
    {kControlTypeComboBox, Make<cStandardComboBox>, Make<cStandardComboBox>},
    {kControlTypeSlider, Make<cStandardSlider>, Make<cStandardSlider>},
    {kControlTypeLabel, Make<cStandardLabel>, Make<cStandardLabel>},
    {kControlTypeEdit, Make<cStandardEdit>, Make<cStandardEdit>},
    {kControlTypeGraphic, Make<cStandardGraphic>, Make<cStandardGraphic>},
};

}  // namespace

long MakeSkinControl(const ControlInfo& inInfo, long inID, cWindow* inParent,
                     std::unique_ptr<cControl>* outControl) {
  for (const ControlClass& entry : kControlClasses) {
    if (entry.mType != inInfo.Type) {
      continue;
    }
    Maker make = (inInfo.Styles & kStyleCustom) != 0 ? entry.mCustom : entry.mNative;
    cControl* control = make(inInfo, inID, inParent);
    if (control == nullptr) {
      return kKSErr_AllocFailed;
    }
    outControl->reset(control);
    return 0;
  }
  return kKSErr_FormatNotRecognized;
}
