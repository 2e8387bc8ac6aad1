// How a well-known folder (OSFolderType) is found: which shell folders are
// asked, in which order, and what is done with the answer. The shell itself
// is reached through a KSFolderLookup, so the rules hold for any source.
#pragma once

#include "files/KSFileSpec.h"

class KSFolderLookup {
 public:
  virtual ~KSFolderLookup();
  // The folder the shell knows by inCSIDL; false when it has none.
  virtual bool FindFolder(int inCSIDL, KSFileSpec* outSpec) = 0;
};

// Resolves inType into outSpec, which is left unchanged on failure
// (kKSErr_Unmapped, or kKSErr_Param for an unknown type).
long KSResolveOSFolder(OSFolderType inType, KSFolderLookup& inLookup, KSFileSpec* outSpec);
