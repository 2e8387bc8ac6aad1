// The disk side of CXTheme: "theme.txt" in a theme folder.
#include "files/KSFile.h"
#include "files/KSFileSpec.h"
#include "files/KSOStream.h"
#include "foundation/UtilStr.h"
#include "toolbar/CXTheme.h"

namespace {

const char kThemeFileName[] = "theme.txt";

KSFileSpec ThemeFileIn(const KSFileSpec& inFolder) {
  KSFileSpec file;
  file.AssignRelativePath(kThemeFileName, -1, inFolder);
  return file;
}

}  // namespace

long CXTheme::ReadFromDisk(const KSFileSpec& inFolder, bool inHeaderOnly) {
  UtilStr text;
  long err = KSFile::ReadFile(ThemeFileIn(inFolder), &text, kThemeMaxFileBytes);
  if (err != 0) {
    return err;
  }
  return ReadFromBuf(text, inHeaderOnly);
}

long CXTheme::SaveToDisk(const KSFileSpec& inFolder) const {
  if (inFolder.Exists() == 0) {
    long err = inFolder.CreateDir();
    if (err != 0) {
      return err;
    }
  }
  KSOStream text;
  SaveToStream(&text);
  const UtilStr& bytes = text.GetBuffer();
  return KSFile::WriteFile(ThemeFileIn(inFolder), bytes.getCStr(), bytes.length());
}
