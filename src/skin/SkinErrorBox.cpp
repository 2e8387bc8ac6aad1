#include "skin/SkinErrorBox.h"

#include "platform/BaseUtils.h"
#include "skin/cSkin.h"

void ShowSkinError(HWND inOwner, long inErr, const cSkin& inSkin) {
  const UtilStr& suffix = inSkin.ErrorSuffix();
  BaseShowError(inOwner, inErr, inSkin.ErrorPrefix().getCStr(),
                suffix.IsEmpty() ? nullptr : suffix.getCStr());
}

void ShowPictureProblems(HWND inOwner, const cSkin& inSkin) {
  const std::vector<PictureProblem>& problems = inSkin.FailedPictures();
  if (problems.empty()) {
    return;
  }
  const PictureProblem& first = problems.front();
  UtilStr prefix;
  prefix.AppendVA("The skin's picture %s could not be loaded.", first.mPath.c_str());
  UtilStr suffix;
  if (!first.mWhy.empty()) {
    suffix.AppendVA("(%s)", first.mWhy.c_str());
  }
  if (problems.size() > 1) {
    suffix.AppendVA("\r\rNor could %d more: ", int(problems.size() - 1));
    for (size_t i = 1; i < problems.size(); i++) {
      suffix.AppendVA(i > 1 ? ", %s" : "%s", problems[i].mPath.c_str());
    }
  }
  BaseShowError(inOwner, first.mErr, prefix.getCStr(),
                suffix.IsEmpty() ? nullptr : suffix.getCStr());
}
