// What an engine has to offer: the names of its configurations, its display
// devices and their modes, its audio sources, fonts and the playing track.
#pragma once

#include <vector>

#include "engine-sim/EngineTypes.h"
#include "foundation/UtilStr.h"

typedef std::vector<UtilStr> EngineNames;

struct EngineDisplayDevice {
  UtilStr mName;
  EngineNames mModes;
};

struct EngineContent {
  EngineNames mItems[kNumConfigKinds];  // unions and scripts stay empty
  std::vector<EngineDisplayDevice> mDisplays;
  EngineNames mAudioSources;
  EngineNames mFonts;
  UtilStr mTrackInfo;

  // A realistic built-in set: 44 wave shapes, 65 color maps, 34 flow fields,
  // 22 particles, 22 images/videos, two display devices, five audio sources
  // and twenty fonts.
  static void GetBuiltIn(EngineContent* outContent);

  // The file of a content folder that lists the items of inKind
  // ("waveshapes.txt", ...), or null for a kind that has no list.
  static const char* ListFileName(long inKind);

  // One name per line; blanks around a name, empty lines and lines starting
  // with '#' are skipped; line ends may be LF or CR LF.
  static void ParseNameList(const char* inText, long inLen, EngineNames* outNames);
};
