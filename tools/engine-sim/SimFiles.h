// The simulator's use of the file system: item lists from a content folder,
// and the image and video files of a folder registered for sprites.
#pragma once

#include "engine-sim/EngineState.h"

// Replaces the built-in lists of ioContent with those of the folder's list
// files (EngineContent::ListFileName); a missing file keeps the built-in
// list. kKSErr_FileNotFound when the folder does not exist.
long LoadContentFolder(const UtilStr& inFolder, EngineContent* ioContent);

class SimFolderScanner : public EngineFolderScanner {
 public:
  // The names of the image and video files, sorted, without their folders.
  long ListMediaFiles(const UtilStr& inFolder, bool inSubfolders, EngineNames* outNames) override;
};
