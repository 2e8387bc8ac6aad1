// Points and rectangles in pixels, shared by the window, skin and drawing code.
#pragma once

#include "foundation/KSTypes.h"

struct KSPoint {
  int32 h;  // horizontal
  int32 v;  // vertical
};

// Right and bottom are exclusive.
struct KSRect {
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
};
