#include "skin-view/SkinSamples.h"

#include <string>

#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"

namespace {

const char* const kSampleNames[] = {"Aurora",  "Borealis", "Cascade", "Drift",  "Ember",
                                    "Fathom",  "Glacier",  "Halo",    "Ion",    "Jade",
                                    "Kestrel", "Lumen",    "Mistral", "Nebula", "Orbit"};

// A list reply: names ended by an empty one, and the end of the reply.
std::string NamesReply(bool inWithColumns) {
  std::string reply;
  int row = 1;
  for (const char* name : kSampleNames) {
    reply += name;
    if (inWithColumns) {
      reply += "\tSample " + std::to_string(row++) + "\tsample.txt";
    }
    reply.push_back('\0');
  }
  reply.append(2, '\0');
  return reply;
}

class SampleFiller {
 public:
  void Fill(cToolPage* inPage) {
    for (unsigned long i = 0; i < inPage->NumControls(); i++) {
      FillControl(inPage->Control(i));
    }
  }

 private:
  void FillControl(cControl* inControl) {
    switch (inControl->Info()->Type) {
      case kControlTypeToolPage:
        Fill(static_cast<cToolPage*>(inControl));
        break;
      case kControlTypeComboBox:
        inControl->OnKSMPReply(mNames.c_str(), kRequestGetContents, nullptr);
        inControl->OnKSMPReply("0\0\0", kRequestGetValueIndex, nullptr);
        break;
      case kControlTypeListView:
        inControl->OnKSMPReply(mRows.c_str(), kRequestGetContents, nullptr);
        break;
      case kControlTypeCheckBox:
        inControl->BoolProp(mCheck);
        mCheck = !mCheck;
        break;
      case kControlTypeSlider:
        if (auto* slider = dynamic_cast<cStandardSlider*>(inControl)) {
          slider->Index(slider->MinPos() + (slider->MaxPos() - slider->MinPos()) / 2);
        }
        break;
      default:
        break;
    }
  }

  std::string mNames = NamesReply(false);
  std::string mRows = NamesReply(true);
  bool mCheck = true;
};

}  // namespace

void FillWithSamples(cToolPage* inPage) {
  SampleFiller().Fill(inPage);
}
