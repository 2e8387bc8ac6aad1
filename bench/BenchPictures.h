// Loading picture files as the skins load them, timed: the cost both the
// picture benchmark and the skin-switch benchmark measure against.
#pragma once

#include <string>
#include <vector>

#include "BenchStats.h"
#include "platform/cImage.h"

// Microseconds to load every file of inPaths as a picture; *ioOk turns false
// when one does not load.
inline double TimePictureLoads(const std::vector<std::string>& inPaths, bool* ioOk) {
  double start = BenchNowMicros();
  for (const std::string& path : inPaths) {
    cImage image;
    *ioOk = image.LoadFile(path.c_str()) == 0 && *ioOk;
  }
  return BenchNowMicros() - start;
}
