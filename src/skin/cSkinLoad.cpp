// cSkin: loading a skin folder into real tool pages and controls.
#include "platform/PictureProblems.h"
#include "skin/SkinErrorBox.h"
#include "skin/ToolPageBuilder.h"
#include "skin/cSkin.h"

long cSkin::Load(const KSFileSpec& inSkinFolder, cWindow* inParent,
                 std::unique_ptr<cToolPage>* outPage) {
  outPage->reset();
  UtilStr path;
  UtilStr text;
  long err = ReadSkinFile(inSkinFolder, &path, &text);
  if (err == 0) {
    ToolPageBuilder builder(inParent);
    err = ParseInterface(path.getCStr(), text.getCStr(), text.length(), &builder);
    *outPage = builder.TakeOutermost();
  }
  if (err != 0) {
    ShowSkinError(inParent != nullptr ? inParent->Wind() : nullptr, err, *this);
    return err;
  }
  PictureProblems problems;
  err = (*outPage)->Create();
  mPictureProblems = problems.List();
  return err;
}
