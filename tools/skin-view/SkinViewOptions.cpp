#include "skin-view/SkinViewOptions.h"

#include <cwchar>
#include <cwctype>

#include "foundation/UtilStr.h"
#include "platform/KSWideText.h"

const char kSkinViewUsage[] =
    "usage: corvexa-skin-view [--extend | --retract] [--open PAGE]... [--screenshot FILE.bmp\n"
    "                         [--backdrop RRGGBB]] SKINFOLDER\n"
    "       corvexa-skin-view --check SKINFOLDER\n"
    "  Shows the skin in SKINFOLDER with sample content. --extend and --retract start every page\n"
    "  in that mode (otherwise each page's DefaultMode); --open starts the page of that Name and\n"
    "  the pages around it extended. --screenshot writes the window as the screen shows it, over\n"
    "  a backdrop of the colour RRGGBB, into FILE.bmp and exits. --check shows nothing: it prints\n"
    "  one line per problem of the skin (FILE:LINE:COLUMN: what) and exits with 0 only when\n"
    "  there is none.\n";

namespace {

bool ParseColour(const wchar_t* inText, uint32* outColour) {
  if (std::wcslen(inText) != 6) {
    return false;
  }
  for (const wchar_t* c = inText; *c != 0; c++) {
    if (!std::iswxdigit(*c)) {
      return false;
    }
  }
  *outColour = uint32(std::wcstoul(inText, nullptr, 16));
  return true;
}

}  // namespace

bool ParseSkinViewOptions(int inCount, wchar_t** inArgs, SkinViewOptions* outOptions,
                          std::string* outError) {
  bool backdrop = false;
  for (int i = 0; i < inCount; i++) {
    std::wstring arg = inArgs[i];
    bool hasValue = i + 1 < inCount;
    if (arg == L"--check") {
      outOptions->mCheck = true;
    } else if (arg == L"--extend" || arg == L"--retract") {
      outOptions->mModes = arg == L"--extend" ? kViewExtended : kViewRetracted;
    } else if (arg == L"--open" && hasValue) {
      UtilStr name;
      KSWideText::ToUTF8(inArgs[++i], -1, &name);
      outOptions->mOpenPages.emplace_back(name.getCStr(), size_t(name.length()));
    } else if (arg == L"--screenshot" && hasValue) {
      outOptions->mScreenshot = inArgs[++i];
    } else if (arg == L"--backdrop" && hasValue) {
      if (!ParseColour(inArgs[++i], &outOptions->mBackdrop)) {
        *outError = "--backdrop takes a colour as six hexadecimal digits, RRGGBB";
        return false;
      }
      backdrop = true;
    } else if (arg.compare(0, 2, L"--") == 0) {
      *outError = "unknown option, or an option without its value";
      return false;
    } else if (outOptions->mSkinFolder.empty()) {
      outOptions->mSkinFolder = arg;
    } else {
      *outError = "only one skin folder can be shown";
      return false;
    }
  }
  if (outOptions->mSkinFolder.empty()) {
    *outError = "no skin folder given";
    return false;
  }
  if (outOptions->mCheck && (!outOptions->mScreenshot.empty() || !outOptions->mOpenPages.empty() ||
                             outOptions->mModes != kViewSkinModes)) {
    *outError = "--check goes with nothing but the skin folder";
    return false;
  }
  if (backdrop && outOptions->mScreenshot.empty()) {
    *outError = "--backdrop goes with --screenshot";
    return false;
  }
  return true;
}
