// Pictures for the skinned control tests, written by the tests: solid frames
// of one colour each, numbered as a skin numbers them.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/BmpWriter.h"
#include "skin/ControlInfo.h"
#include "support/KSTestFolder.h"

// inName01.bmp, inName02.bmp, ... of inWidth x inHeight, one per colour
// (0xRRGGBB); returns the frame pattern "<folder>\inName??.bmp".
inline std::string WriteFrames(const KSTestFolder& inFolder, const std::string& inName, int inWidth,
                               int inHeight, std::initializer_list<uint32> inColors) {
  int number = 1;
  for (uint32 color : inColors) {
    std::vector<uint32> row(size_t(inWidth), color);
    BmpFile file{inWidth, inHeight, 24, 0, {}, {}};
    for (int y = 0; y < inHeight; y++) {
      std::vector<uint8> stored = PackRows(24, {row});
      file.data.insert(file.data.end(), stored.begin(), stored.end());
    }
    std::vector<uint8> bytes = file.Bytes();
    char frame[32];
    snprintf(frame, sizeof(frame), "%s%02d.bmp", inName.c_str(), number++);
    inFolder.MakeFile(frame, std::string(bytes.begin(), bytes.end()));
  }
  return std::string(inFolder.Spec().GetPathCStr()) + "\\" + inName + "??.bmp";
}

inline void SetPath(char (&outField)[kSkinPathSize], const std::string& inPath) {
  snprintf(outField, sizeof(outField), "%s", inPath.c_str());
}
