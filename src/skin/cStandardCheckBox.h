// cStandardCheckBox: a platform check box that checks itself when clicked
// and reports its function; the application then reads BoolProp. An engine
// reply of a number sets it (checked unless 0) and enables it.
#pragma once

#include "skin/cControl.h"

class cStandardCheckBox : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeCheckBox;

  using cControl::cControl;

  bool BoolProp() override { return Selected(); }
  void BoolProp(bool inValue) override { Select(inValue); }
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) override;

  virtual bool Selected();
  virtual void Select(bool inSelected);

  // Space and Enter click it.
  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;
  long AccessibleState() override;

  long OnCreate() override;
};
