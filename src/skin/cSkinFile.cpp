// cSkin: reading "skin.txt" from the disk.
#include "files/KSFile.h"
#include "files/KSFileSpec.h"
#include "foundation/KSError.h"
#include "platform/BaseStrings.h"
#include "skin/cSkin.h"

namespace {

// A skin file is a few kilobytes; anything this large is not one.
constexpr long kMaxSkinFileBytes = 4 * 1024 * 1024;

}  // namespace

long cSkin::ReadSkinFile(const KSFileSpec& inSkinFolder, UtilStr* outPath, UtilStr* outText) {
  KSFileSpec file;
  file.AssignRelativePath("skin.txt", -1, inSkinFolder);
  outPath->Assign(file.GetPathname());
  BaseParsePathname(outPath->getCStr(), &mFolder, nullptr);
  outText->Clear();
  long err = KSFile::ReadFile(file, outText, kMaxSkinFileBytes);
  if (err == kKSErr_FileTooBig) {
    SetErrorTexts("Error reading skin file %s.", outPath->getCStr(), nullptr, 0, false);
    return kKSErr_FormatNotRecognized;
  }
  if (err != 0) {
    SetErrorTexts("Error reading skin file: %s.", outPath->getCStr(), nullptr, 0, false);
    return kKSErr_FileNotFound;
  }
  return 0;
}
