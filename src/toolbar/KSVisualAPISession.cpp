#include "toolbar/KSVisualAPISession.h"

#include "files/KSFileSpec.h"
#include "foundation/KSError.h"

const char kEngineDirName[] = "Corvexa";

namespace {

const char kMakerDirName[] = "Kestrova";
const char kEngineInfoFile[] = "Resources\\info.txt";

long RealEnginesDir(long inIndex, KSFileSpec* outFolderSpec, void*) {
  return KSVisualAPISession::GetEnginesDir(inIndex, outFolderSpec);
}

}  // namespace

long KSVisualAPISession::GetEngineDir(const char* inEngineDirName, KSFileSpec* outFolderSpec) {
  return FindEngineDir(inEngineDirName, RealEnginesDir, nullptr, outFolderSpec);
}

long KSVisualAPISession::FindEngineDir(const char* inEngineDirName, EnginesDirProc inEnginesDir,
                                       void* inParam, KSFileSpec* outFolderSpec) {
  if (inEngineDirName == nullptr) {
    return KSFileSpec::GetProcessDir(outFolderSpec);
  }
  for (long index = 0;; index++) {
    KSFileSpec candidate;
    long err = inEnginesDir(index, &candidate, inParam);
    if (err == kKSErr_Param) {
      return kKSErr_PathNotFound;
    }
    if (err != 0) {
      continue;
    }
    outFolderSpec->AssignRelativePath(inEngineDirName, -1, candidate);
    if (IsEngineFolder(*outFolderSpec)) {
      return 0;
    }
  }
}

bool KSVisualAPISession::IsEngineFolder(const KSFileSpec& inFolder) {
  if (inFolder.Exists() != ks_ItemIsFolder) {
    return false;
  }
  KSFileSpec info;
  info.AssignRelativePath(kEngineInfoFile, -1, inFolder);
  return info.Exists() == ks_ItemIsFile;
}

long KSVisualAPISession::GetEnginesDir(long inIndex, KSFileSpec* outFolderSpec) {
  OSFolderType type;
  switch (inIndex) {
    case 0:
      type = ks_CommonAppFolder;
      break;
    case 1:
      type = ks_CommonLibFolder;
      break;
    default:
      return kKSErr_Param;
  }
  KSFileSpec base;
  long err = base.AssignOSFolder(type);
  if (err != 0) {
    return err;
  }
  return GetMakerDir(base, outFolderSpec);
}

long KSVisualAPISession::GetMakerDir(const KSFileSpec& inBaseFolder, KSFileSpec* outFolderSpec) {
  outFolderSpec->AssignRelativePath(kMakerDirName, -1, inBaseFolder);
  return outFolderSpec->Exists() == ks_ItemIsFolder ? 0 : kKSErr_PathNotFound;
}
