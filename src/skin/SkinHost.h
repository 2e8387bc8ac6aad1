// SkinHost: the two things skin code asks of the program that shows the skin.
// The advanced panel's page hands on whether it is now extended, which the
// toolbar keeps in its preferences; a configuration list asks whether the
// current theme has a configuration on, to check its row. The toolbar's state
// is the host while it lives; without a host (the skin viewer, most tests)
// the panel's mode is not kept and every row starts checked.
#pragma once

#include "skin/CXConfigType.h"

class SkinHost {
 public:
  // The advanced panel's page was folded out (true) or in.
  virtual void AdvPanelModeChanged(bool inExtended) = 0;
  // Whether the current theme has the configuration of inType named by the
  // first inNameLength bytes of inName on.
  virtual bool ThemeHasConfigOn(CXConfigType inType, const char* inName,
                                long inNameLength) const = 0;

  // The host, while there is one.
  static SkinHost* sSkinHost;

 protected:
  ~SkinHost() = default;
};
