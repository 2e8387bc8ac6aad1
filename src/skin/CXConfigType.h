// The kinds of engine configuration. A list view of the skin shows the
// configurations of one kind; themes keep their choices by kind.
#pragma once

enum CXConfigType {
  kCX_InvalidConfigType = -1,
  kCX_WaveShape = 0,
  kCX_ColorMap = 1,
  kCX_FlowField = 2,
  kCX_FlowFieldUnion = 3,
  kCX_Particle = 4,
  kCX_Sprite = 5,
  kCX_Script = 6,
  kCX_ConfigTypeCount = 7
};
