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

// Edits, list views and graphics have no skinned variant.
const ControlClass kControlClasses[] = {
    {kControlTypeButton, Make<cStandardButton>, Make<cCustomButton>},
    {kControlTypeCheckBox, Make<cStandardCheckBox>, Make<cCustomCheckBox>},
    {kControlTypeComboBox, Make<cStandardComboBox>, Make<cCustomComboBox>},
    {kControlTypeSlider, Make<cStandardSlider>, Make<cCustomSlider>},
    {kControlTypeLabel, Make<cStandardLabel>, Make<cCustomLabel>},
    {kControlTypeEdit, Make<cStandardEdit>, Make<cStandardEdit>},
    {kControlTypeListView, Make<cStandardListView>, Make<cStandardListView>},
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
