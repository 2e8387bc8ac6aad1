// ThemeMgr: saving the current theme under a name the user typed.
#include "foundation/KSError.h"
#include "platform/KSWindUtils.h"
#include "toolbar/ThemeMgr.h"

namespace {

const char kReplaceQuestion[] =
    "A theme with the name \"%s\" already exists.  Would you like to replace it?";
const char kNameTakenMsg[] =
    "The name \"%s\" is already taken by a read-only theme.  Please choose a different name.";
const char kInvalidNameMsg[] =
    "You entered an Invalid theme name.  Please choose a different theme name.   ";
const char kSaveFailedMsg[] = "An error occured while attempting to save \"%s\". (%d)";

}  // namespace

bool ThemeMgr::SaveThemeAs(HWND inParent, const char* inLogicalName) {
  UtilStr name(inLogicalName);
  int existing = FindThemeByLogicalName(name.getCStr());
  if (existing >= 0) {
    UtilStr text;
    if (!ThemeIsDeletable(existing)) {
      text.AppendVA(kNameTakenMsg, name.getCStr());
      KSWindUtils::ShowMsg(inParent, text.getCStr(), nullptr);
      return false;
    }
    text.AppendVA(kReplaceQuestion, name.getCStr());
    if (!KSWindUtils::AreYouSure(inParent, text.getCStr(), nullptr)) {
      return false;
    }
  }

  long err = CreateNewTheme(name, true, true);
  if (err == 0) {
    SetCurrentTheme(FindThemeByLogicalName(name.getCStr()));
    return true;
  }
  if (err == kKSErr_IllegalChars) {
    KSWindUtils::ShowMsg(inParent, kInvalidNameMsg, nullptr);
    return false;
  }
  UtilStr text;
  text.AppendVA(kSaveFailedMsg, name.getCStr(), int(err));
  KSWindUtils::ShowMsg(inParent, text.getCStr(), nullptr);
  return true;
}
