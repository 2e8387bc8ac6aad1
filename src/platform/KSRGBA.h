// A colour of four bytes stored blue, green, red, alpha. Drawing ignores alpha.
#pragma once

#include "foundation/KSTypes.h"

struct KSRGBA {
  uint8 mB;
  uint8 mG;
  uint8 mR;
  uint8 mA;
};
