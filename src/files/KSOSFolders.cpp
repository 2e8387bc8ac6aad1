// The table of the well-known folders and the rules around it.
#include "files/KSOSFolders.h"

#include <cstddef>

#include "foundation/KSError.h"

namespace {

// Shell folder ids (CSIDL values).
enum {
  kNoCSIDL = -1,
  kCSIDL_Desktop = 0,
  kCSIDL_Programs = 2,
  kCSIDL_Personal = 5,
  kCSIDL_DesktopDirectory = 16,
  kCSIDL_AppData = 26,
  kCSIDL_CommonAppData = 35,
  kCSIDL_Windows = 36,
  kCSIDL_System = 37,
  kCSIDL_ProgramFiles = 38,
  kCSIDL_ProgramFilesCommon = 43
};

// What is done with the shell's answer.
enum FolderRule {
  kTakeAsIs,
  kTakeParent,
  kProgramFilesOnFailure,  // a failure gives "C:\Program Files" and succeeds
  kHomeOnFailure,          // a failure retries as ks_HomeFolder
  kDriveOnly               // "X:" for a folder on drive X
};

struct FolderEntry {
  int mFirstCSIDL;
  int mSecondCSIDL;
  FolderRule mRule;
};

// Indexed by OSFolderType.
const FolderEntry kFolders[] = {
    {kCSIDL_ProgramFiles, kNoCSIDL, kProgramFilesOnFailure},  // ks_CommonAppFolder
    {kCSIDL_CommonAppData, kCSIDL_Windows, kHomeOnFailure},   // ks_CommonAppDataFolder
    {kCSIDL_ProgramFilesCommon, kCSIDL_Windows, kTakeAsIs},   // ks_CommonLibFolder
    {kCSIDL_CommonAppData, kCSIDL_Windows, kTakeParent},      // ks_CommonPrefsFolder
    {kCSIDL_DesktopDirectory, kCSIDL_Desktop, kTakeAsIs},     // ks_UserDesktopFolder
    {kCSIDL_Programs, kNoCSIDL, kTakeAsIs},                   // ks_UserAppFolder
    {kCSIDL_AppData, kCSIDL_Personal, kTakeAsIs},             // ks_UserLibFolder
    {kCSIDL_AppData, kCSIDL_Personal, kTakeAsIs},             // ks_UserPrefsFolder
    {kCSIDL_Windows, kCSIDL_System, kDriveOnly},              // ks_RootFolder
    {kCSIDL_Windows, kCSIDL_System, kTakeAsIs},               // ks_SystemFolder
    {kCSIDL_DesktopDirectory, kCSIDL_Desktop, kTakeParent},   // ks_HomeFolder
};

bool FindOne(int inCSIDL, KSFolderLookup& inLookup, KSFileSpec* outSpec) {
  return inCSIDL != kNoCSIDL && inLookup.FindFolder(inCSIDL, outSpec) && !outSpec->IsEmpty();
}

bool FindEither(const FolderEntry& inEntry, KSFolderLookup& inLookup, KSFileSpec* outSpec) {
  return FindOne(inEntry.mFirstCSIDL, inLookup, outSpec) ||
         FindOne(inEntry.mSecondCSIDL, inLookup, outSpec);
}

}  // namespace

KSFolderLookup::~KSFolderLookup() {}

long KSResolveOSFolder(OSFolderType inType, KSFolderLookup& inLookup, KSFileSpec* outSpec) {
  if (int(inType) < 0 || size_t(inType) >= sizeof(kFolders) / sizeof(kFolders[0])) {
    return kKSErr_Param;
  }
  const FolderEntry& entry = kFolders[inType];
  KSFileSpec found;
  if (!FindEither(entry, inLookup, &found)) {
    switch (entry.mRule) {
      case kProgramFilesOnFailure:
        outSpec->AssignFromPath("C:\\Program Files\\");
        return 0;
      case kHomeOnFailure:
        return KSResolveOSFolder(ks_HomeFolder, inLookup, outSpec);
      default:
        return kKSErr_Unmapped;
    }
  }
  switch (entry.mRule) {
    case kTakeParent:
      outSpec->AssignParent(found);
      break;
    case kDriveOnly: {
      // Given as "X:\" so that it reads as an absolute path; it is kept as "X:".
      const char drive[] = {found.GetPathCStr()[0], ':', '\\', 0};
      outSpec->AssignFromPath(drive);
      break;
    }
    default:
      outSpec->Assign(found);
      break;
  }
  return 0;
}
