#include "skin/SkinErrorBox.h"

#include "platform/BaseUtils.h"
#include "skin/cSkin.h"

void ShowSkinError(HWND inOwner, long inErr, const cSkin& inSkin) {
  const UtilStr& suffix = inSkin.ErrorSuffix();
  BaseShowError(inOwner, inErr, inSkin.ErrorPrefix().getCStr(),
                suffix.IsEmpty() ? nullptr : suffix.getCStr());
}
