#include "skin/cStandardGraphic.h"

namespace {

// The sides of an etched edge each graphic type draws; an image has none.
UINT EdgeSidesOf(eGraphicType inType) {
  switch (inType) {
    case kGraphicFrame:
      return BF_RECT;
    case kGraphicVertLine:
      return BF_LEFT;
    case kGraphicHorzLine:
      return BF_TOP;
    default:
      return 0;
  }
}

}  // namespace

void cStandardGraphic::OnPaint(HDC inDC) {
  UINT sides = EdgeSidesOf(mInfo.u.Graphic.Type);
  if (sides == 0) {
    cControl::OnPaint(inDC);
    return;
  }
  RECT client;
  if (IsWindow() && ::GetClientRect(mWind, &client)) {
    DrawEdge(inDC, &client, EDGE_ETCHED, sides);
  }
}
